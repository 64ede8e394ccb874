#pragma once
// Native memory for platform calls, handed out in sets whose blocks are released together.
// Each block is zero-filled and preceded by a 4-byte word holding its total length; the
// holder only sees the address after that word.
#include <cstddef>
#include <string>
#include <vector>

#include "support/w32msgs.h"

using W32Bytes = std::vector<unsigned char>;

// A new set id. Set 0 stands for no set: its blocks are released one by one.
int w32new_memset();

// A block of that many zero bytes, or a copy of the text or bytes with a terminating zero
// byte, recorded under the set (a set id not seen before starts a new set). Returns
// nullptr, after reporting "Unable to allocate space.", when there is no memory for it.
void* w32acquire_mem(int set, std::size_t bytes);
void* w32acquire_mem(int set, const std::string& text);
void* w32acquire_mem(int set, const W32Bytes& bytes);

// Lists the inner set in the outer one, so that releasing the outer set releases it too.
void w32include_memset(int outer, int inner);

// Releases every block of the set and of the sets listed in it, and forgets the set.
void w32release_mem(int set);
// Releases one block by the address w32acquire_mem returned.
void w32release_mem(void* block);
// Releasing what is not (or no longer) held reports "Trying to release unacquired memory";
// a block whose length word was overwritten reports "Damaged memory block header.".

// How many blocks are held at present, in all sets.
int w32liveBlocks();

// Names the routine through which this layer reports its fatal failures, and returns the
// one named before. abortErr until something else is named.
using W32AbortRoutine = void (*)(const W32Error&);
W32AbortRoutine w32llSetAbort(W32AbortRoutine routine);

// The framework's long-lived buffers; released only when the framework ends.
extern int vPermMemSet;
