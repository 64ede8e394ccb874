// Geometry and drawing objects: window, client and screen rectangles, borrowed contexts, text
// bitmaps, colours, and tracked objects released with their owner.
#include "gui/geometry.h"

#include <gtest/gtest.h>

#include "gui/device_context.h"
#include "gui/gdi_objects.h"
#include "gui/registry.h"
#include "gui/run_state.h"
#include "tests/fixtures/dialog_answerer.h"
#include "tests/gui_framework/framework_fixture.h"

namespace {

int address(const void* p) {
  return static_cast<int>(reinterpret_cast<std::uintptr_t>(p));
}

BITMAP bitmapRecord(int bitmap) {
  BITMAP record = {};
  w32Func(rtn::GetObjectA, {bitmap, static_cast<int>(sizeof record), address(&record)});
  return record;
}

int pixel(int dc, int x, int y) {
  return w32Func(rtn::GetPixel, {dc, x, y});
}

}  // namespace

TEST(Geometry, WindowSizesAreOuterAndTheClientAreaLosesItsBars) {
  const int window = makeWindow(0, 50, 60, 300, 200);
  EXPECT_EQ(getCtlSize(window), (Size{300, 200}));
  EXPECT_EQ(getRect(window), (Rect{50, 60, 350, 260}));

  RECT native = {};
  w32Func(rtn::GetClientRect, {ctrl_Handle[window], address(&native)});
  const ClientRect plain = getClientRect(window);
  EXPECT_EQ(plain, (ClientRect{0, 0, native.right, native.bottom, native.right - 1, native.bottom - 1}));
  EXPECT_LT(plain.width, 300);
  EXPECT_LT(plain.height, 200);

  const int statusBar = makeControl(StatusBar, window, 0, 0, 0, 0);
  ctrl_Statusbar[window] = statusBar;
  const int barHeight = getCtlSize(statusBar).height;
  ASSERT_GT(barHeight, 0);
  const ClientRect withStatus = getClientRect(window);
  EXPECT_EQ(withStatus.height, plain.height - barHeight);
  EXPECT_EQ(withStatus.bottom, withStatus.height - 1);

  // A tool bar counts before the event loop starts, and afterwards only while it is shown
  // (this window never is).
  const int toolBar = makeWindow(window, 0, 0, 300, 25, WS_CHILD | WS_VISIBLE);
  ctrl_Toolbar[window] = toolBar;
  const ClientRect withBoth = getClientRect(window);
  EXPECT_EQ(withBoth.top, 25);
  EXPECT_EQ(withBoth.height, plain.height - barHeight - 25);
  EXPECT_EQ(withBoth.bottom, withBoth.top + withBoth.height - 1);
  vWinMainState = kStarted;
  EXPECT_EQ(getClientRect(window), withStatus);
  vWinMainState = kNotStarted;
}

TEST(Geometry, ChildRectIsInItsOwnersClientCoordinates) {
  const int window = makeWindow(0, 120, 90, 300, 200);
  const int button = makeControl(PushButton, window, 10, 20, 80, 30);
  EXPECT_EQ(getRect(button), (Rect{10, 20, 90, 50}));
  EXPECT_EQ(getCtlSize(button), (Size{80, 30}));
}

TEST(Geometry, ScreenRectIsTheDeviceAndReturnsItsContext) {
  const Rect screen = getRect(Screen);
  const int dc = w32Func(rtn::GetDC, {0});
  EXPECT_EQ(screen,
            (Rect{0, 0, w32Func(rtn::GetDeviceCaps, {dc, HORZRES}), w32Func(rtn::GetDeviceCaps, {dc, VERTRES})}));
  w32Func(rtn::ReleaseDC, {0, dc});
  EXPECT_GT(screen.right, 0);
  const int borrowed = getDC(Screen);
  EXPECT_NE(borrowed, 0);
  EXPECT_EQ(getIdFromDC(borrowed), Screen) << "getRect gave its borrowing back";
  releaseDC(Screen);
}

TEST(Geometry, BorrowingIsCountedPerControl) {
  const int window = makeWindow(0, 0, 0, 200, 100);
  const int first = getDC(window);
  ASSERT_NE(first, 0);
  EXPECT_EQ(getDC(window), first);
  EXPECT_EQ(getIdFromDC(first), window);
  releaseDC(window);
  EXPECT_EQ(getIdFromDC(first), window) << "one borrowing is still out";
  releaseDC(window);
  EXPECT_EQ(getIdFromDC(first), 0);
  releaseDC(window);  // nothing left to give back: ignored
}

TEST(Geometry, TextBitmapRowsArePaddedWithOnesToSixteenBits) {
  EXPECT_EQ(packBitmapRows({{0, 1, 1, 1, 1, 1, 1, 1, 1}}), (W32Bytes{0x7F, 0xFF}));
  EXPECT_EQ(packBitmapRows({{1, 0, 1}, {0}}), (W32Bytes{0xBF, 0xFF, 0x7F, 0xFF})) << "a short row is padded too";
  EXPECT_EQ(packBitmapRows({std::vector<int>(17, 0)}), (W32Bytes{0x00, 0x00, 0x7F, 0xFF}));

  const int bitmap = bitmapFromText({"x        ", "  x     x"});
  ASSERT_NE(bitmap, 0);
  EXPECT_EQ(getCtlSize(bitmap), (Size{9, 2}));
  EXPECT_EQ(bitmapRecord(bitmap).bmWidthBytes, 2);
  EXPECT_EQ(bitmapRecord(bitmap).bmBitsPixel, 1);

  const int dc = getDC(bitmap);
  ASSERT_NE(dc, 0);
  EXPECT_EQ(getIdFromDC(dc), bitmap);
  EXPECT_EQ(pixel(dc, 0, 0), 0);
  EXPECT_EQ(pixel(dc, 1, 0), 0xFFFFFF);
  EXPECT_EQ(pixel(dc, 2, 1), 0);
  EXPECT_EQ(pixel(dc, 8, 1), 0);
  EXPECT_EQ(pixel(dc, 8, 0), 0xFFFFFF);
  releaseDC(bitmap);

  EXPECT_EQ(w32Func(rtn::GetObjectType, {dc}), 0) << "the memory context is deleted";
  EXPECT_EQ(w32Func(rtn::GetObjectType, {bitmap}), OBJ_BITMAP) << "the bitmap outlives it";
  const int again = getDC(bitmap);
  EXPECT_EQ(pixel(again, 2, 1), 0);
  releaseDC(bitmap);
}

TEST(Geometry, BitmapWithoutPixelsIsRefusedWithAWarning) {
  DialogAnswerer answerer(kWarningTitle, IDYES);
  EXPECT_EQ(createBitmap({}), 0);
  EXPECT_EQ(bitmapFromText({""}), 0);
  const std::vector<SeenBox> boxes = answerer.finish();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(startsWith(boxes[0].text, "CreateBitmap failed.\n")) << boxes[0].describe();
}

TEST(Geometry, GetRectOfSomethingThatIsNeitherControlNorBitmapWarns) {
  const int brush = w32Func(rtn::CreateSolidBrush, {0});
  DialogAnswerer answerer(kWarningTitle, IDYES);
  EXPECT_EQ(getRect(brush), (Rect{}));
  EXPECT_EQ(getRect(0), (Rect{}));
  const std::vector<SeenBox> boxes = answerer.finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(startsWith(boxes[0].text, "Error code 436\ngetRect:GetObject for bitmap failed.\n"))
      << boxes[0].describe();
  w32Func(rtn::DeleteObject, {brush});
}

TEST(Geometry, Colours) {
  EXPECT_EQ(rgb(255, 0, 0), 255);
  EXPECT_EQ(rgb(0, 0, 255), 16711680);
  EXPECT_EQ(rgb(1, 2, 3), 0x030201);
  EXPECT_EQ(colorValue(-16), w32Func(rtn::GetSysColor, {COLOR_BTNFACE}));
  EXPECT_EQ(colorValue(w32Color_WINDOWTEXT), w32Func(rtn::GetSysColor, {COLOR_WINDOWTEXT}));
  EXPECT_EQ(colorValue(0x7F123456), 0x123456);
  EXPECT_EQ(colorValue(Colour(std::string("Red"))), 255);
  EXPECT_EQ(colorValue(Colour(std::string("no such colour"))), 0);
  EXPECT_EQ(colorValue(w32BGTransparent), 0);
}

TEST(Geometry, TrackedObjectsGoWithTheirOwnerOrAtTheEnd) {
  const int window = makeWindow(0, 0, 0, 100, 100);
  const int other = makeWindow(0, 0, 0, 100, 100);
  const int unowned = bitmapFromText({"x"});
  trackObject(unowned, window, kLifeProgram, 0, OBJ_BITMAP);  // taken over, no warning
  const int brush = w32Func(rtn::CreateSolidBrush, {0x0000FF});
  trackObject(brush, window, kLifeProgram, 0, OBJ_BRUSH);
  trackObject(brush, window, kLifeProgram, 0, OBJ_BRUSH);

  DialogAnswerer answerer(kWarningTitle, IDYES);
  trackObject(brush, other, kLifeProgram, 0, OBJ_BRUSH);
  const std::vector<SeenBox> boxes = answerer.finish();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(startsWith(boxes[0].text, "Error code 425\nLOGIC ERROR: Held resource owner is not the actual owner.\n"))
      << boxes[0].describe();

  const int kept = w32Func(rtn::CreateSolidBrush, {0x00FFFF});
  trackObject(kept, other, kLifeProgram, 0, OBJ_BRUSH);
  deleteOwnedObjects(window);
  EXPECT_EQ(w32Func(rtn::GetObjectType, {unowned}), 0);
  EXPECT_EQ(w32Func(rtn::GetObjectType, {brush}), 0);
  EXPECT_EQ(w32Func(rtn::GetObjectType, {kept}), OBJ_BRUSH);

  deleteAllTrackedObjects();
  EXPECT_EQ(w32Func(rtn::GetObjectType, {kept}), 0);
}
