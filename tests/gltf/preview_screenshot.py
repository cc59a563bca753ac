#!/usr/bin/env python3
"""Opens an export's preview page in headless Chromium, from the file system and with the network off, waits
until the page says it has drawn the model, and counts how many of the colours the page lists appear on the
screenshot. Fails unless at least MIN_COLOURS of them do.

    preview_screenshot.py PAGE.html MIN_COLOURS [SCREENSHOT.png]
"""
import base64
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zlib


def decode_png(data):
    """The pixels of an 8-bit RGB or RGBA PNG without interlacing, as (width, height, channels, rows)."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    at, idat, width = 8, b"", 0
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = int.from_bytes(body[:4], "big"), int.from_bytes(body[4:8], "big"), body[8], body[9]
            assert depth == 8 and colour in (2, 6) and body[12] == 0, "unexpected PNG kind"
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    raw, stride, rows, previous = zlib.decompress(idat), width * channels, [], bytearray(width * channels)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, channels, rows


class Browser:
    """Chromium driven over its DevTools pipe (file descriptors 3 and 4, messages ending in NUL)."""

    def __init__(self, profile):
        chromium = shutil.which("chromium") or shutil.which("chromium-browser")
        if chromium is None:
            sys.exit("chromium is not installed (Debian package chromium)")
        commands_read, self.commands = os.pipe()
        self.replies, replies_write = os.pipe()
        flags = ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--ignore-gpu-blocklist",
                 "--remote-debugging-pipe", "--user-data-dir=" + profile, "--window-size=800,600",
                 "--host-resolver-rules=MAP * ~NOTFOUND", "--proxy-server=127.0.0.1:9", "--no-first-run",
                 "--allow-file-access-from-files"]
        if os.geteuid() == 0:
            flags.append("--no-sandbox")

        def onto_three_and_four():
            # Through numbers above both, so that neither end is overwritten on the way; the pipes' own
            # descriptors close on exec, as Python opens them.
            os.dup2(commands_read, 100, inheritable=False)
            os.dup2(replies_write, 101, inheritable=False)
            os.dup2(100, 3)
            os.dup2(101, 4)

        self.process = subprocess.Popen([chromium] + flags + ["about:blank"], close_fds=False,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        preexec_fn=onto_three_and_four)
        os.close(commands_read)
        os.close(replies_write)
        self.next_id, self.buffer = 0, b""

    def call(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self.buffer:
                chunk = os.read(self.replies, 1 << 20)
                if not chunk:
                    sys.exit("chromium closed its DevTools pipe")
                self.buffer += chunk
            text, self.buffer = self.buffer.split(b"\0", 1)
            reply = json.loads(text)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    sys.exit(f"{method}: {reply['error']}")
                return reply["result"]

    def close(self):
        try:
            self.call("Browser.close")
        finally:
            self.process.wait(timeout=30)


def main():
    page, least = os.path.abspath(sys.argv[1]), int(sys.argv[2])
    html = open(page, encoding="utf-8").read()
    swatches = [tuple(int(h[i:i + 2], 16) for i in (0, 2, 4)) for h in re.findall(r'class="swatch"><span style="background:#([0-9a-f]{6})', html)]
    with tempfile.TemporaryDirectory(prefix="chromasift-preview-") as profile:
        browser = Browser(profile)
        try:
            target = browser.call("Target.createTarget", url="file://" + page)["targetId"]
            session = browser.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
            title, deadline = "", time.monotonic() + 120
            while "(drawn)" not in title and "(failed)" not in title and time.monotonic() < deadline:
                time.sleep(0.2)
                title = browser.call("Runtime.evaluate", session, expression="document.title")["result"].get("value", "")
            if "(drawn)" not in title:
                sys.exit(f"the page did not draw the model: its title says '{title}'")
            shot = base64.b64decode(browser.call("Page.captureScreenshot", session, format="png")["data"])
        finally:
            browser.close()
    if len(sys.argv) > 3:
        open(sys.argv[3], "wb").write(shot)
    width, height, channels, rows = decode_png(shot)
    # The model's area: the page's left part, without the palette column.
    seen = {}
    for row in rows:
        for x in range(0, (width - 200) * channels, channels):
            pixel = row[x:x + 3]
            seen[pixel] = seen.get(pixel, 0) + 1
    shown = []
    for swatch in swatches:
        near = sum(n for p, n in seen.items() if max(abs(p[i] - swatch[i]) for i in range(3)) <= 4)
        if near >= 50:
            shown.append("#%02x%02x%02x" % swatch)
    print(f"{len(shown)} of the page's {len(swatches)} colours on the model: {' '.join(shown)}")
    sys.exit(0 if len(shown) >= least else 1)


if __name__ == "__main__":
    main()
