// Key names and codes of the web flavour: the key table's scancodes (SDL's
// numbers, so the settings file reads as natively) and SDL's names for them.
#include "common/key_names.h"

#include "common/key_table.h"
#include "win32/key_state.h"

namespace corvane {

int KeyCodeFromName(const std::string& name) { return ScancodeFromName(name); }

std::string KeyCodeName(int code) { return ScancodeName(code); }

int VirtualKeyFromKeyCode(int code) { return VirtualKeyFromScancode(code); }

}  // namespace corvane
