#!/usr/bin/env python3
"""Checks the service that the Windows installer installs, under Wine, in the Wine prefix and on
the display that tools/check_windows_installer.sh has set up (WINEPREFIX, DISPLAY):

- the MSI installs quorel-station.exe as the service "Quorel" ("Quorel : sonneries", started
  automatically, as NT AUTHORITY\\LocalService) and starts it;
- Wine's start-up after a restart of the prefix (its server killed, as at a power cut, then
  booted again) starts the service with nobody's window open, and it rings today's entry on its
  second on the module, a pseudo-terminal that COM1 names;
- stopping the service during the bell switches the relay off and journals the end;
- the window, started again, is the console of the service: the station journals it;
- uninstalling removes the service and its program and keeps %ProgramData%\\Quorel.

Wine runs every service as the prefix's user and does not restart a failed service: the account
and the restarts are read back from the service's configuration, not seen at work.
  tools/check_windows_service.py MSI RELAY-SIMULATOR WORK-FOLDER
"""
import datetime
import os
import subprocess
import sys
import threading
import time

msi, simulator_path, work = sys.argv[1:4]
module = []  # (monotonic seconds, what the module received)
children = []


def fail(text):
    for child in children:
        child.kill()
    sys.exit(f"check_windows_service: {text}\nthe module: {module}\njournal:\n{journal()}")


def wine(*arguments, check=True):
    # Into a file, not a pipe: what the command starts (Wine's server, its services, ours)
    # inherits the output and would hold a pipe open for as long as it runs.
    with open(f"{work}/wine.out", "w+") as output:
        done = subprocess.run(["wine", *arguments], stdout=output, stderr=subprocess.STDOUT)
        output.seek(0)
        text = output.read().replace("\r", "")
    if check and done.returncode != 0:
        fail(f"wine {' '.join(arguments)} ended with {done.returncode}: {text}")
    return text


def unix_path(windows_path):
    return subprocess.run(["winepath", "-u", windows_path], capture_output=True,
                          text=True).stdout.strip()


data = unix_path("C:\\ProgramData\\Quorel")
program_files = unix_path("C:\\Program Files\\Quorel")


def journal():
    path = f"{data}/Journal/{datetime.date.today().isoformat()}.txt"
    return open(path, encoding="utf-8").read() if os.path.exists(path) else "(none)"


def wait_for(condition, within, what):
    deadline = time.monotonic() + within
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.1)
    fail(f"{what} within {within} s")


def service_state():
    return wine("sc", "query", "Quorel", check=False)


def write(name, text):
    with open(f"{data}/{name}", "w", newline="") as file:
        file.write(text)


def switched(what, after):
    return any(at > after and text.endswith(what) for at, text in module)


# The module: a pseudo-terminal behind a stable link, which COM1 names from Wine's next start.
simulator = subprocess.Popen([simulator_path, "--link", f"{work}/ttyQuorel"],
                             stdout=subprocess.PIPE, text=True)
children.append(simulator)
simulator.stdout.readline()
threading.Thread(target=lambda: [module.append((time.monotonic(), line.strip()))
                                 for line in iter(simulator.stdout.readline, "")],
                 daemon=True).start()
wine("reg", "add", "HKLM\\Software\\Wine\\Ports", "/v", "COM1", "/t", "REG_SZ", "/d",
     f"{work}/ttyQuorel", "/f")

# A fresh prefix starts Wine's own services for some seconds, and holds the service database
# meanwhile: an installation that starts a service then fails, and is tried again.
for attempt in range(5):
    wine("msiexec", "/i", msi, "/qn", check=False)
    if "RUNNING" in service_state():
        break
    time.sleep(3)
else:
    fail("msiexec /i failed")
# Wine's sc has no qc: the service manager's own keys tell the same.
configuration = wine("reg", "query", "HKLM\\System\\CurrentControlSet\\Services\\Quorel")
for value in ("Start    REG_DWORD    0x2", "quorel-station.exe --service",
              "NT AUTHORITY\\LocalService", "Quorel : sonneries"):
    if value not in configuration:
        fail(f"the service's configuration has no {value}: {configuration}")
wait_for(lambda: "RUNNING" in service_state(), 10, "the installed service did not start")
if not os.path.isfile(f"{program_files}/quorel-station.exe"):
    fail("quorel-station.exe is not installed")
print("Installed: the service Quorel runs, started automatically, as LocalService")

# Today's entry, rung by the station that Wine's next start starts.
while datetime.datetime.now().hour == 23 and datetime.datetime.now().minute >= 58:
    time.sleep(1)  # the entry stays today's
ring = int(time.time()) + 20
write("Quorel.ini", "1\r\n")
write(f"Quorel.{datetime.date.today().weekday()}",
      f'"1","{time.strftime("%H:%M:%S", time.localtime(ring))}","30"\r\n')
subprocess.run(["wineserver", "-k"], check=False)
subprocess.run(["wineserver", "-p"], check=True, stdout=subprocess.DEVNULL,
               stderr=subprocess.DEVNULL)
wine("wineboot")
wait_for(lambda: "RUNNING" in service_state(), 15, "the service did not start with Wine")
starts = journal().count("Démarrage du service Quorel")
time.sleep(max(0.0, ring + 1.5 - time.time()))
rung = time.strftime("%H:%M:%S.", time.localtime(ring))
if not any(text.startswith(rung) and text.endswith("relay 1 ON") for _, text in module):
    fail(f"relay 1 was not switched on at {rung}")
print(f"Restarted with no window: the service rang the entry at {rung}000")

stopped = time.monotonic()
wine("sc", "stop", "Quorel")
wait_for(lambda: switched("relay 1 OFF", stopped), 3, "the stop did not switch relay 1 off")
wait_for(lambda: "STOPPED" in service_state(), 5, "the service did not stop")
if "Arrêt de Quorel : arrêt du service" not in journal():
    fail("the stop is not journaled")
print(f"Stopped during the bell: relay 1 off after {time.monotonic() - stopped:.1f} s")

wine("sc", "start", "Quorel")
wait_for(lambda: journal().count("Démarrage du service Quorel") > starts, 10,
         "the service did not start again")
window = subprocess.Popen(["wine", f"{program_files}/quorel.exe"],
                          stdout=open(f"{work}/window.out", "w"), stderr=subprocess.STDOUT)
children.append(window)
wait_for(lambda: "» connectée" in journal(), 15, "the window did not connect to the service")
wine(os.environ["QUOREL_CLOSE_WINDOW"])
if window.wait(15) != 0:
    fail("the console window did not close cleanly")
if "RUNNING" not in service_state():
    fail("closing the console stopped the service")
print("The window is the console of the running service; closed, the service rings on")

wine("msiexec", "/x", msi, "/qn")
if "STATE" in service_state():
    fail(f"the service is still there: {service_state()}")
# Wine's uninstaller may come to quorel-station.exe before the stopped service's process has
# ended, and a running program's file cannot be deleted: the window's program must be gone.
if os.path.exists(f"{program_files}/quorel.exe"):
    fail("Program Files\\Quorel\\quorel.exe is still there")
if not os.path.isfile(f"{data}/Quorel.{datetime.date.today().weekday()}"):
    fail("uninstalling removed the data folder's timetable")
simulator.kill()
print("Uninstalled: no service, the window's program gone, the data folder kept")
