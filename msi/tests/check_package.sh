#!/usr/bin/env bash
# check_package.sh MSIINFO PACKAGE ARCH(x64|x86)
# Reads a built package's tables and fails on what would break it on a machine
# (the 32-bit package cannot be installed here): the platform, what ships, the
# custom actions' kinds and places in the sequence, and the fixes that wixl
# cannot express itself.
set -u
msiinfo=$1 msi=$(realpath -m "$2") arch=$3
status=0
# Exporting a table with a file column writes that column's files into the
# current folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
fail() { echo "FAIL $*"; status=1; }
ok() { echo "ok   $*"; }
[ -f "$msi" ] || { echo "FAIL no package $msi"; exit 1; }

# table NAME: the rows of a table, tab-separated, without the three header lines.
table() { "$msiinfo" export "$msi" "$1" | tail -n +4 | tr -d '\r'; }
# cell TABLE KEY COLUMN: one cell of the row whose first column is KEY.
cell() { table "$1" | awk -F'\t' -v k="$2" -v c="$3" '$1 == k { print $c; exit }'; }

# The platform, and 64-bit components exactly in the 64-bit package.
template=$("$msiinfo" suminfo "$msi" | sed -n 's/^Template: //p')
want_template="Intel;1033"; want_bit=0
[ "$arch" = x64 ] && want_template="x64;1033" && want_bit=256
[ "$template" = "$want_template" ] && ok "platform $template" || fail "platform $template, expected $want_template"
wrong=$(table Component | awk -F'\t' -v b="$want_bit" 'int($4 / 256) % 2 * 256 != b { printf "%s ", $1 }')
[ -z "$wrong" ] && ok "every component is ${arch}" || fail "components of the other bitness: $wrong"

# What ships, and the test kit never.
files=$(table File | cut -f3)
for f in PioScreen.exe DiZovadAzir.dll DiZovadAzir.ini KvSrcHelper.exe setup.exe setup.ini Quillbeck.exe \
         KvMessageController.exe KvMessageController.ini KvRemoteControlHooker.dll KvACPINotify.dll; do
  grep -qx "$f" <<<"$files" || fail "$f is not in the package"
done
grep -qix 'atipdlxx.*' <<<"$files" && fail "the test kit's display library is in the package" || ok "no test kit file"

# The custom-action DLL is of the package's platform.
dll=$work/SuiteActions.dll
"$msiinfo" extract "$msi" Binary.SuiteActions >"$dll"
want_pe="PE32 executable"; [ "$arch" = x64 ] && want_pe="PE32+ executable"
file -b "$dll" | grep -q "^$want_pe (DLL)" && ok "custom actions: $(file -b "$dll" | cut -d, -f1)" ||
  fail "custom actions: $(file -b "$dll")"

# Action kinds: 0x400 in the script (deferred), 0x100 rollback, 0x800 without
# impersonation; results of rollback and clean-up actions are ignored (0x40).
kind() {
  local action=$1 want=$2 type
  type=$(cell CustomAction "$action" 2)
  local got=$(( (type & 0x400 ? 1 : 0) ))$(( (type & 0x100 ? 1 : 0) ))$(( (type & 0x800 ? 1 : 0) ))
  [ "$got" = "$want" ] && ok "$action type $type" || fail "$action type $type (deferred,rollback,no-impersonation = $got, expected $want)"
}
for a in SetupInstall SetupRemove TaskRegister TaskRemove EndHelper AwaitTaskTool; do kind $a 101; done
for a in SetupInstallRollback SetupRemoveRollback TaskRegisterRollback TaskRemoveRollback; do kind $a 111; done
# The helper starts as the installing user, after the installation.
[ $(( $(cell CustomAction StartHelper 2) & 0x400 )) -eq 0 ] && ok "StartHelper immediate" || fail "StartHelper is deferred"

# Places: deferred work between InstallInitialize and InstallFinalize, on the
# right side of the file actions; the old version removed before anything else.
seq() { cell InstallExecuteSequence "$1" 3; }
order() {  # order A B: A comes before B
  local a b; a=$(seq "$1"); b=$(seq "$2")
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ] && ok "$1 ($a) before $2 ($b)" || fail "$1 ($a) not before $2 ($b)"
}
order InstallInitialize RemoveExistingProducts; order RemoveExistingProducts ProcessComponents
for a in EndHelper SetupRemoveRollback SetupRemove TaskRemoveRollback TaskRemove; do order "$a" RemoveFiles; done
order SetupRemoveRollback SetupRemove; order TaskRemoveRollback TaskRemove
order SetupRemove AwaitTaskTool; order AwaitTaskTool RemoveFiles
order SetupInstallRollback SetupInstall; order TaskRegisterRollback TaskRegister
for a in TaskRegisterRollback SetupInstallRollback; do order InstallFiles "$a"; done
order SetupInstall InstallFinalize; order TaskRegister InstallFinalize
order InstallFinalize StartHelper
order RepairWhenInstalled CostInitialize

# The fixes made after wixl.
[ "$(cell Component HelperRunValue 5)" = "VersionNT < 600" ] && ok "Run value on Windows XP only" ||
  fail "HelperRunValue condition: '$(cell Component HelperRunValue 5)'"
[ "$(cell RemoveFile RemoveInstallDir 4)" = "INSTALLDIR" ] && ok "install folder removed" ||
  fail "RemoveInstallDir removes '$(cell RemoveFile RemoveInstallDir 4)'"
version=$(cell Property ProductVersion 2)
older=$(table Upgrade | awk -F'\t' '$7 == "OLDERFOUND" { print $3 "/" $5 }')
[ "$older" = "$version/768" ] && ok "upgrades versions up to $version, its own included" ||
  fail "OLDERFOUND row: $older (expected $version/768)"

# The list entry's icon and the Start-menu shortcut.
icon=$(cell Property ARPPRODUCTICON 2)
[ -n "$icon" ] && table Icon | cut -f1 | grep -qx "$icon" && ok "list entry icon $icon" || fail "list entry icon '$icon'"
shortcut=$(table Shortcut | awk -F'\t' '$2 == "ProgramMenuFolder" { print $5 }')
[ "$shortcut" = "[#PioScreenExe]" ] && ok "Start-menu shortcut to PioScreen.exe" || fail "Start-menu shortcut target '$shortcut'"

exit $status
