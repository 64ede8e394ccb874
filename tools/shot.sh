#!/usr/bin/env bash
# The program's windows as users see them, taken on the test prefix's virtual desktop, and
# the setup's pages, taken in a prefix of its own where it makes a first install. Saves PNG
# files to build/shots/. Usage: tools/shot.sh (or ./dev shot)
set -euo pipefail

# shellcheck source=tools/dev_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/dev_common.sh"

install_missing
configure_and_build
prepare_wine
mkdir -p "$build/shots"
ORRINDALE_SHOTS=$(winepath -w "$build/shots" 2>/dev/null) \
  "$root/tools/wine-run" "$build/win32/bin/orrindale_shots.exe" </dev/null >"$build/shots/shots.log" 2>&1 ||
  { cat "$build/shots/shots.log" >&2; exit 1; }
ORRINDALE_SHOTS=$(winepath -w "$build/shots" 2>/dev/null) \
  "$root/tests/installer/in_fresh_prefix.sh" win32 "$build/win32/wine-shots" "$build/win32/bin/installer_tests.exe" \
  --gtest_filter='*Interactive*' </dev/null >"$build/shots/installer-shots.log" 2>&1 ||
  { cat "$build/shots/installer-shots.log" >&2; exit 1; }
for shot in "$build"/shots/*.bmp; do
  trim=()
  # The setup is the only window on its desktop: its pictures are cut to the window.
  case "$shot" in */installer-*) trim=(-trim +repage) ;; esac
  convert "$shot" "${trim[@]}" "${shot%.bmp}.png" && rm -f "$shot"
done
say "dev: screenshots in build/shots/"
