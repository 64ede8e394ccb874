#pragma once
// Asking for more time from the tray and answering at the same computer: the tray icon's menu,
// the window in which the account asks for 15, 30 or 60 minutes with a note, and the window in
// which the supervisor approves or refuses the waiting request with the supervisor password.
#include "gui/event_types.h"

extern int TrayMenu, TrayAnsweringMenu, AskItem, AskAnsweringItem, AnswerItem;
extern int AskWindow, Ask15, Ask30, Ask60, AskNote, AskStatus, AskSend, AskCancel;
extern int AnswerWindow, AnswerWhat, AnswerNote, AnswerMinutes, AnswerPassword;
extern int AnswerApprove, AnswerRefuse, AnswerCancel;

// Creates the tray's two menus (with "Answer request..." only while a request waits) and both
// windows, hidden. Both windows come after MainWindow, as "Larkspur AppWindow 4" and 5.
void createTimeRequestWindows();
// The tray's menu at the mouse pointer, until an item is chosen or the menu is left.
void showTrayMenu();

// "Ask for more time...": the ask window afresh, with the request that waits, if any.
void openAskWindow(int self, int event, const EventParams& params);
// Send: the request with the minutes and note chosen; a refusal is said in a box.
void sendTimeRequest(int self, int event, const EventParams& params);
// "Answer request...": the waiting request as it is now, in the answer window.
void openAnswerWindow(int self, int event, const EventParams& params);
// Approve with the minutes shown, or refuse, when the typed password opens the gate.
void approveAnswer(int self, int event, const EventParams& params);
void refuseAnswer(int self, int event, const EventParams& params);
// Cancel in either window: hides it.
void closeRequestWindow(int self, int event, const EventParams& params);
