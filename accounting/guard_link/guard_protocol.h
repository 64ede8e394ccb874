#pragma once
// What a copy of the program and the administration tool ask of the guard service in a
// protected install, and what it answers: a few lines of text, one named value a line, every
// free text in hex, and bounded in size, so that nothing typed can break a line or grow a message.
#include <string>
#include <string_view>
#include <vector>

#include "accounting/table/table_cells.h"
#include "accounting/table/table_rules.h"

// The most bytes of a request or an answer, and of one value in it.
constexpr std::size_t kMostMessageBytes = 65536;
constexpr std::size_t kMostValueBytes = 256;
constexpr std::size_t kMostLogLines = 16;
// The most bytes of one line of the hours file carried in a message, and of the sentence a change
// of hours is logged with (a week of periods is longer than a value may be).
constexpr std::size_t kMostHoursLineBytes = 1024;

enum class GuardVerb {
  Read,      // the table without line 1, and whom the guard counts the caller as
  Admit,     // a slot for the caller's account, when new users are allowed and one is free
  Minute,    // one counted minute of the caller's account
  Check,     // whether the typed password opens the administration window
  Save,      // the supervisor's changes, with the password typed at the gate
  Tool,      // the administration tool's changes, for an administrator's account only
  Log,       // one line of the activity log under the caller's account
  Hours,     // the allowed hours, extensions and requests (the hours file's lines)
  SetHours,  // the tool's change of one account's hours or the default, for an administrator only
  Ask,       // the caller's account asks for more minutes today
  Answer,    // an answer to an open request: the tool's for an administrator, the window's with the password
  // The supervisor's change of one account's hours or the default, with the password typed at the gate.
  SaveHours,
};

struct GuardRequest {
  GuardVerb verb = GuardVerb::Read;
  std::string namedAccount;        // whom the sender says it runs as: believed only by a guard set up for tests
  std::string machine;             // the sender's computer name
  std::string password;            // Check, Save, SaveHours, Answer: as typed at the gate or the answer window
  bool passwordGiven = false;      // Answer: a password was sent (the tool's answer carries none)
  std::vector<Cell> cells;         // Save, Tool: the fields changed
  bool wholeTable = false;         // Tool: all 105 fields, written over whatever the file holds
  std::vector<std::string> lines;  // Log: the message; Tool, SetHours, SaveHours: what was done, a log line each
  std::string target;              // SetHours, SaveHours: the account whose hours, "" for the default
  std::string hours;               // SetHours, SaveHours: the schedule as its storage text (allowed_hours.h)
  int number = 0;                  // Answer: the request
  int minutes = 0;                 // Ask: asked; Answer: granted, 0 to refuse
  std::string note;                // Ask
};

// Why the guard refused a request, as one word on the wire.
enum class Refusal {
  None,
  Malformed,         // not a whole request, or over a size limit
  NoTable,           // the guard holds no table: the data file could not be read
  NotInTable,        // the caller's account has no slot
  NewUsersRefused,   // admission: the table refuses new users
  NoFreeSlot,        // admission: all six slots are taken
  WrongPassword,     // the password typed at the gate does not open it
  NotAdministrator,  // the tool's changes come from an account that is not an administrator
  NotSaved,          // the data file could not be written; nothing changed
  RequestRefused,    // Ask, Answer, SetHours, SaveHours: refused by the rules; why says it in a sentence
};

struct GuardAnswer {
  Refusal refusal = Refusal::None;
  std::string account;                      // Read, Admit, Minute: the account the caller counts as
  int slot = 0;                             // Read, Admit, Minute: its slot, 0 for none
  std::string passwordState;                // Read: "set", "empty" or "default"
  MinuteKind minute = MinuteKind::Counted;  // Minute
  int left = 0;                             // Minute
  std::vector<Cell> cells;                  // Read: fields 2 to 105; Admit, Minute: the slot's 15 fields
  std::vector<std::string> lines;           // Hours: the hours file's lines; Answer: what was done
  bool hoursDamaged = false;                // Hours: the guard read its hours file damaged
  int number = 0;                           // Ask: the request's number
  std::string why;                          // RequestRefused: the sentence
  bool ok() const { return refusal == Refusal::None; }
};

// A request of that kind with nothing else set.
GuardRequest guardRequest(GuardVerb verb);

std::string encodeRequest(const GuardRequest& request);
// Reads a whole request; false (and the request unusable) for anything else.
bool decodeRequest(std::string_view text, GuardRequest& request);
// A cell longer than a value may be (only a damaged or hand-made file holds one) is cut to the limit.
std::string encodeAnswer(const GuardAnswer& answer);
bool decodeAnswer(std::string_view text, GuardAnswer& answer);

// "malformed", "no-table", ...: for log lines and messages.
const char* refusalWord(Refusal refusal);

