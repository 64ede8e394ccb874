#!/bin/sh
# Checks that an executable imports at load time only from KERNEL32.dll and the C runtime
# (msvcrt.dll), from USER32.dll nothing but CharUpperA, and from the other libraries named after
# it anything: every other platform routine is bound by name when it is first used.
# Usage: check_imports.sh PROGRAM.exe [LIBRARY.dll...]
set -eu
table=$(i686-w64-mingw32-objdump -p "$1")
shift
status=0
for dll in $(printf '%s\n' "$table" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
  allowed=
  for named in "$@"; do [ "$dll" = "$named" ] && allowed=1; done
  [ -n "$allowed" ] && continue
  case "$dll" in
    KERNEL32.dll|msvcrt.dll) ;;
    USER32.dll)
      others=$(printf '%s\n' "$table" | awk '/DLL Name: USER32.dll/{u=1;next} /DLL Name:/{u=0} u && NF==3 && $3!="CharUpperA"{print $3}')
      if [ -n "$others" ]; then echo "USER32.dll routines imported at load time: $others"; status=1; fi ;;
    *) echo "unexpected load-time import: $dll"; status=1 ;;
  esac
done
[ $status -eq 0 ] && echo "imports: $(printf '%s\n' "$table" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')"
exit $status
