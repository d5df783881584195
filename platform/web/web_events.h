// The browser's input for the web flavour (the queue side is event_pump.h).
#pragma once

namespace corvane {

// Registers the page's key, mouse and focus handlers (program start).
void InstallBrowserEvents();

// Follows the gamepads the browser maps in its standard layout, as keys.
void PollGamepads();

}  // namespace corvane
