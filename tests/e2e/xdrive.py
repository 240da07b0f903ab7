"""Drives a program's X windows the way a person would.

The mouse and the keyboard go through xdotool, what the screen shows comes from
ImageMagick's import. Everything runs on a private Xvfb, so no other window can
take a click. Timing is handled by waiting for windows and for pixels, with
timeouts, never by long fixed sleeps.
"""

import os
import select
import shutil
import subprocess
import time

SETTLE = 0.15  # between two input steps, so JUCE sees them as separate events
# JUCE's pop-up menus ignore a button released within 250 ms of the menu's
# creation (so that the click that opened a menu cannot choose from it).
MENU_GUARD = 0.3
# A text field's caret: a bar this many columns wide at the most.
CARET_COLUMNS = 3


class DriveError(Exception):
    """A step did not have the effect a person would have seen."""


class Display:
    """A private Xvfb on a free display number."""

    def __init__(self, width=1280, height=1024):
        self.width = width
        self.height = height
        self.process = None
        self.name = None

    def start(self):
        """The server picks a free display number itself (-displayfd) and
        writes it once it accepts connections: two tests starting at the same
        moment (ctest -j, or another checkout's tests) never share a server,
        which probing numbers one by one could not promise."""
        for _ in range(3):
            read_end, write_end = os.pipe()
            process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{self.width}x{self.height}x24",
                 "-nolisten", "tcp"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
            os.close(write_end)

            number = b""
            deadline = time.monotonic() + 10
            with os.fdopen(read_end, "rb", buffering=0) as pipe:
                while time.monotonic() < deadline and not number.endswith(b"\n"):
                    ready, _, _ = select.select([pipe], [], [], 0.1)
                    if ready:
                        chunk = pipe.read(16)
                        if not chunk:
                            break  # the server ended
                        number += chunk

            if number.strip().isdigit() and process.poll() is None:
                self.process = process
                self.name = f":{int(number.strip())}"
                return self

            if process.poll() is None:
                process.kill()
            process.wait()

        raise DriveError("could not start a private Xvfb")

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process = None

    def environment(self, **extra):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        env.update(extra)
        return env


class Shot:
    """One picture of the whole screen, as packed 8-bit RGB."""

    def __init__(self, raw, width, height):
        if len(raw) != width * height * 3:
            raise DriveError(f"screen grab has {len(raw)} bytes, expected {width * height * 3}")
        self.raw = raw
        self.width = width
        self.height = height

    def pixel(self, x, y):
        """The colour at (x, y) as 0xRRGGBB."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise DriveError(f"pixel ({x}, {y}) is off the screen")
        i = (y * self.width + x) * 3
        return (self.raw[i] << 16) | (self.raw[i + 1] << 8) | self.raw[i + 2]

    def region(self, x, y, w, h):
        """The bytes of a rectangle, row by row, for comparing two shots."""
        rows = []
        for row in range(y, y + h):
            i = (row * self.width + x) * 3
            rows.append(self.raw[i:i + w * 3])
        return b"".join(rows)

    def save(self, path, crop=None):
        """Writes the shot (or the crop rectangle x, y, w, h of it) as a PNG."""
        args = ["convert", "-size", f"{self.width}x{self.height}", "-depth", "8", "rgb:-"]
        if crop is not None:
            x, y, w, h = crop
            args += ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
        subprocess.run(args + ["-strip", path], input=self.raw, check=True)


def hex_colour(value):
    return f"{value:06x}"


class Desktop:
    """Mouse, keyboard, windows and screen of one display."""

    def __init__(self, display):
        self.display = display
        self.env = display.environment()

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *[str(a) for a in args]], env=self.env,
                                capture_output=True, text=True, timeout=30)
        if result.returncode != 0 and args[0] != "search":
            raise DriveError(f"xdotool {' '.join(map(str, args))} failed: {result.stderr.strip()}")
        return result.stdout

    # Windows ---------------------------------------------------------------

    def windows(self, name_pattern):
        """Ids of the visible windows whose name matches the pattern."""
        out = self.xdotool("search", "--onlyvisible", "--name", name_pattern)
        return [int(line) for line in out.split()]

    def wait_for_window(self, name_pattern, timeout=15.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = self.windows(name_pattern)
            if found:
                time.sleep(SETTLE)  # mapped is not yet painted
                return found[-1]
            time.sleep(0.1)
        raise DriveError(f"no window named /{name_pattern}/ appeared within {timeout} s")

    def wait_for_menu(self, timeout=15.0):
        """Waits for a pop-up menu, and until it takes clicks; returns its window."""
        menu = self.wait_for_window("^menu$", timeout)
        time.sleep(MENU_GUARD)
        return menu

    def wait_for_no_window(self, name_pattern, timeout=15.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not self.windows(name_pattern):
                time.sleep(SETTLE)
                return
            time.sleep(0.1)
        raise DriveError(f"the window named /{name_pattern}/ did not close within {timeout} s")

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen."""
        values = {}
        for line in self.xdotool("getwindowgeometry", "--shell", window).split():
            key, _, value = line.partition("=")
            values[key] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    # Mouse and keyboard ----------------------------------------------------

    def pointer(self):
        values = dict(item.split(":") for item in self.xdotool("getmouselocation").split())
        return int(values["x"]), int(values["y"])

    def move(self, x, y):
        x, y = int(x), int(y)
        if self.pointer() == (x, y):
            return  # a synced move to where the pointer is waits for a motion that never comes
        self.xdotool("mousemove", "--sync", x, y)
        time.sleep(0.05)

    def click(self, x, y, button=1, modifiers=()):
        self.move(x, y)
        for key in modifiers:
            self.xdotool("keydown", key)
        self.xdotool("click", button)
        for key in reversed(modifiers):
            self.xdotool("keyup", key)
        time.sleep(SETTLE)

    def drag(self, start, end, steps=12):
        """Press, move in small steps (JUCE needs real motion events to start
        and follow a drag), release."""
        self.move(*start)
        self.xdotool("mousedown", 1)
        time.sleep(SETTLE)
        (x0, y0), (x1, y1) = start, end
        for i in range(1, steps + 1):
            self.move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps)
            time.sleep(0.03)
        time.sleep(SETTLE)
        self.xdotool("mouseup", 1)
        time.sleep(SETTLE)

    def key(self, *keys):
        self.xdotool("key", "--clearmodifiers", *keys)
        time.sleep(SETTLE)

    def type(self, text):
        self.xdotool("type", "--delay", 15, text)
        time.sleep(SETTLE)

    def park_mouse(self):
        """Moves the pointer to the screen's corner, away from anything that
        changes when hovered."""
        self.move(2, 2)
        time.sleep(SETTLE)

    # Screen ----------------------------------------------------------------

    def grab(self):
        raw = subprocess.run(["import", "-display", self.display.name, "-window", "root", "-depth", "8", "rgb:-"],
                             capture_output=True, check=True, timeout=30).stdout
        return Shot(raw, self.display.width, self.display.height)

    def wait_for_pixels(self, condition, what, timeout=10.0):
        """Grabs the screen until condition(shot) returns an empty list of
        complaints; raises with the last complaints otherwise."""
        deadline = time.monotonic() + timeout
        while True:
            shot = self.grab()
            complaints = condition(shot)
            if not complaints:
                return shot
            if time.monotonic() > deadline:
                raise DriveError(f"{what}: still after {timeout} s: " + "; ".join(complaints))
            time.sleep(0.15)


def expect_pixels(shot, expectations):
    """Complaints for every (label, x, y, colour) whose pixel differs."""
    complaints = []
    for label, x, y, colour in expectations:
        actual = shot.pixel(x, y)
        if actual != colour:
            complaints.append(f"{label} at ({x}, {y}) is {hex_colour(actual)}, expected {hex_colour(colour)}")
    return complaints


def wait_for_white_field(desktop, window, from_bottom, timeout=10.0, with_rect=False):
    """find_white_field, once the dialog has painted it."""
    geometry = desktop.geometry(window)
    deadline = time.monotonic() + timeout
    while True:
        try:
            shot = desktop.grab()
            centre = find_white_field(shot, geometry, from_bottom)
            return (centre, white_field_inside(shot, centre)) if with_rect else centre
        except DriveError:
            if time.monotonic() > deadline:
                raise
            time.sleep(0.15)


def type_into_field(desktop, window, text, from_bottom, timeout=10.0):
    """Types text into a JUCE dialog's white text field in place of what it
    holds. The text goes in only once the field has shown that it takes the
    keys (a probe letter appears in it and goes again): a window that has
    just appeared may take the focus some time after a click on it, and keys
    sent before that are lost. Only plain keys are sent, no ctrl+a: a
    modifier can reach the field later than the key it was held with."""
    centre, (left, top, right, bottom) = wait_for_white_field(desktop, window, from_bottom, timeout, with_rect=True)
    desktop.click(*centre)  # under a bare Xvfb the field needs a click before it takes keys
    deadline = time.monotonic() + timeout

    def inked_columns():
        shot = desktop.grab()
        return sum(1 for x in range(left, right)
                   if any(shot.pixel(x, y) != 0xffffff for y in range(top, bottom)))

    def until(condition, keys, what):
        """Sends keys until condition(inked columns) holds."""
        while True:
            inked = inked_columns()
            if condition(inked):
                return
            if time.monotonic() > deadline:
                raise DriveError(f"the text field at ({left}, {top}) {what} within {timeout} s "
                                 f"({inked} columns of it inked)")
            if keys:
                keys()
            time.sleep(0.2)

    def clear():
        desktop.key("End", *["BackSpace"] * 40)

    until(lambda inked: inked <= CARET_COLUMNS, clear, "did not empty")
    until(lambda inked: inked > CARET_COLUMNS, lambda: desktop.type("x"), "did not show a typed letter")
    until(lambda inked: inked <= CARET_COLUMNS, clear, "did not empty after a typed letter")
    desktop.type(text)
    # A letter inks a column or more; once they show, a Return sent next
    # comes after them.
    until(lambda inked: inked >= min(len(text), (right - left) // 2), None, f"did not show the typed {text!r}")


def find_white_field(shot, window_geometry, from_bottom):
    """Centre of the white text field of a JUCE dialog: the first run of white
    rows down the dialog's middle column, from its top or its bottom."""
    x, y, w, h = window_geometry
    column = x + w // 2
    rows = range(y + h - 1, y - 1, -1) if from_bottom else range(y + 30, y + h)
    run = []
    for row in rows:
        if shot.pixel(column, row) == 0xffffff:
            run.append(row)
        elif run:
            break
    if len(run) < 8:
        raise DriveError(f"no text field found in the dialog at {window_geometry}")
    return column, (min(run) + max(run)) // 2


def white_field_inside(shot, centre):
    """The inside of the white field around centre (left, top, right,
    bottom; right and bottom exclusive), less a pixel of margin, from the
    white run along its top row, which the text does not reach."""
    cx, cy = centre
    top = cy
    while top > 0 and shot.pixel(cx, top - 1) == 0xffffff:
        top -= 1
    bottom = cy
    while bottom + 1 < shot.height and shot.pixel(cx, bottom + 1) == 0xffffff:
        bottom += 1
    left = right = cx
    while left > 0 and shot.pixel(left - 1, top) == 0xffffff:
        left -= 1
    while right + 1 < shot.width and shot.pixel(right + 1, top) == 0xffffff:
        right += 1
    return left + 1, top + 1, right, bottom


def need_tools(*tools):
    missing = [t for t in tools if shutil.which(t) is None]
    if missing:
        raise DriveError("missing tools: " + ", ".join(missing) + " (scripts/deps.sh installs them)")
