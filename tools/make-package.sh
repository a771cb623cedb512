#!/usr/bin/env bash
# Makes Tarvik's per-user Windows Installer package and its portable zip from the built
# executables: OUT_DIR/Tarvik-VERSION-x64.msi and OUT_DIR/Tarvik-VERSION-x64.zip.
# Usage: make-package.sh EXE_DIR VERSION DOCUMENT_ICON_ID OUT_DIR
#   EXE_DIR           the folder holding Tarvik.exe and tarvik-cli.exe
#   VERSION           the product version, three numbers (the build's project version)
#   DOCUMENT_ICON_ID  the resource id of the .trvk document icon inside Tarvik.exe
set -euo pipefail

if (($# != 4)); then
    echo "usage: $0 EXE_DIR VERSION DOCUMENT_ICON_ID OUT_DIR" >&2
    exit 2
fi
exe_dir=$1 version=$2 icon_id=$3
mkdir -p "$4"
out_dir=$(cd "$4" && pwd)
package_src=$(cd "$(dirname "${BASH_SOURCE[0]}")/package" && pwd)
strip=${TARVIK_STRIP:-x86_64-w64-mingw32-strip}

if [[ ! "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "make-package: the version must be three numbers, not '$version'" >&2
    exit 2
fi
name=Tarvik-$version-x64
msi=$out_dir/$name.msi
zip=$out_dir/$name.zip

# wixl finds the sources relative to the .wxs, so everything is staged side by side. The
# shipped executables carry no symbols.
stage=$out_dir/stage-$version
rm -rf "$stage"
mkdir -p "$stage"
for exe in Tarvik.exe tarvik-cli.exe; do
    "$strip" -o "$stage/$exe" "$exe_dir/$exe"
done
# The read-me is a Windows text file: CRLF line ends.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$package_src/ReadMe.txt" >"$stage/ReadMe.txt"
cp "$package_src/Tarvik.wxs" "$stage/"
cp "$package_src/../../res/icons/app.ico" "$stage/Tarvik.ico"

rm -f "$msi" "$zip"
# wixl warns about every attribute it does not know through GLib; only real errors matter.
(cd "$stage" && wixl --arch x64 -D Version="$version" -D DocumentIconId="$icon_id" \
    -o "$msi" Tarvik.wxs) 2> >(grep -v -e 'GLib-GObject-WARNING' -e '^$' -e 'unimplemented' >&2)

# wixl ignores IncludeMaximum, so the row that finds older Tarvik versions would miss a second
# build of this very version: mark its maximum inclusive (0x200) beside the inclusive minimum.
upgrade_table=$stage/Upgrade.idt
msiinfo export "$msi" Upgrade |
    sed 's/\t256\t\tOLDERTARVIKFOUND/\t768\t\tOLDERTARVIKFOUND/' >"$upgrade_table"
grep -q $'\t768\t\tOLDERTARVIKFOUND' "$upgrade_table" || {
    echo "make-package: the Upgrade table of $msi is not as expected" >&2
    exit 1
}
msibuild "$msi" -i "$upgrade_table"

# The portable zip: the same files, flat, without extra attributes, so it unpacks anywhere.
(cd "$stage" && zip -q -X -D "$zip" Tarvik.exe tarvik-cli.exe ReadMe.txt)
echo "make-package: $(basename "$msi") $(stat -c %s "$msi") bytes," \
    "$(basename "$zip") $(stat -c %s "$zip") bytes"
