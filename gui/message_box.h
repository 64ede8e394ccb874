#pragma once
// The framework's one modal question: a native message box owned by the active window,
// answering with the button pressed. It binds its two platform routines itself when the
// program starts and needs nothing else of the framework.
#include <string>
#include <vector>

// Shows text (a line feed starts a new line) under title with the MB_ style flags, and returns
// the id of the button pressed (IDOK 1 ... IDNO 7), or 0 when no box could be shown. While the
// box is up the platform keeps dispatching the program's messages, timers included.
int message_box(const std::string& text, const std::string& title, unsigned style);
// The same with the style given as flags to be OR-ed together.
int message_box(const std::string& text, const std::string& title, const std::vector<unsigned>& styles);
