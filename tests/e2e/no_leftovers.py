#!/usr/bin/env python3
"""Runs one test and fails it when it leaves something behind: a process
still running, a file in the temporary folder, an X server's lock or socket
file, or a window on the display the suite shares. Whatever is left is ended
or removed here, where it starts, so the next test starts from a clean
machine and a clean display.

Usage: no_leftovers.py COMMAND...  (exits with the test's own status when it
failed, 1 when it passed but left something). Windows are looked for only
with NO_LEFTOVERS_ON_DISPLAY set, by tests that hold the shared display alone;
NO_LEFTOVERS_TEST_PRELOAD is added to the test's LD_PRELOAD (not to this
script's own).

A process that ends on its own within a few seconds of the test is not
counted. The test runs in a session of its own with a private temporary folder
(TMPDIR): a process left in the session, or a file left in the folder, is the
test's own and no other test's, even with tests running side by side.
"""

import glob
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree

# How long the test's processes get to end on their own after it.
ENDS_BY_ITSELF_SECONDS = 10


def session_processes(session):
    """Pids of the processes still in the session (zombies waited for by
    nobody included: their parent is gone too)."""
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", encoding="utf-8", errors="replace") as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue  # ended meanwhile
        # After the name: state, ppid, pgrp, session.
        if int(fields[3]) == session and fields[0] != "Z":
            pids.append(int(entry))
    return pids


def describe(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return f"{pid} " + f.read().replace(b"\0", b" ").decode("utf-8", "replace").strip()
    except OSError:
        return str(pid)


def end_processes(pids):
    for sig in (signal.SIGTERM, signal.SIGKILL):
        for pid in pids:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline and any(os.path.exists(f"/proc/{p}") for p in pids):
            time.sleep(0.05)


def stop_session(session, sig):
    try:
        os.killpg(session, sig)
    except ProcessLookupError:
        pass


def x_server_files():
    """The lock files and sockets of X servers on this machine."""
    return set(glob.glob("/tmp/.X*-lock")) | set(glob.glob("/tmp/.X11-unix/X*"))


def stale_x_server_files(paths):
    """Those of the paths whose server no longer runs: a lock naming a process
    that has ended, a socket nobody listens on. An X server ended by a kill
    leaves them, and a lock keeps its display number from the next server. A
    running server's files, another test's too, are never touched."""
    stale = []
    for path in sorted(paths):
        if path.endswith("-lock"):
            try:
                with open(path, encoding="ascii") as f:
                    pid = int(f.read().strip())
            except (OSError, ValueError):
                continue  # gone, or still being written by a starting server
            if not os.path.exists(f"/proc/{pid}"):
                stale.append(path)
        else:
            with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
                try:
                    probe.connect(path)
                except ConnectionRefusedError:
                    stale.append(path)
                except OSError:
                    pass
    return stale


def shared_display_windows():
    """Mapped top-level windows on the suite's shared display (DISPLAY), by id
    and name, for a test that holds the display alone (NO_LEFTOVERS_ON_DISPLAY
    set: others may open windows there meanwhile); empty otherwise."""
    if not os.environ.get("NO_LEFTOVERS_ON_DISPLAY") or not os.environ.get("DISPLAY"):
        return {}
    result = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True, timeout=30)
    windows = {}
    for line in result.stdout.splitlines():
        line = line.strip()
        if not line.startswith("0x"):
            continue
        window = line.split()[0]
        state = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True, timeout=30).stdout
        if "Map State: IsViewable" in state:
            windows[window] = line
    return windows


def main():
    command = sys.argv[1:]
    if not command:
        print(__doc__, file=sys.stderr)
        return 2

    temp = tempfile.mkdtemp(prefix="tintwright-test-")
    servers_before = x_server_files()
    windows_before = shared_display_windows()

    env = dict(os.environ, TMPDIR=temp)
    test_preload = env.pop("NO_LEFTOVERS_TEST_PRELOAD", "")
    if test_preload:
        env["LD_PRELOAD"] = ":".join(p for p in (env.get("LD_PRELOAD", ""), test_preload) if p)
    test = subprocess.Popen(command, env=env, start_new_session=True)
    # Stopped from outside (a time-out): the test's whole session is stopped
    # too, and what is left is still looked for.
    signal.signal(signal.SIGTERM, lambda *_: stop_session(test.pid, signal.SIGTERM))
    try:
        status = test.wait()
    except KeyboardInterrupt:
        stop_session(test.pid, signal.SIGINT)
        status = test.wait()

    left = []
    # A process that ends by itself soon after is not left behind: JUCE asks
    # gsettings for the desktop's scale and theme, waits 200 ms for it and
    # goes on without it, so on a busy machine it (or the fork that is still
    # becoming it) outlives the test by a moment.
    deadline = time.monotonic() + ENDS_BY_ITSELF_SECONDS
    while session_processes(test.pid) and time.monotonic() < deadline:
        time.sleep(0.05)
    processes = session_processes(test.pid)
    if processes:
        left += [f"process {describe(p)}" for p in processes]
        end_processes(processes)

    files = sorted(os.listdir(temp))
    left += [f"temporary file {os.path.join(temp, name)}" for name in files]
    shutil.rmtree(temp, ignore_errors=True)

    for path in stale_x_server_files(x_server_files() - servers_before):
        left.append(f"X server file {path}")
        try:
            os.remove(path)
        except OSError:
            pass

    windows = shared_display_windows()
    left += [f"window on the shared display {os.environ.get('DISPLAY')}: {line}"
             for window, line in windows.items() if window not in windows_before]

    if left:
        print("the test left behind (now ended or removed):\n  " + "\n  ".join(left), file=sys.stderr)
        return status if status != 0 else 1
    return status


if __name__ == "__main__":
    sys.exit(main())
