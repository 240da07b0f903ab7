#!/usr/bin/env python3
"""End-to-end test: the shipped sample scheme (docs/sample.calvastrascheme,
copied to a scratch folder) is opened through the chooser, a new group gets
two colours, the Red slider moves, Apply, File > Save writes the same file;
its bytes must be tests/e2e/data/sample-saved.calvastrascheme, which is what
the Linux program saves after these steps (the Windows program, run with
--wine, must save the same). The close button then quits at once: nothing is
left to ask about.

Rows 3 (Text, ffe6e8eb) and 8 (Selection, ff3d7bd9) go into the new group
"Highlights"; red + 170 (see e2e_run.py), clamped at 0xff: ffffe8eb, ffe77bd9.
"""

import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xdrive import DriveError, type_into_field  # noqa: E402
from e2e_run import RED_SLIDER_Y_FOR_170, E2eRun, read_bytes, run_main  # noqa: E402
from tintwright_window import WHITE, start_program, wait_for_exit  # noqa: E402

ROWS = [3, 8]
STORED = [0xe6e8eb, 0x3d7bd9]
TWEAKED = [0xffe8eb, 0xe77bd9]
GROUP_NAME = "Highlights"
FILE_MENU_SAVE = 2  # Open, a separator, Save


def group_rows(window, stored, previews):
    expected = []
    for row, (s, p) in enumerate(zip(stored, previews)):
        expected.append((f"group row {row} stored swatch", *window.group_stored_swatch(row), s))
        expected.append((f"group row {row} preview swatch", *window.group_preview_swatch(row), p))
    expected.append(("first empty group row", *window.group_stored_swatch(len(stored)), WHITE))
    return expected


class SampleSaveRun(E2eRun):
    tag = "e2e-sample"

    def run(self, workdir):
        scheme = os.path.join(workdir, "sample.calvastrascheme")
        shutil.copyfile(self.args.sample, scheme)
        original = read_bytes(scheme)
        expected = read_bytes(self.args.expected)

        self.step("start")
        self.process, window = start_program(self.desktop, self.program, workdir, self.stderr_path)
        self.save(self.settle())

        self.step("open")
        self.open_through_chooser(window, scheme, recent_files=0)
        self.desktop.park_mouse()
        self.save(self.wait_for([(f"scheme swatch {r}", *window.scheme_swatch(r), c) for r, c in zip(ROWS, STORED)],
                                "the opened sample"))

        self.step("add-group")
        self.desktop.click(*window.groups_button())
        menu = self.desktop.wait_for_menu()
        mx, my, mw, _ = self.desktop.geometry(menu)
        self.desktop.move(mx + mw // 2, my + 2 + 11)
        self.desktop.click(mx + mw // 2, my + 2 + 11)  # "Add"
        name_window = self.desktop.wait_for_window("^Name group$")
        type_into_field(self.desktop, name_window, GROUP_NAME, from_bottom=False)
        self.desktop.key("Return")
        self.desktop.wait_for_no_window("^Name group$")
        self.desktop.park_mouse()
        self.save(self.wait_for(group_rows(window, [], []), "the new empty group"))

        self.step("give-colours")
        self.desktop.click(*window.scheme_row_name(ROWS[0]))
        self.desktop.click(*window.scheme_row_name(ROWS[1]), modifiers=("ctrl",))
        self.desktop.drag(window.scheme_row_name(ROWS[1]), window.group_list_centre())
        self.desktop.park_mouse()
        self.save(self.wait_for(group_rows(window, STORED, STORED), "the group's colours"))

        self.step("red-slider")
        self.desktop.click(*window.red_slider(RED_SLIDER_Y_FOR_170))
        self.desktop.park_mouse()
        self.save(self.wait_for(group_rows(window, STORED, TWEAKED), "the previews"))

        self.step("apply")
        self.desktop.click(*window.apply_button())
        self.desktop.park_mouse()
        self.save(self.wait_for(group_rows(window, TWEAKED, TWEAKED)
                                + [(f"scheme swatch {r}", *window.scheme_swatch(r), c) for r, c in zip(ROWS, TWEAKED)],
                                "the applied colours"))

        self.step("save")
        window.file_command(recent_files=1, index=FILE_MENU_SAVE)
        deadline = time.monotonic() + 10
        saved = original
        while saved == original and time.monotonic() < deadline:
            time.sleep(0.1)
            saved = read_bytes(scheme)
        self.save(self.settle())
        if saved != expected:
            kept = os.path.join(self.shots_dir, "saved.calvastrascheme")
            with open(kept, "wb") as f:
                f.write(saved)
            raise DriveError(f"the saved file differs from {self.args.expected}; it is kept as {kept}")

        self.step("close")
        self.desktop.click(*window.close_button(self.desktop.grab()))
        code = wait_for_exit(self.process, 15)
        if code is None:
            self.save(self.desktop.grab(), "still-running")
            raise DriveError("the program did not quit within 15 s of the close button (did it ask something?)")
        self.check_exit(code)
        if read_bytes(scheme) != expected:
            raise DriveError("the file changed after it was saved")


def add_arguments(parser):
    parser.add_argument("--sample", required=True, help="docs/sample.calvastrascheme")
    parser.add_argument("--expected", required=True, help="what the Linux program saves after the steps")


def main():
    return run_main(__doc__.splitlines()[0], SampleSaveRun, add_arguments)


if __name__ == "__main__":
    sys.exit(main())
