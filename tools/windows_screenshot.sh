#!/usr/bin/env bash
# Takes the picture of quorel.exe's window under Wine shown in the README: a portable copy with a
# timetable, COM1 mapped to the relay module simulator, a bell ringing on S1 at the moment of the
# picture. Needs the Linux build (build/quorel-relay-sim) and the Windows build
# (build-windows/quorel.exe, close-window.exe); ImageMagick's import takes the picture.
#   tools/windows_screenshot.sh [OUTPUT.png]   (default docs/windows-window.png)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --on-display ]; then
    output=$(realpath -m "${1:-docs/windows-window.png}")
    command -v import > /dev/null && command -v xprop > /dev/null ||
        apt-get install -y -qq --no-install-recommends imagemagick x11-utils
    exec tools/on_wine_display.sh build-windows "$0" --on-display "$output"
fi
output=$2
work=$(mktemp -d)
trap 'kill $(jobs -p) 2> /dev/null || true; rm -rf "$work"' EXIT

# The module simulator behind the name that Wine's COM1 stands for; Wine reads its ports when
# its server starts.
link=$PWD/build-windows/com1-module
build/quorel-relay-sim --link "$link" > "$work/module.log" &
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$link" /f > /dev/null
wineserver -k || true

# Every weekday rings the same timetable, with a bell on S1 four seconds from now.
cp build-windows/quorel.exe "$work/"
printf '1\r\n' > "$work/Quorel.ini"
bell=$(date -d '+4 seconds' +%H:%M:%S)
for day in 0 1 2 3 4 5 6; do
    printf '"%s","%s","%s"\r\n' 1 "$bell" 5 1 10:00:00 5 2 10:15:00 600 1 12:00:00 5 \
        1 16:30:00 10 > "$work/Quorel.$day"
done
wine "$work/quorel.exe" > "$work/wine.log" 2>&1 &
sleep 7

window=$(xwininfo -root -tree | awk '/"Gestion Quorel/ && !id {id = $1} END {print id}')
# The window with the window manager's frame around it.
geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x = $4}
    /Absolute upper-left Y/ {y = $4} /Width/ {w = $2} /Height/ {h = $2}
    END {print x, y, w, h}')
extents=$(xprop -id "$window" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ,)
read -r x y w h <<< "$geometry"
read -r left right top bottom <<< "${extents:-0 0 0 0}"
import -window root -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" +repage "$output"
wine build-windows/close-window.exe
wait %2 2> /dev/null || true
echo "Picture of the window: $output"
