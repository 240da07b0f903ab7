#!/usr/bin/env python3
"""End-to-end test: unsaved work is never lost silently. A person opens a
scheme, moves the Red slider and applies it (the stored colours change), then
presses the window's close button: the framework's save question comes up.
Cancel keeps the program and the changed scheme; the close button again and
Save writes the file and quits. Started again, the saved scheme is opened from
the chooser and changed once more; File > Quit asks, and Discard changes
ends the program at once, with no further input, leaving the file as saved.

Under a bare Xvfb there is no window manager: the close button is JUCE's own,
found as the red cross in the title bar. The question is JUCE's AlertWindow,
a window of its own titled "Closing document...", whose three buttons are
found by their colour and clicked.

The Red slider is clicked at the position of +170 (see e2e_run.py): the
group "Meters" holds Meter Low ff20c040 -> ffcac040 and Meter High
ffe02020 -> ffff2020.
"""

import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xdrive import DriveError  # noqa: E402
from e2e_run import (RED_SLIDER_Y_FOR_170, START_COLOURS, E2eRun, read_bytes,  # noqa: E402
                     run_main)
from tintwright_window import WHITE, file_menu_entries, start_program, wait_for_exit  # noqa: E402

APPLIED = {2: 0xcac040, 3: 0xff2020}
QUESTION_TITLE = r"^Closing document\.\.\.$"


def scheme_swatches(window, colours):
    expected = [(f"scheme swatch {row}", *window.scheme_swatch(row), colour)
                for row, colour in enumerate(colours) if colour is not None]
    expected.append(("first empty scheme row", *window.scheme_swatch(len(colours)), WHITE))
    return expected


def find_buttons(shot, geometry):
    """Centres of the question's buttons, left to right (Save, Discard changes,
    Cancel): the rows of the window that cross three long runs of the look's
    lavender button colour."""
    qx, qy, qw, qh = geometry
    rows = {}
    for y in range(qy + qh // 2, qy + qh):
        runs, start = [], None
        for x in range(qx, qx + qw + 1):
            lavender = False
            if x < qx + qw:
                p = shot.pixel(x, y)
                r, g, b = p >> 16, (p >> 8) & 255, p & 255
                lavender = b > r + 20 and b > g + 20
            if lavender and start is None:
                start = x
            elif not lavender and start is not None:
                if x - start >= 30:
                    runs.append((start, x - 1))
                start = None
        if len(runs) == 3:
            rows[y] = runs
    if not rows:
        raise DriveError(f"no row of three buttons in the question at {geometry}")
    ys = sorted(rows)
    y = ys[len(ys) // 2]
    return [((a + b) // 2, y) for a, b in rows[y]]


class UnsavedRun(E2eRun):
    tag = "e2e-unsaved"

    def press_close_and_wait_for_question(self, window):
        self.desktop.click(*window.close_button(self.desktop.grab()))
        question = self.desktop.wait_for_window(QUESTION_TITLE)
        qx, qy, qw, qh = self.desktop.geometry(question)
        # The question is painted when its white text and three buttons are there.
        time.sleep(0.3)
        shot = self.desktop.grab()
        self.save(shot, "question")
        shot.save(os.path.join(self.shots_dir, f"{self.step_number:02d}-question-alone.png"), crop=(qx, qy, qw, qh))
        return question, (qx, qy, qw, qh)

    def answer(self, geometry, button):
        """Clicks one of the question's three buttons, as a person would."""
        save, discard, cancel = find_buttons(self.desktop.grab(), geometry)
        self.desktop.click(*{"Save": save, "Discard changes": discard, "Cancel": cancel}[button])
        self.desktop.wait_for_no_window(QUESTION_TITLE)

    def run(self, workdir):
        data = self.args.data
        scheme_file = os.path.join(workdir, "start.calvastrascheme")
        shutil.copyfile(os.path.join(data, "start.calvastrascheme"), scheme_file)
        original = read_bytes(scheme_file)

        self.step("start")
        self.process, window = start_program(self.desktop, self.program, workdir, self.stderr_path)

        self.step("open")
        self.open_through_chooser(window, scheme_file, recent_files=0)
        self.desktop.park_mouse()
        self.save(self.wait_for(scheme_swatches(window, START_COLOURS), "the opened scheme"))

        self.step("tweak-and-apply")
        self.desktop.click(*window.red_slider(RED_SLIDER_Y_FOR_170))
        self.desktop.click(*window.apply_button())
        self.desktop.park_mouse()
        applied = [APPLIED.get(r, c) for r, c in enumerate(START_COLOURS)]
        self.save(self.wait_for(scheme_swatches(window, applied), "the applied colours in the scheme list"))

        self.step("close-asks")
        _, geometry = self.press_close_and_wait_for_question(window)
        if self.process.poll() is not None:
            raise DriveError(f"the program quit (code {self.process.returncode}) instead of asking")

        self.step("cancel")
        self.answer(geometry, "Cancel")
        time.sleep(1.0)  # Cancel changes nothing, so there is nothing to wait for
        if self.process.poll() is not None:
            raise DriveError(f"the program quit (code {self.process.returncode}) after Cancel")
        if not self.desktop.windows("^Tintwright$"):
            raise DriveError("the main window went away after Cancel")
        self.desktop.park_mouse()
        self.save(self.wait_for(scheme_swatches(window, applied), "the changed scheme after Cancel"))
        if read_bytes(scheme_file) != original:
            raise DriveError("Cancel wrote the file")

        self.step("close-asks-again")
        _, geometry = self.press_close_and_wait_for_question(window)

        self.step("save-and-quit")
        self.answer(geometry, "Save")
        code = wait_for_exit(self.process, 15)
        if code is None:
            raise DriveError("the program did not quit within 15 s of Save")
        self.check_exit(code)

        saved = read_bytes(scheme_file).decode("utf-8")
        for name, argb in (("Meter Low", "ffcac040"), ("Meter High", "ffff2020")):
            if f'name="{name}" colour="{argb}"' not in saved:
                with open(os.path.join(self.shots_dir, "saved.calvastrascheme"), "w", encoding="utf-8") as f:
                    f.write(saved)
                raise DriveError(f"the saved file does not hold {name} = {argb}; it is kept as "
                                 f"{os.path.join(self.shots_dir, 'saved.calvastrascheme')}")
        if 'name="Window Background" colour="ffd3d3d3"' not in saved:
            raise DriveError("the saved file lost a colour that was not in the group")

        self.step("restart")
        saved_bytes = read_bytes(scheme_file)
        self.process, window = start_program(self.desktop, self.program, workdir, self.stderr_path)

        self.step("open-saved")
        self.open_through_chooser(window, scheme_file, recent_files=0)
        self.desktop.park_mouse()
        self.save(self.wait_for(scheme_swatches(window, applied), "the saved scheme"))

        self.step("tweak-and-apply-again")
        self.desktop.click(*window.red_slider(RED_SLIDER_Y_FOR_170))
        self.desktop.click(*window.apply_button())
        self.desktop.park_mouse()
        twice = {2: 0xffc040, 3: 0xff2020}
        self.save(self.wait_for(scheme_swatches(window, [twice.get(r, c) for r, c in enumerate(applied)]),
                                "the colours applied a second time"))

        self.step("quit-asks")
        window.file_command(recent_files=1, index=len(file_menu_entries(1)) - 1)  # the file opened is now recent
        question = self.desktop.wait_for_window(QUESTION_TITLE)
        time.sleep(0.3)
        self.save(self.desktop.grab(), "question")

        self.step("discard-quits")
        # After the click nothing moves: the program must end by itself, not
        # on the next event that happens to arrive.
        self.answer(self.desktop.geometry(question), "Discard changes")
        code = wait_for_exit(self.process, 10)
        if code is None:
            self.save(self.desktop.grab(), "still-running")
            raise DriveError("the program did not quit within 10 s of Discard changes")
        self.check_exit(code)
        if read_bytes(scheme_file) != saved_bytes:
            raise DriveError("Discard changes wrote the file")


def main():
    return run_main(__doc__.splitlines()[0], UnsavedRun)


if __name__ == "__main__":
    sys.exit(main())
