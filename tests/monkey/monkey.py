#!/usr/bin/env python3
"""Monkey test: random but plausible input to the real program on a private
Xvfb, for a time or a number of events, with a seed that makes a run
repeatable. Run it through scripts/monkey.sh, which builds the sanitizer
program with its probe (tests/monkey/probe) and the checker first.

Watched after every event:
- the program's exit (restarted, and the run goes on, when the monkey quit it
  on purpose; a crash otherwise) and hangs (the probe's heartbeat stops for
  10 s);
- sanitizer reports, JUCE's leak detector and JUCE assertions on its stderr;
- the scratch folder: every file a save wrote must open with the program's
  own reader (tintwright_scheme_check) and hold the scheme the program had when
  it saved (the probe's saves.log; the checker compares the two as schemes);
  no other file may change (a failed save, which the probe does not record,
  must leave the file's bytes alone);
- after a pop-up (menu, name window, question, file chooser) closes: the
  window's pixels 200 ms later against a fresh repaint (stale screen), on a
  sample: the first close of every kind of pop-up and then every
  --stale-every-th close of that kind.

The checks run after every cycle: either a batch of plain events in the main
window (clicks, drags, slider drags, wheel steps, key presses; one xdotool
process, 10-30 ms apart) or one step with pop-ups (a File menu pick, an
answer, typing in a chooser), which waits where a window opens or closes.
An event is one input: a click, a drag, a key press, a wheel step, a menu
pick, a typed name.

The framework's question about unsaved changes ("Closing document...") is
answered on purpose: after Quit or the close button half the time Cancel,
otherwise Discard changes (the program quits and is restarted) or Save; before an Open
Cancel, Discard changes or Save.

Every input is logged (events.jsonl); --replay plays such a log again, to
reproduce a failure.
"""

import argparse
import json
import os
import random
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
sys.path.insert(0, HERE)

from xdrive import Desktop, Display, DriveError, need_tools, wait_for_white_field  # noqa: E402
from tintwright_window import (BORDER, MENU_BAR, TITLE_BAR, MainWindow, WINDOW_BACKGROUND,  # noqa: E402
                               menu_item_centre_y, file_menu_entries)
from e2e_unsaved import find_buttons  # noqa: E402
import scratch  # noqa: E402

OPEN_TITLE = "Choose a scheme file to open..."
SAVE_TITLE = "Choose a location for your scheme file..."
NAME_TITLE = "Name group"
QUESTION_TITLE = "Closing document..."
HANG_SECONDS = 10.0
# What a File menu pick does, weighted. Quits are rare but must happen: a
# quit that goes through restarts the program, which is where exits are tested.
FILE_COMMANDS = [(5, "open"), (4, "save"), (4, "save as"), (3, "recent"), (1.5, "quit"), (2, "dismiss")]
REPORTS = ["ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:", "*** Leaked objects detected",
           "AddressSanitizer:DEADLYSIGNAL", "ERROR: UndefinedBehaviorSanitizer"]
ASSERTION = "JUCE Assertion failure"
KEYS = (["Return", "Escape", "Tab", "shift+Tab", "Up", "Down", "Left", "Right", "Delete", "BackSpace", "space",
         "Home", "End", "Page_Up", "Page_Down", "ctrl+a", "ctrl+c", "ctrl+v", "ctrl+z"]
        + list("aqzKM09") + ["minus", "period"])
RANDOM_NAME_CHARS = "abcdefghijklmnopqrstuvwxyzABCXYZ0123456789 _-&<>\"'()!#%+=,;\u00e9\u00fc\u2603"


class Finding(Exception):
    pass


class LoggingDesktop(Desktop):
    """A desktop that logs every input it sends (not the queries), so that a
    run can be replayed."""

    INPUT = {"mousemove", "click", "mousedown", "mouseup", "key", "keydown", "keyup", "type"}

    def __init__(self, display, log):
        super().__init__(display)
        self.log = log

    def xdotool(self, *args):
        if args and args[0] in self.INPUT:
            self.log(["x"] + [str(a) for a in args])
        return super().xdotool(*args)


class Monkey:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.out = args.out
        self.started = time.monotonic()
        self.events = 0
        self.counts = {}
        self.failures = []
        self.notes = []
        self.process = None
        self.window = None
        self.intended_quit = False
        self.generation = 0
        self.stderr_offset = 0
        self.saves_offset = 0
        self.snapshot = {}
        self.scratch_names = []
        self.last_popup = None
        self.closes = {}
        self.asking_for = None  # what the next unsaved-changes question is about: "quit" or "open"
        self.quit_deadline = 0.0
        self.cache = {}
        self.event_file = open(os.path.join(self.out, "events.jsonl"), "w", encoding="utf-8")

    # Logging ------------------------------------------------------------------

    def log(self, entry):
        self.event_file.write(json.dumps([round(time.monotonic() - self.started, 3)] + entry) + "\n")
        self.event_file.flush()

    def count(self, what, n=1):
        self.counts[what] = self.counts.get(what, 0) + n

    def event(self, kind):
        """One input a person makes; everything the monkey sends is one of these."""
        self.events += 1
        self.count("event " + kind)
        self.log(["event", self.events, kind])

    def say(self, text):
        print(f"[monkey] {time.monotonic() - self.started:6.1f} s  {text}", flush=True)

    def fail(self, kind, text):
        number = len(self.failures) + 1
        self.failures.append(f"{kind}: {text}")
        self.say(f"FAILURE {number} ({kind}) after event {self.events}: {text}")
        self.log(["failure", kind, text])
        folder = os.path.join(self.out, f"failure-{number}")
        os.makedirs(folder, exist_ok=True)
        try:
            self.desktop.grab().save(os.path.join(folder, "screen.png"))
        except Exception:  # the screen may be gone too
            pass
        self.event_file.flush()
        subprocess.run(["cp", os.path.join(self.out, "events.jsonl"), folder])
        if os.path.exists(self.stderr_path):
            subprocess.run(["cp", self.stderr_path, os.path.join(folder, "program-stderr.txt")])
        return folder

    # The program --------------------------------------------------------------

    @property
    def stderr_path(self):
        return os.path.join(self.out, f"program-{self.generation}.stderr")

    @property
    def probe(self):
        return os.path.join(self.out, f"probe-{self.generation}")

    def start(self):
        self.generation += 1
        self.stderr_offset = 0
        self.saves_offset = 0
        os.makedirs(self.probe, exist_ok=True)
        stderr = open(self.stderr_path, "wb")
        env = self.display.environment(JUCE_FONT_PATH="/usr/share/fonts/truetype/dejavu", HOME=self.scratch,
                                       TINTWRIGHT_PROBE_DIR=self.probe)
        self.process = subprocess.Popen([self.args.app], cwd=self.scratch, stdout=subprocess.DEVNULL,
                                        stderr=stderr, env=env)
        stderr.close()
        self.log(["start", self.generation])
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise Finding(f"the program ended at start with exit code {self.process.returncode}")
            found = self.desktop.windows("^Tintwright$")
            if found:
                self.window = MainWindow(self.desktop, found[-1])
                self.desktop.wait_for_pixels(
                    lambda shot: [] if shot.pixel(*self.window.title_bar_top(self.window.width // 3))
                    == WINDOW_BACKGROUND else ["title bar not painted"], "the first paint", 30)
                self.intended_quit = False
                self.last_popup = None
                self.asking_for = None
                self.count("starts")
                return
            time.sleep(0.1)
        raise Finding("the Tintwright window did not appear within 60 s")

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process = None

    def heartbeat_age(self):
        try:
            return time.time() - os.stat(os.path.join(self.probe, "heartbeat")).st_mtime
        except OSError:
            return 0.0

    def new_stderr(self):
        try:
            with open(self.stderr_path, "rb") as f:
                f.seek(self.stderr_offset)
                data = f.read()
        except OSError:
            return ""
        self.stderr_offset += len(data)
        return data.decode("utf-8", "replace")

    def check_stderr(self):
        text = self.new_stderr()
        if not text:
            return
        reports = [line for line in text.splitlines() if any(r in line for r in REPORTS)]
        if reports:
            self.fail("sanitizer or leak report", "; ".join(reports[:3]))
        for line in text.splitlines():
            if ASSERTION in line and line not in self.notes:
                self.notes.append(line)
                self.say(f"note: {line}")

    def check_alive(self):
        """Exit, crash or hang; restarts the program when it is gone."""
        code = self.process.poll()
        if code is None and self.heartbeat_age() > HANG_SECONDS:
            # The heartbeat may only be late because the machine is busy: look again.
            time.sleep(2)
            if self.process.poll() is None and self.heartbeat_age() > HANG_SECONDS:
                self.process.send_signal(signal.SIGABRT)  # ASan prints the stack (handle_abort=1)
                try:
                    self.process.wait(timeout=20)
                except subprocess.TimeoutExpired:
                    self.process.kill()
                    self.process.wait()
                self.check_disk()
                self.new_stderr()
                self.fail("hang", f"no heartbeat for more than {HANG_SECONDS:.0f} s; its stack is in the "
                          f"program's stderr")
                self.restart()
                return
            code = self.process.poll()
        if code is None:
            if self.intended_quit and time.monotonic() > self.quit_deadline and self.popup() is None:
                self.mark_quit(False)  # the quit was called off (a save that did not happen, say)
            return
        self.check_disk()
        self.check_stderr()
        if self.intended_quit and code == 0:
            self.say(f"the program quit on purpose (start {self.generation}); restarting")
            self.count("quits")
        else:
            self.fail("exit", f"the program ended with exit code {code} (signal {-code if code < 0 else 'none'})"
                      f"{' after a quit' if self.intended_quit else ''}")
        self.restart()

    def restart(self):
        self.stop()
        self.start()
        self.snapshot = self.scan()
        self.open_something()

    def open_something(self):
        """Most runs of the program begin as a person's would: by opening a scheme."""
        if self.rng.random() < 0.2:
            return
        self.count("opens at start")
        try:
            self.file_command("open")
            window = self.desktop.wait_for_window("^" + OPEN_TITLE.replace(".", r"\.") + "$", timeout=10)
            self.chooser_type(window, os.path.join(self.scratch, self.rng.choice(scratch.GOOD)), confirm=True)
            self.settle()
        except DriveError as error:
            self.say(f"drive: {error} while opening a scheme at start")

    # Disk ---------------------------------------------------------------------

    def scan(self):
        """Real path -> bytes of every file in the scratch folder. A file is
        read again when its size, time or inode changed (a save replaces the
        file)."""
        files = {}
        for folder, _, names in os.walk(self.scratch):
            for name in names:
                path = os.path.realpath(os.path.join(folder, name))
                if path in files:
                    continue
                try:
                    st = os.stat(path)
                except OSError:
                    continue
                if not os.path.isfile(path):
                    continue
                key = (st.st_size, st.st_mtime_ns, st.st_ctime_ns, st.st_ino)
                cached = self.cache.get(path)
                if cached is None or cached[0] != key:
                    with open(path, "rb") as f:
                        cached = (key, f.read())
                    self.cache[path] = cached
                files[path] = cached[1]
        return files

    def new_saves(self):
        path = os.path.join(self.probe, "saves.log")
        try:
            with open(path, "rb") as f:
                f.seek(self.saves_offset)
                data = f.read()
        except OSError:
            return []
        end = data.rfind(b"END\n")
        if end < 0:
            return []
        data = data[:end + 4]
        self.saves_offset += len(data)
        saves = []
        for block in data.decode("utf-8").split("END\n")[:-1]:
            head, _, listing = block.partition("\n")
            _, status, target = head.split(" ", 2)
            saves.append((status == "ok", target, listing))
        return saves

    def check_disk(self):
        saves = self.new_saves()
        now = self.scan()
        # A save may still be on its way to the probe's record (big schemes
        # under the sanitizers take a while): a changed file waits for it.
        deadline = time.monotonic() + HANG_SECONDS
        while time.monotonic() < deadline and self.process is not None and self.process.poll() is None:
            targets = {os.path.realpath(target) for _, target, _ in saves}
            if all(now.get(p) == self.snapshot.get(p) for p in (set(now) | set(self.snapshot)) - targets):
                break
            time.sleep(0.25)
            saves += self.new_saves()
            now = self.scan()
        explained = set()
        last = {}
        for ok, target, listing in saves:
            self.count("saves" if ok else "failed saves")
            self.log(["save", ok, target])
            real = os.path.realpath(target)
            inside = real.startswith(os.path.realpath(self.scratch) + os.sep)
            if not inside and not real.startswith("/proc/"):
                self.fail("save outside the scratch folder", target)
            last[real] = (ok, target, listing)
        for real, (ok, target, listing) in last.items():
            explained.add(real)
            if ok:
                # The checker compares the file with the probe's listing as schemes.
                expected = os.path.join(self.out, "checked-listing.txt")
                with open(expected, "w", encoding="utf-8", newline="") as f:
                    f.write(listing)
                check = subprocess.run([self.args.checker, real, expected], capture_output=True)
                if check.returncode != 0:
                    why = {1: "does not open as a scheme",
                           3: "reads back as another scheme than the one saved ("
                              + check.stdout.decode("utf-8", "replace").strip() + ")"}
                    folder = self.fail("bad file", f"{target}: " + why.get(
                        check.returncode, "the checker failed: " + check.stderr.decode("utf-8", "replace").strip()))
                    shown = subprocess.run([self.args.checker, real], capture_output=True).stdout
                    with open(os.path.join(folder, "expected.txt"), "w", encoding="utf-8") as f:
                        f.write(listing)
                    with open(os.path.join(folder, "read-back.txt"), "wb") as f:
                        f.write(shown)
                    if real in now:
                        with open(os.path.join(folder, "saved-file"), "wb") as f:
                            f.write(now[real])
            elif self.snapshot.get(real) != now.get(real):
                self.fail("bad file", f"a failed save changed {target}")
        for real in set(now) | set(self.snapshot):
            if real not in explained and now.get(real) != self.snapshot.get(real):
                self.fail("bad file", f"{real} changed without a save" if real in self.snapshot
                          else f"{real} appeared without a save")
        self.snapshot = now

    # Windows ------------------------------------------------------------------

    def visible_windows(self):
        """(name, x, y, w, h) of the visible windows, bottom to top."""
        out = self.desktop.xdotool("search", "--onlyvisible", "--name", "", "getwindowname", "%@",
                                   "getwindowgeometry", "--shell", "%@")
        lines = out.splitlines()
        geometry_start = next((i for i, line in enumerate(lines) if line.startswith("WINDOW=")), len(lines))
        names = lines[:geometry_start]
        values = {}
        geometries = []
        for line in lines[geometry_start:]:
            key, _, value = line.partition("=")
            values[key] = value
            if key == "SCREEN":
                geometries.append((int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])))
        return [(n, *g) for n, g in zip(names, geometries)]

    def popup(self):
        """The topmost window that is not the main window, or None."""
        windows = [w for w in self.visible_windows() if w[0] != "Tintwright" and w[3] > 1 and w[4] > 1]
        # Tooltips come and go by themselves; JUCE names them like the main window's tooltip window.
        windows = [w for w in windows if w[0] not in ("", "Tooltip")]
        return windows[-1] if windows else None

    # Events -------------------------------------------------------------------

    def run(self):
        self.scratch = os.path.join(self.out, "scratch")
        self.scratch_names = scratch.reset_scratch(self.scratch)
        self.log(["scratch", self.scratch])
        self.display = Display().start()
        self.desktop = LoggingDesktop(self.display, self.log)
        try:
            self.start()
            self.snapshot = self.scan()
            if not self.args.replay:
                self.open_something()
            if self.args.replay:
                self.replay(self.args.replay)
            else:
                self.loop()
            self.finish()
        except Finding as error:
            self.fail("run", str(error))
        except DriveError as error:
            self.fail("drive", str(error))
        finally:
            self.stop()
            self.display.stop()
        return self.report()

    def loop(self):
        deadline = self.started + self.args.seconds if self.args.seconds else None
        cap = self.started + self.args.max_seconds if self.args.max_seconds else None
        popup = self.popup()
        while True:
            time_up = deadline is not None and time.monotonic() > deadline
            events_done = bool(self.args.events) and self.events >= self.args.events
            # Given both, a run lasts until it has both the time and the events.
            if (time_up and (events_done or not self.args.events)) or (events_done and deadline is None):
                break
            if cap is not None and time.monotonic() > cap:
                self.say(f"stopped at --max-seconds {self.args.max_seconds:.0f}")
                break
            self.count("cycles")
            try:
                if popup is not None:
                    self.popup_event(popup)
                else:
                    self.main_step()
            except DriveError as error:
                self.say(f"drive: {error}")  # a pop-up closed under the monkey's hands, say
            popup = self.after_event()

    def after_event(self):
        """The checks after a cycle; returns the pop-up now open, if any."""
        self.log(["checks", self.events])
        if self.args.shots:
            self.desktop.grab().save(os.path.join(self.out, f"event-{self.events:06d}.png"))
        self.check_stderr()
        self.check_disk()
        self.check_alive()
        popup = self.popup() if self.process is not None else None
        if self.last_popup is not None and popup is None and self.process.poll() is None:
            closes = self.closes.get(self.last_popup, 0) + 1
            self.closes[self.last_popup] = closes
            if (closes - 1) % self.args.stale_every == 0:
                self.stale_check(self.last_popup)
                popup = self.popup()
        self.last_popup = popup[0] if popup else None
        return popup

    def settle(self, seconds=0.4):
        """After a step that may open a window a little later (a chooser after
        a menu pick or an answer): wait for it, so that the next plain events
        never land in a window they were not meant for."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if self.popup() is not None:
                return
            time.sleep(0.05)

    def finish(self):
        """Quit at the end, so the leak checks at exit run too."""
        code = self.process.poll()  # a replay may have played the recorded run's own final quit
        try:
            for _ in range(10 if code is None else 0):
                popup = self.popup()
                if popup is None:
                    break
                self.press("Escape")
                if self.popup() == popup:
                    if popup[0] in (OPEN_TITLE, SAVE_TITLE):
                        self.click_in(popup, 0.76, 1 - 25 / popup[4])  # Cancel
                    else:
                        self.click_in(popup, 0.5, 0.85)
            if code is None:
                self.mark_quit(True)
                self.file_command("quit")
            deadline = time.monotonic() + 30
            while time.monotonic() < deadline and code is None:
                popup = self.popup()
                if popup is not None and popup[0] == QUESTION_TITLE:
                    self.answer_question(popup, "Discard changes", "quit")
                elif popup is not None and popup[0] != "menu":
                    self.click_in(popup, 0.5, self.rng.choice((0.8, 0.85, 0.9)))
                code = self.process.poll()
                time.sleep(0.2)
        except DriveError as error:
            self.say(f"drive: {error} at the final quit")
        self.check_disk()
        self.check_stderr()
        if code is None:
            self.desktop.grab().save(os.path.join(self.out, "not-quit.png"))
            if self.heartbeat_age() > HANG_SECONDS:
                # Its message loop stopped but it did not end: stuck on the way out.
                self.process.send_signal(signal.SIGABRT)  # ASan prints the stack (handle_abort=1)
                try:
                    self.process.wait(timeout=20)
                except subprocess.TimeoutExpired:
                    pass
                self.new_stderr()
                self.fail("hang", "the program stopped its heartbeat at the final quit but did not end within 30 s; "
                          "its stack is in the program's stderr")
            self.stop()
            self.say("the program did not quit at the end; stopped it")
        elif code != 0:
            self.fail("exit", f"the program ended with exit code {code} at the final quit")
        self.process = None

    # In the main window ---------------------------------------------------------

    def pick(self, weighted):
        total = sum(w for w, _ in weighted)
        r = self.rng.uniform(0, total)
        for w, action in weighted:
            r -= w
            if r <= 0:
                return action
        return weighted[-1][1]

    def main_step(self):
        """Mostly a batch of plain events in the window; now and then the File
        menu or the close button, which open windows and are waited for."""
        step = self.pick([(100, "batch"), (self.args.file_weight, "file menu"), (0.3, "close button")])
        if step == "batch":
            self.batch()
        elif step == "file menu":
            self.file_menu_event()
        else:
            self.close_button()

    def batch(self):
        """Up to --batch plain events in the main window, sent by one xdotool
        process with 10-20 ms between them."""
        args = []
        for _ in range(self.rng.randint(max(1, self.args.batch // 3), self.args.batch)):
            action = self.pick([
                (30, self.click_control), (6, self.slider_drag), (5, self.drag_colours), (5, self.random_click),
                (2, self.random_drag), (7, self.wheel), (12, self.press_key)])
            for kind, inputs in action():
                self.event(kind)
                args += inputs + ["sleep", f"{self.rng.uniform(0.01, 0.02):.3f}"]
        self.desktop.xdotool(*args)
        self.catch_up()

    def catch_up(self):
        """Waits until the program has dealt with the input sent so far: a
        repaint request that its message thread answers. Input faster than
        the program takes it (a big scheme under the sanitizers) would pile
        up in the X server and starve the heartbeat."""
        started = time.monotonic()
        token = f"sync-{self.generation}-{self.events}"
        if not self.request_repaint(token, HANG_SECONDS):
            return  # the heartbeat check decides whether it hangs
        waited = time.monotonic() - started
        self.count("catch-up waits over 1 s" if waited > 1 else "catch-up waits")
        self.counts["catch-up seconds"] = round(self.counts.get("catch-up seconds", 0) + waited, 1)

    @staticmethod
    def press_release(button):
        """A click: xdotool's own click command waits 100 ms after it."""
        return ["mousedown", button, "mouseup", button]

    def drag_inputs(self, start, end, steps):
        """Press, move in small steps (JUCE needs real motion events to start
        and follow a drag), release."""
        (x0, y0), (x1, y1) = start, end
        inputs = ["mousemove", int(x0), int(y0), "sleep", "0.008", "mousedown", 1, "sleep", "0.012"]
        for i in range(1, steps + 1):
            inputs += ["mousemove", int(x0 + (x1 - x0) * i / steps), int(y0 + (y1 - y0) * i / steps), "sleep", "0.004"]
        return inputs + ["sleep", "0.008", "mouseup", 1]

    def controls(self):
        """Screen points of the window's controls, with weights."""
        w = self.window
        rows = [w.scheme_row_name(r) for r in range(12)]
        group_rows = [w.group_stored_swatch(r) for r in range(6)] + [w.group_preview_swatch(r) for r in range(6)]
        group_names = [(x + 60, y) for x, y in (w.group_stored_swatch(r) for r in range(6))]
        panel = [w.tweak_panel(65, 240 + 10), w.tweak_panel(65, 215 + 10)]  # Apply, Reset
        panel += [w.tweak_panel(self.rng.randint(5, 125), self.rng.randint(295, 330))]  # Invert, Force hue
        sliders = [w.tweak_panel(x + 10, self.rng.randint(2, 98)) for x in (15, 60, 105)]
        sliders += [w.tweak_panel(x + 10, 105 + self.rng.randint(2, 98)) for x in (15, 60, 105)]
        sliders += [w.tweak_panel(self.rng.randint(60, 128), y + 8) for y in (261, 278)]
        groups_button = w.groups_button()
        combo = w.at(200 + 10 + self.rng.randint(10, w.group_pane_width() - 120), 10 + 13)
        return [(20, rows), (10, group_rows), (6, group_names), (12, panel), (10, sliders), (6, [groups_button]),
                (6, [combo])]

    def click_control(self):
        points = self.pick(self.controls())
        x, y = self.rng.choice(points)
        x, y = x + self.rng.randint(-3, 3), y + self.rng.randint(-3, 3)
        modifiers = self.pick([(6, ()), (2, ("ctrl",)), (2, ("shift",))])
        button = self.pick([(10, 1), (1, 3)])
        inputs = ["mousemove", x, y]
        for key in modifiers:
            inputs += ["keydown", key]
        inputs += self.press_release(button)
        for key in reversed(modifiers):
            inputs += ["keyup", key]
        events = [("click", inputs)]
        if self.rng.random() < 0.1:
            events.append(("click", self.press_release(1)))  # at once: a double click
        return events

    def slider_drag(self):
        w = self.window
        if self.rng.random() < 0.75:
            sx = self.rng.choice((15, 60, 105)) + 10
            sy = self.rng.choice((0, 105))
            start = w.tweak_panel(sx, sy + self.rng.randint(5, 95))
            end = (start[0] + self.rng.randint(-30, 30), start[1] + self.rng.randint(-150, 150))
        else:
            sy = self.rng.choice((261, 278)) + 8
            start = w.tweak_panel(self.rng.randint(60, 128), sy)
            end = (start[0] + self.rng.randint(-200, 200), start[1] + self.rng.randint(-20, 20))
        return [("slider drag", self.drag_inputs(start, self.clamp(end), self.rng.randint(2, 7)))]

    def drag_colours(self):
        w = self.window
        start = w.scheme_row_name(self.rng.randint(0, 10))
        end = w.group_list_centre() if self.rng.random() < 0.8 else self.random_point()
        return [("drag", self.drag_inputs(start, end, self.rng.randint(3, 8)))]

    def random_point(self):
        w = self.window
        return (self.rng.randint(w.content_x, w.content_x + w.content_width - 1),
                self.rng.randint(w.content_y, w.content_y + w.content_height - 1))

    def clamp(self, point):
        return (min(max(point[0], 0), self.display.width - 1), min(max(point[1], 0), self.display.height - 1))

    def random_click(self):
        return [("click", ["mousemove", *self.random_point(), *self.press_release(self.pick([(10, 1), (1, 3)]))])]

    def random_drag(self):
        return [("drag", self.drag_inputs(self.random_point(), self.random_point(), self.rng.randint(2, 10)))]

    def wheel(self):
        points = self.pick(self.controls())
        button = self.rng.choice((4, 5))
        events = [("wheel step", ["mousemove", *self.rng.choice(points), *self.press_release(button)])]
        events += [("wheel step", self.press_release(button)) for _ in range(self.rng.randint(0, 5))]
        return events

    def press_key(self):
        return [("key", ["key", "--delay", 2, self.rng.choice(KEYS)])]

    def mark_quit(self, intended):
        self.intended_quit = intended
        self.quit_deadline = time.monotonic() + 20
        self.log(["quit" if intended else "no-quit"])

    # Single inputs with waits, for pop-ups -----------------------------------------

    def tap(self, x, y, button=1, kind="click", pause=0.12):
        self.event(kind)
        self.desktop.xdotool("mousemove", int(x), int(y), "sleep", "0.04", *self.press_release(button))
        time.sleep(pause)

    def press(self, key, pause=0.12):
        self.event("key")
        self.desktop.xdotool("key", "--clearmodifiers", key)
        time.sleep(pause)

    def typed(self, text):
        self.event("typed name")
        self.desktop.xdotool("type", "--delay", 4, "--", text)  # a name may begin with "-"
        time.sleep(0.08)

    def close_button(self):
        self.asking_for = "quit"
        try:
            point = self.window.close_button(self.desktop.grab())
        except DriveError:
            return
        self.mark_quit(True)
        self.tap(*point)
        self.after_quit()

    def after_quit(self):
        """Quit or the close button: the program ends, or it asks about the
        unsaved changes, which is answered on purpose."""
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                return
            popup = self.popup()
            if popup is not None and popup[0] != "menu":
                self.popup_event(popup)
                return
            time.sleep(0.05)
        # Still running: a slow quit still counts as one when it comes.

    def answer_question(self, popup, button, about):
        """Clicks Save, Discard changes or Cancel in the unsaved-changes question."""
        self.count(f"question ({about}) answered {button}")
        self.log(["answer", about, button])
        if about == "quit":
            self.mark_quit(button != "Cancel")
        self.asking_for = None
        try:
            buttons = find_buttons(self.desktop.grab(), popup[1:])
        except DriveError:
            time.sleep(0.3)  # not painted yet
            buttons = find_buttons(self.desktop.grab(), popup[1:])
        save, discard, cancel = buttons
        self.tap(*{"Save": save, "Discard changes": discard, "Cancel": cancel}[button])
        if button != "Cancel":
            self.settle(0.6)  # a chooser for an untitled scheme, the open's chooser, or the quit

    def question_answer(self, popup):
        about = self.asking_for or "open"
        if about == "quit":
            choice = self.pick([(50, "Cancel"), (35, "Discard changes"), (15, "Save")])
        else:
            choice = self.pick([(35, "Cancel"), (45, "Discard changes"), (20, "Save")])
        self.answer_question(popup, choice, about)

    # The File menu ----------------------------------------------------------------

    def open_file_menu(self):
        w = self.window
        self.tap(w.x + BORDER + 20, w.y + BORDER + TITLE_BAR + MENU_BAR // 2, pause=0.02)
        menu = self.desktop.wait_for_menu(timeout=10)
        return self.file_menu_geometry(self.desktop.geometry(menu))

    @staticmethod
    def file_menu_geometry(geometry):
        recent = (geometry[3] - 4 - 3 * 10 - 4 * 22) // 22
        return geometry, max(0, recent)

    def is_file_menu(self, popup):
        """The File menu hangs from the menu bar; other menus (the Groups
        button's, the combo box's) open elsewhere."""
        _, x, y, w, h = popup
        return (popup[0] == "menu" and abs(x - (self.window.x + BORDER)) <= 6
                and abs(y - (self.window.y + BORDER + TITLE_BAR + MENU_BAR)) <= 6)

    def file_command(self, command, opened=None):
        geometry, recent = opened or self.open_file_menu()
        entries = file_menu_entries(recent)
        index = {"open": 0, "save": 2, "save as": 3, "quit": len(entries) - 1}.get(command)
        if command == "recent":
            if recent == 0:
                index = 0
            else:
                index = 5 + self.rng.randrange(recent)
        self.asking_for = "quit" if command == "quit" else "open" if index in (0, None) or index >= 5 else None
        mx, my, mw, _ = geometry
        y = my + menu_item_centre_y(entries, index)
        self.count("pick " + command)
        self.tap(mx + 40, y, kind="menu pick")

    def file_menu_event(self):
        command = self.pick(FILE_COMMANDS)
        self.count("menu " + command)
        if command == "dismiss":
            self.open_file_menu()
            if self.rng.random() < 0.5:
                self.press("Escape")
            else:
                self.tap(*self.random_point())
            return
        if command == "quit":
            self.mark_quit(True)
        self.file_command(command)
        if command == "quit":
            self.after_quit()
            return
        self.settle(0.6)
        if command in ("open", "save as", "recent", "save") and self.rng.random() < 0.7:
            # Mostly go on in the chooser or the question at once, as a person would.
            popup = self.popup()
            if popup is not None and popup[0] in (OPEN_TITLE, SAVE_TITLE, QUESTION_TITLE):
                self.popup_event(popup)

    # Pop-ups ----------------------------------------------------------------------

    def click_in(self, popup, fx, fy, button=1):
        _, x, y, w, h = popup
        self.tap(x + int(w * fx), y + int(h * fy), button=button)

    def popup_event(self, popup):
        name = popup[0]
        if name == "menu":
            self.count("in a menu")
            self.menu_event(popup)
        elif name in (OPEN_TITLE, SAVE_TITLE):
            self.count("in a file chooser")
            self.chooser_event(popup, typing=self.rng.random() < 0.6)
        elif name == NAME_TITLE:
            self.count("in the name window")
            self.name_window_event(popup)
        elif name == QUESTION_TITLE:
            self.count("unsaved-changes questions")
            self.question_answer(popup)
        else:
            self.count("in another question")
            self.question_event(popup)

    def menu_event(self, popup):
        _, x, y, w, h = popup
        if self.is_file_menu(popup):
            # Left open (a pick that came too soon, say): its Quit must be a
            # quit on purpose, so it is picked like any File command.
            command = self.pick(FILE_COMMANDS)
            self.count("menu " + command)
            if command == "dismiss":
                self.press("Escape")
                return
            if command == "quit":
                self.mark_quit(True)
            self.file_command(command, self.file_menu_geometry(popup[1:]))
            if command == "quit":
                self.after_quit()
            else:
                self.settle(0.6)
            return
        action = self.rng.random()
        if action < 0.55:
            # Move over it first (the hue strip and the colour selector follow
            # the pointer), then click.
            px, py = x + self.rng.randint(2, max(2, w - 3)), y + self.rng.randint(2, max(2, h - 3))
            self.desktop.xdotool("mousemove", px, py + self.rng.randint(-20, 20) if h > 60 else py)
            self.tap(px, py)
        elif action < 0.7:
            px, py = x + self.rng.randint(2, max(2, w - 3)), y + self.rng.randint(2, max(2, h - 3))
            end = self.clamp((px + self.rng.randint(-40, 40), py + self.rng.randint(-40, 40)))
            self.event("drag")
            self.desktop.xdotool(*self.drag_inputs((px, py), end, self.rng.randint(2, 6)))
            time.sleep(0.1)
        elif action < 0.85:
            self.press(self.rng.choice(["Up", "Down", "Return", "Escape", "Left", "Right", "Tab"]))
        else:
            self.tap(*self.random_point())  # outside: dismisses

    def typed_name(self, for_saving):
        choice = self.rng.random()
        if choice < 0.3:
            name = self.rng.choice(self.scratch_names)
        elif choice < 0.45 and for_saving:
            name = os.path.join(self.scratch, "saved " + str(self.rng.randint(0, 5)))
        elif choice < 0.7:
            name = os.path.join(self.scratch, self.rng.choice(self.scratch_names))
        elif choice < 0.75:
            name = os.path.join(self.scratch, "nowhere", "x.calvastrascheme")  # a folder that does not exist
        elif choice < 0.78:
            name = "/proc/tintwright-monkey.calvastrascheme"  # fails for root too
        else:
            name = "".join(self.rng.choice(RANDOM_NAME_CHARS) for _ in range(self.rng.randint(0, 12)))
        # Never leave the scratch folder: no typed way up.
        return name if ".." not in name else "dots"

    def chooser_event(self, popup, typing):
        _, x, y, w, h = popup
        if typing:
            window = self.desktop.windows("^" + popup[0].replace(".", r"\.") + "$")
            if window:
                self.chooser_type(window[-1], self.typed_name(popup[0] == SAVE_TITLE),
                                  confirm=self.rng.random() < 0.85)
            return
        action = self.rng.random()
        if action < 0.35:
            # The list of files (the middle of the dialog); a double click opens.
            self.click_in(popup, self.rng.uniform(0.1, 0.9), self.rng.uniform(0.3, 0.65))
            if self.rng.random() < 0.4:
                self.event("click")
                self.event("click")
                self.desktop.xdotool("click", "--repeat", 2, "--delay", 80, 1)
                time.sleep(0.12)
        elif action < 0.6:
            # No Tab, arrows, Home or End: in the folder box above the list they
            # move the chooser out of the scratch folder, where a save must not go.
            self.press(self.rng.choice(["Return", "Escape", "space"]))
        elif action < 0.8:
            # The buttons at the bottom right: the confirming one and Cancel.
            self.click_in(popup, self.rng.uniform(0.55, 0.97), 1 - 18 / h)
        else:
            self.press("Escape")
        self.settle(0.3)

    def chooser_type(self, window, name, confirm):
        """Types into the file name field; a full path takes two Returns, the
        first only moves the chooser to the folder."""
        try:
            field = wait_for_white_field(self.desktop, window, from_bottom=True, timeout=2)
        except DriveError:
            # A long name in the field hides its white middle: the field sits
            # 62 pixels above the dialog's bottom edge.
            x, y, w, h = self.desktop.geometry(window)
            field = (x + w // 2, y + h - 62)
        self.tap(*field, pause=0.05)
        self.press("ctrl+a", pause=0.03)
        if name:
            self.typed(name)
        if confirm:
            self.press("Return")
            if "/" in name and self.rng.random() < 0.9:
                self.press("Return")
            self.settle(0.4)  # the chooser closes; a question (replace the file?) may come

    def name_window_event(self, popup):
        action = self.rng.random()
        if action < 0.6:
            try:
                self.tap(*wait_for_white_field(self.desktop, self.desktop.windows("^Name group$")[-1],
                                               from_bottom=False, timeout=2), pause=0.05)
            except (DriveError, IndexError):
                self.click_in(popup, 0.5, 0.55)
            if self.rng.random() < 0.5:
                self.press("ctrl+a", pause=0.03)
            name = self.typed_name(False) if self.rng.random() < 0.9 else ""
            if name:
                self.typed(name)
            if self.rng.random() < 0.8:
                self.press("Return")
        elif action < 0.75:
            self.press(self.rng.choice(["Return", "Escape", "Tab", "BackSpace", "Delete"]))
        else:
            self.click_in(popup, self.rng.uniform(0.05, 0.95), self.rng.uniform(0.05, 0.95))

    def question_event(self, popup):
        action = self.rng.random()
        if action < 0.4:
            self.press(self.rng.choice(["Return", "Escape", "Tab", "space"]))
        else:
            # Buttons sit in the bottom band of a JUCE alert window.
            self.click_in(popup, self.rng.uniform(0.1, 0.9), self.rng.uniform(0.75, 0.95))
        self.settle(0.3)

    # Stale screen -----------------------------------------------------------------

    def window_region(self, shot):
        w = self.window
        return [shot.raw[(row * shot.width + w.x) * 3:(row * shot.width + w.x + w.width) * 3]
                for row in range(w.y, w.y + w.height)]

    def differing(self, a, b):
        """Pixels of the window that differ clearly between two shots (partial
        repaints shade the sliders' drop shadow a little differently)."""
        count = 0
        box = None
        for row, (ra, rb) in enumerate(zip(self.window_region(a), self.window_region(b))):
            if ra == rb:
                continue
            for i in range(0, len(ra), 3):
                if max(abs(ra[i] - rb[i]), abs(ra[i + 1] - rb[i + 1]), abs(ra[i + 2] - rb[i + 2])) > 48:
                    count += 1
                    x = i // 3
                    box = (x, row, x, row) if box is None else (min(box[0], x), min(box[1], row),
                                                                max(box[2], x), max(box[3], row))
        return count, box

    def fresh_repaint(self):
        if self.request_repaint(f"{self.generation}-{self.events}", 5):
            time.sleep(0.1)
            return True
        return False

    def request_repaint(self, token, timeout):
        done = os.path.join(self.probe, "repaint-done")
        request = os.path.join(self.probe, "repaint-request")
        with open(request + ".tmp", "w") as f:
            f.write(token)
        os.replace(request + ".tmp", request)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                with open(done) as f:
                    if f.read() == token:
                        return True
            except OSError:
                pass
            time.sleep(0.01)
        return False

    def poke(self):
        """Changes a property of the main window that the program ignores: the
        X server then sends it an event, which wakes the framework's event
        loop, and nothing else happens."""
        subprocess.run(["xprop", "-display", self.display.name, "-id", str(self.window.window), "-f",
                        "_TINTWRIGHT_MONKEY_POKE", "8s", "-set", "_TINTWRIGHT_MONKEY_POKE", str(self.events)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.3)

    def stale_check(self, closed):
        """The window 200 ms after a pop-up closed against a fresh repaint of
        it. On a difference: still different 1.5 s later is a stale screen;
        when an X event that should change nothing (poke) then repaints it,
        the program had the repaint pending but the framework's event loop
        was not woken: the cause lies outside the program."""
        if self.args.no_stale_check:
            return
        time.sleep(0.2)
        shown = self.desktop.grab()
        time.sleep(1.3)
        later = self.desktop.grab()
        if self.popup() is not None:
            return  # something opened meanwhile
        self.poke()
        poked = self.desktop.grab()
        if not self.fresh_repaint():
            return
        fresh = self.desktop.grab()
        self.count("stale checks")
        count, box = self.differing(shown, fresh)
        if count < 40:
            return
        if self.differing(fresh, self.desktop.grab())[0] >= 40:
            return  # the screen changes by itself (a tooltip, say): no verdict
        if self.differing(later, fresh)[0] < 40:
            self.count("late repaints")
            self.log(["late repaint", closed, count, box])
            return
        framework = self.differing(poked, fresh)[0] < 40
        kind = "stale screens (framework)" if framework else "stale screens (program)"
        self.count(kind)
        number = self.counts.get("stale screens (framework)", 0) + self.counts.get("stale screens (program)", 0)
        if number <= 20:
            folder = os.path.join(self.out, "stale")
            os.makedirs(folder, exist_ok=True)
            w = self.window
            shown.save(os.path.join(folder, f"{number:02d}-shown.png"), crop=(w.x, w.y, w.width, w.height))
            fresh.save(os.path.join(folder, f"{number:02d}-repainted.png"), crop=(w.x, w.y, w.width, w.height))
        text = (f"after the {closed!r} pop-up closed, {count} pixels of the window in {box} (window coordinates) "
                f"differed from a fresh repaint 200 ms and 1.5 s later; "
                + ("an X event that changes nothing repainted them: the framework had not processed the "
                   "expose event" if framework else "even an X event did not repaint them"))
        self.log(["stale", closed, count, box, "framework" if framework else "program"])
        if self.args.stale_fails:
            self.fail("stale screen", text)
        elif number <= 5 or not framework:
            self.say("stale screen (reported, not failed): " + text)

    # Replay -----------------------------------------------------------------------

    def replay(self, path):
        with open(path, encoding="utf-8") as f:
            entries = [json.loads(line) for line in f]
        previous = None
        recorded_scratch = None
        # Logs from before the batches have no "checks": they were checked after each event.
        checked_per_event = not any(entry[1] == "checks" for entry in entries)
        for entry in entries:
            stamp, kind, *rest = entry
            if kind == "scratch":
                recorded_scratch = rest[0]
            elif kind == "x":
                if recorded_scratch and rest[0] == "type":
                    # Typed paths into the recorded run's scratch folder go to this run's.
                    rest = [a.replace(recorded_scratch, self.scratch) for a in rest]
                if previous is not None:
                    time.sleep(min(max(stamp - previous, 0), 2.0))
                previous = stamp
                self.desktop.xdotool(*rest)
            elif kind == "event":
                self.events += 1
                if checked_per_event:
                    self.after_event()
            elif kind == "checks":
                self.after_event()
            elif kind in ("quit", "no-quit"):
                self.intended_quit = kind == "quit"
            if self.process is None:
                break

    # Report -----------------------------------------------------------------------

    def report(self):
        seconds = time.monotonic() - self.started
        c = self.counts
        questions = {k[len("question "):]: v for k, v in sorted(c.items()) if k.startswith("question (")}
        kinds = {k[len("event "):]: v for k, v in sorted(c.items()) if k.startswith("event ")}
        self.say(f"seed {self.args.seed}: {self.events} events in {seconds:.0f} s "
                 f"({self.events / max(seconds, 1):.2f}/s) in {c.get('cycles', 0)} cycles; events by kind: "
                 + ", ".join(f"{v} {k}" for k, v in kinds.items()))
        self.say(f"{c.get('saves', 0)} saves (the probe records those that succeed), "
                 f"{c.get('pick open', 0)} Open and {c.get('pick recent', 0)} recent-file picks "
                 f"({c.get('opens at start', 0)} of the Open picks at a start), {c.get('quits', 0)} quits on purpose, "
                 f"{c.get('starts', 1) - 1} restarts; unsaved-changes questions answered: "
                 + (", ".join(f"{k} {v}" for k, v in questions.items()) or "none"))
        self.say(f"{c.get('stale screens (framework)', 0)} + {c.get('stale screens (program)', 0)} "
                 f"stale screens (framework + program) and {c.get('late repaints', 0)} late repaints "
                 f"in {c.get('stale checks', 0)} stale-screen checks (the first and every "
                 f"{self.args.stale_every}th close of each kind of pop-up; closes seen: "
                 + ", ".join(f"{v} {k!r}" for k, v in sorted(self.closes.items())) + "), "
                 f"{len(self.notes)} distinct JUCE assertions")
        with open(os.path.join(self.out, "summary.json"), "w") as f:
            json.dump({"seed": self.args.seed, "events": self.events, "seconds": seconds, "counts": self.counts,
                       "closes": self.closes, "stale_every": self.args.stale_every,
                       "failures": self.failures, "assertions": self.notes}, f, indent=1)
        if self.failures:
            self.say(f"{len(self.failures)} failure(s); logs in {self.out}:")
            for f in self.failures:
                self.say("  " + f)
            return 1
        self.say(f"passed; logs in {self.out}")
        return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", required=True, help="the Tintwright program (the sanitizer build)")
    parser.add_argument("--checker", required=True, help="tintwright_scheme_check")
    parser.add_argument("--out", required=True, help="folder for the logs, screenshots and the scratch folder")
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--seconds", type=float, default=0)
    parser.add_argument("--events", type=int, default=0,
                        help="with --seconds: the run lasts until it has both the time and the events")
    parser.add_argument("--max-seconds", type=float, default=0, help="ends the run anyway after this long")
    parser.add_argument("--replay", help="an events.jsonl of an earlier run to play again")
    parser.add_argument("--stale-fails", action="store_true", help="a stale screen fails the run")
    parser.add_argument("--no-stale-check", action="store_true")
    parser.add_argument("--stale-every", type=int, default=20,
                        help="check the screen after the first and every Nth close of each kind of pop-up")
    parser.add_argument("--batch", type=int, default=120, help="most plain events sent in one go")
    parser.add_argument("--file-weight", type=float, default=7,
                        help="weight of a File menu step against 100 for a batch of plain events")
    parser.add_argument("--shots", action="store_true", help="a screenshot after every event (slow)")
    args = parser.parse_args()
    if args.seed is None:
        args.seed = random.SystemRandom().randrange(1, 2 ** 31)
    if not args.seconds and not args.events and not args.replay:
        args.seconds = 60
    args.app, args.checker, args.out = (os.path.abspath(p) for p in (args.app, args.checker, args.out))
    os.makedirs(args.out, exist_ok=True)
    need_tools("Xvfb", "xdpyinfo", "xdotool", "import", "convert")
    print(f"[monkey] seed {args.seed}" + (f", {args.seconds:.0f} s" if args.seconds else "")
          + (f", {args.events} events" if args.events else "") + (f", replaying {args.replay}" if args.replay else ""),
          flush=True)
    return Monkey(args).run()


if __name__ == "__main__":
    sys.exit(main())
