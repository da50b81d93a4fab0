#!/usr/bin/env bash
# Checks what a build folder installs and packages, without installing anything on this machine:
# the files "cmake --install" lays out, the desktop entry, the two Debian packages' file lists and
# computed dependencies, that lintian finds no error and no warning in them, their programs'
# --version, and that the installed window, run from a folder its user cannot write, keeps its
# files in ~/.local/share/quorel/. tools/check_service.sh then installs the packages and runs the
# station as its unit does.
set -euo pipefail
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

fail() {
    echo "check_package: $*" >&2
    exit 1
}

station_files=(bin/quorel-station bin/quorel-relay-sim share/man/man1/quorel-station.1.gz
               share/man/man1/quorel-relay-sim.1.gz lib/systemd/system/quorel-station.service
               lib/sysusers.d/quorel.conf share/doc/quorel-station/copyright
               share/doc/quorel-station/changelog.gz)
window_files=(bin/quorel share/applications/quorel.desktop
              share/icons/hicolor/scalable/apps/quorel.svg share/man/man1/quorel.1.gz
              share/doc/quorel/copyright share/doc/quorel/changelog.gz)

# As root, the programs and lintian (which advises against root) run as "nobody".
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

echo "Installing into a temporary prefix"
cmake --install "$build" --prefix "$work/prefix" > /dev/null
for file in "${station_files[@]}" "${window_files[@]}"; do
    [ -f "$work/prefix/$file" ] || fail "cmake --install did not lay out $file"
done
desktop-file-validate "$work/prefix/share/applications/quorel.desktop"
grep -qx "ExecStart=$work/prefix/bin/quorel-station" \
    "$work/prefix/lib/systemd/system/quorel-station.service" ||
    fail "the unit does not start the station of its prefix"

echo "Building the Debian packages"
(cd "$build" && rm -f quorel*_*.deb && cpack -G DEB > cpack.log 2>&1) || {
    cat "$build/cpack.log"
    fail "cpack failed"
}
# Checks one package: its files, that Depends names each of the given words, and lintian.
check_deb() { # package file, its files' array name, words Depends must name...
    local package=$1 files="$2[@]" contents depends report
    shift 2
    echo "$(basename "$package"): $(stat -c %s "$package") bytes"
    contents=$(dpkg-deb --contents "$package")
    for file in "${!files}"; do
        grep -q " \./usr/$file\$" <<< "$contents" || fail "$package lacks /usr/$file"
    done
    depends=$(dpkg-deb --field "$package" Depends)
    echo "Depends: $depends"
    for word in "$@"; do
        grep -qF "$word" <<< "$depends" || fail "Depends of $package does not name $word"
    done
    # The serial port is driven through the system's own calls, not Qt's serial module.
    ! grep -q libqt6serialport <<< "$depends" || fail "Depends names Qt's serial port library"
    # Any error or warning fails; lintian's own status then only tells whether it could run.
    cp "$package" "$work/checked.deb"
    chmod 644 "$work/checked.deb"
    report=$(cd "$work" && "${as_user[@]}" lintian --fail-on none "$work/checked.deb" 2>&1) || {
        echo "$report"
        fail "lintian could not check $package"
    }
    [ -z "$report" ] || echo "$report"
    if grep -q '^[EW]:' <<< "$report"; then
        fail "lintian reports errors or warnings in $package"
    fi
}
station_deb=$(ls "$build"/quorel-station_*_*.deb)
window_deb=$(ls "$build"/quorel_*_*.deb)
echo "Running lintian on each package"
check_deb "$station_deb" station_files libc6 libsystemd0 "systemd |"
# The station's package brings no toolkit and no X library.
! dpkg-deb --field "$station_deb" Depends | grep -qiE 'qt|libx' ||
    fail "the station's package depends on Qt or X"
check_deb "$window_deb" window_files libqt6widgets6 libc6 "quorel-station (= "
dpkg-deb --extract "$station_deb" "$work/extracted"
dpkg-deb --extract "$window_deb" "$work/extracted"
version=$(QT_QPA_PLATFORM= DISPLAY= "$work/extracted/usr/bin/quorel" --version)
echo "Extracted program: $version"
[[ $version =~ ^quorel\ [0-9]+\.[0-9]+ ]] || fail "quorel --version printed '$version'"
# The station runs with no display and no toolkit.
station_version=$(env -i "$work/extracted/usr/bin/quorel-station" --version)
[ "$station_version" = "${version/quorel/quorel-station}" ] ||
    fail "quorel-station --version printed '$station_version'"
! ldd "$work/extracted/usr/bin/quorel-station" | grep -q libQt ||
    fail "quorel-station links a Qt library"

echo "Running the installed program from a folder its user cannot write"
home=$work/home
mkdir -p "$home"
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$home"
else
    chmod a-w "$work/prefix/bin"
fi
"${as_user[@]}" env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    "$work/prefix/bin/quorel" > "$work/quorel.log" 2>&1 &
program=$!
for _ in $(seq 50); do
    [ -d "$home/.local/share/quorel/Journal" ] && break
    sleep 0.1
done
sleep 1
kill -TERM "$program"
wait "$program" || fail "the installed program ended with status $?: $(cat "$work/quorel.log")"
data=$home/.local/share/quorel
[ -f "$data/Quorel.ini" ] || fail "no Quorel.ini in $data: $(cat "$work/quorel.log")"
[ "$(stat -c %a "$data")" = 700 ] || fail "$data has mode $(stat -c %a "$data"), not 700"
ls "$data/Journal"/*.txt > /dev/null || fail "no journal in $data/Journal"
[ ! -e "$work/prefix/bin/Quorel.ini" ] || fail "Quorel.ini was written beside the program"
chmod -R u+w "$work"
echo "Package checks passed"
