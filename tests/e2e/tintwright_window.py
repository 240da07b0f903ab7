"""Where things are in Tintwright's main window, and the moves a person makes
in it. Every position follows from the window's fixed layout:

- the window: a 4-pixel resizable border, JUCE's 26-pixel title bar, a
  24-pixel menu bar, then the main component (the content);
- content: the scheme colour list pane at x 0, 200 wide; the group pane from
  x 200 to the right edge;
- scheme list pane: white frame x 5..194, list box at (10, 35), rows 22 high,
  swatch at (5, 5, 20, 12) in each row;
- group pane: controls at (10, 10), 26 high, "Groups..." the last 75 pixels;
  group tweaker at (10, 45): its list box at (10, 40), width W - 155, and the
  tweak panel 130 wide at (W - 130, 10);
- group list rows: stored swatch at (5, 5, 20, 12), preview swatch the last
  20 pixels of the row;
- tweak panel: Red slider at (15, 0, 20, 100), Reset at y 215, Apply at y 240.
"""

import os
import subprocess
import time

from xdrive import DriveError, type_into_field

BORDER = 4
TITLE_BAR = 26
MENU_BAR = 24
ROW = 22

WINDOW_BACKGROUND = 0x4c72b6  # cornflower blue darkened by 0.3
WHITE = 0xffffff
SELECTED_ROW = 0xd3d3d3

# JUCE's popup menus: 2-pixel border, items 22 high, separators 10 high.
MENU_BORDER = 2
MENU_ITEM = 22
MENU_SEPARATOR = 10


def menu_item_centre_y(entries, index):
    """Menu-local y of the centre of entries[index], where entries lists 'item'
    and 'separator' from the top."""
    y = MENU_BORDER
    for entry in entries[:index]:
        y += MENU_ITEM if entry == "item" else MENU_SEPARATOR
    return y + MENU_ITEM // 2


def file_menu_entries(recent_files):
    return ["item", "separator", "item", "item", "separator"] + ["item"] * recent_files + ["separator", "item"]


def file_menu_height(recent_files):
    return 2 * MENU_BORDER + sum(MENU_ITEM if e == "item" else MENU_SEPARATOR for e in file_menu_entries(recent_files))


class MainWindow:
    def __init__(self, desktop, window):
        self.desktop = desktop
        self.window = window
        self.x, self.y, self.width, self.height = desktop.geometry(window)
        self.content_x = self.x + BORDER
        self.content_y = self.y + BORDER + TITLE_BAR + MENU_BAR
        self.content_width = self.width - 2 * BORDER
        self.content_height = self.height - 2 * BORDER - TITLE_BAR - MENU_BAR

    def at(self, cx, cy):
        """Screen position of a content position."""
        return self.content_x + cx, self.content_y + cy

    # Scheme colour list ----------------------------------------------------

    def scheme_row_centre_y(self, row):
        return 35 + ROW * row + ROW // 2

    def scheme_swatch(self, row):
        return self.at(25, self.scheme_row_centre_y(row))

    def scheme_row_blank(self, row):
        """A spot of the row right of the names, which only the row's
        background colours."""
        return self.at(180, self.scheme_row_centre_y(row))

    def scheme_row_name(self, row):
        return self.at(60, self.scheme_row_centre_y(row))

    # Group pane ------------------------------------------------------------

    def group_pane_width(self):
        return self.content_width - 200

    def groups_button(self):
        controls_width = self.group_pane_width() - 20
        return self.at(200 + 10 + controls_width - 75 + 37, 10 + 13)

    def group_list_box(self):
        """(x, y, width, height) of the group colour list in content
        coordinates."""
        tweaker_width = self.group_pane_width() - 20
        tweaker_height = self.content_height - 50
        return 200 + 10 + 10, 45 + 40, tweaker_width - 155, tweaker_height - 45

    def group_stored_swatch(self, row):
        lx, ly, _, _ = self.group_list_box()
        return self.at(lx + 15, ly + ROW * row + ROW // 2)

    def group_preview_swatch(self, row):
        lx, ly, lw, _ = self.group_list_box()
        return self.at(lx + lw - 10, ly + ROW * row + ROW // 2)

    def group_list_centre(self):
        lx, ly, lw, lh = self.group_list_box()
        return self.at(lx + lw // 2, ly + lh // 2)

    def tweak_panel(self, px, py):
        """Screen position of a tweak panel position."""
        tweaker_width = self.group_pane_width() - 20
        return self.at(200 + 10 + tweaker_width - 130 + px, 45 + 10 + py)

    def red_slider(self, sy):
        return self.tweak_panel(15 + 10, sy)

    def apply_button(self):
        return self.tweak_panel(65, 240 + 10)

    def reset_button(self):
        return self.tweak_panel(65, 215 + 10)

    # Title bar -------------------------------------------------------------

    def title_bar_top(self, x):
        return self.x + x, self.y + BORDER

    def close_button(self, shot):
        """Centre of the red cross at the right of the title bar."""
        reddish = []
        for y in range(self.y + BORDER, self.y + BORDER + TITLE_BAR):
            for x in range(self.x + self.width // 2, self.x + self.width - BORDER):
                p = shot.pixel(x, y)
                r, g, b = p >> 16, (p >> 8) & 255, p & 255
                if r > g + 60 and r > b + 30:
                    reddish.append((x, y))
        if len(reddish) < 20:
            raise DriveError("no red close button in the title bar")
        xs = [p[0] for p in reddish]
        ys = [p[1] for p in reddish]
        return (min(xs) + max(xs)) // 2, (min(ys) + max(ys)) // 2

    # Menus and dialogs -----------------------------------------------------

    def open_file_menu(self):
        """Clicks "File" in the menu bar; returns the menu's geometry."""
        self.desktop.click(self.x + BORDER + 20, self.y + BORDER + TITLE_BAR + MENU_BAR // 2)
        menu = self.desktop.wait_for_menu()
        return menu, self.desktop.geometry(menu)

    def choose_from_menu(self, menu_geometry, entries, index):
        mx, my, mw, _ = menu_geometry
        self.desktop.move(mx + 40, my + menu_item_centre_y(entries, index))  # highlight first
        self.desktop.click(mx + 40, my + menu_item_centre_y(entries, index))
        self.desktop.wait_for_no_window("^menu$")

    def file_command(self, recent_files, index):
        _, geometry = self.open_file_menu()
        if geometry[3] != file_menu_height(recent_files):
            raise DriveError(f"the File menu is {geometry[3]} pixels high, expected {file_menu_height(recent_files)} "
                             f"for {recent_files} recent file(s)")
        self.choose_from_menu(geometry, file_menu_entries(recent_files), index)

    def type_into_chooser(self, title_pattern, text):
        """Types into the "file:" field of JUCE's own file chooser and
        confirms. A full path takes two Returns: the first moves the chooser
        to the folder and leaves the name, the second chooses it."""
        dialog = self.desktop.wait_for_window(title_pattern)
        type_into_field(self.desktop, dialog, text, from_bottom=True)
        self.desktop.key("Return")
        if "/" in text or "\\" in text:
            self.desktop.key("Return")


def wait_for_exit(process, timeout):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None


class Program:
    """The program under test and how it is started: the Linux program
    directly, the Windows program (Tintwright.exe) through Wine's loader.
    Under Wine the program sees the machine's files on drive Z:."""

    def __init__(self, app, wine=None):
        self.app = app
        self.wine = wine

    def command(self):
        return [self.wine, self.app] if self.wine else [self.app]

    def path(self, host_path):
        """A file's path as the program writes it."""
        return "Z:" + host_path.replace("/", "\\") if self.wine else host_path

    def stop(self, process):
        """Ends a program that is still running after a failure. A Windows
        program can outlive the loader it was started with, so the prefix's
        wine server ends it."""
        if process.poll() is None:
            process.kill()
            process.wait()
        if self.wine:
            subprocess.run([os.path.join(os.path.dirname(self.wine), "wineserver"), "-k"], check=False)


def start_program(desktop, program, workdir, stderr_path):
    """Starts the program in workdir and waits for its painted main window."""
    stderr = open(stderr_path, "wb")
    process = subprocess.Popen(program.command(), cwd=workdir, stdout=subprocess.DEVNULL, stderr=stderr,
                               env=desktop.display.environment(JUCE_FONT_PATH="/usr/share/fonts/truetype/dejavu",
                                                               HOME=str(workdir)))
    stderr.close()
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        if process.poll() is not None:
            raise DriveError(f"the program ended at start with exit code {process.returncode}")
        found = desktop.windows("^Tintwright$")
        if found:
            window = MainWindow(desktop, found[-1])
            desktop.wait_for_pixels(
                lambda shot: [] if shot.pixel(*window.title_bar_top(window.width // 3)) == WINDOW_BACKGROUND
                else ["title bar not painted"], "the first paint")
            return process, window
        time.sleep(0.1)
    raise DriveError("the Tintwright window did not appear within 30 s")
