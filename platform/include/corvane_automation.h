// Automation hooks the game registers with the platform on systems without
// the Windows SDK (not part of the Windows API). The platform's --dump,
// --sound-trace and --script options rely on them.
#pragma once

#include <cstdio>

// The dump writer: the platform writes `{"frame":N`, the writer appends
// `,"name":value` for every piece of global state, the platform closes the
// line with `}` and a line feed.
void CorvaneSetStateWriter(void (*writer)(std::FILE* out));

// Names a sound interface the game holds (a buffer, 3D buffer or the
// listener) for the sound trace, e.g. "SND_GRAZE" or "listener".
void CorvaneNameSoundObject(const void* iface, const char* name);
