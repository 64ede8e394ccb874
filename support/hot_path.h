#pragma once
// HOT_PATH marks the routines that run for every message and every second. The linker keeps
// them side by side, so that a tick that finds the caches cold touches a few code pages
// instead of one page per routine.
#define HOT_PATH __attribute__((section(".text$hot")))
