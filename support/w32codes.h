#pragma once
// The framework's own coded reports: each failure it can detect has a fixed code and text,
// shown under "Error code N". Operations name the entry; warnErr or abortErr decides how
// it is reported.

struct W32Code {
  int code;
  const char* message;  // a format text where the entry takes arguments
};

namespace w32code {
constexpr W32Code HeldResourceOwner{425, "LOGIC ERROR: Held resource owner is not the actual owner."};
constexpr W32Code UnknownFunctionId{425, "An unknown GUI function ID used."};
constexpr W32Code ScreenToClient{426, "ScreenToClient failed."};
constexpr W32Code SetBkColorInAssignFont{428, "SetBkColor in assignFont failed."};
constexpr W32Code CheckMenuItem{429, "CheckMenuItem in checkMenuItem failed."};
constexpr W32Code EnableMenuItem{430, "EnableMenuItem in enableMenuItem failed."};
constexpr W32Code GetClientRect{432, "getClientRect:GetClientRect failed."};
constexpr W32Code GetClientSize{434, "getClientSize:GetClientRect failed."};
constexpr W32Code GetObjectForPixmap{435, "getRect:GetObject for pixmap failed."};
constexpr W32Code GetObjectForBitmap{436, "getRect:GetObject for bitmap failed."};
constexpr W32Code InvalidateRect{437, "InvalidateRect in repaintRect failed."};
constexpr W32Code CreateCompatibleBitmap{439, "createPixmap:CreateCompatibleBitmap failed"};
constexpr W32Code AppendMenuInCreateMenuItem{440, "AppendMenu in createMenuItem failed."};
constexpr W32Code AppendMenuInCreateMenu{441, "AppendMenu in createMenu failed."};
constexpr W32Code CreatePopupMenu{442, "CreatePopupMenu in CreateMenu failed."};
constexpr W32Code SetMenu{443, "SetMenu in createMenu failed."};
constexpr W32Code CreateMenu{444, "CreateMenu in createMenu failed."};
constexpr W32Code GetTextMetrics{445, "GetTextMetrics in getFontSize failed."};
constexpr W32Code GetTextMetricsAgain{446, "GetTextMetrics in getFontSize failed."};
constexpr W32Code SetBkMode{447, "SetBkMode in assignFont failed."};
constexpr W32Code SetTextColor{448, "SetTextColor in assignFont failed."};
constexpr W32Code ReleaseDC{449, "releaseDC:ReleaseDC failed."};
constexpr W32Code DeleteDCPixmap{450, "releaseDC:DeleteDC (Pixmap) failed."};
constexpr W32Code DeleteDCBitmap{451, "releaseDC:DeleteDC (bitmap) failed."};
constexpr W32Code ReleaseDCScreen{452, "releaseDC:ReleaseDC (screen) failed."};
constexpr W32Code ReleasePrinter{458, "releasePrinter:DeleteDC failed."};
constexpr W32Code InvalidParent{459, "create():Invalid parent id."};
constexpr W32Code NoControlHandle{461, "Failed to acquire a hWnd when creating a control."};
constexpr W32Code TabItemParent{462, "Cannot create a TabItem: Parent not a TabControl."};
constexpr W32Code LinkProcedure{463, "Couldn't link to C procedure '%s'"};
constexpr W32Code LinkFunction{464, "Couldn't link to C function '%s'"};
constexpr W32Code FindLibrary{465, "Couldn't find DLL '%s'"};
constexpr W32Code StackLengths{466, "Internal ID or Return stack lengths incorrect."};
constexpr W32Code SubProcId{468, "routine_id for SubProc failed!"};
constexpr W32Code WndProcId{469, "routine_id for WndProc failed!"};
constexpr W32Code GetWindowRect{472, "getRect:GetWindowRect failed."};
constexpr W32Code DestroyMenu{477, "destroy:Menu failed"};
constexpr W32Code CreateTabItem{481, "Failed to create a TabItem in create:createTabItem."};
constexpr W32Code CreateWindow{482, "CreateWindow in createWindow failed."};
constexpr W32Code RegisterClass{483, "RegisterClassEx failed."};
constexpr W32Code GetTextExtent{484, "getTextExtent:GetTextExtentPoint failed."};
constexpr W32Code RestoreDCInCreateFont{486, "ezCreateFont:RestoreDC failed."};
constexpr W32Code SaveDC{491, "ezCreateFont:SaveDC failed."};
constexpr W32Code RestoreDCInReleaseDC{492, "releaseDC:RestoreDC failed."};
constexpr W32Code GetDC{494, "getDC:GetDC failed."};
constexpr W32Code GetHandleFailed{495, "getHandle failed."};
constexpr W32Code NullHandle{496, "getHandle returned Null handle."};
constexpr W32Code DestroyedObject{497, "getHandle: Object is destroyed."};
constexpr W32Code HandleReattached{499, "getHandle:The stored hWnd for id %d is now attached to id %d"};
}  // namespace w32code
