#!/usr/bin/env bash
# Checks that each layer sees only the headers below it: with the compile command of one of its
# sources, a header of its own layer builds and a header of a higher layer is not found.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
python3 - "$build/compile_commands.json" <<'PY'
import json, shlex, subprocess, sys, tempfile, os

commands = {os.path.relpath(c["file"]): c for c in json.load(open(sys.argv[1]))}
# A source of each layer, a header it may include, and one from a higher layer.
layers = [
    ("platform/line_parameters.cpp", "core/view.h", "schedule/weekday.h"),
    ("schedule/today_table.cpp", "platform/clock.h", "relay/outputs.h"),
    ("relay/outputs.cpp", "schedule/scheduler_state.h", "ui/program.h"),
    ("settings/autorun.cpp", "schedule/record_reader.h", "relay/outputs.h"),
    ("station/station.cpp", "settings/settings_file.h", "ui/program.h"),
    ("ui/program.cpp", "station/station.h", "ui/qt/main_window.h"),
]
failed = False
for source, allowed, forbidden in layers:
    entry = commands[source]
    words = shlex.split(entry["command"]) if "command" in entry else entry["arguments"]
    flags = [w for w in words[1:] if w.startswith(("-I", "-isystem", "-D", "-std"))]
    for header, should_build in ((allowed, True), (forbidden, False)):
        with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as probe:
            probe.write(f'#include "{header}"\n')
        result = subprocess.run([words[0], *flags, "-fsyntax-only", probe.name],
                                cwd=entry["directory"], capture_output=True, text=True)
        os.unlink(probe.name)
        if (result.returncode == 0) != should_build:
            failed = True
            print(f"{source}: including {header} {'fails' if should_build else 'builds'}")
            print(result.stderr[-2000:])
if failed:
    sys.exit(1)
print(f"Layers: {len(layers)} libraries see their own headers and none from above")
PY
