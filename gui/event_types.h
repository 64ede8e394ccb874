#pragma once
// The framework's event types and change kinds, and the shape of an application handler:
// a plain routine called with the control id, the event type and the event's parameters.
#include <vector>

constexpr int w32HBreak = 1;
constexpr int w32HPause = 2;
constexpr int w32HMouse = 3;
constexpr int w32HClick = 4;
constexpr int w32HKeyPress = 5;
constexpr int w32HKeyUp = 6;
constexpr int w32HKeyDown = 7;
constexpr int w32HResize = 8;
constexpr int w32HChange = 9;
constexpr int w32HGotFocus = 10;
constexpr int w32HLostFocus = 11;
constexpr int w32HScroll = 12;
constexpr int w32HOpen = 13;
constexpr int w32HClose = 14;
constexpr int w32HDestroy = 15;
constexpr int w32HTimer = 16;
constexpr int w32HPaint = 17;
constexpr int w32HDragAndDrop = 18;
constexpr int w32HEvent = 19;
constexpr int w32HActivate = 20;
constexpr int w32HAfterEvent = 21;
constexpr int w32HDropDown = 22;
constexpr int w32HCloseUp = 23;
constexpr int w32HIdle = 24;
constexpr int w32HRegion = 25;
constexpr int w32HNotify = 26;
constexpr int w32HGetHandler = 27;
constexpr int w32HDataChange = 28;
constexpr int w32LastEventType = 28;

// The first parameter of a w32HChange event.
constexpr int w32CHG_Add = 1;   // an item was added
constexpr int w32CHG_Text = 2;  // the text changed
constexpr int w32CHG_Sel = 4;   // the selection changed

// Event parameters are integers (message words fit: the program is 32-bit). A w32HNotify
// event carries {sender id, sender's event type, subscriber's user data} followed by the
// sender's own parameters.
using EventParams = std::vector<int>;

// Handlers return nothing: they cannot veto or change what the framework does. Lists of them
// are compared by the routine's identity.
using Handler = void (*)(int self, int event, const EventParams& params);
