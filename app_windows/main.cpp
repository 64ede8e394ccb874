// Orrindale: limits how many minutes each account may use this computer per day.
#include "app_windows/app_windows.h"
#include "gui/framework.h"
#include "runtime/library_failure.h"
#include "runtime/processes.h"
#include "support/w32msgs.h"

int main(int argc, char** argv) {
  rt::onLibraryFailure(abortOnLibraryFailure);
  rt::setArguments(argc, argv);
  startFramework();
  build_windows();
  return 0;
}
