#pragma once
// The tool's command table and its command line: each command names its operands, options
// and routine in one row; parsing checks a line against the row, and the usage texts are
// made from the rows. A new command is one more row and its routine.
#include <map>
#include <string>
#include <vector>

struct Console;
struct Invocation;

struct OptionSpec {
  std::string name;       // "--slot"
  std::string valueName;  // "N"; empty for a flag
};

constexpr int kAnyNumber = -1;

struct AdminCommand {
  std::string name;
  std::string synopsis;  // operands and options as the usage shows them
  std::string summary;
  int fewestOperands = 0;
  int mostOperands = 0;  // kAnyNumber for a list
  std::vector<OptionSpec> options;
  int (*run)(const Invocation& call) = nullptr;
};

struct Invocation {
  const AdminCommand* command = nullptr;  // nullptr when the line names none
  std::vector<std::string> operands;
  std::map<std::string, std::string> options;  // given options; a flag maps to ""
  Console* console = nullptr;

  bool has(const std::string& option) const { return options.count(option) != 0; }
  std::string value(const std::string& option) const;
};

// Every command, in the order the usage lists them.
const std::vector<AdminCommand>& adminCommands();

// Parses the arguments into the call; returns "" or what is wrong with them. The operands
// are counted apart, so that "COMMAND --help" works without them.
std::string parseCommandLine(const std::vector<std::string>& args, Invocation& call);
// "" when the call has as many operands as its command takes, or what is wrong.
std::string operandProblem(const Invocation& call);

// Says what is wrong, with the command's usage line, on the error stream; returns status 1.
int refuseUsage(const Invocation& call, const std::string& problem);

// The usage of every command, the common options and the exit statuses.
std::string usageText();
// The usage line of one command.
std::string commandUsage(const AdminCommand& command);
