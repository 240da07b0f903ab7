#!/usr/bin/env python3
"""End-to-end test: a scheme of a million colours, all in one group; the Red
slider is dragged up and down without a pause for two seconds and let go at
+170. The first row's preview swatch must show the final value within 200 ms
of the last motion, and must have followed the drag on the way (the window
kept up). Apply then writes the final value into the stored swatch.

The drag is one xdotool process (moves 10 ms apart), so the motions arrive as
fast as a hand makes them. The swatch is watched through Xlib's XGetImage on a
few pixels (a millisecond a look), since ImageMagick's import takes longer
than the time being measured; screenshots of each step are taken with import.

Slider y 22 is +170: the slider is 100 pixels high, 8 pixels at each end are
its thumb radius, so y is proportion 1 - (y - 8) / 84 of -255..255.
"""

import ctypes
import os
import sys
import threading
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from xdrive import DriveError, expect_pixels, hex_colour  # noqa: E402
from tintwright_window import start_program  # noqa: E402
from e2e_run import E2eRun, run_main  # noqa: E402

FIRST_COLOUR = 0x204060
FINAL_RED = 170
FIRST_PREVIEW = 0xca4060  # red 0x20 + 170
SLIDER_Y_FOR_0 = 50
SLIDER_Y_FOR_170 = 22
DRAG_SECONDS = 2.0


def write_scheme(path, members):
    """That many colours, and one group holding all of them; row 0 is
    FIRST_COLOUR, the others spread over the colours."""
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\r\n\r\n\r\n<COLOURS>\r\n')
        f.write(f'  <COLOUR name="c0" colour="ff{FIRST_COLOUR:06x}"/>\r\n')
        f.writelines(f'  <COLOUR name="c{i}" colour="ff{(i * 2654435761) & 0xffffff:06x}"/>\r\n'
                     for i in range(1, members))
        f.write('  <COLOURGROUPS>\r\n    <COLOURGROUP name="Everything">\r\n')
        f.writelines(f'      <COLOUR name="c{i}"/>\r\n' for i in range(members))
        f.write('    </COLOURGROUP>\r\n  </COLOURGROUPS>\r\n</COLOURS>\r\n')


class PixelProbe:
    """Reads single pixels of the root window straight from the X server."""

    def __init__(self, display_name):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.c_void_p
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XGetPixel.restype = ctypes.c_ulong
        self.x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(display_name.encode())
        if not self.display:
            raise DriveError(f"cannot open display {display_name} through Xlib")
        self.root = self.x11.XDefaultRootWindow(self.display)

    def pixel(self, x, y):
        image = self.x11.XGetImage(self.display, self.root, x, y, 1, 1, 0xffffffff, 2)  # ZPixmap
        if not image:
            raise DriveError(f"XGetImage failed at ({x}, {y})")
        value = self.x11.XGetPixel(image, 0, 0) & 0xffffff
        # XDestroyImage is a macro: free the pixels (after width, height,
        # xoffset and format, four ints) and the image record by hand.
        self.x11.XFree(ctypes.c_void_p.from_address(image + 16).value)
        self.x11.XFree(image)
        return value

    def close(self):
        self.x11.XCloseDisplay(self.display)


class LiveDragRun(E2eRun):
    tag = "e2e-live"

    def drag_commands(self, window):
        """One xdotool command line: press on the thumb at 0, sweep up and
        down between y 10 and 90 every 10 ms for DRAG_SECONDS, let go at +170."""
        x, y = window.red_slider(SLIDER_Y_FOR_0)
        commands = ["mousemove", x, y, "mousedown", 1, "sleep", 0.2]
        steps = int(DRAG_SECONDS / 0.01)
        top, bottom = window.red_slider(10)[1], window.red_slider(90)[1]
        for i in range(steps):
            phase = (i % 80) / 40.0  # 0..2: down then up, 0.4 s a sweep
            fraction = phase if phase <= 1 else 2 - phase
            commands += ["mousemove", x, int(top + (bottom - top) * fraction), "sleep", 0.01]
        commands += ["mousemove", *window.red_slider(SLIDER_Y_FOR_170)]
        return commands

    def run(self, workdir):
        scheme = os.path.join(workdir, "million.calvastrascheme")
        write_scheme(scheme, self.args.members)

        self.step("start")
        self.process, window = start_program(self.desktop, self.program, workdir, self.stderr_path)

        self.step("open")
        self.open_through_chooser(window, scheme, recent_files=0, timeout=60)
        self.desktop.park_mouse()
        first_row = [("row 0 stored swatch", *window.group_stored_swatch(0), FIRST_COLOUR),
                     ("row 0 preview swatch", *window.group_preview_swatch(0), FIRST_COLOUR)]
        self.save(self.wait_for(first_row, f"the {self.args.members}-colour group", timeout=180))

        self.step("drag")
        probe = PixelProbe(self.desktop.display.name)
        swatch = window.group_preview_swatch(0)
        seen = []
        stop = threading.Event()

        def watch():
            while not stop.is_set():
                colour = probe.pixel(*swatch)
                if not seen or seen[-1] != colour:
                    seen.append(colour)
                time.sleep(0.005)

        watcher = threading.Thread(target=watch)
        watcher.start()
        self.desktop.xdotool(*self.drag_commands(window))
        last_motion = time.monotonic()
        stop.set()
        watcher.join()

        while True:
            colour = probe.pixel(*swatch)
            waited_ms = (time.monotonic() - last_motion) * 1000
            if colour == FIRST_PREVIEW or waited_ms > 5000:
                break
            time.sleep(0.002)
        shot = self.save(self.desktop.grab(), "after-last-motion")
        self.desktop.xdotool("mouseup", 1)
        probe.close()

        print(f"[{self.tag}] first row's preview took {waited_ms:.0f} ms after the last motion to show "
              f"{hex_colour(FIRST_PREVIEW)} (limit {self.args.limit_ms} ms); {len(seen)} different previews "
              f"showed during the {DRAG_SECONDS:.0f} s drag", flush=True)
        if colour != FIRST_PREVIEW:
            raise DriveError(f"the first row's preview is {hex_colour(colour)} 5 s after the drag, "
                             f"expected {hex_colour(FIRST_PREVIEW)}")
        if waited_ms > self.args.limit_ms:
            raise DriveError(f"the first row's preview took {waited_ms:.0f} ms after the last motion, "
                             f"more than {self.args.limit_ms} ms")
        if len(seen) < 20:
            raise DriveError(f"only {len(seen)} different previews showed during the drag: the window "
                             "did not follow the slider")
        complaints = expect_pixels(shot, [("row 0 preview swatch", *swatch, FIRST_PREVIEW),
                                          ("row 0 stored swatch", *window.group_stored_swatch(0), FIRST_COLOUR)])
        if complaints:
            raise DriveError("after the drag: " + "; ".join(complaints))

        self.step("apply")
        self.desktop.click(*window.apply_button())
        self.desktop.park_mouse()
        self.save(self.wait_for([("row 0 stored swatch", *window.group_stored_swatch(0), FIRST_PREVIEW),
                                 ("row 0 preview swatch", *swatch, FIRST_PREVIEW)], "the applied group",
                                timeout=30))


def add_arguments(parser):
    parser.add_argument("--members", type=int, default=1_000_000, help="colours in the scheme and the group")
    parser.add_argument("--limit-ms", type=int, default=200,
                        help="longest wait for the first row after the last motion")


def main():
    # The scheme keeps unapplied or unsaved changes at the end, which the
    # program would ask about: the run ends it instead.
    return run_main(__doc__.splitlines()[0], LiveDragRun, add_arguments)


if __name__ == "__main__":
    sys.exit(main())
