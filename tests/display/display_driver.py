"""Drives Windows programs on the display tests' X server as a person would, and reads the screen back.

Input goes through the X test extension (xdotool), so Wine receives the same events as from a real mouse and
keyboard. Window positions come from window_probe.exe; the screen is read with xwd.
"""

import os
import shlex
import struct
import subprocess
import tempfile
import time


class Failure(Exception):
    """A check failed; the message says what was seen."""


def session_environment(session_script):
    """The environment of the display session (DISPLAY, WINEPREFIX, ...), which must already run."""
    result = subprocess.run([session_script, "env"], capture_output=True, text=True)
    if result.returncode != 0:
        raise Failure("no display session: " + result.stderr.strip())
    environment = dict(os.environ)
    for word in shlex.split(result.stdout.replace("export ", "", 1)):
        name, _, value = word.partition("=")
        environment[name] = value
    return environment


class Screenshot:
    """The X root window's pixels, as 8-bit red, green, blue."""

    def __init__(self, data):
        header = struct.unpack(">25I", data[:100])
        header_size, width, height = header[0], header[4], header[5]
        bits_per_pixel, bytes_per_line = header[11], header[12]
        masks = header[14:17]
        colours = header[19]
        if bits_per_pixel not in (24, 32):
            raise Failure(f"unexpected screen format: {bits_per_pixel} bits a pixel")
        self.bytes_per_pixel = bits_per_pixel // 8
        self.width, self.height = width, height
        self.little_endian = header[7] == 0
        self.shifts = [(mask & -mask).bit_length() - 1 for mask in masks]
        self.masks = masks
        self.stride = bytes_per_line
        self.pixels = data[header_size + 12 * colours:]

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise Failure(f"({x}, {y}) is off the screen")
        offset = y * self.stride + self.bytes_per_pixel * x
        order = "little" if self.little_endian else "big"
        value = int.from_bytes(self.pixels[offset:offset + self.bytes_per_pixel], order)
        return tuple((value & mask) >> shift for mask, shift in zip(self.masks, self.shifts))

    def distinct_colours(self, rect, step=2):
        left, top, right, bottom = rect
        return {self.pixel(x, y) for y in range(top, bottom, step) for x in range(left, right, step)}


class Control:
    """One window as window_probe.exe reports it; rect is in screen (X root) coordinates."""

    def __init__(self, line, dialog):
        fields = line.split(" ", 8)
        self.depth, self.id = int(fields[0]), int(fields[1])
        self.class_name = fields[2]
        self.rect = tuple(int(v) for v in fields[3:7])
        self.visible = fields[7] == "1"
        self.text = fields[8] if len(fields) > 8 else ""
        self.dialog = dialog  # index of the dialog (rollout) the control sits in

    @property
    def centre(self):
        left, top, right, bottom = self.rect
        return (left + right) // 2, (top + bottom) // 2

    def __repr__(self):
        return f"<{self.class_name} {self.id} {self.rect} '{self.text}'>"


class Display:
    def __init__(self, session_script, probe):
        self.environment = session_environment(session_script)
        self.probe_exe = probe

    def wine(self, *arguments, **options):
        return subprocess.Popen(["wine", *arguments], env=self.environment, **options)

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *[str(a) for a in arguments]], env=self.environment, check=True,
                       capture_output=True)

    def screenshot(self):
        # xwd gives up now and then when a window goes away while it reads the screen; it reads again.
        for _ in range(5):
            result = subprocess.run(["xwd", "-root", "-silent"], env=self.environment, capture_output=True)
            if result.returncode == 0:
                return Screenshot(result.stdout)
            time.sleep(0.1)
        raise Failure("xwd could not read the screen: " + result.stderr.decode(errors="replace").strip())

    def run_wine(self, *arguments, timeout=60):
        """Runs a Windows program to its end; its exit status and standard output.

        The output goes through a file, not a pipe: should the program boot Wine's session processes, they
        inherit its output and keep a pipe open long after the program has ended.
        """
        with tempfile.TemporaryFile() as output:
            process = subprocess.Popen(["wine", *arguments], env=self.environment, stdout=output,
                                       stderr=subprocess.DEVNULL)
            try:
                status = process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
                raise Failure(f"{arguments} did not end within {timeout} s")
            output.seek(0)
            return status, output.read().decode("utf-8", "replace")

    def windows(self, title):
        """The top-level window whose title contains `title` and its descendants; empty when none shows."""
        status, text = self.run_wine(self.probe_exe, title)
        if status != 0:
            return []
        controls, dialog = [], -1
        for line in text.splitlines():
            control = Control(line, dialog)
            if control.class_name == "#32770":
                dialog += 1
                control.dialog = dialog
            controls.append(control)
        return controls

    def wait_for_window(self, title, timeout=30):
        return self.wait(lambda: self.windows(title) or None, timeout, f"no window titled '{title}' appeared")

    def wait_until_gone(self, title, timeout=30):
        self.wait(lambda: not self.windows(title), timeout, f"the window '{title}' stayed open")

    @staticmethod
    def wait(condition, timeout, message):
        """Polls `condition` until it gives a true value and returns that; fails after `timeout` seconds
        with `message` (a text, or a function giving one, called at the failure)."""
        deadline = time.monotonic() + timeout
        last = None
        while True:
            try:
                value = condition()
                if value:
                    return value
            except Failure as failure:
                last = failure
            if time.monotonic() > deadline:
                text = message() if callable(message) else message
                raise Failure(text + (f" ({last})" if last else ""))
            time.sleep(0.1)

    # Real input: the pointer moves to the point first, as a hand would move the mouse.
    def click(self, x, y, button=1):
        self.xdotool("mousemove", "--sync", x, y)
        self.xdotool("click", button)

    def drag(self, start, end, steps=6):
        self.xdotool("mousemove", "--sync", *start)
        self.xdotool("mousedown", 1)
        for step in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * step // steps
            y = start[1] + (end[1] - start[1]) * step // steps
            self.xdotool("mousemove", "--sync", x, y)
            time.sleep(0.05)
        self.xdotool("mouseup", 1)

    def type_text(self, text):
        self.xdotool("type", "--delay", 20, text)

    def key(self, *keys):
        self.xdotool("key", *keys)
