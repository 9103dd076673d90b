#!/usr/bin/env python3
"""The real game on a 1920 x 1080 X screen (an Xvfb server of its own): it
opens at 4x, every screen pixel shows as a 4 x 4 block, F11 fills the screen
with the picture centred between black bars and comes back, a resized window
keeps the picture whole-number scaled and centred, and in a game played
through that window the clicks mark the portraits under the pointer: a decoy
and the three of a kind, the turn ending only once the decoy is unmarked. Window pictures are read back with xwd; keys, clicks
and resizing come from xdotool, as a player's would.

Usage: scaled_window_xvfb.py BUILD_DIR. Exit code 77 when Xvfb, xdotool or
xwd are missing (CTest counts it as skipped)."""

import math
import os
import shutil
import signal
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "examples"))
from check_examples import read_png  # noqa: E402  (the examples' PNG reader)

SCREEN_W, SCREEN_H = 320, 240


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def wait_for(what, predicate, seconds=60.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    fail("timed out waiting for " + what)


class Display:
    def __init__(self):
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24",
             "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                fail("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.env = dict(os.environ, DISPLAY=":" + number.decode().strip())
        self.env.pop("SDL_VIDEODRIVER", None)
        self.env["SDL_AUDIODRIVER"] = "dummy"
        # A window manager, as on a desktop: full screen is its to grant.
        self.manager = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        time.sleep(1.0)

    def run(self, *args):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True).stdout

    def find(self, name, classname=None):
        """Windows of that name (and class), however deep the manager put them."""
        found = []
        for line in self.run("xwininfo", "-root", "-tree").splitlines():
            line = line.strip()
            if not line.startswith("0x") or ('"%s"' % name) not in line:
                continue
            if classname and ('"%s")' % classname) not in line:
                continue
            found.append(int(line.split()[0], 16))
        return found

    def geometry(self, wid):
        info = self.run("xwininfo", "-id", str(wid))
        values = {}
        for line in info.splitlines():
            if ":" in line:
                key, _, value = line.strip().partition(":")
                values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def picture(self, wid=None):
        """The window's (or the whole screen's) pixels as rows of 0xRRGGBB."""
        target = ["-root"] if wid is None else ["-id", str(wid)]
        data = subprocess.run(["xwd", "-silent"] + target, env=self.env,
                              capture_output=True).stdout
        fields = struct.unpack(">25I", data[:100])
        header_size, width, height = fields[0], fields[4], fields[5]
        byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
        colours = fields[19]
        if bits_per_pixel != 32:
            fail("xwd gave %d bits per pixel" % bits_per_pixel)
        start = header_size + 12 * colours
        fmt = "<" if byte_order == 0 else ">"
        rows = []
        for y in range(height):
            line = data[start + y * bytes_per_line:start + y * bytes_per_line + 4 * width]
            rows.append([p & 0xFFFFFF for p in struct.unpack(fmt + "%dI" % width, line)])
        return rows

    def close(self):
        self.manager.terminate()
        self.manager.wait()
        self.server.terminate()
        self.server.wait()


def check_scaled(rows, scale, left, top, what):
    """The picture is black outside the scaled screen, every block inside is
    one colour; returns the screen picture the blocks show."""
    height, width = len(rows), len(rows[0])
    for y in range(height):
        for x in range(width):
            inside = left <= x < left + SCREEN_W * scale and top <= y < top + SCREEN_H * scale
            if not inside and rows[y][x] != 0:
                fail("%s: pixel (%d, %d) outside the picture is %06x, not black" %
                     (what, x, y, rows[y][x]))
    screen = []
    for sy in range(SCREEN_H):
        line = []
        for sx in range(SCREEN_W):
            colour = rows[top + sy * scale][left + sx * scale]
            for dy in range(scale):
                block = rows[top + sy * scale + dy]
                for dx in range(scale):
                    if block[left + sx * scale + dx] != colour:
                        fail("%s: the block of screen pixel (%d, %d) is not one colour: blurred "
                             "or not a whole-number scale" % (what, sx, sy))
            line.append(colour)
        screen.append(line)
    return screen


# The easy crowd: 5 columns, 3 rows, the back row first; where the game puts
# each portrait's top-left and the centre it hit-tests from.
COLUMNS, ROWS = 5, 3


def cell_x(c, r):
    return ((c - COLUMNS // 2) * 576 / COLUMNS) * (r + 2) / 5 + 160 - 32 - (r - ROWS * 0.5) * 4


def easy_cells():
    cells = []
    for r in range(ROWS):
        for c in range(COLUMNS):
            x = cell_x(c, r)
            if -16 <= x <= 272:
                cells.append((c, r, math.ceil(x), 92 + 30 * r))
    return cells


def portrait_at(screen, portraits, left, top, width, height):
    """The portrait whose opaque pixels match the screen's best in the part of a
    cell nothing is drawn over, and how many of its pixels differ."""
    best = None
    for number, picture in enumerate(portraits):
        differing = counted = 0
        for y in range(0, height, 2):
            for x in range(0, width, 2):
                sx, sy = left + x, top + y
                r, g, b, a = picture.pixel(x, y)
                if a != 255 or not (0 <= sx < SCREEN_W and 0 <= sy < SCREEN_H):
                    continue
                shown = screen[sy][sx]
                counted += 1
                if (abs((shown >> 16) - r) > 24 or abs((shown >> 8 & 255) - g) > 24 or
                        abs((shown & 255) - b) > 24):
                    differing += 1
        if counted and (best is None or differing / counted < best[1]):
            best = (number, differing / counted)
    return best


def identify_board(screen, portraits, cells=None, rows=28):
    """Each cell's portrait, from the visible top of each: 30 rows before the
    row in front and the width before the next column covers it (12 rows
    while the row in front may bob up 18 pixels). None when one of the cells
    asked for shows no portrait at rest."""
    found = {}
    for c, r, x, y in easy_cells():
        if cells is not None and (c, r) not in cells:
            continue
        step = int(576 / COLUMNS * (r + 2) / 5)
        width = min(64, step) if c < COLUMNS - 1 else 64
        number, differing = portrait_at(screen, portraits, x, y, width - 4, rows)
        if differing > 0.1:
            return None
        found[(c, r)] = number
    return found

def colourful(screen):
    return len({c for line in screen for c in line}) >= 16


def same_screen(a, b, what):
    differing = sum(1 for y in range(SCREEN_H) for x in range(SCREEN_W) if a[y][x] != b[y][x])
    # The menu's pointer and blinking parts may change between two pictures.
    if differing > SCREEN_W * SCREEN_H // 50:
        fail("%s: %d screen pixels differ from the windowed picture" % (what, differing))


def main():
    build = os.path.abspath(sys.argv[1])
    for tool in ("Xvfb", "openbox", "xdotool", "xwd", "xwininfo"):
        if not shutil.which(tool):
            print("skipped: %s is not installed" % tool)
            return 77
    display = Display()
    game = None
    try:
        game = subprocess.Popen([os.path.join(build, "quorbel")], cwd=build, env=display.env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        # The software renderer of Xvfb brings up the warning box first: a
        # player dismisses it with Return.
        box = wait_for("the warning box", lambda: display.find("!!OpenGL Software Emulation!!"))
        display.run("xdotool", "key", "--window", str(box[0]), "Return")
        line = game.stdout.readline().decode().strip()
        if line != "Init OK":
            fail('the game printed "%s", not "Init OK"' % line)
        wid = wait_for("the game window", lambda: display.find("Quorbel", "quorbel"))[0]

        x, y, w, h = display.geometry(wid)
        if (w, h) != (1280, 960):
            fail("the window opened at %d x %d, not 1280 x 960 (4x)" % (w, h))
        if x < 0 or y < 0 or x + w > 1920 or y + h > 1080:
            fail("the window at (%d, %d) does not fit the screen" % (x, y))
        # The menu fades in: the picture is taken once it has settled.
        windowed = None
        for _ in range(40):
            latest = check_scaled(display.picture(wid), 4, 0, 0, "the 4x window")
            if latest == windowed and colourful(latest):
                break
            windowed = latest
            time.sleep(0.5)
        if not colourful(windowed):
            fail("the 4x window shows hardly any colours: nothing was drawn")
        print("4x window at (%d, %d): every screen pixel a 4 x 4 block" % (x, y))

        display.run("xdotool", "windowfocus", "--sync", str(wid))
        display.run("xdotool", "key", "F11")
        wait_for("full screen", lambda: display.geometry(wid)[2:] == (1920, 1080), 10)
        time.sleep(0.5)
        full = check_scaled(display.picture(), 4, 320, 60, "full screen")
        same_screen(windowed, full, "full screen")
        print("F11: 1920 x 1080, the picture 4x at (320, 60) between black bars")
        display.run("xdotool", "key", "F11")
        wait_for("the window back", lambda: display.geometry(wid)[2:] == (1280, 960), 10)
        print("F11 again: back to 1280 x 960")

        display.run("xdotool", "windowsize", str(wid), "1000", "701")
        wait_for("the resize", lambda: display.geometry(wid)[2:] == (1000, 701), 10)
        time.sleep(0.5)
        resized = check_scaled(display.picture(wid), 2, (1000 - 640) // 2, (701 - 480) // 2,
                               "the 1000 x 701 window")
        same_screen(windowed, resized, "the resized window")
        print("resized to 1000 x 701: 2x at (180, 110), crisp and centred")

        # A game through the 2x window: one player (Up from two), the first
        # portrait, Easy, one round, each confirmed with A as a player would.
        def settled():
            # The menu cross-fades between its screens: a key is pressed
            # once the picture stands still, as a player waits for it.
            previous = None
            for _ in range(40):
                latest = shown_screen()
                if previous is not None and sum(
                        a != b for la, lb in zip(latest, previous) for a, b in zip(la, lb)) < 100:
                    return
                previous = latest
                time.sleep(0.3)
            fail("the menu never stood still")

        def press(key):
            settled()
            display.run("xdotool", "keydown", key)
            time.sleep(0.15)
            display.run("xdotool", "keyup", key)
            time.sleep(0.3)

        def click_cell(c, r):
            x = 180 + 2 * (math.ceil(cell_x(c, r)) + 32) + 1
            y = 110 + 2 * (110 + 30 * r) + 1
            display.run("xdotool", "mousemove", "--window", str(wid), str(x), str(y))
            time.sleep(0.2)
            display.run("xdotool", "mousedown", "1")
            time.sleep(0.25)
            display.run("xdotool", "mouseup", "1")
            time.sleep(0.2)

        def shown_screen():
            return check_scaled(display.picture(wid), 2, 180, 110, "the game in 2x")

        # The pointer in the bars' corner is at the screen's (0, 0), hovering
        # over no portrait.
        display.run("xdotool", "mousemove", "--window", str(wid), "5", "5")
        for key in ("Up", "a", "a", "a", "a"):
            press(key)
        portraits = [read_png(os.path.join(build, "vux", "%02d.png" % n)) for n in range(13)]
        board = wait_for("the board", lambda: identify_board(shown_screen(), portraits), 20)
        counts = {}
        for cell, number in board.items():
            counts.setdefault(number, []).append(cell)
        triple = [cells for cells in counts.values() if len(cells) == 3]
        if len(triple) != 1 or len(board) != 13:
            fail("the board shows no single portrait three times: %s" % board)
        triple = sorted(triple[0])
        decoy = next(cell for cell in sorted(board) if cell not in triple)
        print("board: portrait %d at %s, decoy %s" % (board[triple[0]], triple, decoy))

        for cell in [decoy] + triple:
            click_cell(*cell)
        # With the decoy marked too the turn goes on; the unmarked decoys
        # still stand where they were (their tops: the marked ones bob).
        time.sleep(3.0)
        display.run("xdotool", "mousemove", "--window", str(wid), "5", "5")
        time.sleep(0.3)
        standing = [cell for cell in board if cell not in triple and cell != decoy]
        still = identify_board(shown_screen(), portraits, standing, 12) or {}
        if any(still.get(cell) != board[cell] for cell in standing):
            fail("with the decoy marked, a portrait not clicked moved or the turn ended")
        click_cell(*decoy)
        time.sleep(0.3)
        display.run("xdotool", "mousemove", "--window", str(wid), "5", "5")
        # Only the three of a kind marked: two seconds on the turn ends and
        # the crowd slides away for the results.
        wait_for("the end of the turn",
                 lambda: identify_board(shown_screen(), portraits, standing, 12) is None, 15)
        print("clicks marked the decoy and the three of a kind; the turn ended once "
              "the decoy was unmarked")
        if game.poll() is not None:
            fail("the game ended during the play")
        game.send_signal(signal.SIGTERM)
        code = game.wait(20)
        if code != 0:
            fail("the game ended with exit code %d" % code)
        print("ended with exit code 0")
        return 0
    finally:
        if game and game.poll() is None:
            game.kill()
        display.close()


if __name__ == "__main__":
    sys.exit(main())
