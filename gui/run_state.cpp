#include "gui/run_state.h"

int vWinMainState = kNotStarted;
