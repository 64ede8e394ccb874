#pragma once
// Borrowing native drawing contexts for controls and bitmaps: counted, so that nested users
// of one control share a context, and undone on the last release (objects selected back,
// state restored, the context given back the way it was obtained).
#include <string>

constexpr int kDCReasonApp = 1;

// The context of a control (Screen: the whole screen), or a new memory context with the
// bitmap selected when idOrBitmap is not a valid control id. A context that cannot be had is
// a warning and still counts as borrowed, unless quiet is set: then 0 and nothing recorded.
int getDC(int idOrBitmap, bool quiet = false);
// Gives back one borrowing; the last one gives the context back.
void releaseDC(int idOrBitmap);
// The id or bitmap that borrowed the context, 0 when none did.
int getIdFromDC(int dc);
