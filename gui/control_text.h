#pragma once
// What a control shows as text and what data it holds, read and written per kind of control:
// window and label texts, status-bar panels, menu entries, tab labels, and the check state
// that a check box takes for the texts "0", "1" and "2".
#include <string>

#include "gui/arguments.h"

// Invalid ids are ignored; the part is the status-bar panel (from 1, the first by default).
void setText(const Part& target, const TextArg& text);

// The caption, or the data when the caption is empty or a part is given: a labelled check box
// yields its label, an edit field its contents.
std::string getText(const Part& target);

// The window, button or label text, or a menu entry's text; "" for other kinds.
std::string getCaption(int id);

// A status-bar panel's text (the first when out of range), "1" or "0" for a menu entry's and
// a check box's check state, otherwise the window text.
std::string getData(const Part& target);
