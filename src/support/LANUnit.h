#pragma once

#include <functional>

// True when a network interface other than loopback is up with an IP address.
bool IsConnectedToInternet();
// Replaces the test (tests decide the answer); an empty hook restores the real one.
// Returns the previous hook.
std::function<bool()> SetConnectedHook(std::function<bool()> hook);
