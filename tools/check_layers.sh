#!/bin/sh
# Checks that includes run one way between the folders: each folder of the core includes only
# the folders below it, the core and the tools never the windows, and the framework's support
# layer nothing of the framework. Prints every include that runs the wrong way.
# Usage: check_layers.sh SOURCE_ROOT
set -eu
cd "$1"
status=0
# check FOLDER ALLOWED...: every "x/y/..." include of a file in FOLDER names an allowed folder.
check() {
  folder=$1
  shift
  for file in $(find "$folder" -type f -name "*.cpp" -o -type f -name "*.h"); do
    grep -o '#include "[a-z_]*/[a-z_/]*\.h"' "$file" | sed 's/#include "//; s/"$//' | while read -r included; do
      ok=
      for allowed in "$@"; do
        case "$included" in "$allowed"/*) ok=1 ;; esac
      done
      [ -n "$ok" ] || echo "$file includes $included"
    done
  done
}
report=$(
  check runtime runtime
  check accounting/table runtime accounting/table
  check accounting/log runtime accounting/table accounting/log
  check accounting/data_file runtime accounting/table accounting/log accounting/hours accounting/data_file
  check accounting/hours runtime accounting/table accounting/log accounting/hours
  check accounting/guard_link runtime accounting/table accounting/log accounting/hours accounting/guard_link
  check accounting/program runtime accounting
  check guard runtime accounting guard
  check admin runtime accounting admin
  check support support
)
if [ -n "$report" ]; then
  echo "includes that run the wrong way:"
  echo "$report"
  status=1
fi
[ $status -eq 0 ] && echo "layers: every include runs one way"
exit $status
