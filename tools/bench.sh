#!/usr/bin/env bash
# The benchmarks: the once-a-minute work, the report, the guard's round and the minutes icon,
# then the real program under Wine, alone and against the plain Win32 equivalent
# (bench/plain_*.cpp), and the sizes of the shipped programs and of the setup against their
# budgets. BENCH_ROUNDS and BENCH_IDLE_ROUNDS set the rounds of the comparison.
# Usage: tools/bench.sh (or ./dev bench)
set -euo pipefail

# shellcheck source=tools/dev_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/dev_common.sh"

# Start-up time, idle CPU and memory of the real program under Wine, in the test prefix with a
# data file that holds this prefix's account.
bench_program() {
  local log account pid start ready
  log=$(activity_log_in "$WINEPREFIX")
  account=$(prefix_account "$WINEPREFIX")
  write_data_file "$WINEPREFIX" "$account"
  rm -f "$log"
  start=$(date +%s%N)
  "$root/tools/wine-run" "$build/win32/bin/orrindale.exe" 2 </dev/null >/dev/null 2>&1 &
  for _ in $(seq 500); do grep -q "Process Started" "$log" 2>/dev/null && break; sleep 0.01; done
  ready=$(date +%s%N)
  pid=$(pgrep -f 'orrindale.exe 2' | head -n 1)
  echo "start-up (process start to the start-up log line): $(( (ready - start) / 1000000 )) ms"
  idle_figures "$pid" "" "timers of 1 s and 60 s running"
  kill "$pid" 2>/dev/null || true
}

# The processor time a process spends over 30 s, and its resident memory.
# Usage: idle_figures PID LABEL WHAT-RUNS
idle_figures() {
  local ticks0 ticks1 hz
  if [ ! -r "/proc/$1/stat" ]; then echo "${2}process $1 has ended"; return; fi
  hz=$(getconf CLK_TCK)
  ticks0=$(awk '{print $14 + $15}' "/proc/$1/stat")
  sleep 30
  ticks1=$(awk '{print $14 + $15}' "/proc/$1/stat")
  echo "${2}idle CPU over 30 s ($3): $(( (ticks1 - ticks0) * 1000 / hz )) ms"
  echo "${2}resident memory: $(awk '/VmRSS/{print $2, $3}' "/proc/$1/status")"
}

# The guard of a protected install between its looks: processor time over 30 s and memory, in
# a prefix made fresh for it by a silent setup. The account of the prefix is exempt (a whole day):
# its session is charged a minute every minute and nothing is logged off.
bench_guard() {
  local prefix="$build/wine-bench-guard" setup runner pid=
  setup="Z:$(printf '%s' "$build/win32/orrindale-setup.exe" | tr / '\\')"
  "$root/tests/installer/in_fresh_prefix.sh" win32 "$prefix" cmd.exe /c \
    "$setup /S /PASSWORD=bench-password & ping -n 50 127.0.0.1 >nul" </dev/null >/dev/null 2>&1 &
  runner=$!
  for _ in $(seq 600); do
    pid=$(pgrep -f 'orrindale-guard[.]exe$' | head -n 1) && break
    sleep 0.1
  done
  if [ -z "$pid" ]; then
    echo "the guard did not start"
  else
    sleep 5
    idle_figures "$pid" "guard " "a look every 5 s, the session charged each minute"
  fi
  wait "$runner" || true
}

# Orrindale against the same program written straight on Win32 (bench/plain_*.cpp), started
# alternately from a Windows parent that gives both the account of the data file. Plenty of
# minutes are left, so that the tray icon does not blink: that is the state of most of a day.
compare_with_plain() {
  write_data_file "$WINEPREFIX" bench 0120
  "$root/tools/wine-run" "$build/win32/bin/startup_bench.exe" --account bench --rounds "${BENCH_ROUNDS:-11}" \
    --idle-rounds "${BENCH_IDLE_ROUNDS:-9}" </dev/null
}

# What the setup ships (the stripped programs it is built from) and the setup itself, against
# their budgets.
print_sizes() {
  local file budget size
  while read -r file budget; do
    size=$(stat -c %s "$build/win32/$file")
    printf '%-20s %8d bytes %5d KiB  (budget <= %d KiB%s)\n' "${file##*/}" "$size" $((size / 1024)) "$budget" \
      "$([ "$size" -le $((budget * 1024)) ] || echo ', over it')"
  done <<'SIZES'
installer/stage/orrindale.exe 450
installer/stage/orrindale-guard.exe 300
installer/stage/orrindale-admin.exe 600
orrindale-setup.exe 700
SIZES
}

install_missing
configure_and_build
prepare_wine
# The native tree has sanitizers on; the Windows figures are the ones that matter.
echo "native (with sanitizers):"
"$build/native/bin/data_file_bench"
"$build/native/bin/log_report_bench"
echo "win32 under Wine:"
"$root/tools/wine-run" "$build/win32/bin/data_file_bench.exe" </dev/null
"$root/tools/wine-run" "$build/win32/bin/log_report_bench.exe" </dev/null
"$root/tools/wine-run" "$build/win32/bin/guard_round_bench.exe" </dev/null
"$root/tools/wine-run" "$build/win32/bin/guard_pipe_bench.exe" </dev/null
echo "redrawing the minutes icon under Wine (the test desktop has a notification area):"
"$root/tools/wine-run" "$build/win32/bin/tray_icon_bench.exe" </dev/null
echo "the guard of a protected install under Wine:"
bench_guard
echo "the program under Wine:"
bench_program
echo "the program against the plain Win32 equivalent:"
compare_with_plain
echo "sizes as shipped:"
print_sizes
