#!/usr/bin/env python3
"""Runs one example headless and checks what it drew or wrote.

    check_examples.py CHECK EXAMPLES_DIR [--screenshot OUT.png]

EXAMPLES_DIR is the build's examples/ folder, which holds the programs and is
their working folder. Every expected value here is worked out on its own (the
pictures' formulas, the INI table's order, a breadth-first search, the bytes
the local server sent), never read from the example. With --screenshot the
example's own SaveScreen picture is copied to OUT.png once its checks pass.
"""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

TIMEOUT = 90


class CheckFailed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise CheckFailed(message)


# ---------------------------------------------------------------- pictures

class Picture:
    """RGBA pixels, (x, y) from the top left."""

    def __init__(self, width, height, rgba):
        self.width, self.height, self.rgba = width, height, rgba

    def pixel(self, x, y):
        i = (y * self.width + x) * 4
        return tuple(self.rgba[i:i + 4])

    def rgb(self, x, y):
        return self.pixel(x, y)[:3]


def read_png(path):
    with open(path, 'rb') as f:
        data = f.read()
    expect(data[:8] == b'\x89PNG\r\n\x1a\n', f'{path}: not a PNG')
    pos, idat, header = 8, b'', None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b'IHDR':
            header = struct.unpack('>IIBBBBB', body)
        elif kind == b'IDAT':
            idat += body
        elif kind == b'IEND':
            break
    width, height, depth, colour_type, _, _, interlace = header
    expect(depth == 8 and interlace == 0 and colour_type in (2, 6),
           f'{path}: only 8-bit RGB / RGBA without interlacing is read here')
    channels = 4 if colour_type == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                guess = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + guess) & 255
        rows.append(line)
        previous = line
    rgba = bytearray()
    for line in rows:
        if channels == 4:
            rgba += line
        else:
            for x in range(width):
                rgba += line[3 * x:3 * x + 3] + b'\xff'
    return Picture(width, height, rgba)


def read_bmp24(path):
    with open(path, 'rb') as f:
        data = f.read()
    expect(data[:2] == b'BM', f'{path}: not a BMP')
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
    expect(bits == 24, f'{path}: {bits} bits per pixel, not 24')
    stride = (3 * width + 3) // 4 * 4
    rgba = bytearray()
    for y in range(height):
        row = offset + (height - 1 - y) * stride
        for x in range(width):
            b, g, r = data[row + 3 * x:row + 3 * x + 3]
            rgba += bytes((r, g, b, 255))
    return Picture(width, height, rgba)


def colour(number):
    """A runtime colour number (red + 256 green + 65536 blue) as (r, g, b)."""
    return (number & 255, number >> 8 & 255, number >> 16 & 255)


def bmp24_bytes(width, height, pixel):
    """A 24-bit BMP as the file commands write one: 72 dpi, rows bottom-up."""
    stride = (3 * width + 3) // 4 * 4
    body = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        body += row + bytes(stride - len(row))
    header = b'BM' + struct.pack('<IIIIiiHHIIiiII', 54 + len(body), 0, 54, 40, width, height,
                                 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + bytes(body)


# ---------------------------------------------------------------- running

class Run:
    def __init__(self, folder, name):
        self.folder, self.name = folder, name
        self.program = os.path.join(folder, 'example_' + name)
        expect(os.access(self.program, os.X_OK), f'{self.program} is not built')

    def path(self, file):
        return os.path.join(self.folder, file)

    def remove(self, *files):
        for file in files:
            if os.path.exists(self.path(file)):
                os.remove(self.path(file))

    def __call__(self, *arguments, env=None):
        """Runs the example in a temporary folder of its own (TMPDIR: its error
        log and unpacked archive members); returns its standard output."""
        scratch = tempfile.mkdtemp(prefix='quorbel-example-')
        environment = dict(os.environ)
        environment.setdefault('SDL_VIDEODRIVER', 'offscreen')
        environment.setdefault('SDL_AUDIODRIVER', 'dummy')
        # A sanitizer build's leak report would name the GL driver's allocations.
        environment['ASAN_OPTIONS'] = 'detect_leaks=0:' + environment.get('ASAN_OPTIONS', '')
        environment['TMPDIR'] = scratch
        environment.update(env or {})
        try:
            done = subprocess.run([self.program, *arguments], env=environment,
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                  timeout=TIMEOUT)
            self.left_in_tmpdir = sorted(os.listdir(scratch))
            log = os.path.join(scratch, 'ErrorLog.txt')
            error_log = b''
            if os.path.exists(log):
                with open(log, 'rb') as f:
                    error_log = f.read()
        except subprocess.TimeoutExpired:
            raise CheckFailed(f'{self.name} {" ".join(arguments)} ran past {TIMEOUT} seconds')
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
        output = done.stdout.decode('utf-8', 'replace')
        expect(done.returncode == 0, f'{self.name} ended with exit code {done.returncode}:\n{output}')
        expect('Init OK' in output, f'{self.name} did not start:\n{output}')
        # Mesa's software renderer is the one thing a headless run may note.
        notes = [line for line in error_log.decode('latin-1').splitlines()
                 if line and line != 'OpenGL Software Emulation']
        expect(not notes, f'{self.name} wrote to its error log: {notes}')
        return output

    def screen(self, file):
        expect(os.path.exists(self.path(file)), f'{self.name} saved no {file}')
        picture = read_png(self.path(file))
        expect((picture.width, picture.height) == (320, 240),
               f'{file} is {picture.width} x {picture.height}')
        return picture

    def file_bytes(self, file):
        expect(os.path.exists(self.path(file)), f'{self.name} wrote no {file}')
        with open(self.path(file), 'rb') as f:
            return f.read()


def expect_rgb(picture, x, y, wanted, what):
    got = picture.rgb(x, y)
    expect(got == tuple(wanted), f'{what}: pixel ({x}, {y}) is {got}, not {tuple(wanted)}')


def expect_block(picture, x, y, width, height, wanted, what):
    for yy in range(y, y + height):
        for xx in range(x, x + width):
            expect_rgb(picture, xx, yy, wanted, what)


RED, GREEN, GREY = (255, 0, 0), (0, 255, 0), (128, 128, 128)
YELLOW, WHITE = (255, 255, 0), (255, 255, 255)
KEY = (255, 0, 128)


# ---------------------------------------------------------------- 1 sprites

def ball_pixel(x, y):
    dx, dy = 2 * x - 31, 2 * y - 31
    if (dx + 10) ** 2 + (dy + 10) ** 2 < 64:
        return WHITE
    if dx * dx + dy * dy < 576:
        return (40, 120, 255)
    return KEY


def cross_solid(x, y):
    return 0 <= x < 32 and 0 <= y < 32 and (10 <= x < 22 or 10 <= y < 22)


def check_sprites(run):
    run.remove('ball.bmp', 'sprites.png')
    frames = 56
    run('--frames', str(frames))
    expect(run.file_bytes('ball.bmp') == bmp24_bytes(32, 32, ball_pixel),
           'ball.bmp differs from the ball worked out here')
    shot = run.screen('sprites.png')
    background = (20, 24, 48)

    def meet(dx, dy):
        return any(ball_pixel(x, y) != KEY and cross_solid(x + dx, y + dy)
                   for y in range(32) for x in range(32))

    # The sweeping ball in the last frame: its boxes lamp and its pixels lamp.
    dx = int(80 * math.sin(math.radians((frames - 1) * 3)))
    expect_block(shot, 8, 30, 12, 12, YELLOW if abs(dx) < 32 else GREY, 'the boxes lamp')
    expect_block(shot, 8, 50, 12, 12, RED if meet(dx, 20) else GREY, 'the pixels lamp')
    # The answers the lamps must give: do solid pixels of ball and cross meet?
    for left, (dx, dy) in ((16, (20, 20)), (120, (20, 4)), (224, (40, 0))):
        expect_block(shot, left, 190, 12, 12, RED if meet(dx, dy) else GREEN,
                     f'the lamp of the pair at x {left}')
    # The ball set apart is drawn one to one, its transparent corners unpainted.
    for y in range(32):
        for x in range(32):
            wanted = ball_pixel(x, y)
            expect_rgb(shot, 264 + x, 120 + y, background if wanted == KEY else wanted,
                       'the ball drawn apart')
    expect_rgb(shot, 224 + 15, 120 + 2, (230, 140, 30), 'the grabbed cross')
    expect_rgb(shot, 224 + 2, 120 + 2, background, "the grabbed cross's transparent corner")


# ---------------------------------------------------------------- 2 text, fonts, INI

def scores_ini(table):
    lines = ['[scores]']
    for rank, (name, score) in enumerate(table, 1):
        lines += [f'name{rank}={name}', f'score{rank}={score}']
    return ''.join(line + '\r\n' for line in lines).encode()


def check_text(run):
    run.remove('scores.ini', 'bigfont.bmp', 'text.png')
    table = [('ADA', 5000), ('BOB', 4000), ('CYD', 3000), ('DEE', 2000), ('EVE', 1000)]
    background, highlight = (16, 16, 32), (40, 60, 160)
    # A new score goes in below the equal or better ones; the file is only
    # written when the table changed.
    for entry in (('qrb', 3500), ('max', 9000), None, ('low', 10), ('tie', 4000)):
        arguments = ['--frames', '10']
        rank = None
        if entry:
            name, score = entry
            arguments += ['--score', str(score), '--name', name]
            ranks = [r for r, (_, s) in enumerate(table) if s < score]
            if ranks:
                rank = ranks[0]
                table = (table[:rank] + [(name.upper(), score)] + table[rank:])[:5]
        before = os.path.exists(run.path('scores.ini')) and os.stat(run.path('scores.ini'))
        run(*arguments)
        expect(run.file_bytes('scores.ini') == scores_ini(table),
               f'after {entry}: scores.ini is {run.file_bytes("scores.ini")!r}')
        if rank is None and before:
            expect(os.stat(run.path('scores.ini')).st_mtime_ns == before.st_mtime_ns,
                   f'after {entry}: scores.ini was written again')
        shot = run.screen('text.png')
        for r in range(5):
            expect_rgb(shot, 44, 62 + 20 * r, highlight if r == rank else background,
                       f'after {entry}: the highlight of row {r + 1}')

    # The made font: glyphs in warm colours on the transparent colour, every
    # 2 x 2 block wholly one or the other (the tint runs top to bottom).
    font = read_bmp24(run.path('bigfont.bmp'))
    expect((font.width, font.height) == (256, 128), 'bigfont.bmp is not 256 x 128')
    inked = 0
    for y in range(0, 128, 2):
        for x in range(0, 256, 2):
            block = [font.rgb(x + i, y + j) for i in (0, 1) for j in (0, 1)]
            clear = [c == KEY for c in block]
            expect(all(clear) or not any(clear),
                   f'bigfont.bmp: the 2 x 2 block at ({x}, {y}) is partly transparent')
            for r, g, b in block:
                expect((r, g, b) == KEY or (b == 0 and g < r),
                       f'bigfont.bmp: ({x}, {y}) is {(r, g, b)}, not warm')
            inked += block[0][0] == 255 and not clear[0]
    expect(inked > 200, f'bigfont.bmp holds only {inked} glyph blocks')
    # The title in the made font: 11 cells of 16 x 16 from (72, 16), taller than 8 pixels.
    rows = {y for y in range(240) for x in range(320)
            if shot.rgb(x, y) != background and shot.rgb(x, y)[0] == 255 and shot.rgb(x, y)[2] == 0}
    expect(rows and min(rows) >= 16 and max(rows) < 32 and max(rows) - min(rows) >= 8,
           f'the title rows are {sorted(rows)}')


# ---------------------------------------------------------------- 3 sound

TONE_FRAMES, TONE_LEVEL = 5512, 8000
# pan, volume of each step; the last plays two voices of slot 1 at once.
SOUND_STEPS = [(-1, 1), (1, 1), (0, 0.8), (0.2, 1), (0, 1)]


def tone_wav():
    samples = [TONE_LEVEL if i % 50 < 25 else -TONE_LEVEL for i in range(TONE_FRAMES)]
    data = struct.pack(f'<{TONE_FRAMES}h', *samples)
    return (b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVE' +
            b'fmt ' + struct.pack('<IHHIIHH', 16, 1, 1, 22050, 44100, 2, 16) +
            b'data' + struct.pack('<I', len(data)) + data)


def gain(hundredths_db):
    """Volume and pan are attenuations in hundredths of a decibel."""
    return 0.0 if hundredths_db <= -10000 else 10 ** (min(hundredths_db, 0) / 2000)


def check_sound(run):
    run.remove('tone.wav', 'sounds.txt', 'sound.png')
    run('--frames', '180')
    expect(run.file_bytes('tone.wav') == tone_wav(), 'tone.wav differs from the tone worked out here')
    # A one-voice slot still sounding refuses a second play (-1); with two
    # voices the third play takes the older one again.
    expect(run.file_bytes('sounds.txt') ==
           b'slot 0 pan -1 volume 1: 0 -1\r\n'
           b'slot 0 pan 1 volume 1: 0\r\n'
           b'slot 0 pan 0 volume 0.8: 0\r\n'
           b'slot 0 pan 0.2 volume 1: 0\r\n'
           b'slot 1 pan 0 volume 1: 256 257 256\r\n',
           f'sounds.txt is {run.file_bytes("sounds.txt")!r}')
    shot = run.screen('sound.png')
    for step, (pan, volume) in enumerate(SOUND_STEPS):
        y = 48 + 32 * step
        expect_block(shot, 8, y, 12, 12, GREEN, f'the lamp of step {step} (played, ended)')
        expect_block(shot, 96 + round((pan + 1) * 44), y, 8, 12, (0, 255, 255),
                     f'the pan marker of step {step}')
        expect_rgb(shot, 208 + round(volume * 96) - 1, y + 6, (200, 90, 40),
                   f'the end of the volume bar of step {step}')
        expect_rgb(shot, 208 + round(volume * 96), y + 6, (24, 20, 32),
                   f'past the volume bar of step {step}')


def check_sound_mix(run):
    """The disk driver records the mix: each step's levels on the left and right."""
    run.remove('tone.wav', 'sounds.txt', 'sound.png')
    scratch = tempfile.mkdtemp(prefix='quorbel-mix-')
    try:
        raw = os.path.join(scratch, 'mix.raw')
        run('--frames', '180', env={'SDL_AUDIODRIVER': 'disk', 'SDL_DISKAUDIOFILE': raw})
        with open(raw, 'rb') as f:
            data = f.read()
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    frames = struct.unpack(f'<{len(data) // 2}h', data[:len(data) // 4 * 4])
    runs, current = [], None  # stretches of sounding frames
    for i in range(0, len(frames), 2):
        left, right = abs(frames[i]), abs(frames[i + 1])
        if left == 0 and right == 0:
            current = None
            continue
        if current is None:
            current = []
            runs.append(current)
        current.append((left, right))
    expect(len(runs) == len(SOUND_STEPS), f'{len(runs)} sounds recorded, not {len(SOUND_STEPS)}')
    for step, ((pan, volume), recorded) in enumerate(zip(SOUND_STEPS, runs)):
        attenuation = volume * 10000 - 10000
        voices = 2 if step == len(SOUND_STEPS) - 1 else 1
        wanted = (round(voices * TONE_LEVEL * gain(attenuation - max(pan, 0) * 10000)),
                  round(voices * TONE_LEVEL * gain(attenuation + min(pan, 0) * 10000)))
        levels = max(set(recorded), key=recorded.count)
        expect(levels == wanted, f'step {step}: left and right at {levels}, not {wanted}')
        # Two voices start within one mixed block of each other.
        expect(TONE_FRAMES <= len(recorded) <= TONE_FRAMES + (512 if voices > 1 else 0),
               f'step {step} sounded for {len(recorded)} frames, not {TONE_FRAMES}')


# ---------------------------------------------------------------- 4 input

def check_input(run):
    """Headless nothing is held or attached: every key up, no button pressed,
    no joystick; the pointer stays where the example put it."""
    run.remove('input.png')
    run('--frames', '30')
    shot = run.screen('input.png')
    cap_up = (48, 64, 64)
    for row, count in enumerate((10, 10, 9, 8, 5)):
        for i in range(count):
            x, y = 8 + row * 6 + i * 14, 20 + row * 14
            expect_rgb(shot, x, y, cap_up, f'key {i} of row {row}')
            expect_rgb(shot, x + 11, y + 11, cap_up, f'key {i} of row {row}')
    for x in (8, 22, 36):
        expect_block(shot, x, 124, 10, 10, cap_up, f'the mouse button lamp at x {x}')
    for d in range(-6, 7):
        expect_rgb(shot, 260 + d, 130, WHITE, 'the pointer')
        expect_rgb(shot, 260, 130 + d, WHITE, 'the pointer')
    expect_rgb(shot, 253, 130, (16, 24, 24), 'beside the pointer')
    expect_block(shot, 8, 160, 200, 16, cap_up, 'the panel of no joystick')


# ---------------------------------------------------------------- 5 path finding

def check_pathfind(run):
    """The map is read back from the picture; a breadth-first search over it
    gives the shortest route, which the drawn route must be."""
    run.remove('pathfind.png')
    run('--frames', '10')
    shot = run.screen('pathfind.png')
    open_colour, wall_colour = (40, 56, 40), (120, 120, 130)
    columns, rows = 20, 14
    walls, route, start, goal = set(), set(), None, None
    for cy in range(rows):
        for cx in range(columns):
            terrain = shot.rgb(cx * 16 + 1, cy * 16 + 1)
            expect(terrain in (open_colour, wall_colour), f'cell ({cx}, {cy}) is {terrain}')
            if terrain == wall_colour:
                walls.add((cx, cy))
            mark = shot.rgb(cx * 16 + 7, cy * 16 + 7)
            if mark == YELLOW:
                route.add((cx, cy))
            elif mark == (0, 255, 255):
                start = (cx, cy)
            elif mark == RED:
                goal = (cx, cy)
    expect(len(walls) > 30, f'only {len(walls)} walls drawn')
    expect((start, goal) == ((1, 1), (18, 12)), f'start {start}, goal {goal}')
    distance, frontier = {start: 0}, [start]
    while frontier:
        following = []
        for x, y in frontier:
            for step in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                if (0 <= step[0] < columns and 0 <= step[1] < rows and step not in walls
                        and step not in distance):
                    distance[step] = distance[(x, y)] + 1
                    following.append(step)
        frontier = following
    expect(goal in distance, 'the goal cannot be reached on the drawn map')
    cells = route | {start, goal}
    expect(not cells & walls, f'the route crosses walls at {sorted(cells & walls)}')
    expect(len(cells) == distance[goal] + 1,
           f'the route has {len(cells) - 1} steps, the shortest {distance[goal]}')

    def neighbours(cell):
        x, y = cell
        return sum(n in cells for n in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)))
    # A chain: the ends have one neighbour on the route, every other cell two.
    for cell in cells:
        wanted = 1 if cell in (start, goal) else 2
        expect(neighbours(cell) == wanted, f'route cell {cell} has {neighbours(cell)} neighbours')


# ---------------------------------------------------------------- 6 off-screen targets

def quarter(x, y, size):
    right, bottom = x >= size // 2, y >= size // 2
    return (WHITE if right else (0, 0, 255)) if bottom else (GREEN if right else RED)


def check_offscreen(run):
    run.remove('offscreen.png', 'target.bmp')
    frames = 40
    run('--frames', str(frames))
    tile = read_bmp24(run.path('target.bmp'))
    expect((tile.width, tile.height) == (64, 64), f'target.bmp is {tile.width} x {tile.height}')
    for y in range(64):
        for x in range(64):
            expect_rgb(tile, x, y, quarter(x, y, 64), "target 0's picture")
    shot = run.screen('offscreen.png')
    for y in range(64):
        for x in range(64):
            expect_rgb(shot, 16 + x, 16 + y, quarter(x, y, 64), 'the target drawn as a sprite')
    for x, y in ((8, 8), (24, 8), (8, 24), (24, 24)):
        expect_rgb(shot, 116 + x, 32 + y, quarter(x, y, 32), 'the target at half size')
    # The last frame's ball, on the screen and a quarter the size on target 1's map.
    last = frames - 1
    ball_x = 192 + int(80 * math.sin(math.radians(last * 4)))
    ball_y = 160 + int(48 * math.cos(math.radians(last * 5)))
    ball = (255, 160, 0)
    expect_block(shot, ball_x, ball_y, 16, 16, ball, 'the ball')
    expect_rgb(shot, ball_x - 1, ball_y, (32, 32, 40), 'left of the ball')
    dots = {(x - 232, y - 8) for y in range(8, 68) for x in range(232, 312)
            if shot.rgb(x, y) == ball}
    wanted = {(ball_x // 4 + i, ball_y // 4 + j) for i in range(4) for j in range(4)}
    expect(dots == wanted, f'the map shows the ball at {sorted(dots)}, not {sorted(wanted)}')
    expect_rgb(shot, 233, 9, (0, 40, 80), "the map's background")


# ---------------------------------------------------------------- 7 packed archive

def check_archive(run):
    """The portrait on the screen is the game's vux/07.png pixel for pixel,
    though the example's folder holds only the archive."""
    for name in ('07.png', 'smalfont.png', 'blip.wav', 'archive.ini'):
        expect(not os.path.exists(run.path(name)), f'a plain {name} would hide the archive member')
    run.remove('archive.png')
    run('--frames', '10')
    expect(not [name for name in run.left_in_tmpdir if name.startswith('quorbel-')],
           f'unpacked members were left behind: {run.left_in_tmpdir}')
    shot = run.screen('archive.png')
    background = (40, 32, 24)
    original = read_png(os.path.join(run.folder, '..', 'vux', '07.png'))
    for y in range(original.height):
        for x in range(original.width):
            r, g, b, a = original.pixel(x, y)
            expect(a in (0, 255), 'vux/07.png has partly transparent pixels')
            wanted = background if a == 0 or (r, g, b) == KEY else (r, g, b)
            expect_rgb(shot, 16 + x, 32 + y, wanted, 'the portrait from the archive')
    for y in (32, 50, 68, 86):
        expect_block(shot, 168, y, 12, 12, GREEN, f'the lamp at y {y}')
    # The caption from archive.ini in the archive's font, whose cells are not 8 x 8.
    with open(os.path.join(os.path.dirname(__file__), 'archive.ini')) as f:
        expect('caption=Portrait 07, out of the archive' in f.read(), 'archive.ini changed')
    rows = {y for y in range(217, 240) for x in range(320) if shot.rgb(x, y) != background}
    expect(rows and max(rows) - min(rows) > 8, f'the caption covers rows {sorted(rows)}')


# ---------------------------------------------------------------- 8 HTTP download

def news_bytes():
    """About 18 KB in lines: the body spans many reads of the socket."""
    lines = [f'{n:03d} the crowd cheered {n * 7 % 31} times' for n in range(1, 601)]
    return ''.join(line + '\r\n' for line in lines).encode()


def check_download(run):
    import http.server
    import threading
    body, requests = news_bytes(), []

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = 'HTTP/1.0'

        def do_GET(self):
            requests.append(self.path)
            self.send_response(200 if self.path == '/news.txt' else 404)
            self.send_header('Content-Type', 'text/plain')
            self.end_headers()
            if self.path == '/news.txt':
                self.wfile.write(body)

        def log_message(self, *arguments):
            pass

    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    try:
        run.remove('news.txt', 'download.png')
        run('--frames', '10', '--port', str(server.server_address[1]))
    finally:
        server.shutdown()
        server.server_close()
    expect(requests == ['/news.txt'], f'the server was asked for {requests}')
    expect(run.file_bytes('news.txt') == body,
           f'news.txt holds {len(run.file_bytes("news.txt"))} bytes, not the {len(body)} served')
    expect_block(run.screen('download.png'), 8, 8, 12, 12, GREEN, 'the download lamp')


def check_download_refused(run):
    """Nothing listens on the port: DownloadHttpFile gives 0, the file stays as it was."""
    import socket
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        port = probe.getsockname()[1]
    run.remove('download.png')
    with open(run.path('news-refused.txt'), 'wb') as f:
        f.write(b'yesterday\r\n')
    run('--frames', '10', '--port', str(port), '--file', 'news-refused.txt')
    expect(run.file_bytes('news-refused.txt') == b'yesterday\r\n',
           'a refused download changed the file')
    expect_block(run.screen('download.png'), 8, 8, 12, 12, RED, 'the download lamp')


# ---------------------------------------------------------------- main

CHECKS = {name[len('check_'):]: function for name, function in globals().items()
          if name.startswith('check_')}
# The example each check runs and the screenshot it keeps.
PROGRAMS = {'sound_mix': 'sound', 'download_refused': 'download'}
SCREENSHOTS = {'sound_mix': 'sound.png', 'download_refused': 'download.png'}


def main():
    arguments = sys.argv[1:]
    screenshot = None
    if '--screenshot' in arguments:
        i = arguments.index('--screenshot')
        screenshot = arguments[i + 1]
        del arguments[i:i + 2]
    if len(arguments) != 2 or arguments[0] not in CHECKS:
        sys.exit(f'usage: check_examples.py {{{",".join(sorted(CHECKS))}}} EXAMPLES_DIR '
                 '[--screenshot OUT.png]')
    check, folder = arguments
    try:
        run = Run(os.path.abspath(folder), PROGRAMS.get(check, check))
        CHECKS[check](run)
    except CheckFailed as failure:
        sys.exit(f'{check}: {failure}')
    if screenshot:
        shutil.copyfile(run.path(SCREENSHOTS.get(check, check + '.png')), screenshot)
    print(f'{check}: all checks passed')


if __name__ == '__main__':
    main()
