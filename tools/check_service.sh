#!/usr/bin/env bash
# Installs the two Debian packages of a build folder on this machine, checks what their
# maintainer scripts did and the station's unit (systemd-analyze verify, and an overall exposure
# of at most 1.0 by systemd-analyze security), runs the installed station as its unit does, then
# removes and purges both packages. The station runs with the unit's user, groups, folders, umask
# and system call filter, with NOTIFY_SOCKET and WATCHDOG_USEC, first with no module, then with
# the module simulator on a pseudo-terminal of the group dialout: systemd would hear READY=1, then
# WATCHDOG=1 at least every half period yet not at every tick, none while the station is stopped,
# and STOPPING=1 at SIGTERM, which switches the ringing relay off. An operator (a member of the
# group quorel) reads its state, a stranger cannot.
set -euo pipefail
build=$(realpath "${1:-build}")
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$build"
unit=/usr/lib/systemd/system/quorel-station.service

fail() {
    echo "check_service: $*" >&2
    exit 1
}

# The check purges the packages, and with them /var/lib/quorel: never on a machine that uses them.
if dpkg -s quorel-station > /dev/null 2>&1 || [ -e /var/lib/quorel ]; then
    fail "quorel-station or /var/lib/quorel is on this machine; this check would purge them"
fi
work=$(mktemp -d)
chmod 755 "$work"
trap 'dpkg --purge quorel quorel-station > /dev/null 2>&1 || true
      userdel quorel-check-operator > /dev/null 2>&1 || true
      rm -rf "$work" /run/quorel' EXIT

echo "Installing the packages on this machine"
dpkg -i "$build"/quorel-station_*_*.deb "$build"/quorel_*_*.deb > "$work/dpkg.log" 2>&1 || {
    cat "$work/dpkg.log"
    fail "dpkg could not install the packages"
}
[ "$(id -gn quorel)" = quorel ] || fail "the package did not make the user quorel in group quorel"
[ -L /etc/systemd/system/multi-user.target.wants/quorel-station.service ] ||
    fail "the package did not enable quorel-station.service"

echo "Verifying the unit"
verified=$(systemd-analyze verify "$unit" 2>&1) || fail "systemd-analyze verify failed: $verified"
[ -z "$verified" ] || fail "systemd-analyze verify reports: $verified"
# --threshold counts tenths: above 1.0 fails.
exposure=$(systemd-analyze security --offline=yes --threshold=10 "$unit" 2>&1) || {
    echo "$exposure"
    fail "the unit's exposure is above 1.0"
}
tail -n 1 <<< "$exposure"

echo "Running the installed station as its unit does"
# What systemd makes for StateDirectory= and RuntimeDirectory=.
install -d -o quorel -g quorel -m 0770 /var/lib/quorel
install -d -o quorel -g quorel -m 0750 /run/quorel
# An operator, as the README makes one.
operator=quorel-check-operator
id "$operator" > /dev/null 2>&1 || useradd --system --user-group --no-create-home "$operator"
adduser --quiet "$operator" quorel
/usr/bin/python3 - "$work" "$operator" "$unit" <<'PY'
import atexit, datetime, errno, grp, os, pwd, seccomp, signal, socket, subprocess, sys, threading
import time

work, operator, unit = sys.argv[1:4]
data, period = "/var/lib/quorel", 2.0
quorel = pwd.getpwnam("quorel")
heard, module = [], []  # (monotonic seconds, what systemd or the module received)
children = []
atexit.register(lambda: [child.kill() for child in children if child.poll() is None])


def fail(text):
    sys.exit(f"check_service: {text}\nsystemd heard: {heard}\nthe module: {module}\n"
             + open(f"{work}/station.log").read())


def collect(read, into):
    for text in iter(read, ""):
        into.append((time.monotonic(), text.strip()))


notify = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
notify.bind(f"{work}/notify")
os.chmod(f"{work}/notify", 0o666)
threading.Thread(target=collect, args=(lambda: notify.recv(4096).decode(), heard),
                 daemon=True).start()


def heard_at(message, after, within):
    deadline = time.monotonic() + within
    while time.monotonic() < deadline:
        found = [at for at, text in heard if at > after and message in text.split("\n")]
        if found:
            return found[0]
        time.sleep(0.02)
    fail(f"no {message} within {within} s")


def check_pets(start, end):
    pets = [at for at, text in heard if start < at <= end and text == "WATCHDOG=1"]
    gaps = [b - a for a, b in zip([start] + pets, pets + [end])]
    if len(pets) < 2 or max(gaps) > period / 2 or min(gaps[1:-1]) < period / 5:
        fail(f"WATCHDOG=1 {len(pets)} times in {end - start:.1f} s, gaps {gaps}")
    return f"{len(pets)} WATCHDOG=1 in {end - start:.1f} s (gaps {min(gaps[1:-1]):.2f} to " \
           f"{max(gaps):.2f} s)"


def write(name, text):
    with open(f"{data}/{name}", "w", newline="") as file:
        file.write(text)
    os.chown(f"{data}/{name}", quorel.pw_uid, quorel.pw_gid)


def system_calls(names):  # systemd's sets expanded
    found = set()
    for name in names:
        if name.startswith("@"):
            listed = subprocess.run(["systemd-analyze", "syscall-filter", name], check=True,
                                    capture_output=True, text=True).stdout.split("\n")[1:]
            found |= system_calls(n.strip() for n in listed if n.strip()[:1] not in ("", "#"))
        else:
            found.add(name)
    return found


# The unit's system call filter, as systemd builds it: its first list allowed, then each list
# taken away (~) or added.
allowed = set()
for line in open(unit):
    if line.startswith("SystemCallFilter="):
        names = line.split("=", 1)[1].split()
        if names[0].startswith("~"):
            allowed -= system_calls([names[0][1:]] + names[1:])
        else:
            allowed |= system_calls(names)
sandbox = seccomp.SyscallFilter(seccomp.ERRNO(errno.EPERM))
for name in allowed:
    try:
        sandbox.add_rule(seccomp.ALLOW, name)
    except (RuntimeError, ValueError):
        pass  # not a system call of this machine

while datetime.datetime.now().hour == 23 and datetime.datetime.now().minute == 59:
    time.sleep(1)  # the entry stays today's
ring = int(time.time()) + 10
write("VornAlmare.ini", f"[Ports]\nCOM1={work}/ttyQuorel\n")
write("Quorel.ini", "1\r\n")
write(f"Quorel.{datetime.date.today().weekday()}",
      f'"1","{time.strftime("%H:%M:%S", time.localtime(ring))}","60"\r\n')
station = subprocess.Popen(
    ["/usr/bin/quorel-station"], user="quorel", group="quorel", extra_groups=["dialout"],
    env={"PATH": "/usr/bin:/bin", "LANG": "C.UTF-8", "STATE_DIRECTORY": data,
         "RUNTIME_DIRECTORY": "/run/quorel", "NOTIFY_SOCKET": f"{work}/notify",
         "WATCHDOG_USEC": str(int(period * 1e6))},
    stdout=open(f"{work}/station.log", "w"), stderr=subprocess.STDOUT,
    preexec_fn=lambda: (os.umask(0o007), sandbox.load()))
children.append(station)
ready = heard_at("READY=1", 0, 10)
time.sleep(3)
print(f"READY=1; no module yet: {check_pets(ready, time.monotonic())}")

# The module plugged in: a pseudo-terminal owned as a serial device is, behind a stable link.
simulator = subprocess.Popen(["/usr/bin/quorel-relay-sim"], stdout=subprocess.PIPE, text=True)
children.append(simulator)
device = simulator.stdout.readline().split(": ")[1].strip()
os.chown(device, 0, grp.getgrnam("dialout").gr_gid)
os.chmod(device, 0o660)
os.symlink(device, f"{work}/ttyQuorel")
threading.Thread(target=collect, args=(simulator.stdout.readline, module), daemon=True).start()
time.sleep(max(0.0, ring + 1.5 - time.time()))
rung = time.strftime("%H:%M:%S.", time.localtime(ring))
if not any(text.startswith(rung) and text.endswith("relay 1 ON") for _, text in module):
    fail(f"relay 1 was not switched on at {rung}")
start = time.monotonic()
time.sleep(2)
print(f"Entry rung at {rung}000; {check_pets(start, time.monotonic())}")

for user, expected in ((operator, 0), ("nobody", 4)):
    account = pwd.getpwnam(user)
    status = subprocess.run(["setpriv", f"--reuid={account.pw_uid}", f"--regid={account.pw_gid}",
                             "--init-groups", "/usr/bin/quorel-station", "--status"],
                            capture_output=True, text=True)
    # Within the unit's system calls, the station still reads the clock's synchronisation.
    if status.returncode != expected or (expected == 0 and (
            '"COM1:"' not in status.stdout or "Synchronisation inconnue" in status.stdout)):
        fail(f"--status as {user} ended with {status.returncode}: {status}")
print("An operator reads the state (clock's synchronisation known), a stranger cannot")

stopped = time.monotonic()
station.send_signal(signal.SIGSTOP)
time.sleep(period)
continued = time.monotonic()
station.send_signal(signal.SIGCONT)
if any(stopped + 0.1 < at <= continued for at, text in heard if text == "WATCHDOG=1"):
    fail("a stopped station told WATCHDOG=1")
heard_at("WATCHDOG=1", continued, period / 2)
print(f"Stopped for {period} s: no WATCHDOG=1, which came back once continued")

terminated = time.monotonic()
station.terminate()
heard_at("STOPPING=1", terminated, 5)
if station.wait(10) != 0:
    fail(f"the station ended with status {station.returncode}")
time.sleep(0.3)
if not any(at > terminated and text.endswith("relay 1 OFF") for at, text in module):
    fail("SIGTERM did not switch relay 1 off")
simulator.terminate()
print("SIGTERM: STOPPING=1, relay 1 switched off, status 0")
PY

ls /var/lib/quorel/Journal/*.txt > /dev/null || fail "the station wrote no journal"
echo "Removing the packages"
dpkg -r quorel quorel-station > "$work/dpkg.log" 2>&1 || {
    cat "$work/dpkg.log"
    fail "dpkg could not remove the packages"
}
[ "$(readlink /etc/systemd/system/quorel-station.service)" = /dev/null ] ||
    fail "the removed unit is not masked"
ls /var/lib/quorel/Journal/*.txt > /dev/null || fail "the removal deleted the data folder"
dpkg --purge quorel quorel-station > "$work/dpkg.log" 2>&1 || {
    cat "$work/dpkg.log"
    fail "dpkg could not purge the packages"
}
[ ! -e /var/lib/quorel ] || fail "the purge left /var/lib/quorel"
[ ! -L /etc/systemd/system/quorel-station.service ] &&
    [ ! -L /etc/systemd/system/multi-user.target.wants/quorel-station.service ] ||
    fail "the purge left the unit's links"
echo "Service checks passed"
