# What ./dev and the developer scripts beside this file share, sourced by each: the paths and
# Wine settings, installing what is missing, building both trees, the display, the test prefix
# and its wineserver, and the data file's folder inside a prefix.
# shellcheck shell=bash
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
export WINEPREFIX="$build/wine"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

packages=(cmake ninja-build g++ g++-mingw-w64-i686-posix wine wine32:i386 wine64 xvfb xauth
          googletest fonts-wine imagemagick procps nsis libssl-dev)

say() { printf '%s\n' "$*" >&2; }

# Installs the packages named, or the project's list.
install_missing() {
  local missing=() p
  [ $# -gt 0 ] || set -- "${packages[@]}"
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "dev: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then say "dev: run as root to install packages"; exit 1; fi
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq "${missing[@]}" >/dev/null
}

configure_and_build() {
  if [ ! -f "$build/native/build.ninja" ]; then
    cmake -S "$root" -B "$build/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  fi
  if [ ! -f "$build/win32/build.ninja" ]; then
    cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/tools/mingw32.cmake" >/dev/null
  fi
  local tree
  for tree in native win32; do
    if ! cmake --build "$build/$tree" >"$build/$tree.build.log" 2>&1; then
      cat "$build/$tree.build.log" >&2
      say "dev: the $tree build failed"
      exit 1
    fi
  done
  # One test tree over both builds, so that a single CTest run closes with one summary.
  printf 'subdirs("native")\nsubdirs("win32")\n' >"$build/CTestTestfile.cmake"
}

started_pids=()
stop_started() {
  local pid
  for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap 'stop_wineserver; stop_started' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  started_pids+=($!)
  export DISPLAY=":$n"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.05; done
  say "dev: Xvfb did not start on $DISPLAY"; exit 1
}

# The prefix is made once per build folder. Every program runs inside a Wine virtual
# desktop: without a window manager, hiding a top-level window otherwise blocks for 2 s.
make_prefix() {
  [ -f "$WINEPREFIX/.ready" ] && return 0
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.ready"
}

started_wineserver=
start_wineserver() {
  # A persistent server makes each Wine process start in a fraction of a second.
  wineserver -k0 2>/dev/null && return 0  # signal 0: is one running for this prefix?
  wineserver -f -p </dev/null >/dev/null 2>&1 &
  started_wineserver=$!
  # The first program starts Wine's own services, which live as long as the server; they
  # must not inherit our output, or whoever reads it would wait for them.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1
}

stop_wineserver() {
  [ -n "$started_wineserver" ] || return 0
  wineserver -k 2>/dev/null || true
  wait "$started_wineserver" 2>/dev/null || true
  # A signal to the whole process group (Ctrl+C) can take the server down first and leave
  # Wine's services of our prefix behind: end those Windows processes too.
  local proc
  for proc in /proc/[0-9]*; do
    { tr '\0' ' ' <"$proc/cmdline" | grep -qi '\.exe'; } 2>/dev/null || continue
    if { tr '\0' '\n' <"$proc/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null; then
      kill -9 "${proc#/proc/}" 2>/dev/null || true
    fi
  done
}

prepare_wine() {
  start_display
  make_prefix
  start_wineserver
}

# The folder of the data file and the activity log, C:\Program Files\Halvard, as it lies
# below a Wine prefix. The programs never make it: whoever writes a data file there does.
halvard='drive_c/Program Files/Halvard'

# That folder in the prefix given.
halvard_in() { printf '%s/%s\n' "$1" "$halvard"; }

# The activity log in that folder of the prefix given.
activity_log_in() { printf '%s/debugDemo.log\n' "$(halvard_in "$1")"; }

# The account that the prefix's programs run as.
prefix_account() {
  WINEPREFIX="$1" wine cmd.exe /c echo %USERNAME% </dev/null 2>/dev/null | tr -d '\r'
}

# Writes the prefix's data file: the default table with the account in slot 1, last counted
# today, with today's minutes left or as many as given. Usage: write_data_file PREFIX ACCOUNT [MINUTES]
write_data_file() {
  local folder
  folder=$(halvard_in "$1")
  mkdir -p "$folder"
  "$build/native/bin/make_data_file" "$folder/HalvardDemo.dat" "${@:2}"
}
