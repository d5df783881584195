#include "common/command_line.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace corvane {
namespace {

constexpr int MAX_SCALE = 8;

bool ParseFrameNumber(const std::string& text, long& out) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  out = std::strtol(text.c_str(), nullptr, 10);
  return errno == 0 && out <= INT_MAX;
}

}  // namespace

bool FrameSet::Contains(int frame) const {
  if (all) return true;
  for (const auto& r : ranges)
    if (frame >= r.first && frame <= r.second) return true;
  return false;
}

bool ParseFrameSet(const std::string& text, FrameSet& out, std::string& error) {
  out = FrameSet{};
  if (text == "all") {
    out.all = true;
    return true;
  }
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    size_t dash = item.find('-');
    long first = 0, last = 0;
    bool ok = dash == std::string::npos
                  ? ParseFrameNumber(item, first) && ParseFrameNumber(item, last)
                  : ParseFrameNumber(item.substr(0, dash), first) && ParseFrameNumber(item.substr(dash + 1), last);
    if (!ok || last < first) {
      error = "bad frame list '" + text + "' (expected all, or numbers and ranges like 0,5,10-20)";
      return false;
    }
    out.ranges.emplace_back((int)first, (int)last);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

CommandLineResult ParseCommandLine(int argc, const char* const* argv, CommandLine& out, std::string& error) {
  out = CommandLine{};
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--help" || option == "-h") return CommandLineResult::Help;
    if (option == "--version") return CommandLineResult::Version;
    if (option == "--headless" || option == "--fullscreen" || option == "--windowed" || option == "--capture-note") {
      if (option == "--headless") out.headless = true;
      else if (option == "--capture-note") out.captureNote = true;
      else {
        out.fullscreen = option == "--fullscreen";
        out.displayModeGiven = true;
      }
      continue;
    }
    static const char* const withValue[] = {"--data",      "--script",  "--frames",      "--dump",
                                            "--dump-file", "--capture", "--capture-dir", "--sound-trace",
                                            "--scale"};
    bool known = false;
    for (const char* name : withValue) known = known || option == name;
    if (!known) {
      error = "unknown option '" + option + "'";
      return CommandLineResult::Error;
    }
    if (i + 1 >= argc || argv[i + 1][0] == '\0') {
      error = "option '" + option + "' needs a value";
      return CommandLineResult::Error;
    }
    std::string value = argv[++i];
    if (option == "--data") out.dataDir = value;
    else if (option == "--script") {
      out.scriptFromStdin = value == "-";
      out.scriptFile = out.scriptFromStdin ? std::string() : value;
    }
    else if (option == "--dump-file") out.dumpFile = value;
    else if (option == "--capture-dir") out.captureDir = value;
    else if (option == "--sound-trace") out.soundTraceFile = value;
    else if (option == "--scale") {
      long scale = 0;
      if (!ParseFrameNumber(value, scale) || scale < 1 || scale > MAX_SCALE) {
        error = "--scale needs a whole number from 1 to " + std::to_string(MAX_SCALE) + ", not '" + value + "'";
        return CommandLineResult::Error;
      }
      out.scale = (int)scale;
    } else if (option == "--frames") {
      if (!ParseFrameNumber(value, out.frames)) {
        error = "--frames needs a whole number of frames, not '" + value + "'";
        return CommandLineResult::Error;
      }
    } else if (!ParseFrameSet(value, option == "--dump" ? out.dumpFrames : out.captureFrames, error)) {
      error = option + ": " + error;
      return CommandLineResult::Error;
    }
  }
  if (!out.dumpFrames.Empty() && out.dumpFile.empty()) {
    error = "--dump needs --dump-file FILE";
    return CommandLineResult::Error;
  }
  if (!out.captureFrames.Empty() && out.captureDir.empty()) {
    error = "--capture needs --capture-dir DIR";
    return CommandLineResult::Error;
  }
  return CommandLineResult::Run;
}

const char* CommandLineUsage() {
  return "Usage: corvane [OPTION]...\n"
         "A 3D arcade flyer. With no options it plays in a window.\n"
         "\n"
         "  --fullscreen          start in desktop fullscreen (Alt+Enter or F11 switches)\n"
         "  --windowed            start in a window (the default)\n"
         "  --scale N             open the window at N times 800 x 600 (default: the largest\n"
         "                        whole multiple that fits the screen)\n"
         "  --data DIR            read the game's data folders (bmp/, wav/, XFILE/, TEXT/) from DIR\n"
         "  --headless            run without a display (offscreen video, software rendering)\n"
         "  --script FILE         drive the keys from FILE, lines 'FRAME: KEYS' (KEYS from up down\n"
         "                        left right enter esc d alt f11 f12, or key:NAME for a keyboard\n"
         "                        key as the settings bind it; 'close' presses the window's close\n"
         "                        button);\n"
         "                        the keys are held from that frame until the next line, and the\n"
         "                        clock becomes virtual: every pass of the main loop runs a frame;\n"
         "                        a pipe or '-' (standard input) is read live: each frame waits\n"
         "                        until a line for it or a later frame has come, or the input ends\n"
         "  --frames N            quit through the normal shutdown after N frames\n"
         "  --dump FRAMES         after each listed frame write the game state as one JSON line\n"
         "  --dump-file FILE      where --dump writes\n"
         "  --capture FRAMES      save the picture of each listed frame as DIR/frame-NNNNNN.png\n"
         "  --capture-dir DIR     where --capture writes\n"
         "  --capture-note        let the captures show the note a comfort key leaves (mute,\n"
         "                        volume steps) as the window does; without it they never do\n"
         "  --sound-trace FILE    write one line per sound call: FRAME OBJECT METHOD ARGS\n"
         "  --help                show this help and exit\n"
         "  --version             show the version and exit\n"
         "\n"
         "FRAMES is 'all' or a comma list of frame numbers and ranges, e.g. 0,10,20-30.\n"
         "Frames count from 0, one per presented picture.\n";
}

}  // namespace corvane
