#pragma once
// The drawing objects the framework creates, tracked so that they are deleted with their
// owner or at the end of the program, and monochrome bitmaps made from rows of bits or text.
// Stock objects are never tracked or deleted.
#include <string>
#include <vector>

#include "support/w32memset.h"

// How long a tracked object is meant to live.
constexpr int kLifeProgram = 1;
constexpr int kLifePaint = 2;

// Owner of an object that no control holds.
constexpr int kNoOwner = -1;

// Records the object for its owner; tracking it again for the same owner counts another
// reference, an unowned object is taken over, and one held by another owner is a warning.
void trackObject(int handle, int owner, int lifetime, int tag, int kind);
// Deletes the object (or, with forgetOnly, only stops tracking it).
void deleteObject(int handle, bool forgetOnly = false);
// Deletes what is tracked for the owner: when it is destroyed.
void deleteOwnedObjects(int owner);
// Deletes everything still tracked: at the end of the program.
void deleteAllTrackedObjects();

// The bytes of a 1-bit bitmap: each row padded with 1s to a multiple of 16 bits, 8 bits to a
// byte, first bit highest. Every row is as wide as the first; a shorter row is padded as well.
W32Bytes packBitmapRows(const std::vector<std::vector<int>>& rows);
// A 1-bit bitmap of the rows (any non-zero value is a 1 bit), tracked for the program's life;
// 0 after the warning "CreateBitmap failed.".
int createBitmap(const std::vector<std::vector<int>>& rows);
// The same from text: a blank is a 1 bit, anything else a 0 bit.
int bitmapFromText(const std::vector<std::string>& rows);
