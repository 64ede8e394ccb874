#include "accounting/run_lines.h"

#include "accounting/activity_log.h"
#include "accounting/log_texts.h"
#include "accounting/usage_table.h"

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
