#pragma once
// Window timers: started per (window, timer id) and held by the platform, they fire as
// w32HTimer events with {timer id} on the window that owns them until it is destroyed.

// Starts the timer, or restarts it with the new interval when that window already runs one
// with that id. The first firing comes one interval later.
void setWindowTimer(int id, int timerId, int ticks);
