#include "app/automation_hooks.h"

#include "app/app_state.h"
#include "app/state_dump.h"
#include "corvane_automation.h"

void RegisterAutomationHooks() {
  CorvaneSetStateWriter(WriteStateDump);
  // The buffers of the catalogue are named by its loader.
  CorvaneNameSoundObject(Audio.listener, "listener");
  CorvaneNameSoundObject(Audio.primary, "primary");
}
