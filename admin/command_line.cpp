#include "admin/command_line.h"

#include "accounting/program/startup.h"
#include "admin/admin.h"
#include "admin/command_groups.h"
#include "admin/value_checks.h"

namespace {
// Options every command takes.
const std::vector<OptionSpec> kCommonOptions{{"--file", "PATH"}, {"--log", "PATH"}, {"--help", ""}, {"--version", ""}};

const OptionSpec* findOption(const std::vector<OptionSpec>& options, const std::string& name) {
  for (const OptionSpec& option : options)
    if (option.name == name)
      return &option;
  return nullptr;
}

const AdminCommand* findCommand(const std::string& name) {
  for (const AdminCommand& command : adminCommands())
    if (command.name == name)
      return &command;
  return nullptr;
}
}  // namespace

std::string Invocation::value(const std::string& option) const {
  const auto found = options.find(option);
  return found == options.end() ? "" : found->second;
}

const std::vector<AdminCommand>& adminCommands() {
  static const std::vector<AdminCommand> table = [] {
    std::vector<AdminCommand> rows;
    addShowCommands(rows);
    addSettingsCommands(rows);
    addUserCommands(rows);
    addHoursCommands(rows);
    addRepairCommands(rows);
    addReportCommands(rows);
    return rows;
  }();
  return table;
}

std::string parseCommandLine(const std::vector<std::string>& args, Invocation& call) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      if (call.command)
        call.operands.push_back(arg);
      else if (!(call.command = findCommand(arg)))
        return "unknown command \"" + arg + "\"";
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionSpec* option = findOption(kCommonOptions, name);
    if (!option && call.command)
      option = findOption(call.command->options, name);
    if (!option)
      return "unknown option " + name + (call.command ? " for " + call.command->name : "");
    std::string value;
    if (!option->valueName.empty()) {
      if (equals != std::string::npos)
        value = arg.substr(equals + 1);
      else if (i + 1 < args.size() && args[i + 1].compare(0, 2, "--") != 0)
        value = args[++i];
      else
        return name + " needs a value (" + option->valueName + ")";
    } else if (equals != std::string::npos) {
      return name + " takes no value";
    }
    call.options[name] = value;
  }
  return "";
}

std::string operandProblem(const Invocation& call) {
  const AdminCommand& command = *call.command;
  const int given = static_cast<int>(call.operands.size());
  if (given < command.fewestOperands)
    return command.name + " needs " + (command.fewestOperands == 1 ? "an operand" : "more operands");
  if (command.mostOperands != kAnyNumber && given > command.mostOperands)
    return command.mostOperands == 0 ? command.name + " takes no operands" : "too many operands for " + command.name;
  return "";
}

int refuseUsage(const Invocation& call, const std::string& problem) {
  call.console->err << "orrindale-admin: " << problem << "\n" << commandUsage(*call.command);
  return kExitUsage;
}

std::string commandUsage(const AdminCommand& command) {
  return "usage: orrindale-admin " + command.name + (command.synopsis.empty() ? "" : " " + command.synopsis) +
         " [--file PATH] [--log PATH]\n";
}

std::string usageText() {
  std::string text =
      "usage: orrindale-admin COMMAND [OPERANDS] [--file PATH] [--log PATH]\n"
      "       orrindale-admin --help | --version\n"
      "\n"
      "Commands:\n";
  for (const AdminCommand& command : adminCommands()) {
    text += "  " + command.name + (command.synopsis.empty() ? "" : " " + command.synopsis) + "\n";
    text += "      " + command.summary + "\n";
  }
  text +=
      "\n"
      "Every command:\n"
      "  --file PATH  the data file (default " +
      vFixedPaths.dataFile +
      ")\n"
      "  --log PATH   the activity log (default debugDemo.log beside the data file)\n"
      "  --help       this text; after a command, that command's usage\n"
      "\n"
      "DAY is Sun, Mon, Tue, Wed, Thu, Fri, Sat or all; MINUTES is a whole number from 0 to " +
      std::to_string(kMostMinutes) +
      ".\n"
      "DAYS is a DAY, a range (Mon-Fri) or a comma list (Sat,Sun); HOURS is any, none or up to 3\n"
      "periods HH:MM-HH:MM joined by commas (24:00 as an end). Hours are kept in HalvardHours.dat\n"
      "beside the data file, read in the time zone the computer had when they were last set.\n"
      "An account name has 1 to " +
      std::to_string(kLongestAccount) +
      " characters and no control characters.\n"
      "\n"
      "Exit status: 0 done; 1 bad usage or refused input (nothing changed); 2 the data file is\n"
      "missing, not a data file, locked for over a minute or could not be written, or (report)\n"
      "the activity log cannot be read.\n";
  return text;
}
