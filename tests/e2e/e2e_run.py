"""What the end-to-end tests share: the facts of their test data, and a run
of steps on a private Xvfb that keeps a screenshot of every step and of a
failure, and checks how the program ended."""

import argparse
import os
import shutil
import sys
import tempfile
import time

from tintwright_window import Program
from xdrive import Desktop, Display, DriveError, expect_pixels, need_tools

# tests/e2e/data/start.calvastrascheme, row by row (None: a transparent colour).
START_COLOURS = [0xd3d3d3, 0x202020, 0x20c040, 0xe02020, 0x3366cc, None, 0x5a6e8c, 0xffcc00, 0x8050a0, 0x102030]
# The Red slider is clicked, not dragged: a click on a JUCE linear slider sets
# the value of the clicked position. The slider is 100 pixels high and the look
# keeps 8 pixels at each end (its thumb radius), so slider y 22 is proportion
# 1 - (22 - 8) / 84 = 5/6 of -255..255, which is +170 exactly.
RED_SLIDER_Y_FOR_170 = 22
OPEN_TITLE = "^Choose a scheme file to open...$"
# What JUCE's leak detector and the sanitizers print at exit. JUCE prints its
# report through DBG, so only a build with JUCE's debug logging shows it (the
# sanitizer build of scripts/sanitize.sh, which runs these tests too); a
# Release build prints nothing here.
EXIT_REPORTS = ["*** Leaked objects detected", "ERROR: LeakSanitizer", "ERROR: AddressSanitizer", "runtime error:"]


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


class E2eRun:
    """Steps of one test; a subclass's run(workdir) takes them."""

    tag = "e2e"

    def __init__(self, args):
        self.args = args
        self.program = Program(args.app, args.wine)
        self.shots_dir = args.shots
        self.step_number = 0
        self.step_name = "start"
        self.desktop = None
        self.process = None
        self.started = time.monotonic()
        self.stderr_path = os.path.join(self.shots_dir, "program-stderr.txt")

    def run(self, workdir):
        raise NotImplementedError

    def step(self, name):
        self.step_number += 1
        self.step_name = name
        print(f"[{self.tag}] {time.monotonic() - self.started:5.1f} s  {self.step_number:02d} {name}", flush=True)

    def save(self, shot, label=None):
        shot.save(os.path.join(self.shots_dir, f"{self.step_number:02d}-{label or self.step_name}.png"))
        return shot

    def settle(self):
        """Pointer off the window, then the screen as it is now."""
        self.desktop.park_mouse()
        return self.desktop.grab()

    def open_through_chooser(self, window, path, recent_files, timeout=15.0):
        """File > Open..., the path typed into the chooser, until the chooser has closed."""
        window.file_command(recent_files=recent_files, index=0)
        window.type_into_chooser(OPEN_TITLE, self.program.path(path))
        self.desktop.wait_for_no_window(OPEN_TITLE, timeout=timeout)

    def check(self, shot, expectations, what):
        complaints = expect_pixels(shot, expectations)
        if complaints:
            raise DriveError(f"{what}: " + "; ".join(complaints))

    def wait_for(self, expectations, what, timeout=15.0):
        return self.desktop.wait_for_pixels(lambda shot: expect_pixels(shot, expectations), what, timeout)

    def check_exit(self, code):
        """After the program ended: nothing reported on its stderr, exit code 0."""
        self.process = None
        stderr = read_bytes(self.stderr_path).decode("utf-8", "replace")
        reports = [line for line in stderr.splitlines() if any(text in line for text in EXIT_REPORTS)]
        if reports:
            raise DriveError("the program reported at exit:\n" + "\n".join(reports[:20]))
        if code != 0:
            raise DriveError(f"the program quit with exit code {code}; its stderr is {self.stderr_path}")

    def main(self):
        os.makedirs(self.shots_dir, exist_ok=True)
        for old in os.listdir(self.shots_dir):
            if old.endswith(".png") or old == "saved.calvastrascheme":
                os.remove(os.path.join(self.shots_dir, old))

        display = Display().start()
        self.desktop = Desktop(display)
        workdir = tempfile.mkdtemp(prefix=f"tintwright-{self.tag}-")
        try:
            self.run(workdir)
            print(f"[{self.tag}] passed in {time.monotonic() - self.started:.1f} s; screenshots in {self.shots_dir}")
            return 0
        except DriveError as error:
            print(f"[{self.tag}] FAILED at step {self.step_number:02d} {self.step_name}: {error}", file=sys.stderr)
            try:
                self.desktop.grab().save(os.path.join(self.shots_dir, f"{self.step_number:02d}-FAILED.png"))
            except Exception:  # the screen may be gone too
                pass
            return 1
        finally:
            if self.process is not None:
                self.program.stop(self.process)
            display.stop()
            shutil.rmtree(workdir, ignore_errors=True)


def run_main(description, run_class, add_arguments=None):
    """The command line every end-to-end test takes (--app, --shots and, for
    tests of the files in tests/e2e/data, --data), and what add_arguments
    adds for one test."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--app", required=True, help="the Tintwright program")
    parser.add_argument("--wine", help="Wine's loader, to run a Windows build of the program")
    parser.add_argument("--data", help="folder with the scheme files of the test")
    parser.add_argument("--shots", required=True, help="folder for the screenshots of each step")
    if add_arguments is not None:
        add_arguments(parser)
    args = parser.parse_args()
    args.app, args.shots = (os.path.abspath(p) for p in (args.app, args.shots))
    if args.data is not None:
        args.data = os.path.abspath(args.data)
    try:
        need_tools("Xvfb", "xdpyinfo", "xdotool", "import", "convert")
    except DriveError as error:
        print(f"[{run_class.tag}] {error}", file=sys.stderr)
        return 1
    return run_class(args).main()
