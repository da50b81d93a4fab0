#!/usr/bin/env bash
# Makes the Windows installer of a Windows build with wixl (package wixl): quorel.exe, the mark
# that tells it it is installed, the Start-menu shortcut "Gestion Quorel" and the entry in the
# list of installed programs, with the bell icon; quorel-station.exe and its service "Quorel",
# unless SERVICE=0 is given to msiexec (a condition that msibuild, package msitools, adds).
#   tools/make_windows_msi.sh BUILD-WINDOWS-FOLDER VERSION OUTPUT.msi
# (STRIP names the strip program of the build's compilers.)
set -euo pipefail
if [ $# -ne 3 ]; then
    echo "usage: $0 BUILD-WINDOWS-FOLDER VERSION OUTPUT.msi" >&2
    exit 2
fi
cd "$(dirname "$0")/.."
folder=$(realpath "$1")
version=$2
output=$(realpath -m "$3")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# The program without its debugging sections.
for program in quorel quorel-station; do
    "${STRIP:-x86_64-w64-mingw32-strip}" -o "$stage/$program.exe" "$folder/$program.exe"
done
cp packaging/windows/quorel.ico packaging/windows/quorel.wxs "$stage/"
printf 'Installed by the Quorel installer: the files live in %%LOCALAPPDATA%%\\quorel\\\r\n' \
    > "$stage/quorel.installed"
(cd "$stage" && wixl --arch x64 --define Version="$version" --output "$output" quorel.wxs)
msibuild "$output" -q "UPDATE \`Component\` SET \`Condition\` = 'SERVICE <> \"0\"'
    WHERE \`Component\` = 'Station'"
