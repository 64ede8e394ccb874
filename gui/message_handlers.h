#pragma once
// The message handlers behind the dispatcher's message table: they turn window messages into
// the application's events and apply the framework's policies (Enter moves on in single-line
// edits, hot keys click buttons, a modal window keeps the focus, closing hides secondary
// windows and ends the program for the main window). Each takes (id, hWnd, iMsg, wParam,
// lParam, source) and answers with a MsgResult; {source} lets default processing run for
// subclassed controls and swallows the message for the framework's own windows.
#include "gui/message_dispatch.h"

// Puts every handler into its row of the message table; part of the framework's start-up.
void installMessageHandlers();

// Key masks of key and mouse events: which of these are down at the moment.
constexpr int kMaskShift = 1;
constexpr int kMaskCtrl = 2;
constexpr int kMaskAlt = 4;
constexpr int kMaskLeftButton = 16;
constexpr int kMaskRightButton = 32;
constexpr int kMaskMiddleButton = 64;
int keyMasks();
// The same for a mouse message, whose wParam already says which keys and buttons are down.
int mouseKeyMasks(int wParam);

// Commands, notifications and timers.
MsgResult fDoCommand(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoNotify(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoTimer(int id, int hWnd, int iMsg, int wParam, int lParam, int source);

// Keys and hot keys.
MsgResult fDoKeys(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult isHotKey(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoSYSKEY(int id, int hWnd, int iMsg, int wParam, int lParam, int source);

// The keyboard focus.
MsgResult fDoSetFocus(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoKillFocus(int id, int hWnd, int iMsg, int wParam, int lParam, int source);

// Closing and destruction.
MsgResult fDoClose(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoDestroy(int id, int hWnd, int iMsg, int wParam, int lParam, int source);

// Size, colours and painting.
MsgResult fDoSize(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoSysColorChange(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoCtlColor(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoBkGndErase(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoPaint(int id, int hWnd, int iMsg, int wParam, int lParam, int source);

// The mouse, scroll bars and dropped files.
MsgResult fDoMouse(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoScroll(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
MsgResult fDoDropFiles(int id, int hWnd, int iMsg, int wParam, int lParam, int source);
