#pragma once
// The terminal a supervisor types at: whether standard input is one, and asking for a line
// that is not shown as it is typed. One implementation per platform.
#include <string>

class TextWriter;

bool stdinIsTerminal();
// Turns echo off, then writes the prompt, reads one line from standard input without its line
// end, and turns echo back on; false at the end of the input. Echo goes off before the prompt
// shows, so that nothing typed after the prompt is ever shown.
bool askWithoutEcho(TextWriter& prompts, const std::string& prompt, std::string& line);
