#include "web/browser_audio.h"

#include <emscripten.h>

namespace corvane {

void InstallAudioResume() {
  EM_ASM({
    Module['corvaneResumeAudio'] = function() {
      if (typeof AL == = 'undefined' || !AL.contexts) return;
      for (var id in AL.contexts) {
        var context = AL.contexts[id];
        if (context&& context.audioCtx&& context.audioCtx.state != = 'running') context.audioCtx.resume();
      }
    };
  });
}

void ResumeAudio() {
  EM_ASM({
    if (Module['corvaneResumeAudio']) Module['corvaneResumeAudio']();
  });
}

}  // namespace corvane
