// The framework's message box: a list of styles is ored like one number, and style 0 is one OK
// button without an icon.
#include "gui/message_box.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "tests/fixtures/dialog_answerer.h"

namespace {

std::vector<int> buttonIds(const SeenBox& box) {
  std::vector<int> ids;
  for (const SeenButton& button : box.buttons)
    ids.push_back(button.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

}  // namespace

TEST(MessageBoxes, StyleListIsOredLikeTheSingleNumber) {
  const HICON exclamation = LoadIconA(nullptr, IDI_EXCLAMATION);
  for (int round = 0; round < 2; ++round) {
    DialogAnswerer answerer("Orrindale question", IDNO);
    const int answer = round == 0 ? message_box("Save your work\nnow.", "Orrindale question", {4, 48})
                                  : message_box("Save your work\nnow.", "Orrindale question", 52);
    const auto boxes = answerer.finish();
    ASSERT_EQ(boxes.size(), 1u) << "round " << round << ", other boxes: " << testing::PrintToString(answerer.strays());
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(buttonIds(boxes[0]), (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(boxes[0].icon, exclamation);
    EXPECT_EQ(boxes[0].text, "Save your work\nnow.");
  }
}

TEST(MessageBoxes, StyleZeroIsOneOkButtonWithoutIcon) {
  DialogAnswerer answerer("Orrindale notice", IDOK);
  EXPECT_EQ(message_box("Saved.", "Orrindale notice", 0), IDOK);
  const auto boxes = answerer.finish();
  ASSERT_EQ(boxes.size(), 1u) << "other boxes: " << testing::PrintToString(answerer.strays());
  EXPECT_EQ(buttonIds(boxes[0]), std::vector<int>{IDOK});
  EXPECT_EQ(boxes[0].icon, nullptr);
  EXPECT_EQ(boxes[0].title, "Orrindale notice");
}
