#!/bin/sh
# Runs a Windows program in a Wine prefix made new for it, of 32-bit or 64-bit Windows, inside a
# virtual desktop, with a wineserver of its own that is stopped when the program ends.
# Usage: in_fresh_prefix.sh win32|win64 PREFIX PROGRAM [ARGUMENTS...]
set -u
arch=$1
prefix=$2
shift 2
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# A server left by an interrupted run of this prefix goes first, with the prefix.
wineserver -k 2>/dev/null
rm -rf "$prefix"
mkdir -p "$prefix"
# The server outlives each short Wine program of the set-up, but not an interrupted run for long.
wineserver -f -p10 </dev/null >/dev/null 2>&1 &
server=$!
trap 'wineserver -k 2>/dev/null; wait $server 2>/dev/null' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Wine's services start with the first program and live as long as the server: they get no
# standard streams of ours, or whoever reads the test's output would wait for them.
wineboot -i </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1
# The first boot of a new prefix can leave two service managers running, and a service
# registered then does not start: the prefix starts once more, with one.
wineserver -k 2>/dev/null
wait $server
wineserver -f -p10 </dev/null >/dev/null 2>&1 &
server=$!
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
wine "$@"
