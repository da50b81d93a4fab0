#!/usr/bin/env bash
# Checks the Windows installer and the portable zip of a Windows build under Wine, in a Wine
# prefix of their own: the MSI with SERVICE=0 installs silently quorel.exe under Program Files,
# the Start-menu shortcut and one entry in the list of installed programs; the installed program
# keeps its files in %LOCALAPPDATA%\quorel\ and writes nothing beside itself; the next version
# installed over it leaves one entry; uninstalling removes the program and keeps the user's files
# and registry values; the zip's quorel.exe, unzipped anywhere, keeps its files beside itself.
# Then the MSI as it comes installs the service, which tools/check_windows_service.py checks with
# the Linux build's module simulator.
#   tools/check_windows_installer.sh [BUILD-WINDOWS-FOLDER [LINUX-BUILD-FOLDER]]
#   (after the targets msi and windows-zip of the first, quorel-relay-sim of the second)
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$(realpath "${1:-build-windows}")
linux_folder=$(realpath "${2:-build}")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$folder/CMakeCache.txt")

if [ "${3:-}" != --on-display ]; then
    prefix=$folder/wine-installer
    rm -rf "$prefix"
    QUOREL_WINEPREFIX=$prefix exec tools/on_wine_display.sh "$folder" "$0" "$folder" \
        "$linux_folder" --on-display
fi

fail() {
    echo "check_windows_installer: $*" >&2
    exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Wine copies the Start-menu shortcut into the desktop's menu: a folder of the check's own.
export XDG_DATA_HOME=$work/menus
drive=$WINEPREFIX/drive_c
program_files="$drive/Program Files/Quorel"
windows_folder() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
local_app_data=$(windows_folder LOCALAPPDATA)
user_files=$local_app_data/quorel
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

# The values of the uninstall entries named "Gestion Quorel", one line each.
entries() {
    wine reg query "$uninstall" /s 2> /dev/null | tr -d '\r' |
        awk '/^HKEY/ {key = $0} /DisplayName.*Gestion Quorel/ {keys[key] = 1}
             {lines[key] = lines[key] "\n" $0}
             END {for (k in keys) print lines[k]}'
}
listing() { (cd "$program_files" && find . -type f | sort | tr '\n' ' '); }
# Starts a quorel.exe, closes its window as its close box does, waits for its end.
run_and_close() {
    wine "$1" > "$work/run.log" 2>&1 &
    local program=$!
    wine "$folder/close-window.exe" || fail "no window of $1 appeared"
    wait $program || fail "$1 ended with status $?"
}

msi=$folder/quorel-$version-x64.msi
next_version=$version.1
next_msi=$work/quorel-$next_version-x64.msi
[ -f "$msi" ] || fail "$msi is missing: build the target msi first"
STRIP=x86_64-w64-mingw32-strip tools/make_windows_msi.sh "$folder" "$next_version" "$next_msi" \
    2> /dev/null

echo "Installing $(basename "$msi") silently, without the service"
wine msiexec /i "$(winepath -w "$msi")" /qn SERVICE=0 || fail "msiexec /i failed"
[ "$(listing)" = "./quorel.exe ./quorel.installed " ] || fail "installed files: $(listing)"
# The machine's Start menu; Wine's installer puts a per-machine shortcut in the user's.
shortcut=
for start_menu in "$(windows_folder ProgramData)" "$(windows_folder APPDATA)"; do
    candidate="$start_menu/Microsoft/Windows/Start Menu/Programs/Gestion Quorel.lnk"
    [ -f "$candidate" ] && shortcut=$candidate
done
[ -n "$shortcut" ] || fail "no Start-menu shortcut"
target=$(strings -a "$shortcut"; strings -a -el "$shortcut")
grep -qi 'Program Files\\Quorel\\quorel.exe' <<< "$target" ||
    fail "the shortcut does not start the installed program"
entry=$(entries)
for value in "DisplayVersion.*$version" "Publisher.*Quorel team"; do
    grep -q "$value" <<< "$entry" || fail "the uninstall entry has no $value: $entry"
done
# The list of installed programs shows the icon that the installer registers with the product.
icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s | tr -d '\r' |
    sed -n 's/.*ProductIcon *REG_SZ *\(.*quorel\.ico\)$/\1/p')
[ -n "$icon" ] && [ -f "$(winepath -u "$icon")" ] || fail "no product icon registered"

echo "Running the installed program"
run_and_close "C:\\Program Files\\Quorel\\quorel.exe"
[ -f "$user_files/Quorel.ini" ] || fail "no Quorel.ini in $user_files"
[ "$(listing)" = "./quorel.exe ./quorel.installed " ] || fail "written beside it: $(listing)"
wine reg add 'HKCU\Software\VornAlmare\Ports' /v COM1 /t REG_SZ /d COM7 /f > /dev/null

echo "Installing $next_version over it"
wine msiexec /i "$(winepath -w "$next_msi")" /qn SERVICE=0 ||
    fail "msiexec /i of the next version failed"
entry=$(entries)
[ "$(grep -c DisplayName <<< "$entry")" -eq 1 ] || fail "not one uninstall entry: $entry"
grep -q "DisplayVersion.*$next_version" <<< "$entry" || fail "the entry is not $next_version"
[ "$(listing)" = "./quorel.exe ./quorel.installed " ] || fail "files after the upgrade: $(listing)"

echo "Uninstalling silently"
wine msiexec /x "$(winepath -w "$next_msi")" /qn || fail "msiexec /x failed"
[ ! -e "$program_files" ] || fail "left in Program Files: $(listing)"
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
[ -z "$(entries)" ] || fail "an uninstall entry is still there"
[ -f "$user_files/Quorel.ini" ] || fail "the user's Quorel.ini went with the program"
wine reg query 'HKCU\Software\VornAlmare\Ports' /v COM1 > /dev/null 2>&1 ||
    fail "the program's registry values went with it"

echo "Running the portable copy"
zip=$folder/quorel-$version-windows-x64.zip
mkdir "$work/portable"
(cd "$work/portable" && cmake -E tar xf "$zip")
for file in quorel.exe README.txt LICENSE.txt; do
    [ -f "$work/portable/$file" ] || fail "the zip has no $file"
done
rm -f "$user_files/Quorel.ini"
run_and_close "$(winepath -w "$work/portable/quorel.exe")"
[ -f "$work/portable/Quorel.ini" ] || fail "the portable copy did not keep Quorel.ini beside itself"
[ ! -e "$user_files/Quorel.ini" ] || fail "the portable copy wrote into $user_files"

echo "Installing $(basename "$msi") with its service"
QUOREL_CLOSE_WINDOW=$folder/close-window.exe python3 tools/check_windows_service.py \
    "$(winepath -w "$msi")" "$linux_folder/quorel-relay-sim" "$work"
echo "Installer and zip: $(stat -c %s "$msi") and $(stat -c %s "$zip") bytes, all checks passed"
