#!/usr/bin/env bash
# Runs a command under Wine's conditions for the Windows build: a virtual X display of its own
# (xvfb), a window manager on it (without one Wine waits 2 s whenever a window is hidden or
# destroyed), the build's private Wine prefix (build-windows/wine, or the one QUOREL_WINEPREFIX
# names) booted, and a Wine server kept up, so that each Windows program starts in a fraction of
# a second. Exits with the command's status.
#   tools/on_wine_display.sh BUILD-WINDOWS-FOLDER COMMAND [ARGUMENTS...]
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD-WINDOWS-FOLDER COMMAND [ARGUMENTS...]" >&2
    exit 2
fi
folder=$(realpath "$1")
export WINEPREFIX=${QUOREL_WINEPREFIX:-$folder/wine} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

if [ "${QUOREL_ON_WINE_DISPLAY:-}" != "$folder" ]; then
    mkdir -p "$WINEPREFIX"
    # A server left from an earlier run keeps its display, which is gone: Wine's desktop would
    # then wait 10 s for its RPC service.
    wineserver -k 2> /dev/null || true
    status=0
    QUOREL_ON_WINE_DISPLAY=$folder xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@" || status=$?
    wineserver -k 2> /dev/null || true
    exit $status
fi

# On the virtual display: the window manager, Wine's server, then the command.
shift
ready=$folder/openbox-ready
rm -f "$ready"
openbox --startup "touch $ready" > "$folder/openbox.log" 2>&1 &
manager=$!
for _ in $(seq 100); do
    [ -e "$ready" ] && break
    sleep 0.1
done
started=$SECONDS
wineserver -p
# Not --init: it starts a second service manager beside the first, and the two then answer in
# turn, each knowing only its own services.
wine wineboot > "$folder/wineboot.log" 2>&1
echo "Wine prefix ready in $((SECONDS - started)) s"
status=0
"$@" || status=$?
wineserver -k || true
kill "$manager" 2> /dev/null || true
exit $status
