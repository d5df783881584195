// The game's own start-up run once in the test process, on a scratch data
// folder that is also the working directory, for suites that drive the
// shell or draw game frames in-process.
#pragma once

// True once start-up has succeeded; later calls return the first answer.
bool StartGameInProcess();
