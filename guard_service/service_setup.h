#pragma once
// Registering, stopping and removing the guard service, for the installer: the service
// manager's own calls, so that each step is finished, not just asked for, when it returns.
#include <string>

constexpr const char* kServiceName = "OrrindaleGuard";

// Registers the service for the program at the path (or brings an existing registration up
// to date): LocalSystem, started at boot, restarted when it fails; then starts it.
// Returns 0 or the platform's error code.
unsigned long installService(const std::string& program);

// Stops the service and waits until its process has ended and let go of its program file.
// A service that is not registered or not running is fine.
unsigned long stopService();

// Stops the service and removes its registration.
unsigned long removeService();

// Whether the service is registered and running (or starting, or stopping).
bool serviceRunning();
