#include "app/automation_hooks.h"

#ifndef _WIN32
#include "app/app_state.h"
#include "app/state_dump.h"
#include "corvane_automation.h"
#endif

void RegisterAutomationHooks() {
#ifndef _WIN32
  CorvaneSetStateWriter(WriteStateDump);
  // The buffers of the catalogue are named by its loader.
  CorvaneNameSoundObject(Audio.listener, "listener");
  CorvaneNameSoundObject(Audio.primary, "primary");
#endif
}
