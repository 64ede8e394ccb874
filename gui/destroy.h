#pragma once
// Destroying a control and everything created inside it: children go before their parent,
// native objects are released by kind, and the ids return to the registry's free list.

// Runs the control's destroy handlers and, for a live window, asks it to close first. A close
// handler that refuses the close puts ctrl_Destroyed back to 0 (it finds it at 2, destruction
// requested) and nothing is destroyed.
void destroy(int id);
