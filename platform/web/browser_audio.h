// Browsers keep sound off until the player has pressed a key or clicked.
#pragma once

namespace corvane {

// Defines Module.corvaneResumeAudio for the page.
void InstallAudioResume();

// Resumes every OpenAL (WebAudio) context; called on each key and click.
void ResumeAudio();

}  // namespace corvane
