#include "web/browser_audio.h"

#include <emscripten.h>

namespace corvane {

// (JavaScript inside EM_ASM: clang-format would split its operators.)
// clang-format off
void InstallAudioResume() {
  EM_ASM({
    Module['corvaneResumeAudio'] = function() {
      if (typeof AL == 'undefined' || !AL.contexts) return;
      for (var id in AL.contexts) {
        var context = AL.contexts[id];
        if (context && context.audioCtx && context.audioCtx.state != 'running') context.audioCtx.resume();
      }
    };
  });
}

void ResumeAudio() {
  EM_ASM({
    if (Module['corvaneResumeAudio']) Module['corvaneResumeAudio']();
  });
}
// clang-format on

}  // namespace corvane
