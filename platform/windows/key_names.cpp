// Key names and codes of the Windows build: the codes are virtual keys, the
// names the ones the Linux build reads (SDL's), so one settings file serves
// both. Keys without a virtual key of their own are left out.
#include <windows.h>

#include <cctype>
#include <cstdio>

#include "common/key_names.h"

namespace corvane {
namespace {

struct NamedKey {
  int vk;
  const char* name;
};

const NamedKey NAMED_KEYS[] = {
    {VK_RETURN, "Return"},      {VK_ESCAPE, "Escape"},      {VK_BACK, "Backspace"},    {VK_TAB, "Tab"},
    {VK_SPACE, "Space"},        {VK_UP, "Up"},              {VK_DOWN, "Down"},         {VK_LEFT, "Left"},
    {VK_RIGHT, "Right"},        {VK_INSERT, "Insert"},      {VK_DELETE, "Delete"},     {VK_HOME, "Home"},
    {VK_END, "End"},            {VK_PRIOR, "PageUp"},       {VK_NEXT, "PageDown"},     {VK_PAUSE, "Pause"},
    {VK_LSHIFT, "Left Shift"},  {VK_RSHIFT, "Right Shift"}, {VK_LCONTROL, "Left Ctrl"}, {VK_RCONTROL, "Right Ctrl"},
    {VK_LMENU, "Left Alt"},     {VK_RMENU, "Right Alt"},    {VK_OEM_MINUS, "-"},       {VK_OEM_PLUS, "="},
    {VK_OEM_4, "["},            {VK_OEM_6, "]"},            {VK_OEM_5, "\\"},          {VK_OEM_1, ";"},
    {VK_OEM_7, "'"},            {VK_OEM_3, "`"},            {VK_OEM_COMMA, ","},       {VK_OEM_PERIOD, "."},
    {VK_OEM_2, "/"},
};

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
  return true;
}

}  // namespace

// Letters, digits, F1 to F12 and keypad digits follow a pattern; the rest
// are listed.
std::string KeyCodeName(int code) {
  char name[16] = "";
  if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) std::snprintf(name, sizeof name, "%c", code);
  else if (code >= VK_F1 && code <= VK_F12) std::snprintf(name, sizeof name, "F%d", code - VK_F1 + 1);
  else if (code >= VK_NUMPAD0 && code <= VK_NUMPAD9) std::snprintf(name, sizeof name, "Keypad %d", code - VK_NUMPAD0);
  for (const NamedKey& key : NAMED_KEYS)
    if (key.vk == code) return key.name;
  return name;
}

int KeyCodeFromName(const std::string& name) {
  if (name.empty()) return 0;
  for (int code = 1; code < 256; ++code)
    if (SameName(KeyCodeName(code), name)) return code;
  return 0;
}

int VirtualKeyFromKeyCode(int code) { return code > 0 && code < 256 ? code : 0; }

}  // namespace corvane
