#!/bin/sh
# The shipped VFLASH.EXE must load on NT 4.0: it imports only from the system DLLs that
# every NT 4.0 has (no runtime DLL of the compiler's), and its PE header asks for no newer
# Windows than 4.0 (the loader refuses an image whose subsystem version is above its own).
#
# Usage: pe_header.sh OBJDUMP VFLASH.EXE
set -u
OBJDUMP=$1
EXE=$2
[ -f "$EXE" ] || { echo "missing $EXE (make win32)"; exit 1; }
header=$("$OBJDUMP" -p "$EXE") || exit 1
failed=0

dlls=$(echo "$header" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
for dll in $dlls; do
    case $dll in
        kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | advapi32.dll | msvcrt.dll) ;;
        *) echo "FAIL imports $dll"; failed=1 ;;
    esac
done
echo "imports:" $dlls

# Calls that NT 4.0 as shipped lacks but that this code or a newer runtime could reach for:
# the common-controls call is looked up at run time instead, the others must not appear.
for fn in InitCommonControlsEx AddVectoredExceptionHandler GetModuleHandleExA \
          GetModuleHandleExW SetFilePointerEx GetFileSizeEx GetTickCount64 \
          InitializeCriticalSectionEx FlsAlloc; do
    if echo "$header" | grep -qw "$fn"; then echo "FAIL imports $fn"; failed=1; fi
done

for field in MajorOSystemVersion:4 MinorOSystemVersion:0 MajorSubsystemVersion:4 \
             MinorSubsystemVersion:0 Subsystem:00000002; do
    name=${field%%:*}
    want=${field#*:}
    got=$(echo "$header" | awk -v f="$name" '$1 == f { print $2 }')
    if [ "$got" = "$want" ]; then echo "$name $got"; else echo "FAIL $name $got, not $want"; failed=1; fi
done
[ $failed -eq 0 ]
