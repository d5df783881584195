// Shutdown, after the main loop: the best scores are written back, then
// everything made at start-up is released in a fixed order.
#pragma once

void ShutDown();
