#!/usr/bin/env bash
# Checks that the package holds exactly what it should: the three files in the per-user program
# folder, the Start menu shortcut, the .trvk association rows, 64-bit components, the per-user
# summary, the upgrade rows and the close and autorun actions; and that the zip holds the same
# three files, byte for byte.
# Usage: check-package.sh MSI ZIP VERSION DOCUMENT_ICON_ID
set -euo pipefail

if (($# != 4)); then
    echo "usage: $0 MSI ZIP VERSION DOCUMENT_ICON_ID" >&2
    exit 2
fi
msi=$(realpath "$1") zip=$(realpath "$2") version=$3 icon_id=$4
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The rows of a table without its three header lines, CRs dropped, sorted.
rows() {
    msiinfo export "$msi" "$1" | tail -n +4 | tr -d '\r' | LC_ALL=C sort
}
# Compares the rows of table $1 (only columns $2, e.g. "1,3") with the lines on stdin.
expect_rows() {
    local table=$1 columns=$2 expected actual
    expected=$(LC_ALL=C sort)
    actual=$(rows "$table" | cut -f "$columns" | LC_ALL=C sort)
    if [[ "$actual" != "$expected" ]]; then
        fail "table $table holds"
        diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /' >&2 || true
    fi
}

[[ "$(basename "$msi")" == "Tarvik-$version-x64.msi" ]] || fail "package name $(basename "$msi")"
[[ "$(basename "$zip")" == "Tarvik-$version-x64.zip" ]] || fail "zip name $(basename "$zip")"

# File: component, name.
expect_rows File 2,3 <<'ROWS'
ReadMe	ReadMe.txt
TarvikCliExe	tarvik-cli.exe
TarvikExe	Tarvik.exe
ROWS
# Directory: %LOCALAPPDATA%\Programs\Tarvik and the Start menu.
expect_rows Directory 1,2,3 <<'ROWS'
INSTALLDIR	UserProgramsFolder	Tarvik
LocalAppDataFolder	TARGETDIR	.
ProgramMenuFolder	TARGETDIR	.
TARGETDIR		SourceDir
UserProgramsFolder	LocalAppDataFolder	Programs
ROWS
# Component: directory and attributes; 256 is 64-bit, 4 a registry key path.
expect_rows Component 1,3,4 <<'ROWS'
ReadMe	INSTALLDIR	256
TarvikCliExe	INSTALLDIR	256
TarvikExe	INSTALLDIR	256
TrvkAssociation	INSTALLDIR	260
ROWS
# Shortcut: a plain (not advertised) one to the installed Tarvik.exe.
expect_rows Shortcut 2,3,4,5,12 <<'ROWS'
ProgramMenuFolder	Tarvik	TarvikExe	[#TarvikExe]	INSTALLDIR
ROWS
# Registry: root 0 is the classes root, which a per-user installation writes to the user's.
expect_rows Registry 2,3,4,5,6 <<ROWS
0	.trvk		Tarvik.TargetList	TrvkAssociation
0	Tarvik.TargetList		Tarvik target list	TrvkAssociation
0	Tarvik.TargetList\\DefaultIcon		[#TarvikExe],-$icon_id	TrvkAssociation
0	Tarvik.TargetList\\shell\\open\\command		"[#TarvikExe]" "%1"	TrvkAssociation
ROWS
# Nothing else is written, created or removed.
for table in RemoveFile RemoveRegistry CreateFolder IniFile Environment ServiceInstall \
    ServiceControl Class Extension ProgId Verb TypeLib; do
    if msiinfo tables "$msi" | grep -qx "$table" && [[ -n "$(rows "$table")" ]]; then
        fail "table $table is not empty"
    fi
done
# Upgrade: every version up to this one (inclusive both ends: 768) is replaced; a newer one
# blocks the installation.
expect_rows Upgrade 2,3,5,7 <<ROWS
0.0.0	$version	768	OLDERTARVIKFOUND
$version		2	NEWERTARVIKFOUND
ROWS
expect_rows LaunchCondition 1 <<'ROWS'
NOT NEWERTARVIKFOUND
ROWS
# The actions of our own and when they run.
expect_rows CustomAction 1,3 <<'ROWS'
CloseTarvik	CMDEXE
RemoveTarvikAutorun	REGEXE
SetCmdExe	CMDEXE
SetInstallLocation	ARPINSTALLLOCATION
SetInstalledExe	INSTALLEDEXE
SetRegExe	REGEXE
SetReinstall	REINSTALL
ROWS
sequence=$(rows InstallExecuteSequence)
for action in CloseTarvik RemoveTarvikAutorun; do
    number=$(awk -F'\t' -v a="$action" '$1 == a {print $3}' <<<"$sequence")
    validate=$(awk -F'\t' '$1 == "InstallValidate" {print $3}' <<<"$sequence")
    [[ -n "$number" && "$number" -lt "$validate" ]] ||
        fail "$action does not run before InstallValidate"
done
grep -q $'^RemoveTarvikAutorun\tREMOVE="ALL" AND NOT UPGRADINGPRODUCTCODE AND TARVIKAUTORUN ~= INSTALLEDEXE\t' \
    <<<"$sequence" || fail "the autorun value is not removed only when it names Tarvik.exe"
# Product: name, version, publisher and the Installed-apps icon.
properties=$(rows Property)
for pair in "ProductName	Tarvik" "ProductVersion	$version" "Manufacturer	Tarvik" \
    "ARPPRODUCTICON	Tarvik.ico" "UpgradeCode	{FDA44A78-D019-494F-A680-B8EFDE0BEEC6}"; do
    grep -qxF "$pair" <<<"$properties" || fail "property ${pair%%	*} is not ${pair#*	}"
done
# Summary: a 64-bit package that needs no elevation (source word count 2 compressed + 8).
summary=$(msiinfo suminfo "$msi")
grep -qx 'Template: x64;1033' <<<"$summary" || fail "the package is not for x64"
grep -qE '^Source: 10( |$)' <<<"$summary" || fail "the package asks for elevation"

# The zip: the same three files as the package, flat and byte for byte.
listing=$(unzip -Z1 "$zip" | LC_ALL=C sort)
[[ "$listing" == $'ReadMe.txt\nTarvik.exe\ntarvik-cli.exe' ]] || fail "the zip holds: $listing"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/msi" "$work/zip"
(cd "$work/msi" && msiextract "$msi" >/dev/null)
unzip -q "$zip" -d "$work/zip"
for file in Tarvik.exe tarvik-cli.exe ReadMe.txt; do
    extracted=$(find "$work/msi" -name "$file" -type f)
    [[ $(wc -l <<<"$extracted") == 1 && -n "$extracted" ]] || fail "the package has no $file"
    cmp -s "$extracted" "$work/zip/$file" || fail "$file differs between the package and the zip"
done
[[ "$(find "$work/msi" -type f | wc -l)" == 3 ]] || fail "the package holds more than 3 files"
head -n 1 "$work/zip/ReadMe.txt" | grep -qx $'Tarvik '"$version"$'\r' ||
    fail "the read-me does not name version $version"

if ((failures > 0)); then
    echo "check-package: $failures failure(s)" >&2
    exit 1
fi
echo "check-package: $(basename "$msi") and $(basename "$zip") hold what they should"
