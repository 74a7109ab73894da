#pragma once
// Processing of pending window messages while the user-interface thread waits.
namespace platform {

// Handles every event that is already waiting (input, paint, timers, socket notifications) and
// returns; never blocks.
void processPendingEvents();

} // namespace platform
