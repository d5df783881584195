// Automation hooks the game registers with the automation host (not part of
// the Windows API): the platform layer on Linux, platform/windows in the
// Windows build. The --dump and --sound-trace options rely on them.
#pragma once

#include <cstdio>

// The dump writer: the platform writes `{"frame":N`, the writer appends
// `,"name":value` for every piece of global state, the platform closes the
// line with `}` and a line feed.
void CorvaneSetStateWriter(void (*writer)(std::FILE* out));

// Names a sound interface the game holds (a buffer, 3D buffer or the
// listener) for the sound trace, e.g. "SND_GRAZE" or "listener".
void CorvaneNameSoundObject(const void* iface, const char* name);
