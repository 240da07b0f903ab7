#!/usr/bin/env python3
"""End-to-end test: a person opens a scheme, makes a group, drags colours into
it, moves the Red slider, applies, saves under a new name and closes the
window; the saved bytes must be the expected file. On the way it checks the
pixels the layout fixes, the recent files in the File menu, and that opening a
file that is not a scheme leaves the shown scheme alone.

The Red slider is clicked at the position of +170 (see e2e_run.py).

Expected file (tests/e2e/data/expected.calvastrascheme), from start.calvastrascheme:
- "Accents" appended after "Meters" with Panel Text, Meter High and Selection
  in the order of their rows;
- red + 170 (0xaa), clamped at 0xff: ff202020 -> ffca2020, ffe02020 -> ffff2020,
  ff3366cc -> ffdd66cc; green, blue and alpha unchanged.
"""

import os
import shutil
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xdrive import DriveError, type_into_field  # noqa: E402
from e2e_run import (RED_SLIDER_Y_FOR_170, START_COLOURS, E2eRun, read_bytes,  # noqa: E402
                     run_main)
from tintwright_window import (SELECTED_ROW, WHITE, WINDOW_BACKGROUND, start_program,  # noqa: E402
                               wait_for_exit)

TWEAKED = {1: 0xca2020, 3: 0xff2020, 4: 0xdd66cc}
SCHEME_ROWS = len(START_COLOURS)
DRAGGED_ROWS = [1, 3, 4]
SAVE_TITLE = "^Choose a location for your scheme file...$"
SAVED_NAME = "Tweaked result"


def scheme_list_expectations(window, colours, selected=()):
    """Swatches of every row with an opaque colour, and the background of the
    rows, selected or not, and of the first empty row."""
    expected = []
    for row, colour in enumerate(colours):
        if colour is not None:
            expected.append((f"scheme swatch {row}", *window.scheme_swatch(row), colour))
        expected.append((f"scheme row {row} background", *window.scheme_row_blank(row),
                         SELECTED_ROW if row in selected else WHITE))
    expected.append(("first empty scheme row", *window.scheme_swatch(len(colours)), WHITE))
    return expected


def group_list_expectations(window, stored, previews):
    expected = []
    for row, (s, p) in enumerate(zip(stored, previews)):
        expected.append((f"group row {row} stored swatch", *window.group_stored_swatch(row), s))
        expected.append((f"group row {row} preview swatch", *window.group_preview_swatch(row), p))
    expected.append(("first empty group row", *window.group_stored_swatch(len(stored)), WHITE))
    expected.append(("first empty group row, right", *window.group_preview_swatch(len(stored)), WHITE))
    return expected


def layout_expectations(window):
    """The pixels the layout fixes, whatever is open."""
    cx, cy = window.content_x, window.content_y
    middle = cy + window.content_height // 2
    expected = [
        ("title bar top, left", *window.title_bar_top(40), WINDOW_BACKGROUND),
        ("title bar top, middle", *window.title_bar_top(window.width // 2), WINDOW_BACKGROUND),
        # scheme list pane: 200 wide, its white frame from x 5 to 194
        ("left of the scheme frame", cx + 4, middle, WINDOW_BACKGROUND),
        ("scheme frame left edge", cx + 5, middle, WHITE),
        ("scheme frame right edge", cx + 194, middle, WHITE),
        ("right of the scheme frame", cx + 195, middle, WINDOW_BACKGROUND),
        ("gap between the panes", cx + 205, middle, WINDOW_BACKGROUND),
        ("scheme frame top", cx + 100, cy + 30, WHITE),
        ("above the scheme frame", cx + 100, cy + 29, WINDOW_BACKGROUND),
    ]
    # group pane: the group list's white frame is 5 pixels around the list box
    lx, ly, lw, lh = window.group_list_box()
    expected += [
        ("left of the group frame", cx + lx - 6, middle, WINDOW_BACKGROUND),
        ("group frame left edge", cx + lx - 5, middle, WHITE),
        ("group frame right edge", cx + lx + lw + 4, middle, WHITE),
        ("right of the group frame", cx + lx + lw + 5, middle, WINDOW_BACKGROUND),
    ]
    return expected


class CycleRun(E2eRun):
    tag = "e2e"

    # The cycle -------------------------------------------------------------

    def run(self, workdir):
        data = self.args.data
        start_file = os.path.join(workdir, "start.calvastrascheme")
        bad_file = os.path.join(workdir, "not-a-scheme.calvastrascheme")
        saved_file = os.path.join(workdir, SAVED_NAME + ".calvastrascheme")
        shutil.copyfile(os.path.join(data, "start.calvastrascheme"), start_file)
        shutil.copyfile(os.path.join(data, "not-a-scheme.calvastrascheme"), bad_file)
        # An older file under the name we save to: Save as must ask, and replace it.
        old_bytes = b"an older file of the same name\n"
        with open(saved_file, "wb") as f:
            f.write(old_bytes)
        with open(os.path.join(data, "expected.calvastrascheme"), "rb") as f:
            expected_bytes = f.read()

        self.step("start")
        self.process, window = start_program(self.desktop, self.program, workdir, self.stderr_path)
        if (window.width, window.height) != (600, 450):
            raise DriveError(f"the window is {window.width}x{window.height}, expected 600x450")
        centred = ((self.desktop.display.width - 600) // 2, (self.desktop.display.height - 450) // 2)
        if (window.x, window.y) != centred:
            raise DriveError(f"the window is at ({window.x}, {window.y}), expected centred at {centred}")
        shot = self.save(self.settle())
        self.check(shot, layout_expectations(window), "empty window layout")
        self.check(shot, [("empty scheme list", *window.scheme_swatch(0), WHITE),
                          ("empty group list", *window.group_stored_swatch(0), WHITE)], "empty window")

        self.step("open")
        self.open_through_chooser(window, start_file, recent_files=0)
        self.desktop.park_mouse()
        # The first group, "Meters", is selected at once.
        shot = self.save(self.wait_for(
            scheme_list_expectations(window, START_COLOURS)
            + group_list_expectations(window, [0x20c040, 0xe02020], [0x20c040, 0xe02020]),
            "the opened scheme"))
        self.check(shot, layout_expectations(window), "layout with a scheme")

        self.step("add-group")
        self.desktop.click(*window.groups_button())
        menu = self.desktop.wait_for_menu()
        mx, my, mw, mh = self.desktop.geometry(menu)
        if mh != 2 + 22 + 22 + 10 + 22 + 2:
            raise DriveError(f"the Groups... menu is {mh} pixels high, expected Add, Delete, a separator and Rename")
        self.desktop.move(mx + mw // 2, my + 2 + 11)
        self.desktop.click(mx + mw // 2, my + 2 + 11)  # "Add"
        name_window = self.desktop.wait_for_window("^Name group$")
        type_into_field(self.desktop, name_window, "Accents", from_bottom=False)
        self.save(self.desktop.grab(), "name-window")
        self.desktop.key("Return")
        self.desktop.wait_for_no_window("^Name group$")
        self.desktop.park_mouse()
        # The new, empty group is selected: the group list empties.
        self.save(self.wait_for(group_list_expectations(window, [], []), "the new empty group"))

        self.step("select")
        first, *others = DRAGGED_ROWS
        self.desktop.click(*window.scheme_row_name(first))
        for row in others:
            self.desktop.click(*window.scheme_row_name(row), modifiers=("ctrl",))
        self.desktop.park_mouse()
        self.save(self.wait_for(scheme_list_expectations(window, START_COLOURS, selected=DRAGGED_ROWS),
                                "the selection of three rows"))

        self.step("drag")
        self.desktop.drag(window.scheme_row_name(DRAGGED_ROWS[-1]), window.group_list_centre())
        self.desktop.park_mouse()
        dragged = [START_COLOURS[r] for r in DRAGGED_ROWS]
        self.save(self.wait_for(group_list_expectations(window, dragged, dragged), "the dropped colours"))

        self.step("red-slider")
        self.desktop.click(*window.red_slider(RED_SLIDER_Y_FOR_170))
        self.desktop.park_mouse()
        previews = [TWEAKED[r] for r in DRAGGED_ROWS]
        shot = self.save(self.wait_for(group_list_expectations(window, dragged, previews), "the previews"))
        # Nothing reaches the scheme before Apply.
        self.check(shot, scheme_list_expectations(window, START_COLOURS, selected=DRAGGED_ROWS),
                   "scheme list before Apply")

        self.step("apply")
        self.desktop.click(*window.apply_button())
        self.desktop.park_mouse()
        applied = [TWEAKED.get(r, c) for r, c in enumerate(START_COLOURS)]
        self.save(self.wait_for(
            group_list_expectations(window, previews, previews)
            + scheme_list_expectations(window, applied, selected=DRAGGED_ROWS),
            "the applied colours"))

        self.step("save-as")
        window.file_command(recent_files=1, index=3)
        window.type_into_chooser(SAVE_TITLE, SAVED_NAME)
        question = self.desktop.wait_for_window("^File already exists$")
        qx, qy, qw, qh = self.desktop.geometry(question)
        self.save(self.desktop.grab(), "overwrite-question")
        self.desktop.click(qx + qw // 2, qy + 12)  # its title, so that it has the keyboard
        self.desktop.key("Return")  # "Overwrite"
        self.desktop.wait_for_no_window("^File already exists$")
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            with open(saved_file, "rb") as f:
                saved_bytes = f.read()
            if saved_bytes != old_bytes:
                break
            time.sleep(0.1)
        self.save(self.settle())
        if saved_bytes != expected_bytes:
            with open(os.path.join(self.shots_dir, "saved.calvastrascheme"), "wb") as f:
                f.write(saved_bytes)
            raise DriveError(f"the saved file differs from {os.path.join(data, 'expected.calvastrascheme')}; "
                             f"it is kept as {os.path.join(self.shots_dir, 'saved.calvastrascheme')}")
        with open(start_file, "rb") as f, open(os.path.join(data, "start.calvastrascheme"), "rb") as g:
            if f.read() != g.read():
                raise DriveError("the opened file was changed by Save as")

        self.step("recent-files")
        _, geometry = window.open_file_menu()
        self.save(self.desktop.grab(), "file-menu")
        self.desktop.key("Escape")
        self.desktop.wait_for_no_window("^menu$")
        # Full paths in the menu: wider than any file name alone could make it.
        if geometry[2] < 400:
            raise DriveError(f"the File menu is only {geometry[2]} pixels wide; the recent files should show "
                             f"their full paths ({saved_file})")
        # Both files listed: two more rows (the height is checked by file_command).
        before = self.save(self.settle(), "before-bad-open")

        self.step("open-bad-file")
        self.open_through_chooser(window, bad_file, recent_files=2)
        time.sleep(1.0)  # a failed open changes nothing, so there is nothing to wait for
        shot = self.save(self.settle())
        # The scheme list pane and the group pane up to the group list's frame. The
        # tweak panel is left out: JUCE's drop shadow on its sliders comes out a
        # shade different after partial repaints.
        lx, _, lw, _ = window.group_list_box()
        scheme_part = (window.content_x, window.content_y, lx + lw + 5, window.content_height)
        if shot.region(*scheme_part) != before.region(*scheme_part):
            raise DriveError("opening a file that is not a scheme changed the scheme list or the group pane")

        self.step("recent-original")
        # Recent files, most recent first: the saved file, then the opened one.
        window.file_command(recent_files=2, index=6)
        self.desktop.park_mouse()
        # A newly opened scheme starts with nothing selected.
        self.save(self.wait_for(
            scheme_list_expectations(window, START_COLOURS, selected=())
            + group_list_expectations(window, [0x20c040, 0xe02020], [0x20c040, 0xe02020]),
            "the original scheme from the recent files"))

        self.step("recent-saved")
        # Now the original is first and the saved file second.
        window.file_command(recent_files=2, index=6)
        self.desktop.park_mouse()
        self.save(self.wait_for(
            scheme_list_expectations(window, applied, selected=())
            + group_list_expectations(window, [0x20c040, 0xff2020], [0x20c040, 0xff2020]),
            "the saved scheme from the recent files"))

        self.step("close")
        shot = self.desktop.grab()
        self.desktop.click(*window.close_button(shot))
        code = wait_for_exit(self.process, 15)
        if code is None:
            raise DriveError("the program did not quit within 15 s of the close button")
        self.check_exit(code)
        if read_bytes(saved_file) != expected_bytes:
            raise DriveError("the saved file changed after it was saved")


def main():
    return run_main(__doc__.splitlines()[0], CycleRun)


if __name__ == "__main__":
    sys.exit(main())
