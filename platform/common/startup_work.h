// The end of start-up, for work the platform begins at program start on
// start-up's behalf (reading pictures ahead of the game): the first
// presented frame ends start-up, and so does the end of the program.
#pragma once

namespace corvane {

// `end` runs when start-up ends; it replaces any earlier one.
void AtStartupEnd(void (*end)());

// Runs what AtStartupEnd asked for, once.
void EndStartup();

}  // namespace corvane
