#!/usr/bin/env bash
# Sets up a Debian machine for Quorel, builds it, then starts the program ("run") or runs every
# test ("test"): the unit and window tests, the install rules and the Debian packages, the station
# installed as a system service, the Windows build and its tests under Wine, the same tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded fuzzing run of the file
# readers.
set -euo pipefail
cd "$(dirname "$0")/.."

# What the program needs to build; what the tests' build needs; what only running the tests
# needs, which comes while the Release build compiles.
packages=(g++ make cmake qt6-base-dev nlohmann-json3-dev libsystemd-dev)
test_build_packages=(libgtest-dev libgmock-dev libbenchmark-dev clang-format)
test_packages=(clang-14 libclang-rt-14-dev util-linux dpkg-dev file desktop-file-utils lintian
               g++-mingw-w64-x86-64-posix wine64 wine googletest xvfb xauth openbox wixl msitools
               faketime systemd man-db adduser python3 python3-seccomp)
jobs=$(nproc)
# One compiler more than cores: one of them is often waiting for the disk or the linker.
build_jobs=$((jobs + 1))
# Each step of the test command says when it starts, so that a slow one shows in the log.
phase() { echo "== $* (at $((SECONDS / 60)) min $((SECONDS % 60)) s)"; }

install_missing_packages() { # packages...
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return
    fi
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

configure() { # folder, cmake options...
    local folder=$1
    shift
    mkdir -p "$folder"
    cmake -S . -B "$folder" "$@" > "$folder/configure.log" 2>&1 || {
        cat "$folder/configure.log"
        return 1
    }
}

build() { # folder, cmake options...
    configure "$@"
    cmake --build "$1" -j "$build_jobs"
}

check_format() {
    local files
    files=$(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
    # shellcheck disable=SC2086
    clang-format --dry-run --Werror $files
}

# The core (no Qt: Debian has no Windows build of it) and the Win32 program built for Windows
# with MinGW-w64, their tests run under Wine, then quorel.exe itself, its COM1 a pseudo-terminal,
# driven by a test of the Linux build.
run_windows_tests() {
    build build-windows -DCMAKE_TOOLCHAIN_FILE=tools/mingw-w64-toolchain.cmake \
        -DQUOREL_WITH_QT=OFF -DQUOREL_TESTS=ON -DQUOREL_BENCH=ON -DQUOREL_WERROR=ON
    tools/on_wine_display.sh build-windows bash -c '
        status=0
        (cd build-windows && ctest --timeout 120 --output-on-failure) || status=$?
        QUOREL_WINDOWS_BUILD=$PWD/build-windows timeout 180 build/tests/test_wine_end_to_end ||
            status=$?
        exit $status'
    # The installer and the portable zip, checked under Wine in a prefix of their own.
    phase "Windows installer"
    cmake --build build-windows --target msi windows-zip
    tools/check_windows_installer.sh build-windows
}

build_fuzzers() {
    CXX=clang++-14 configure build-fuzz -DQUOREL_WITH_QT=OFF -DQUOREL_BENCH=OFF -DQUOREL_FUZZ=ON \
        -DQUOREL_SANITIZE=ON -DQUOREL_WERROR=ON
    cmake --build build-fuzz -j "$build_jobs" --target record_reader_fuzz today_table_fuzz \
        channel_reader_fuzz
}

run_fuzzers() {
    for fuzzer in record_reader_fuzz today_table_fuzz channel_reader_fuzz; do
        local corpus=build-fuzz/corpus/${fuzzer%_fuzz}
        mkdir -p "$corpus"
        cp tests/fuzz/corpus/"${fuzzer%_fuzz}"/* "$corpus"/
        echo "Fuzzing $fuzzer for 10 s"
        if ! build-fuzz/tests/$fuzzer -max_total_time=10 -timeout=5 -rss_limit_mb=2048 \
            -print_final_stats=1 "$corpus" > "build-fuzz/$fuzzer.log" 2>&1; then
            tail -n 40 "build-fuzz/$fuzzer.log"
            return 1
        fi
        grep -E "^stat::number_of_executed_units" "build-fuzz/$fuzzer.log"
    done
}

case "${1:-}" in
run)
    install_missing_packages "${packages[@]}"
    configure build
    cmake --build build -j "$jobs" --target quorel quorel-relay-sim
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "No display found: start Quorel from a desktop session." >&2
    fi
    exec build/quorel
    ;;
test)
    phase "Packages"
    install_missing_packages "${packages[@]}" "${test_build_packages[@]}"
    mkdir -p build
    install_missing_packages "${test_packages[@]}" > build/packages.log 2>&1 &
    installing=$!
    tools/test_share.sh
    check_format
    phase "Release build"
    # Release: the optimiser's warnings differ, and a user's build of any type must succeed.
    build build -DCMAKE_BUILD_TYPE=Release -DQUOREL_TESTS=ON -DQUOREL_BENCH=ON -DQUOREL_WERROR=ON
    wait $installing || {
        cat build/packages.log
        exit 1
    }
    tools/check_layers.sh build
    # The sanitizer build compiles, at a lower priority, while the tests below mostly wait on
    # timers, pseudo-terminals and Wine: the processors they leave idle build it.
    phase "Sanitizer build, in the background"
    nice -n 15 bash -c "set -e; $(declare -f configure build); build_jobs=$build_jobs; build build-asan \
        -DQUOREL_SANITIZE=ON -DQUOREL_TESTS=ON -DQUOREL_BENCH=OFF -DQUOREL_WERROR=ON" \
        > build/asan-build.log 2>&1 &
    asan_build=$!
    phase "Release tests"
    (cd build && ctest -j "$jobs" --output-on-failure)
    phase "Debian packages and the service"
    tools/check_package.sh build
    tools/check_service.sh build
    phase "Windows build and Wine tests"
    run_windows_tests
    phase "Sanitizer tests"
    wait $asan_build || {
        tail -n 60 build/asan-build.log
        exit 1
    }
    # The fuzzers compile at the lowest priority while the sanitizer tests run.
    nice -n 19 bash -c "set -e; $(declare -f configure build_fuzzers); build_jobs=$build_jobs
        build_fuzzers" > build/fuzz-build.log 2>&1 &
    fuzz_build=$!
    (cd build-asan && LSAN_OPTIONS="suppressions=$PWD/../tools/lsan.supp" \
        ctest -j "$jobs" --output-on-failure)
    phase "Fuzzers"
    wait $fuzz_build || {
        tail -n 60 build/fuzz-build.log
        exit 1
    }
    run_fuzzers
    phase "Done"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
