#include "gui/gdi_objects.h"

#include <windows.h>

#include <algorithm>

#include "support/w32codes.h"
#include "support/w32dll.h"
#include "support/w32msgs.h"

namespace {

constexpr int kRecordStep = 16;
constexpr int kFree = 0;
constexpr int kValid = 1;

struct HeldResource {
  int handle = 0;
  int owner = kNoOwner;
  int lifetime = 0;
  int tag = 0;
  int kind = 0;
  int references = 0;
  int status = kFree;
};

std::vector<HeldResource> heldResource;
std::vector<int> vFreeResources;  // indexes of free records
std::vector<int> vStockObjects;

bool isStock(int handle) {
  if (vStockObjects.empty()) {
    for (int index = 0; index <= STOCK_LAST; ++index)
      if (const int stock = w32Func(rtn::GetStockObject, {index}))
        vStockObjects.push_back(stock);
  }
  return std::find(vStockObjects.begin(), vStockObjects.end(), handle) != vStockObjects.end();
}

HeldResource* findHeld(int handle) {
  for (HeldResource& record : heldResource)
    if (record.status == kValid && record.handle == handle)
      return &record;
  return nullptr;
}

void freeRecord(HeldResource& record) {
  record = HeldResource{};
  vFreeResources.push_back(static_cast<int>(&record - heldResource.data()));
}

}  // namespace

void trackObject(int handle, int owner, int lifetime, int tag, int kind) {
  if (isStock(handle))
    return;
  if (HeldResource* held = findHeld(handle)) {
    if (held->owner == owner)
      ++held->references;
    else if (held->owner == kNoOwner)
      held->owner = owner;
    else
      warnErr(w32code::HeldResourceOwner);
    return;
  }
  if (vFreeResources.empty()) {
    const int size = static_cast<int>(heldResource.size());
    heldResource.resize(size + kRecordStep);
    for (int index = size + kRecordStep - 1; index >= size; --index)
      vFreeResources.push_back(index);
  }
  const int index = vFreeResources.back();
  vFreeResources.pop_back();
  heldResource[index] = {handle, owner, lifetime, tag, kind, 1, kValid};
}

void deleteObject(int handle, bool forgetOnly) {
  if (isStock(handle))
    return;
  if (HeldResource* held = findHeld(handle))
    freeRecord(*held);
  if (!forgetOnly)
    w32Func(rtn::DeleteObject, {handle});
}

void deleteOwnedObjects(int owner) {
  for (HeldResource& record : heldResource)
    if (record.status == kValid && record.owner == owner)
      deleteObject(record.handle);
}

void deleteAllTrackedObjects() {
  for (HeldResource& record : heldResource)
    if (record.status == kValid)
      deleteObject(record.handle);
}

W32Bytes packBitmapRows(const std::vector<std::vector<int>>& rows) {
  const std::size_t width = rows.empty() ? 0 : rows.front().size();
  const std::size_t rowBytes = (width + 15) / 16 * 2;
  W32Bytes bytes;
  bytes.reserve(rowBytes * rows.size());
  for (const std::vector<int>& row : rows) {
    for (std::size_t byte = 0; byte < rowBytes; ++byte) {
      unsigned char value = 0;
      for (std::size_t bit = 0; bit < 8; ++bit) {
        const std::size_t column = byte * 8 + bit;
        const bool set = column >= width || column >= row.size() || row[column] != 0;
        value = static_cast<unsigned char>(value << 1 | (set ? 1 : 0));
      }
      bytes.push_back(value);
    }
  }
  return bytes;
}

int createBitmap(const std::vector<std::vector<int>>& rows) {
  const int width = rows.empty() ? 0 : static_cast<int>(rows.front().size());
  const int height = static_cast<int>(rows.size());
  // A bitmap without pixels would come back as the platform's shared 1-by-1 bitmap.
  const int bitmap = width > 0 ? w32Func(rtn::CreateBitmap, {width, height, 1, 1, packBitmapRows(rows)}) : 0;
  if (bitmap == 0) {
    warnErr("CreateBitmap failed.");
    return 0;
  }
  trackObject(bitmap, kNoOwner, kLifeProgram, 0, OBJ_BITMAP);
  return bitmap;
}

int bitmapFromText(const std::vector<std::string>& rows) {
  std::vector<std::vector<int>> bits;
  bits.reserve(rows.size());
  for (const std::string& text : rows) {
    std::vector<int>& row = bits.emplace_back();
    for (char c : text)
      row.push_back(c == ' ' ? 1 : 0);
  }
  return createBitmap(bits);
}
