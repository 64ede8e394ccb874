#include "gui/handlers.h"

#include <algorithm>
#include <deque>

#include "gui/registry.h"
#include "support/hot_path.h"
#include "support/w32codes.h"
#include "support/w32msgs.h"

bool vLegacyHandlerMode = true;

namespace {

constexpr int kStackStep = 10;

// One frame per invocation in progress: the control id and the invocation's result.
std::vector<int> idStack(kStackStep);
std::vector<int> returnStack(kStackStep);
int SP = 0;

// The lists an invocation works with, one record per level of nesting, kept from event to
// event with their capacity: an event raised on every message then takes nothing from the
// heap. A deque, so that a level added by a nested invocation leaves the outer levels' lists
// where their routines still read them.
struct Invocation {
  EventParams params;
  std::vector<Handler> routines;
};
std::deque<Invocation> vInvocations;
std::size_t vInvocationLevel = 0;

HOT_PATH Invocation& currentInvocation() {
  if (vInvocationLevel == vInvocations.size())
    vInvocations.emplace_back();
  return vInvocations[vInvocationLevel];
}

bool isEventType(int event) {
  return event >= 1 && event <= w32LastEventType;
}

void attach(std::vector<Handler>& list, const std::vector<RoutineEntry>& routines) {
  bool prepend = false;
  for (std::size_t i = 0; i < routines.size(); ++i) {
    const RoutineEntry& entry = routines[i];
    if (!entry.routine) {
      if (entry.command == kClearHandlers && i == 0)
        list.clear();
      else if (entry.command == kPrependHandlers)
        prepend = true;
      continue;
    }
    if (std::find(list.begin(), list.end(), entry.routine) != list.end())
      continue;
    if (prepend)
      list.insert(list.begin(), entry.routine);
    else
      list.push_back(entry.routine);
  }
}

void attachAll(const IdList& ids, const IdList& types, const RoutineList& routines) {
  for (int id : ids.values) {
    if (!validId(id))
      continue;
    for (int event : types.values) {
      if (!isEventType(event))
        continue;
      // A combo's edit field is where files are actually dropped.
      if (event == w32HDragAndDrop && ctrl_Family[id] == COMBO) {
        for (const ChildEntry& child : findChildren(id))
          if (child.cls == EditText)
            attachAll(child.id, event, routines);
      }
      const bool global = event == w32HBreak || event == w32HPause || event == w32HIdle;
      attach(ctrl_Handlers[global ? Screen : id][event - 1], routines.entries);
    }
  }
}

HOT_PATH void collect(std::vector<Handler>& routines, int id, int event) {
  const std::vector<Handler>& list = ctrl_Handlers[id][event - 1];
  routines.insert(routines.end(), list.begin(), list.end());
}

HOT_PATH bool subscribed(const NotifyList& list, int event) {
  return std::any_of(list.events.begin(), list.events.end(), [event](const std::vector<int>& events) {
    return std::find(events.begin(), events.end(), event) != events.end();
  });
}

HOT_PATH void notifySubscribers(int id, int event, const EventParams& params) {
  if (!subscribed(ctrl_Notify_List[id], event))
    return;
  // A copy: a notified handler may subscribe or unsubscribe meanwhile.
  const NotifyList subscribers = ctrl_Notify_List[id];
  for (std::size_t i = 0; i < subscribers.receivers.size(); ++i) {
    const std::vector<int>& events = subscribers.events[i];
    const auto found = std::find(events.begin(), events.end(), event);
    if (found == events.end())
      continue;
    EventParams notice = {id, event, subscribers.userData[i][found - events.begin()]};
    notice.insert(notice.end(), params.begin(), params.end());
    invokeHandler(subscribers.receivers[i], w32HNotify, notice);
  }
}

}  // namespace

void setHandler(const IdList& ids, const IdList& types, const RoutineList& routines) {
  attachAll(ids, types, routines);
  vLegacyHandlerMode = false;
}

std::vector<Handler> getHandlerList(int id, int event) {
  if (!validId(id) || !isEventType(event))
    return {};
  return ctrl_Handlers[id][event - 1];
}

HOT_PATH bool hasListeners(int id, int event) {
  if (!ctrl_Handlers[Screen][event - 1].empty() || !ctrl_Handlers[id][event - 1].empty())
    return true;
  if (vLegacyHandlerMode) {
    if (const std::vector<Handler>* slots = legacySlots(event))
      if ((*slots)[id] || (*slots)[Screen])
        return true;
  }
  return event != w32HNotify && subscribed(ctrl_Notify_List[id], event);
}

HOT_PATH int invokeHandler(int id, int event, const EventParams& params) {
  if (!validId(id) || !isEventType(event) || !hasListeners(id, event))
    return 0;
  pushHandlerFrame(id);

  // Collected first: a handler may change the lists while the others wait their turn.
  std::vector<Handler>& routines = currentInvocation().routines;
  routines.clear();
  collect(routines, Screen, event);
  if (id != Screen)
    collect(routines, id, event);
  if (routines.empty() && vLegacyHandlerMode) {
    if (const std::vector<Handler>* slots = legacySlots(event)) {
      for (int owner : {id, Screen})
        if (Handler routine = (*slots)[owner])
          routines.push_back(routine);
    }
  }
  ++vInvocationLevel;
  for (Handler routine : routines)
    routine(id, event, params);

  if (event != w32HNotify && validId(id))
    notifySubscribers(id, event, params);
  --vInvocationLevel;
  return popHandlerFrame();
}

HOT_PATH int invokeHandler(int id, int event, std::initializer_list<int> params) {
  EventParams& list = currentInvocation().params;
  list.assign(params);
  return invokeHandler(id, event, list);
}

void registerNotification(int sender, int action, int event, int receiver, int userData) {
  if (action != kSubscribe || !validId(sender) || !isEventType(event))
    return;
  NotifyList& list = ctrl_Notify_List[sender];
  const auto at = std::find(list.receivers.begin(), list.receivers.end(), receiver);
  if (at == list.receivers.end()) {
    list.receivers.push_back(receiver);
    list.events.push_back({event});
    list.userData.push_back({userData});
    return;
  }
  const std::size_t index = at - list.receivers.begin();
  std::vector<int>& events = list.events[index];
  const auto known = std::find(events.begin(), events.end(), event);
  if (known != events.end()) {
    list.userData[index][known - events.begin()] = userData;
  } else {
    events.push_back(event);
    list.userData[index].push_back(userData);
  }
}

HOT_PATH void pushHandlerFrame(int id) {
  if (SP == static_cast<int>(idStack.size())) {
    idStack.resize(SP + kStackStep);
    returnStack.resize(SP + kStackStep);
  }
  idStack[SP] = id;
  returnStack[SP] = 0;
  ++SP;
}

HOT_PATH int popHandlerFrame() {
  if (SP == 0) {
    abortErr(w32code::StackLengths);
    return 0;
  }
  --SP;
  return returnStack[SP];
}

int handlerDepth() {
  return SP;
}
