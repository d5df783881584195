// The web flavour keeps no settings file (there is no inih for WebAssembly
// here): every run plays with the defaults, and with no path the player's
// settings never try to read or write one.
#include "common/settings_file.h"

namespace corvane {
namespace {
const char* const NO_FILE = "the web version keeps no settings file";
}  // namespace

std::string SettingsFilePath() { return ""; }

SettingsRead ReadSettingsFile(const std::string&, Settings& out, std::string& error) {
  out = Settings{};
  return SettingsRead::Missing;
}

bool WriteSettingsFile(const std::string&, const Settings&, std::string& error) {
  error = NO_FILE;
  return false;
}

std::string SetSettingsFileAside(const std::string&, std::string& error) {
  error = NO_FILE;
  return "";
}

}  // namespace corvane
