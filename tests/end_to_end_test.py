#!/usr/bin/python3
"""The real program, driven from outside as a user drives it.

    end_to_end_test.py PROGRAM [unittest arguments]

The tests that need a desktop expect what tests/end_to_end_test.sh provides:
an X server with a window manager, and a D-Bus session with the accessibility
bus (AT-SPI), over which they read the window as a screen reader does. Keys
and clicks are real X input events (xdotool), and the window is closed through
the window manager (wmctrl). WaylandTest expects the Wayland compositor of
end_to_end_test.sh --wayland instead of the window manager. NoDisplayTest
needs none of this.
"""

import os
import subprocess
import sys
import tempfile
import time
import unittest

CAPTION = "Korvantelo berechnen"
WIDTH, HEIGHT = 559, 304
MESSAGE_TITLE = "Fehler!"
MESSAGE_TEXT = "Eingabefehler!"

# Bounds on waiting; a healthy run needs a small part of each.
START_TIMEOUT = 20.0   # from start to the window readable over AT-SPI
CHANGE_TIMEOUT = 5.0   # from an input event to its effect
EXIT_TIMEOUT = 1.0     # from the close request to the end of the process
COMMAND_TIMEOUT = 10.0


def wait_for(what, probe, timeout=CHANGE_TIMEOUT):
    """Polls probe() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"gave up waiting for {what} after {timeout} s")
        time.sleep(0.05)


def command(*args, check=True):
    done = subprocess.run(args, capture_output=True, text=True, timeout=COMMAND_TIMEOUT)
    if check and done.returncode != 0:
        raise AssertionError(f"{' '.join(args)} failed: {done.stderr.strip()}")
    return done


class Program:
    """One run of the program, its output kept in files so it never blocks."""

    def __init__(self, path, args=(), env=None):
        self.stdout = tempfile.TemporaryFile()
        self.stderr = tempfile.TemporaryFile()
        self.process = subprocess.Popen([path, *args], stdin=subprocess.DEVNULL,
                                        stdout=self.stdout, stderr=self.stderr, env=env)
        self.pid = self.process.pid

    def running(self):
        return self.process.poll() is None

    def output(self):
        def read(file):
            file.seek(0)
            return file.read().decode("utf-8", errors="replace")
        return read(self.stdout), read(self.stderr)

    def stop(self):
        if self.running():
            self.process.kill()
        self.process.wait()
        self.stdout.close()
        self.stderr.close()


# --- The X side: windows, input events, the window manager -----------------

def windows_of(program, title):
    """The ids of the program's mapped windows with exactly this title."""
    done = command("xdotool", "search", "--all", "--onlyvisible", "--pid", str(program.pid),
                   "--name", f"^{title}$", check=False)
    return [int(line) for line in done.stdout.split()]


def window_of(program, title=CAPTION):
    windows = wait_for(f"a mapped window '{title}'", lambda: windows_of(program, title),
                       START_TIMEOUT)
    if len(windows) != 1:
        raise AssertionError(f"{len(windows)} windows '{title}'")
    return windows[0]


def window_info(window):
    """xwininfo's facts about a window: its width, height, map state."""
    info = {}
    for line in command("xwininfo", "-id", str(window)).stdout.splitlines():
        key, _, value = line.strip().partition(": ")
        info[key] = value
    return info


def focused_window():
    return int(command("xdotool", "getwindowfocus").stdout)


def click(rect):
    x, y = rect.x + rect.width // 2, rect.y + rect.height // 2
    command("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")


def key(*names):
    command("xdotool", "key", "--clearmodifiers", *names)


def request_close(window):
    """Asks the window manager to close the window, as its close button does."""
    command("wmctrl", "-i", "-c", hex(window))


# --- The accessibility side ---------------------------------------------------

class Accessible:
    """The program's window as AT-SPI shows it to a screen reader."""

    def __init__(self, program):
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        self.atspi = Atspi
        self.program = program
        self.application = wait_for("the program on the accessibility bus", self._find_application,
                                    START_TIMEOUT)

    def _find_application(self):
        desktop = self.atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            application = desktop.get_child_at_index(i)
            if application is not None and application.get_process_id() == self.program.pid:
                return application
        return None

    def _fresh(self):
        # Names and states come from the program, not from an old answer.
        self.application.clear_cache()
        return self.application

    def top_levels(self):
        application = self._fresh()
        return [application.get_child_at_index(i) for i in range(application.get_child_count())]

    def window(self):
        return wait_for(f"the window '{CAPTION}' over AT-SPI", lambda: next(
            (w for w in self.top_levels() if w.get_name() == CAPTION), None), START_TIMEOUT)

    def controls(self):
        """Everything in the window, inside the groups of its boxes too."""
        found, pending = [], [self.window()]
        while pending:
            accessible = pending.pop()
            children = [accessible.get_child_at_index(i) for i in range(accessible.get_child_count())]
            found += children
            pending += children
        return found

    def text_box(self, name):
        boxes = [c for c in self.controls()
                 if c.get_role() == self.atspi.Role.TEXT and c.get_name() == name]
        if len(boxes) != 1:
            raise AssertionError(f"{len(boxes)} text boxes named '{name}'")
        return boxes[0]

    def ratio(self):
        """The text of the label described as the transformer ratio."""
        labels = [c for c in self.controls()
                  if c.get_role() == self.atspi.Role.LABEL
                  and c.get_description() == "Wandlerverhältnis"]
        if len(labels) != 1:
            raise AssertionError(f"{len(labels)} ratio labels")
        return labels[0].get_name()

    def text(self, box):
        return self.atspi.Text.get_text(box, 0, -1)

    def focused(self, box):
        return box.get_state_set().contains(self.atspi.StateType.FOCUSED)

    def screen_rect(self, control):
        return control.get_extents(self.atspi.CoordType.SCREEN)

    def texts_of(self, accessible):
        """The names of an accessible and everything inside it."""
        names = [accessible.get_name()]
        for i in range(accessible.get_child_count()):
            names += self.texts_of(accessible.get_child_at_index(i))
        return names


class DesktopTest(unittest.TestCase):
    """Starts the program on the test desktop and ends it after each test."""

    program_path = None

    def start(self, *args):
        program = Program(self.program_path, args)
        self.addCleanup(program.stop)
        return program

    def assert_ends_on_close(self, program, window):
        """Closes through the window manager; the process must end at once and
        show nothing more before it does."""
        requested = time.monotonic()
        request_close(window)
        while program.running() and time.monotonic() - requested < EXIT_TIMEOUT:
            self.assertEqual(windows_of(program, MESSAGE_TITLE), [], "a message box opened")
            time.sleep(0.02)
        self.assertFalse(program.running(), f"still running {EXIT_TIMEOUT} s after the close request")
        self.assertEqual(program.process.returncode, 0)

    def assert_starting_state(self, program):
        """The window as it first shows: mapped, its size, ratio 1, focus in Impulse."""
        window = window_of(program)
        info = window_info(window)
        self.assertEqual(info["Map State"], "IsViewable")
        self.assertEqual((int(info["Width"]), int(info["Height"])), (WIDTH, HEIGHT))
        accessible = Accessible(program)
        self.assertEqual(accessible.ratio(), "1")
        impulse = accessible.text_box("Impulse")
        wait_for("the focus in 'Impulse'", lambda: accessible.focused(impulse))
        self.assertEqual(focused_window(), window)
        return window, accessible


class WindowTest(DesktopTest):
    def test_typed_primary_current_updates_the_ratio_at_each_key_and_close_ends_the_program(self):
        program = self.start()
        window, accessible = self.assert_starting_state(program)

        current = accessible.text_box("Stromwandler primär in A")
        self.assertEqual(accessible.text(current), "5")
        click(accessible.screen_rect(current))
        wait_for("the focus in 'Stromwandler'", lambda: accessible.focused(current))
        self.assertFalse(accessible.focused(accessible.text_box("Impulse")))

        key("ctrl+a")
        # Ratio = primary current / 5 A, shown after every key.
        for typed, ratio in (("4", "0,8"), ("0", "8"), ("0", "80")):
            key(typed)
            wait_for(f"the ratio {ratio}", lambda: accessible.ratio() == ratio)
        self.assertEqual(accessible.text(current), "400")

        self.assert_ends_on_close(program, window)
        self.assertEqual(program.output(), ("", ""))


class ArgumentsTest(DesktopTest):
    def test_arguments_change_nothing(self):
        program = self.start("-reverse", "-style", "fusion", "--version", "somefile.txt")
        window, accessible = self.assert_starting_state(program)

        # Left to right, whatever -reverse asks for.
        impulse = accessible.screen_rect(accessible.text_box("Impulse"))
        energy = accessible.screen_rect(accessible.text_box("Energie in Wh"))
        self.assertLess(impulse.x + impulse.width, energy.x)
        self.assertEqual(impulse.y, energy.y)

        self.assert_ends_on_close(program, window)
        self.assertEqual(program.output(), ("", ""), "no version, no complaint about the file")


class InputErrorTest(DesktopTest):
    def test_close_after_an_input_error_ends_the_program_at_once(self):
        program = self.start()
        window, accessible = self.assert_starting_state(program)

        energy = accessible.text_box("Energie in Wh")
        click(accessible.screen_rect(energy))
        wait_for("the focus in 'Energie in Wh'", lambda: accessible.focused(energy))
        key("ctrl+a")
        key("x")

        box = window_of(program, MESSAGE_TITLE)
        message = wait_for("the message over AT-SPI", lambda: next(
            (w for w in accessible.top_levels() if w.get_name() == MESSAGE_TITLE), None))
        self.assertIn(MESSAGE_TEXT, accessible.texts_of(message))
        wait_for("the focus in the message box", lambda: focused_window() == box)
        key("Return")
        wait_for("the message box to close", lambda: not windows_of(program, MESSAGE_TITLE))

        self.assertTrue(program.running())
        self.assertEqual(accessible.text(accessible.text_box("Energie in Wh")), "x")
        self.assert_ends_on_close(program, window)


class WaylandTest(DesktopTest):
    def test_runs_as_a_wayland_client_with_its_title_and_size_and_follows_typing(self):
        self.assertIn("WAYLAND_DISPLAY", os.environ, "needs end_to_end_test.sh --wayland")
        # No X display at all: the window can only be a Wayland one.
        env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        env["QT_QPA_PLATFORM"] = "wayland"
        # The compositor's window on the X server takes the keys and hands them
        # on to the window it has given the keyboard focus. It takes the X
        # focus before the program starts: focused later, under load, weston
        # now and then took the keyboard focus from the program for good.
        compositor = wait_for("weston's window", lambda: command(
            "xdotool", "search", "--class", "weston", check=False).stdout.split(), START_TIMEOUT)
        self.assertEqual(len(compositor), 1, "one weston window")
        command("xdotool", "windowfocus", "--sync", compositor[0])
        program = Program(self.program_path, env=env)
        self.addCleanup(program.stop)
        accessible = Accessible(program)
        window = accessible.window()
        extents = window.get_extents(accessible.atspi.CoordType.SCREEN)
        self.assertEqual((extents.width, extents.height), (WIDTH, HEIGHT))
        self.assertEqual(accessible.ratio(), "1")
        impulse = accessible.text_box("Impulse")
        wait_for("the focus in 'Impulse'", lambda: accessible.focused(impulse))

        current = accessible.text_box("Stromwandler primär in A")
        key("Tab")
        wait_for("the focus in 'Stromwandler'", lambda: accessible.focused(current))
        key("ctrl+a")
        for typed, ratio in (("4", "0,8"), ("0", "8"), ("0", "80")):
            key(typed)
            wait_for(f"the ratio {ratio}", lambda: accessible.ratio() == ratio)
        self.assertEqual(accessible.text(current), "400")
        self.assertTrue(program.running(), program.output())


class NoDisplayTest(unittest.TestCase):
    def test_without_a_display_a_german_line_qts_reason_and_failure(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        done = subprocess.run([DesktopTest.program_path], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=COMMAND_TIMEOUT)
        self.assertNotEqual(done.returncode, 0)
        self.assertEqual(done.stdout, "")
        # One German line, then Qt's own reason (here: no display to connect to).
        lines = done.stderr.splitlines(keepends=True)
        self.assertEqual(len(lines), 2, done.stderr)
        self.assertEqual(lines[0], "korvantelo: kann keine Anzeige öffnen\n")
        self.assertTrue(lines[1].startswith("korvantelo: ") and "display" in lines[1], lines[1])


def main():
    if len(sys.argv) < 2:
        sys.exit(f"usage: {sys.argv[0]} PROGRAM [unittest arguments]")
    DesktopTest.program_path = os.path.abspath(sys.argv[1])
    unittest.main(argv=[sys.argv[0], *sys.argv[2:]], verbosity=2)


if __name__ == "__main__":
    main()
