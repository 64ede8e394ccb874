#include "support/w32memset.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kLengthWord = 4;

struct Block {
  unsigned char* base;  // the length word; the holder's address is base + kLengthWord
  std::uint32_t length;
  int set;
};

struct MemSet {
  int id;
  std::vector<int> inner;
};

// Constant-initialised: the permanent set is made while the program starts, in whatever
// order the parts of the program start.
constinit std::vector<Block> vBlocks;
constinit std::vector<MemSet> vSets;
int vLastSet = 0;
W32AbortRoutine vAbort = abortErr;

void report(const char* failure) {
  (vAbort ? vAbort : abortErr)(failure);
}

auto findSet(int id) {
  return std::find_if(vSets.begin(), vSets.end(), [&](const MemSet& set) { return set.id == id; });
}

void recordUnder(int set) {
  if (set != 0 && findSet(set) == vSets.end())
    vSets.push_back({set, {}});
}

void* acquire(int set, const void* bytes, std::size_t count, std::size_t zeros) {
  if (count > UINT32_MAX - kLengthWord - zeros) {
    report("Unable to allocate space.");
    return nullptr;
  }
  const auto length = static_cast<std::uint32_t>(kLengthWord + count + zeros);
  auto* base = static_cast<unsigned char*>(std::calloc(1, length));
  if (!base) {
    report("Unable to allocate space.");
    return nullptr;
  }
  std::memcpy(base, &length, kLengthWord);
  if (count > 0 && bytes)
    std::memcpy(base + kLengthWord, bytes, count);
  recordUnder(set);
  vBlocks.push_back({base, length, set});
  return base + kLengthWord;
}

// Frees the block unless its length word no longer matches what was handed out.
void freeBlock(const Block& block) {
  std::uint32_t word = 0;
  std::memcpy(&word, block.base, kLengthWord);
  if (word != block.length) {
    report("Damaged memory block header.");
    return;
  }
  std::free(block.base);
}

void releaseSet(int id) {
  const auto found = findSet(id);
  if (found == vSets.end())
    return;
  // Forgotten before its members go, so that sets listing each other end.
  const std::vector<int> inner = found->inner;
  vSets.erase(found);
  std::vector<Block> members;
  std::erase_if(vBlocks, [&](const Block& block) {
    if (block.set != id)
      return false;
    members.push_back(block);
    return true;
  });
  for (const Block& block : members)
    freeBlock(block);
  for (int set : inner)
    releaseSet(set);
}

}  // namespace

int vPermMemSet = w32new_memset();

int w32new_memset() {
  ++vLastSet;
  vSets.push_back({vLastSet, {}});
  return vLastSet;
}

void* w32acquire_mem(int set, std::size_t bytes) {
  return acquire(set, nullptr, bytes, 0);
}

void* w32acquire_mem(int set, const std::string& text) {
  return acquire(set, text.data(), text.size(), 1);
}

void* w32acquire_mem(int set, const W32Bytes& bytes) {
  return acquire(set, bytes.data(), bytes.size(), 1);
}

void w32include_memset(int outer, int inner) {
  if (outer == 0 || inner == 0 || outer == inner)
    return;
  recordUnder(outer);
  findSet(outer)->inner.push_back(inner);
}

void w32release_mem(int set) {
  if (findSet(set) == vSets.end()) {
    report("Trying to release unacquired memory");
    return;
  }
  releaseSet(set);
}

void w32release_mem(void* block) {
  const auto found =
      std::find_if(vBlocks.begin(), vBlocks.end(), [&](const Block& held) { return held.base + kLengthWord == block; });
  if (found == vBlocks.end()) {
    report("Trying to release unacquired memory");
    return;
  }
  const Block held = *found;
  vBlocks.erase(found);
  freeBlock(held);
}

int w32liveBlocks() {
  return static_cast<int>(vBlocks.size());
}

W32AbortRoutine w32llSetAbort(W32AbortRoutine routine) {
  const W32AbortRoutine previous = vAbort;
  vAbort = routine;
  return previous;
}
