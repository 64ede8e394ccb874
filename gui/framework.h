#pragma once
// The framework's start and end: everything it needs before the application builds its
// windows, and the release of every window and resource it holds, either when WinMain's
// loop has ended or from the clean-up list when the program ends abnormally.
#include <string>

// Selects the default font, builds the class and message tables with Screen and Printer,
// installs the message handlers and the hook through which creation opens windows, and
// attaches libCleanUp. The application calls it once, before creating anything.
void startFramework();

// How the release was reached: the end of WinMain, which then runs the application's
// clean-up routines silently, or the clean-up list.
constexpr int kReleaseAtEnd = 0;
constexpr int kReleaseFromCleanUp = 1;

// Destroys every top-level window and pixmap, deletes every tracked drawing object, releases
// the framework's permanent memory and marks the framework finished. Runs at most once.
void releaseAll(int mode);

// The framework's entry in the clean-up list: releases everything; returns 0.
int libCleanUp(int code, const std::string& text, int position, bool last);
