// Native memory sets: zero-filled blocks behind their length word, releasing a set with the
// sets listed in it, and failures reported through the abort routine.
#include "support/w32memset.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

std::vector<std::string> vReports;

void recordReport(const W32Error& error) {
  vReports.push_back(error.message);
}

std::uint32_t lengthWord(void* block) {
  std::uint32_t word = 0;
  std::memcpy(&word, static_cast<unsigned char*>(block) - 4, 4);
  return word;
}

class W32MemSet : public testing::Test {
 protected:
  void SetUp() override {
    vReports.clear();
    previous = w32llSetAbort(recordReport);
    live = w32liveBlocks();
  }
  void TearDown() override { w32llSetAbort(previous); }
  W32AbortRoutine previous = nullptr;
  int live = 0;
};

}  // namespace

TEST_F(W32MemSet, BlocksAreZeroFilledCopiesBehindTheirLength) {
  auto* zeros = static_cast<unsigned char*>(w32acquire_mem(0, 10));
  auto* text = static_cast<char*>(w32acquire_mem(0, std::string("abc")));
  auto* bytes = static_cast<unsigned char*>(w32acquire_mem(0, W32Bytes{1, 2}));
  EXPECT_EQ(w32liveBlocks(), live + 3);

  EXPECT_EQ(lengthWord(zeros), 14u);
  EXPECT_EQ(std::count(zeros, zeros + 10, 0), 10);
  EXPECT_EQ(lengthWord(text), 8u);
  EXPECT_EQ(std::memcmp(text, "abc", 4), 0);
  EXPECT_EQ(lengthWord(bytes), 7u);
  EXPECT_EQ(bytes[0] + bytes[1] * 10 + bytes[2] * 100, 21);

  for (void* block : {static_cast<void*>(zeros), static_cast<void*>(text), static_cast<void*>(bytes)})
    w32release_mem(block);
  EXPECT_EQ(w32liveBlocks(), live);
  EXPECT_TRUE(vReports.empty());
}

TEST_F(W32MemSet, ReleasingASetReleasesItsBlocksAndTheSetsListedInIt) {
  const int outer = w32new_memset();
  const int inner = w32new_memset();
  w32acquire_mem(outer, 4);
  w32acquire_mem(outer, std::string("x"));
  void* single = w32acquire_mem(outer, 8);
  w32acquire_mem(inner, 16);
  w32include_memset(outer, inner);
  EXPECT_EQ(w32liveBlocks(), live + 4);

  // A block released by itself leaves its set, which must not free it again.
  w32release_mem(single);
  w32release_mem(outer);
  EXPECT_EQ(w32liveBlocks(), live);
  EXPECT_TRUE(vReports.empty());

  w32release_mem(outer);
  w32release_mem(inner);
  w32release_mem(single);
  EXPECT_EQ(vReports, std::vector<std::string>(3, "Trying to release unacquired memory"));
}

TEST_F(W32MemSet, FailuresAreReportedThroughTheAbortRoutine) {
  EXPECT_EQ(w32acquire_mem(0, SIZE_MAX), nullptr);
  void* block = w32acquire_mem(0, 4);
  std::memset(static_cast<unsigned char*>(block) - 4, 0x55, 4);
  w32release_mem(block);
  EXPECT_EQ(vReports, (std::vector<std::string>{"Unable to allocate space.", "Damaged memory block header."}));
  EXPECT_EQ(w32liveBlocks(), live);
}
