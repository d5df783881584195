// Window managers may destroy a frame window while SDL still asks about it
// (for example while switching to fullscreen); Xlib's default error handler
// would end the program for that.
#pragma once

namespace corvane {

// On the X11 video driver, ignores errors about windows that have already
// gone away; every other X error still reaches the previous handler.
void TolerateVanishedWindows();

}  // namespace corvane
