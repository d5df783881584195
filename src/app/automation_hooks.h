// Hooks that let the automation (state dump, sound trace) see the game.
#pragma once

// Registers the state writer and names the shell's sound objects. Called
// once by start-up, after the sounds are loaded.
void RegisterAutomationHooks();
