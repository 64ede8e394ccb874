// The order in which the registry hands out control ids: the lowest first, then from the top
// of the block, and freed ids before the others.
#include <gtest/gtest.h>

#include "gui/destroy.h"
#include "gui/registry.h"

// A program of its own: the allocation order is only visible in a registry that holds
// nothing but Screen and Printer.

TEST(Registry, IdsComeLowestFirstThenFromTheTopOfTheBlockAndFreedIdsFirst) {
  startRegistry();
  ASSERT_EQ(controlCount(), 2);
  EXPECT_EQ(ctrl_Type[Screen], Screen_);
  EXPECT_EQ(ctrl_Type[Printer], Printer_);
  EXPECT_TRUE(validId(Screen));

  std::vector<int> ids;
  for (int i = 0; i < 18; ++i)
    ids.push_back(NewControl(PushButton, 0));
  std::vector<int> expected = {3};
  for (int id = 18; id >= 4; --id)
    expected.push_back(id);
  expected.insert(expected.end(), {19, 34});
  EXPECT_EQ(ids, expected);

  destroy(17);
  EXPECT_FALSE(validId(17));
  EXPECT_EQ(NewControl(PushButton, 0), 17);
  destroy(5);
  destroy(9);
  EXPECT_EQ(NewControl(PushButton, 0), 9);
  EXPECT_EQ(NewControl(PushButton, 0), 5);
  EXPECT_EQ(NewControl(PushButton, 0), 33);

  setControlBlocks(0);
  EXPECT_EQ(vEmptySlots, 16);
}
