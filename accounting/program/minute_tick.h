#pragma once
// The heart of the program: one minute of the current user's allowance spent per tick,
// a new day's allowance, the two warnings, the log-off at zero, and the one-second tick
// that keeps the status bar clock and the tray flashing going.
#include <string>

#include "accounting/table/table_home.h"
#include "accounting/table/table_rules.h"

constexpr int kTrayFlashBelow = 11;
constexpr int kMinuteTimer = 1;  // on HostWindow
constexpr int kMinuteIntervalMs = 60000;
constexpr int kSecondTimer = 2;  // on MainWindow
constexpr int kSecondIntervalMs = 1000;

// "Please save your work\nYou only have 010 minutes left" for 10 minutes.
std::string warningText(int minutesLeft);

// Timer 1: reload, count a minute, save, redraw the tray, warn.
void DoEachMin();
// Timer 2: status bar user and clock, tray flashing.
void Tic();
// What a minute of the current user did, where the table lives (table_home.h): a new day's
// allowance is logged; a clock moved back to an earlier date is logged once per move; the minutes
// left are checked; a table that could not be read or kept, or a guard silent for minutes, logs off.
void AccountMinute(const MinuteOutcome& minute);
// Records the minutes left, logs them in test mode, and logs the user off at zero (the run's
// orderly end).
void CheckTimeLeft(int left);
// The account's allowed hours at this minute: outside them it is logged off as at zero (in test
// mode only logged); a period's end 10 and 2 minutes ahead is warned of with its time; the
// minutes left are noted "until" the end when it comes first. A damaged store of hours keeps
// the account outside them. The same read tells the answer to the account's request for more time.
void CheckAllowedHours();
// Runs the system's log-off program, by its full path in the system folder, through the
// command interpreter, and waits for it.
void LogOffUser();

// A data file that cannot be loaded logs the user off, or in test mode says so in the log.
void reportUnreadableDataFile();
