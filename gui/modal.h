#pragma once
// The modal stack: the window the user is kept inside (opened modal or as a dialog) and,
// beneath it, the modal windows it interrupted. Closing and focus handling consult it.
#include <vector>

// The show styles a window can be opened with that make it modal.
constexpr int kModalStyle = -1;
constexpr int kDialogStyle = -2;

struct ModalRecord {
  int window = 0;  // control id, 0 when no modal window is open
  int hWnd = 0;
  int style = 0;  // kModalStyle or kDialogStyle
  int depth = 0;  // how many event loops were running when it was opened
  bool operator==(const ModalRecord&) const = default;
};

// The current modal window (modalWindow, modalhWnd, modalStyle, modalDepth) and the ones it
// interrupted, oldest first.
extern ModalRecord vModal;
extern std::vector<ModalRecord> modalStack;

// Keeps the current modal window beneath and makes the given one current.
void pushModal(int id, int hWnd, int style, int depth);
// Makes the window beneath current again; an empty stack is a warning and changes nothing.
void popModal();
// Whether the window is the current modal window or waits beneath it.
bool isOnModalStack(int id);
