// The web entry point: the page runs main with the options (at least
// --data /data) once the preloaded data is in place. The run ends with an
// explicit exit, which is what tells the page it is over.
#include <cstdlib>

#include "web/web_events.h"
#include "win32/program_run.h"

int main(int argc, char** argv) {
  corvane::InstallBrowserEvents();
  std::exit(corvane::RunProgram(argc, argv, {{"/data"}, nullptr}));
}
