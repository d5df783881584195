// Why the last texture, mesh or sound load on this thread failed, in a few
// words ("BMP pixel data cut short"); empty if it did not. Not part of the
// Windows API: the game adds it to its one message about the file.
#pragma once

const char* CorvaneLastLoadError();
