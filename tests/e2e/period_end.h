#pragma once
// A period of allowed hours that ends soon by the real clock, for the tests that wait for a
// period's end itself: the next minute boundary, with time left before it to start a program.

// Waits until the next minute boundary is 15 to 59 seconds ahead and is not midnight (a period
// ending at 24:00 goes on into the next day's), and returns it as the minute of the day.
int nextPeriodEnd();
