// Why start-up cannot go on, as the platform knows it. The game's own error
// box names DirectX; the player needs to hear what this system lacks.
#pragma once

#include <string>

namespace corvane {

// Notes the reason, in one line; the first one noted is kept.
void NoteStartupProblem(const std::string& problem);
// The reason noted so far; empty when there is none.
const std::string& StartupProblem();

}  // namespace corvane
