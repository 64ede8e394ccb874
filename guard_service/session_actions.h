#pragma once
// What the guard does to a session: start the program in it as its account, on its
// interactive desktop, or log it off. Each returns 0, or the platform's error code.

unsigned long startProgramInSession(unsigned session);
unsigned long logOffSession(unsigned session);
