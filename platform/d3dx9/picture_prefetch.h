// Pictures read ahead of the game: while the main thread opens the window,
// OpenGL and sound, a worker thread reads and decodes the pictures of the
// data folder, and the texture loaders take them ready. A picture is handed
// over only while its file is still the one the worker read, and exactly as
// reading it then would have given it (a damaged file with its reason).
// Where the build has no threads (the web) nothing is read ahead.
#pragma once

#include <string>

#include "d3dx9/texture_image.h"

namespace corvane::d3dx9 {

// Starts reading ahead the pictures in the game's data folders (bmp/,
// XFILE/ ...) of the working directory; the end of start-up stops it
// (common/startup_work.h). A second start reads afresh.
void StartPicturePrefetch();

// Waits for the worker and drops every picture the game did not take.
void StopPicturePrefetch();

// Waits until the worker has read all it is going to (for tests).
void WaitForPicturePrefetch();

// Hands over the picture read ahead from the file at `path` when that is
// still the same file, unchanged (size, modification and change times),
// waiting while the worker is decoding it; the worker keeps no copy. False
// when it was not read ahead: the caller reads it itself.
bool TakePrefetchedPicture(const std::string& path, PictureFile* picture);

}  // namespace corvane::d3dx9
