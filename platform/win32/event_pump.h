// The flavour's event source (SDL natively, the browser on the web), which
// the message queue asks for events whenever it is looked at.
#pragma once

namespace corvane {

// Turns the events that have arrived into key state and window messages.
void PumpPlatformEvents();

// Waits up to `milliseconds` for an event to arrive.
void WaitForPlatformEvents(int milliseconds);

}  // namespace corvane
