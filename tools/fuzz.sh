#!/usr/bin/env bash
# The loader and the minute tick under libFuzzer, for the seconds given (300 by default),
# from the checked-in corpus; new inputs it finds go to build/fuzz/corpus, inputs that break a
# rule to build/fuzz/findings/. Usage: tools/fuzz.sh [seconds] (or ./dev fuzz [seconds])
set -euo pipefail

# shellcheck source=tools/dev_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/dev_common.sh"

seconds=${1:-300}
install_missing clang libclang-rt-dev cmake ninja-build
if [ ! -f "$build/fuzz/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORR_FUZZ=ON >/dev/null
fi
cmake --build "$build/fuzz" --target data_file_fuzz >"$build/fuzz.build.log" 2>&1 ||
  { cat "$build/fuzz.build.log" >&2; say "dev: the fuzz build failed"; exit 1; }
mkdir -p "$build/fuzz/corpus" "$build/fuzz/findings"
# The data file lives in memory (/dev/shm), so the disk's flushes do not set the pace.
memory=$(mktemp -d /dev/shm/orrindale-fuzz.XXXXXX)
status=0
TMPDIR="$memory" ASAN_OPTIONS=malloc_context_size=0 "$build/fuzz/bin/data_file_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$build/fuzz/findings/" "$build/fuzz/corpus" "$root/fuzz/corpus" || status=$?
rm -rf "$memory"
exit "$status"
