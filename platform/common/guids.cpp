// GUIDs the API headers declare with DEFINE_GUID.
#include <windows.h>

extern "C" const GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
