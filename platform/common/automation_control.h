// The automation life cycle, driven by the entry point and the message loop.
#pragma once

namespace corvane {

struct CommandLine;

// Opens the dump and trace files and loads the script; false after a
// message on stderr when one of them cannot be used.
bool StartAutomation(const CommandLine& options);

// After-frame work, run by PeekMessageA once a Present has happened since
// its previous call: the dump, the --frames quit, the next script keys.
void RunAfterFrameWork();

// PeekMessageA found the queue empty: a scripted run's clock moves one frame.
void OnIdlePass();

// Flushes and closes the output files; false when a write to one of them
// failed during the run (already said on stderr).
bool FinishAutomation();

}  // namespace corvane
