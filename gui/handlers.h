#pragma once
// The application's handler routines per control and event type: attaching them, reading a
// list back, invoking an event (Screen's global handlers first, then the control's own, then
// the control's subscribers), and the stack of invocations in progress.
#include <initializer_list>
#include <utility>
#include <vector>

#include "gui/event_types.h"

// Commands inside a routine list given to setHandler.
constexpr int kClearHandlers = -1;    // in first place: empty the list before adding
constexpr int kPrependHandlers = -2;  // the handlers after it go to the front

struct RoutineEntry {
  Handler routine = nullptr;
  int command = 0;
  RoutineEntry(Handler handler) : routine(handler) {}
  RoutineEntry(int listCommand) : command(listCommand) {}
};

// One value or a list, as setHandler accepts each of its arguments.
struct IdList {
  std::vector<int> values;
  IdList(int value) : values{value} {}
  IdList(std::initializer_list<int> list) : values(list) {}
  IdList(std::vector<int> list) : values(std::move(list)) {}
};

struct RoutineList {
  std::vector<RoutineEntry> entries;
  RoutineList(Handler handler) : entries{handler} {}
  RoutineList(std::initializer_list<RoutineEntry> list) : entries(list) {}
  RoutineList(const std::vector<Handler>& handlers) : entries(handlers.begin(), handlers.end()) {}
};

// Attaches the routines to every valid control of ids for every event type of types (1 to
// 28; others are skipped). A routine already in a list is not added twice. Break, Pause and
// Idle handlers go to Screen; drag-and-drop handlers of a combo also go to its edit field.
void setHandler(const IdList& ids, const IdList& types, const RoutineList& routines);

// A copy of one list; {} for an invalid control or an event type outside 1 to 28.
std::vector<Handler> getHandlerList(int id, int event);

// Calls Screen's handlers for the event, then the control's, each with (id, event, params),
// then raises w32HNotify on the control's subscribers to the event. Returns the invocation's
// result, 0 for an invalid control. The second form is for parameters written out at the call:
// they go into a list the framework keeps for its level of nesting, not into a new one.
int invokeHandler(int id, int event, const EventParams& params);
int invokeHandler(int id, int event, std::initializer_list<int> params);

// Whether raising the event on the valid control would call anything: a handler of Screen or
// of the control, its legacy routine, or a subscriber. Lets a caller that raises an event on
// every message skip building its parameters.
bool hasListeners(int id, int event);

// Action 1 subscribes the receiver to one event type of the sender, with user data handed
// to it in each notification; subscribing again replaces the user data.
constexpr int kSubscribe = 1;
void registerNotification(int sender, int action, int event, int receiver, int userData);

// The invocation stack: a frame per invocation in progress (the main window keeps one for the
// program's life). Popping an empty stack is fatal.
void pushHandlerFrame(int id);
int popHandlerFrame();
int handlerDepth();

// While on (from start-up until the first setHandler), a control without a handler list for
// an event falls back to its single legacy routine.
extern bool vLegacyHandlerMode;
