#pragma once

#include <functional>

// Calls the handler when the desktop session asks the program whether it may end
// (log-off or shut-down). The handler runs on the user-interface thread.
void OnSessionEndRequest(std::function<void()> handler);
