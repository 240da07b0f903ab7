#!/usr/bin/env python3
"""Windows package test, under Wine on a private Xvfb:

1. The installer (Tintwright-<version>-win64.exe) installs silently (/S) into
   Program Files\\Tintwright with a Start-menu entry; the installed program
   starts, shows its 600 x 450 window, and quits from its close button.
2. Its uninstaller (Uninstall.exe /S) removes every file and folder the
   installer made (drive C: holds the same files as before the install) and
   its entry in the list of installed programs.
3. The zip, unpacked into a scratch folder, holds the program and a read-me
   and no DLL; the program starts from there and shows its window.

Wine's prefix is the one in $WINEPREFIX. Prints the time from start to the
painted window of each run.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xdrive import Desktop, Display, DriveError, need_tools  # noqa: E402
from tintwright_window import Program, start_program, wait_for_exit  # noqa: E402

WINDOW_SIZE = (600, 450)
INSTALL_DIR = os.path.join("drive_c", "Program Files", "Tintwright")
START_MENU = os.path.join("drive_c", "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs", "Tintwright")
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tintwright"
# Wine's own bookkeeping, written by any program that runs: not the installer's.
IGNORED = ("drive_c/users/", "drive_c/windows/")


def files_under(root):
    """Every file and folder of drive C: outside Wine's own bookkeeping."""
    found = set()
    drive = os.path.join(root, "drive_c")
    for folder, dirs, files in os.walk(drive):
        for name in dirs + files:
            path = os.path.relpath(os.path.join(folder, name), root)
            if not path.startswith(IGNORED):
                found.add(path)
    return found


def wine(loader, *args, timeout=120):
    result = subprocess.run([loader, *args], capture_output=True, text=True, timeout=timeout)
    return result.returncode


def wait_until(condition, what, timeout):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise DriveError(f"{what} within {timeout} s")
        time.sleep(0.2)


def start_and_close(desktop, program, workdir, shots, label):
    """Starts the program, checks its window, saves a picture, clicks the
    close button (nothing to save: it must quit at once, with exit code 0)."""
    started = time.monotonic()
    process, window = start_program(desktop, program, workdir, os.path.join(workdir, "stderr.txt"))
    shown = time.monotonic() - started
    try:
        if (window.width, window.height) != WINDOW_SIZE:
            raise DriveError(f"{label}: the window is {window.width} x {window.height}, expected 600 x 450")
        shot = desktop.grab()
        picture = os.path.join(shots, f"{label}.png")
        shot.save(picture, crop=(window.x, window.y, window.width, window.height))
        desktop.click(*window.close_button(shot))
        code = wait_for_exit(process, 15)
        if code is None:
            raise DriveError(f"{label}: the program did not quit within 15 s of the close button")
        if code != 0:
            raise DriveError(f"{label}: the program quit with exit code {code}")
        print(f"{label}: window shown {shown:.2f} s after start ({picture})")
    finally:
        program.stop(process)


def check_installer(desktop, loader, installer, prefix, shots, scratch):
    before = files_under(prefix)
    if wine(loader, installer, "/S") != 0:
        raise DriveError("the installer failed")
    installed = os.path.join(prefix, INSTALL_DIR)
    for name in ("Tintwright.exe", "README.txt", "Uninstall.exe"):
        if not os.path.isfile(os.path.join(installed, name)):
            raise DriveError(f"the installer put no {name} into {installed}")
    links = os.listdir(os.path.join(prefix, START_MENU)) if os.path.isdir(os.path.join(prefix, START_MENU)) else []
    if "Tintwright.lnk" not in links:
        raise DriveError(f"no Start-menu entry Tintwright.lnk in {START_MENU} (found {links})")
    added = sorted(files_under(prefix) - before)
    print("installed: " + ", ".join(added))
    if wine(loader, "reg", "query", UNINSTALL_KEY) != 0:
        raise DriveError(f"the installer registered no uninstaller under {UNINSTALL_KEY}")

    start_and_close(desktop, Program(os.path.join(installed, "Tintwright.exe"), loader), scratch, shots, "installed")

    # The uninstaller copies itself away and runs from there: the command
    # returns before it has finished, so its work is waited for.
    wine(loader, os.path.join(installed, "Uninstall.exe"), "/S")
    wait_until(lambda: not os.path.exists(installed), "the uninstaller did not remove Program Files\\Tintwright", 60)
    left = sorted(files_under(prefix) - before)
    if left:
        raise DriveError("the uninstaller left " + ", ".join(left))
    if wine(loader, "reg", "query", UNINSTALL_KEY) == 0:
        raise DriveError(f"the uninstaller left its registry key {UNINSTALL_KEY}")
    print("uninstalled: nothing of the installer is left on drive C:")


def check_zip(desktop, loader, archive, shots, scratch):
    folder = os.path.join(scratch, "any folder")
    with zipfile.ZipFile(archive) as z:
        names = z.namelist()
        z.extractall(folder)
    dlls = [n for n in names if n.lower().endswith(".dll")]
    if dlls:
        raise DriveError(f"the zip holds DLLs: {dlls}")
    programs = [n for n in names if n.endswith("/Tintwright.exe")]
    if not programs or not any(n.endswith("/README.txt") for n in names):
        raise DriveError(f"the zip holds no Tintwright.exe and README.txt in one folder: {names}")
    print("zip: " + ", ".join(sorted(names)))
    start_and_close(desktop, Program(os.path.join(folder, programs[0]), loader), scratch, shots, "from-zip")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--wine", required=True, help="Wine's loader")
    parser.add_argument("--installer", required=True)
    parser.add_argument("--zip", required=True)
    parser.add_argument("--shots", required=True)
    args = parser.parse_args()
    prefix = os.environ.get("WINEPREFIX")
    if not prefix:
        print("WINEPREFIX is not set", file=sys.stderr)
        return 1
    need_tools("Xvfb", "xdotool", "import", "convert")
    os.makedirs(args.shots, exist_ok=True)

    display = Display().start()
    os.environ["DISPLAY"] = display.name  # the installer and uninstaller too
    desktop = Desktop(display)
    scratch = tempfile.mkdtemp(prefix="tintwright-windows-packages-")
    try:
        check_installer(desktop, args.wine, os.path.abspath(args.installer), prefix, args.shots, scratch)
        check_zip(desktop, args.wine, os.path.abspath(args.zip), args.shots, scratch)
        print("Windows packages: passed")
        return 0
    except DriveError as error:
        print(f"Windows packages: FAILED: {error}", file=sys.stderr)
        return 1
    finally:
        display.stop()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
