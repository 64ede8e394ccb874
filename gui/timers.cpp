#include "gui/timers.h"

#include "gui/registry.h"
#include "support/w32dll.h"

void setWindowTimer(int id, int timerId, int ticks) {
  w32Func(rtn::SetTimer, {getHandle(id), timerId, ticks, 0});
}
