#include "accounting/log/run_lines.h"

#include "accounting/log/activity_log.h"
#include "accounting/log/log_texts.h"
#include "accounting/table/usage_table.h"

namespace {
void writeEndLine() {
  vSession.runLines = RunLines::Ended;
  WriteLog(kEndedLine + vSession.userName);
}
}  // namespace

void logProcessStarted() {
  WriteLog(kStartedLine + vSession.userName);
  if (vSession.runLines == RunLines::EndAskedWhileStarting)
    writeEndLine();
  else
    vSession.runLines = RunLines::Started;
}

void logProcessEnded() {
  switch (vSession.runLines) {
    case RunLines::Starting:
      vSession.runLines = RunLines::EndAskedWhileStarting;
      break;
    case RunLines::Started:
      writeEndLine();
      break;
    case RunLines::EndAskedWhileStarting:
    case RunLines::Ended:
      break;
  }
}
