#include "gui/framework.h"

#include "gui/creation.h"
#include "gui/destroy.h"
#include "gui/fonts.h"
#include "gui/gdi_objects.h"
#include "gui/message_box.h"
#include "gui/message_dispatch.h"
#include "gui/message_handlers.h"
#include "gui/modal.h"
#include "gui/registry.h"
#include "gui/run_state.h"
#include "gui/showing_windows.h"
#include "support/w32memset.h"
#include "support/w32msgs.h"

namespace {

bool vFrameworkStarted = false;

// How control creation opens a child window that was created visible.
void openCreatedWindow(int id, int style) {
  openWindow(id, style);
}

}  // namespace

void startFramework() {
  if (vFrameworkStarted)
    return;
  vFrameworkStarted = true;
  loadFontDefaults();
  startRegistry();
  startDispatch();
  installMessageHandlers();
  r_openWindow = openCreatedWindow;
  r_presentReport = message_box;
  attachCleanUp(libCleanUp);
}

void releaseAll(int mode) {
  if (vWinMainState == kFinished)
    return;
  detachCleanUp(libCleanUp);
  // Nothing is left to keep the user inside: an open modal window would refuse every other
  // window's close, and with it its destruction.
  vModal = {};
  modalStack.clear();

  for (int id = 1; id <= controlCount(); ++id) {
    const bool topLevelWindow = ctrl_Type[id] == Window && ctrl_Parent[id] == 0;
    if ((topLevelWindow || ctrl_Type[id] == Pixmap) && validId(id))
      destroy(id);
  }
  deleteAllTrackedObjects();
  w32release_mem(vPermMemSet);
  vWinMainState = kFinished;
  if (mode == kReleaseAtEnd)
    abortErr("");
}

int libCleanUp(int, const std::string&, int, bool) {
  releaseAll(kReleaseFromCleanUp);
  return 0;
}
