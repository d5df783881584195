#include "web/chromium_run.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "support/child_process.h"
#include "support/corpus.h"

namespace fs = std::filesystem;

namespace {

const char* const kChromium = "/usr/bin/chromium";
const char* const kPython = "/usr/bin/python3";
constexpr unsigned kRealLimitSeconds = 1200;  // for one page run

int FreePort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  close(s);
  return port;
}

bool Answers(int port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(uint16_t(port));
  const bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(s);
  return ok;
}

std::string UrlEncoded(const std::string& text) {
  static const char* const hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || (c != 0 && std::strchr("-_.~", c))) {
      out += char(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string QueryOf(const CorvaneRunOptions& options) {
  std::string query;
  auto add = [&](const char* name, const std::string& value) {
    query += (query.empty() ? "?" : "&") + std::string(name) + "=" + UrlEncoded(value);
  };
  if (!options.script.empty()) add("script", options.script);
  if (options.frames >= 0) add("frames", std::to_string(options.frames));
  if (!options.dumpFrames.empty()) add("dump", options.dumpFrames);
  if (!options.captureFrames.empty()) add("capture", options.captureFrames);
  if (options.soundTrace) add("trace", "1");
  return query;
}

std::vector<uint8_t> Base64Decoded(const std::string& text) {
  static const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::vector<uint8_t> out;
  uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    const size_t digit = digits.find(c);
    if (digit == std::string::npos) continue;  // padding
    bits = bits << 6 | uint32_t(digit);
    if ((count += 6) >= 8) out.push_back(uint8_t(bits >> (count -= 8)));
  }
  return out;
}

// Chromium's DevTools protocol over the pipe --remote-debugging-pipe opens:
// JSON messages ending in a NUL byte, commands on fd 3, answers and events
// on fd 4.
class DevTools {
 public:
  DevTools(int toBrowser, int fromBrowser) : out_(toBrowser), in_(fromBrowser) {}

  // Sends a command and waits up to `deadline` for its answer, skipping
  // events; the answer's "result", or Null with `error` set.
  JsonValue Call(const std::string& method, const std::string& params, const std::string& session, time_t deadline,
                 std::string* error) {
    const int id = ++lastId_;
    std::string message = "{\"id\":" + std::to_string(id) + ",\"method\":\"" + method + "\",\"params\":" + params;
    if (!session.empty()) message += ",\"sessionId\":\"" + session + "\"";
    message += "}";
    message.push_back('\0');
    if (write(out_, message.data(), message.size()) != ssize_t(message.size())) {
      *error = "cannot write to chromium";
      return {};
    }
    for (std::string text; Next(deadline, &text);) {
      JsonValue answer;
      if (!ParseJson(text, answer) || answer["id"].number != id) continue;
      if (answer.Has("error")) *error = method + ": " + answer["error"]["message"].text;
      return answer["result"];
    }
    *error = method + ": no answer from chromium";
    return {};
  }

 private:
  bool Next(time_t deadline, std::string* text) {
    for (;;) {
      const size_t end = buffer_.find('\0');
      if (end != std::string::npos) {
        *text = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return true;
      }
      const time_t left = deadline - std::time(nullptr);
      pollfd p{in_, POLLIN, 0};
      if (left <= 0 || poll(&p, 1, int(left) * 1000) <= 0) return false;
      char chunk[65536];
      const ssize_t n = read(in_, chunk, sizeof chunk);
      if (n <= 0) return false;
      buffer_.append(chunk, size_t(n));
    }
  }

  int out_, in_;
  int lastId_ = 0;
  std::string buffer_;
};

// Waits in the page for the run's end; then everything it put on the page.
const char* const kAwaitResults = R"JS(
  !location.protocol.startsWith("http") ? null : new Promise(done => {
    const text = id => (document.getElementById(id) || {}).textContent || "";
    const check = () => !document.title.startsWith("corvane: ") ? setTimeout(check, 250) : done({
      title: document.title, dump: text("corvane-dump"), trace: text("corvane-trace"),
      captures: Array.from(document.querySelectorAll("pre[id^='corvane-capture-']"),
                           e => [e.id.slice("corvane-capture-".length), e.textContent])});
    check();
  }))JS";

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

// The page's results, or Null with `error` set.
JsonValue AwaitResults(DevTools& browser, const std::string& url, time_t deadline, std::string* error) {
  const JsonValue target = browser.Call("Target.createTarget", "{\"url\":" + JsonString(url) + "}", "", deadline, error);
  if (!error->empty()) return {};
  const JsonValue attached = browser.Call(
      "Target.attachToTarget", "{\"targetId\":" + JsonString(target["targetId"].text) + ",\"flatten\":true}", "",
      deadline, error);
  if (!error->empty()) return {};
  const std::string params =
      "{\"expression\":" + JsonString(kAwaitResults) + ",\"awaitPromise\":true,\"returnByValue\":true}";
  // Until the page itself has loaded, the answer is null (or its context gone).
  while (std::time(nullptr) < deadline) {
    error->clear();
    const JsonValue answer = browser.Call("Runtime.evaluate", params, attached["sessionId"].text, deadline, error);
    if (answer["result"]["value"].kind == JsonValue::Object) return answer["result"]["value"];
    if (error->find("no answer") != std::string::npos) return {};
    usleep(200 * 1000);
  }
  *error = "the page did not finish in time";
  return {};
}

// Each capture's PNG data URL as captures/frame-NNNNNN.png, where
// CapturePath looks.
void SaveCaptures(const JsonValue& captures, const std::string& dir) {
  fs::create_directories(dir);
  for (const JsonValue& capture : captures.items) {
    const std::string& url = capture[1].text;
    const size_t comma = url.find(',');
    if (comma != std::string::npos)
      WriteBytes(dir + "/frame-" + capture[0].text + ".png", Base64Decoded(url.substr(comma + 1)));
  }
}

}  // namespace

std::string WebSite() {
  const char* env = std::getenv("CORVANE_WEB_SITE");
  return env && *env ? env : std::string(CORVANE_SOURCE_DIR) + "/build-web/site";
}

std::string MissingForWeb() {
  if (access(kChromium, X_OK) != 0) return "chromium is not installed (Debian package chromium)";
  if (access(kPython, X_OK) != 0) return "python3 is not installed";
  for (const char* file : {"index.html", "corvane.js", "corvane.wasm", "corvane.data"})
    if (access((WebSite() + "/" + file).c_str(), R_OK) != 0)
      return "the web build is not built: no " + WebSite() + "/" + file + " (scripts/web.sh --build)";
  return "";
}

bool WebRequired() {
  const char* env = std::getenv("CORVANE_REQUIRE_WEB");
  return (env && *env && std::strcmp(env, "0") != 0) || CorpusRequired();
}

SiteServer::SiteServer() {
  for (int attempt = 0; attempt < 3 && port_ == 0; ++attempt) {
    const int port = FreePort();
    ChildSetup setup;
    setup.outFile = setup.errFile = "/dev/null";
    setup.timeLimit = 0;
    pid_ = StartChild({kPython, "-m", "http.server", std::to_string(port), "--bind", "127.0.0.1", "--directory",
                       WebSite()},
                      setup);
    for (int wait = 0; wait < 100 && pid_ > 0 && !ChildEnded(pid_); ++wait) {
      if (Answers(port)) {
        port_ = port;
        break;
      }
      usleep(100 * 1000);
    }
    if (port_ == 0 && pid_ > 0) {
      kill(pid_, SIGKILL);
      WaitChild(pid_);
      pid_ = -1;
    }
  }
}

SiteServer::~SiteServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  WaitChild(pid_, 10);
}

CorvaneRun RunInChromium(const SiteServer& site, const CorvaneRunOptions& options, const std::string& profile) {
  CorvaneRun run;
  run.workDir = MakeScratchDir("web");
  signal(SIGPIPE, SIG_IGN);  // a browser that died is an error answer, not the end of the test
  int toBrowser[2], fromBrowser[2];
  if (pipe2(toBrowser, O_CLOEXEC) != 0 || pipe2(fromBrowser, O_CLOEXEC) != 0) {
    run.stderrText = "cannot make the pipes to chromium";
    return run;
  }
  ChildSetup setup;
  setup.workDir = run.workDir;
  setup.outFile = setup.errFile = run.workDir + "/chromium.txt";
  setup.env["HOME"] = run.workDir;  // nothing of the machine's own profile
  setup.timeLimit = kRealLimitSeconds + 60;
  setup.inChild = [&] {  // the protocol's fds 3 and 4, kept across exec
    const int in = fcntl(toBrowser[0], F_DUPFD, 10), out = fcntl(fromBrowser[1], F_DUPFD, 10);
    return in >= 0 && out >= 0 && dup2(in, 3) == 3 && dup2(out, 4) == 4;
  };
  const pid_t chromium = StartChild(
      {kChromium, "--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox",
       "--no-first-run", "--mute-audio", "--remote-debugging-pipe",
       "--user-data-dir=" + (profile.empty() ? run.workDir + "/profile" : profile)},
      setup);
  close(toBrowser[0]);
  close(fromBrowser[1]);
  DevTools browser(toBrowser[1], fromBrowser[0]);
  std::string error;
  const JsonValue results =
      AwaitResults(browser, site.Url() + QueryOf(options), std::time(nullptr) + kRealLimitSeconds, &error);
  // Closed, not killed, so the profile (the page's IndexedDB) reaches the disk.
  std::string closing;
  browser.Call("Browser.close", "{}", "", std::time(nullptr) + 30, &closing);
  close(toBrowser[1]);
  close(fromBrowser[0]);
  WaitChild(chromium, 60);

  const std::string& title = results["title"].text;
  run.exitCode = title == "corvane: done" ? 0 : 1;
  run.stderrText = error.empty() ? "page title \"" + title + "\"" : error;
  WriteText(run.workDir + "/dump.jsonl", results["dump"].text);
  WriteText(run.workDir + "/sound.trace", results["trace"].text);
  SaveCaptures(results["captures"], run.workDir + "/captures");
  ReadRunFiles(run);
  return run;
}
