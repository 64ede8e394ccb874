#include "gui/device_context.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "gui/registry.h"
#include "support/w32codes.h"
#include "support/w32msgs.h"

namespace {

// How a context was obtained, which decides how it is given back. Kept with the borrowing:
// the control may be destroyed before the release.
enum class Source { Screen, Printer, Bitmap, Pixmap, Window };

struct Borrowed {
  int target;  // the id or bitmap handle given to getDC
  int uses;
  int dc;
  int savedState;  // 0 when a bitmap was selected instead
  int reason;
  Source source;
  int window;  // for Source::Window
};

// A bitmap selected into a borrowed memory context, and the object it replaced there.
struct Selection {
  int dc;
  int previous;
};

std::vector<Borrowed> grabbedHDC;  // newest first
std::vector<Selection> vDCs;

auto findBorrowed(int target) {
  return std::find_if(grabbedHDC.begin(), grabbedHDC.end(), [target](const Borrowed& b) { return b.target == target; });
}

// Puts back what the selections replaced. The bitmap itself belongs to whoever made it and
// outlives the context.
void undoSelections(int dc) {
  for (auto it = vDCs.begin(); it != vDCs.end();) {
    if (it->dc != dc) {
      ++it;
      continue;
    }
    w32Func(rtn::SelectObject, {dc, it->previous});
    it = vDCs.erase(it);
  }
}

void giveBack(const Borrowed& borrowed) {
  switch (borrowed.source) {
    case Source::Screen:
      if (w32Func(rtn::ReleaseDC, {0, borrowed.dc}) == 0)
        warnErr(w32code::ReleaseDCScreen);
      break;
    case Source::Printer:
      break;
    case Source::Bitmap:
      if (w32Func(rtn::DeleteDC, {borrowed.dc}) == 0)
        warnErr(w32code::DeleteDCBitmap);
      break;
    case Source::Pixmap:
      if (w32Func(rtn::DeleteDC, {borrowed.dc}) == 0)
        warnErr(w32code::DeleteDCPixmap);
      break;
    case Source::Window:
      if (w32Func(rtn::ReleaseDC, {borrowed.window, borrowed.dc}) == 0)
        warnErr(w32code::ReleaseDC);
      break;
  }
}

}  // namespace

int getDC(int idOrBitmap, bool quiet) {
  const auto known = findBorrowed(idOrBitmap);
  if (known != grabbedHDC.end()) {
    ++known->uses;
    return known->dc;
  }

  Borrowed borrowed = {idOrBitmap, 1, 0, 0, kDCReasonApp, Source::Window, 0};
  int bitmap = 0;
  if (idOrBitmap == Screen) {
    borrowed.source = Source::Screen;
    borrowed.dc = w32Func(rtn::GetDC, {0});
  } else if (idOrBitmap == Printer) {
    // Printing is not part of this program: there is never a current printer context.
    borrowed.source = Source::Printer;
  } else if (!validId(idOrBitmap) || ctrl_Type[idOrBitmap] == Pixmap) {
    const bool pixmap = validId(idOrBitmap);
    borrowed.source = pixmap ? Source::Pixmap : Source::Bitmap;
    bitmap = pixmap ? ctrl_Handle[idOrBitmap] : idOrBitmap;
    borrowed.dc = w32Func(rtn::CreateCompatibleDC, {0});
  } else {
    borrowed.window = getHandle(idOrBitmap);
    borrowed.dc = w32Func(rtn::GetDC, {borrowed.window});
  }

  if (borrowed.dc == 0) {
    if (quiet)
      return 0;
    warnErr(w32code::GetDC);
  }
  if (bitmap != 0)
    vDCs.push_back({borrowed.dc, w32Func(rtn::SelectObject, {borrowed.dc, bitmap})});
  else
    borrowed.savedState = w32Func(rtn::SaveDC, {borrowed.dc});
  grabbedHDC.insert(grabbedHDC.begin(), borrowed);
  return borrowed.dc;
}

void releaseDC(int idOrBitmap) {
  const auto known = findBorrowed(idOrBitmap);
  if (known == grabbedHDC.end() || --known->uses > 0)
    return;
  const Borrowed borrowed = *known;
  grabbedHDC.erase(known);

  undoSelections(borrowed.dc);
  if (borrowed.savedState != 0 && w32Func(rtn::RestoreDC, {borrowed.dc, borrowed.savedState}) == 0)
    abortErr(w32code::RestoreDCInReleaseDC);
  giveBack(borrowed);
}

int getIdFromDC(int dc) {
  for (const Borrowed& borrowed : grabbedHDC)
    if (borrowed.dc == dc)
      return borrowed.target;
  return 0;
}
