#!/usr/bin/env bash
# check-imports.sh OBJDUMP FILE...
# Fails when a binary imports something Windows XP does not have.
set -u
objdump=$1; shift
forbidden='api-ms-win-|ucrtbase|GetTickCount64|SRWLock|ConditionVariable|InitOnce|Fls(Alloc|Free|GetValue|SetValue)|RegGetValue|RegDeleteTree|SHGetKnownFolderPath|TaskDialog|InitializeCriticalSectionEx|CreateEventEx|CreateMutexEx|CreateSemaphoreEx|GetSystemTimePreciseAsFileTime|GetFileInformationByHandleEx|SetFileInformationByHandle|CreateSymbolicLink|GetFinalPathNameByHandle|QueryFullProcessImageName|LocaleNameToLCID|LCIDToLocaleName|GetLocaleInfoEx|CompareStringEx|LCMapStringEx|GetUserDefaultLocaleName|WerRegister|RegisterApplicationRestart|GetThreadId\b|GetProcessId\b|Wow64DisableWow64FsRedirection|IsWow64Process|GetNativeSystemInfo|libwinpthread|libgcc_s|libstdc\+\+'
status=0
for f in "$@"; do
  if ! imports=$("$objdump" -p "$f" 2>/dev/null | sed -n '/Import Tables/,/Export Tables\|^Sections:/p'); then
    echo "FAIL $f: objdump could not read it"; status=1; continue
  fi
  bad=$(printf '%s\n' "$imports" | grep -E "DLL Name: .*($forbidden)|^\s+[0-9a-f]+\s+[0-9]+\s+($forbidden)" | sed 's/^\s*//' | sort -u)
  if [ -n "$bad" ]; then
    echo "FAIL $(basename "$f") imports what Windows XP lacks:"; printf '   %s\n' "$bad"; status=1
  else
    echo "ok   $(basename "$f")"
  fi
done
exit $status
