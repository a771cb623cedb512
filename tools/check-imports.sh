#!/usr/bin/env bash
# Fails if a Windows executable imports a DLL that Windows does not ship (e.g. libstdc++-6.dll),
# which would mean the static runtime link was lost.
# Usage: check-imports.sh OBJDUMP PROGRAM.exe...
set -euo pipefail

objdump=$1
shift
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|shlwapi|ole32|oleaut32'
system_dlls+='|uxtheme|dwmapi|shcore|version|msvcrt|ucrtbase|ws2_32|winmm|imm32|bcrypt|crypt32|gdiplus'
system_dlls+='|api-ms-win-[a-z0-9-]+)\.dll$'

status=0
for exe in "$@"; do
    mapfile -t dlls < <("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
    echo "$(basename "$exe"): ${dlls[*]}"
    for dll in "${dlls[@]}"; do
        if [[ ! "${dll,,}" =~ $system_dlls ]]; then
            echo "  imports $dll, which is not a Windows system DLL" >&2
            status=1
        fi
    done
done
exit "$status"
