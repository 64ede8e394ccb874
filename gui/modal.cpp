#include "gui/modal.h"

#include <algorithm>

#include "support/w32msgs.h"

ModalRecord vModal;
std::vector<ModalRecord> modalStack;

void pushModal(int id, int hWnd, int style, int depth) {
  modalStack.push_back(vModal);
  vModal = {id, hWnd, style, depth};
}

void popModal() {
  if (modalStack.empty()) {
    warnErr("popModal: The Modal Window Stack is already empty.");
    return;
  }
  vModal = modalStack.back();
  modalStack.pop_back();
}

bool isOnModalStack(int id) {
  return vModal.window == id ||
         std::any_of(modalStack.begin(), modalStack.end(), [id](const ModalRecord& r) { return r.window == id; });
}
