#pragma once
// The groups of the tool's commands: each adds its rows to the command table, in the order
// the usage lists them.
#include <vector>

struct AdminCommand;

// show
void addShowCommands(std::vector<AdminCommand>& table);
// init, set-password, allow-new-users, set-defaults
void addSettingsCommands(std::vector<AdminCommand>& table);
// add-user, remove-user, set-allowance, grant
void addUserCommands(std::vector<AdminCommand>& table);
// set-hours, set-default-hours, requests, approve, refuse
void addHoursCommands(std::vector<AdminCommand>& table);
// repair
void addRepairCommands(std::vector<AdminCommand>& table);
// report
void addReportCommands(std::vector<AdminCommand>& table);
