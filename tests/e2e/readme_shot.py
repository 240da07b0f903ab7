#!/usr/bin/env python3
"""Takes the README's picture of Tintwright: the sample scheme open, its first
group shown with the Hue slider moved, so that the previews at the right of
the group's rows differ from the stored colours. Saves the window alone as a
small PNG."""

import argparse
import os
import re
import shutil
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xdrive import Desktop, Display, DriveError, expect_pixels, need_tools  # noqa: E402
from tintwright_window import Program, start_program, wait_for_exit  # noqa: E402

OPEN_TITLE = "^Choose a scheme file to open...$"
HUE_SLIDER_Y = 30  # a quarter turn forward, roughly: a plain click sets the value under the pointer


def first_colours(path, count):
    """The first colours of a scheme file, as 0xRRGGBB, in file order."""
    with open(path, encoding="utf-8") as f:
        return [int(value[-6:], 16) for value in re.findall(r'colour="([0-9a-fA-F]{8})"', f.read())[:count]]


def take(args, desktop, workdir):
    scheme = os.path.join(workdir, os.path.basename(args.scheme))
    shutil.copyfile(args.scheme, scheme)
    process, window = start_program(desktop, Program(args.app), workdir, os.path.join(workdir, "stderr.txt"))
    try:
        window.file_command(recent_files=0, index=0)
        window.type_into_chooser(OPEN_TITLE, scheme)
        desktop.wait_for_no_window(OPEN_TITLE)
        desktop.park_mouse()
        swatches = [(f"swatch {row}", *window.scheme_swatch(row), colour)
                    for row, colour in enumerate(first_colours(scheme, 3))]
        desktop.wait_for_pixels(lambda shot: expect_pixels(shot, swatches), "the opened sample")

        # Two rows selected in the scheme list, as when about to drag them.
        desktop.click(*window.scheme_row_name(8))
        desktop.click(*window.scheme_row_name(11), modifiers=("ctrl",))

        stored = desktop.grab().pixel(*window.group_preview_swatch(0))
        hue = window.tweak_panel(25, 105 + HUE_SLIDER_Y)
        desktop.click(*hue)
        desktop.park_mouse()
        desktop.wait_for_pixels(
            lambda shot: [] if shot.pixel(*window.group_preview_swatch(0)) != stored else ["preview unchanged"],
            "the hue-shifted previews")

        shot = desktop.grab()
        os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
        shot.save(args.out, crop=(window.x, window.y, window.width, window.height))

        desktop.click(*window.close_button(shot))
        if wait_for_exit(process, 15) is None:
            raise DriveError("the program did not quit after the close button")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", required=True)
    parser.add_argument("--scheme", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    args.app, args.scheme, args.out = (os.path.abspath(p) for p in (args.app, args.scheme, args.out))
    display = Display()
    workdir = tempfile.mkdtemp(prefix="tintwright-shot-")
    try:
        need_tools("Xvfb", "xdpyinfo", "xdotool", "import", "convert")
        take(args, Desktop(display.start()), workdir)
    except DriveError as error:
        print(f"screenshot: {error}", file=sys.stderr)
        return 1
    finally:
        display.stop()
        shutil.rmtree(workdir, ignore_errors=True)

    size = os.path.getsize(args.out)
    print(f"screenshot: {args.out} ({size // 1024} KB)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
