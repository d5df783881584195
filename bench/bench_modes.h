// corvane-bench's modes; each takes the arguments after its name and
// returns the process exit code.
#pragma once

int RunPacingBench(int argc, char** argv);
int RunBusyBench(int argc, char** argv);
int RunTimedemoBench(int argc, char** argv);
