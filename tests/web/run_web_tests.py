#!/usr/bin/env python3
"""The browser build's tests: the built site in headless Chromium, each check
reading back what it checks (the canvas as the page shows it, the audio the
page mixes, the files the page keeps, the page's own state).

    run_web_tests.py DESKTOP_BUILD_DIR WEB_BUILD_DIR [TEST...]

The desktop build supplies the reference: its menu frame (the real game under
Xvfb) and the portraits the board is read with."""
import os
import subprocess
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(ROOT, 'tests', 'e2e'))
import scaled_window_xvfb as e2e  # noqa: E402  (the desktop's own end-to-end helpers)
from browser import (RECORD_MIX, Browser, CheckFailed, Site, expect, read_png,  # noqa: E402
                     screen_of)
import web_examples  # noqa: E402
import web_starter  # noqa: E402



def differing(a, b):
    return sum(1 for la, lb in zip(a, b) for pa, pb in zip(la, lb) if pa != pb)


def shown_screen(browser, what='the canvas'):
    rows, box = browser.picture()
    return screen_of(rows, box, what)


def settled_screen(browser, what, allowed=0, tries=60):
    """The screen once two pictures in a row differ in at most `allowed` pixels."""
    previous = None
    for _ in range(tries):
        screen, layout = shown_screen(browser, what)
        if previous is not None and differing(screen, previous) <= allowed:
            return screen, layout
        previous = screen
        time.sleep(0.25)
    raise CheckFailed(f'{what} never stood still')


# ---------------------------------------------------------------- the desktop's reference

def desktop_menu_frame(build, attempts=2):
    """The real desktop game's first menu screen, under Xvfb at 4x, as 320 x
    240 rows of 0xRRGGBB. A machine busy enough to keep the window from
    coming in time gets a second try."""
    for attempt in range(attempts):
        try:
            return desktop_menu_frame_once(build)
        except CheckFailed:
            if attempt == attempts - 1:
                raise


def desktop_menu_frame_once(build):
    for tool in ('Xvfb', 'openbox', 'xdotool', 'xwd', 'xwininfo'):
        expect(subprocess.run(['which', tool], capture_output=True).returncode == 0,
               f'{tool} is not installed (make test installs it)')
    try:
        display = e2e.Display()
    except SystemExit:
        raise CheckFailed('Xvfb did not start')
    game = None
    try:
        game = subprocess.Popen([os.path.join(build, 'quorbel')], cwd=build, env=display.env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        try:
            box = e2e.wait_for('the warning box',
                               lambda: display.find('!!OpenGL Software Emulation!!'))
            display.run('xdotool', 'key', '--window', str(box[0]), 'Return')
            wid = e2e.wait_for('the game window', lambda: display.find('Quorbel', 'quorbel'))[0]
        except SystemExit:
            raise CheckFailed('the desktop game did not show its window under Xvfb')
        previous = None
        for _ in range(60):
            try:
                screen = e2e.check_scaled(display.picture(wid), 4, 0, 0, 'the desktop menu')
            except SystemExit:
                raise CheckFailed('the desktop window is not the screen at 4x')
            if previous is not None and screen == previous and e2e.colourful(screen):
                return screen
            previous = screen
            time.sleep(0.3)
        raise CheckFailed('the desktop menu never stood still')
    finally:
        if game and game.poll() is None:
            game.kill()
            game.wait()
        display.close()


def portraits(build, count=13):
    return [read_png(os.path.join(build, 'vux', '%02d.png' % n)) for n in range(count)]


# ---------------------------------------------------------------- the game

class Game:
    """The game's page, driven as a player would."""

    def __init__(self, browser, site, touch=False):
        self.browser, self.site, self.touch = browser, site, touch

    def open(self, **arguments):
        self.browser.open(self.site.url('index.html'), touch=self.touch, **arguments)

    def press(self, key):
        """One menu key, once the menu stands still (it cross-fades)."""
        settled_screen(self.browser, 'the menu', allowed=100)
        if self.touch:
            self.browser.call('touchButton', code=key, ms=150)
        else:
            self.browser.key(key)
        time.sleep(0.3)

    def point(self, sx, sy, layout):
        return layout.page_point(sx, sy)

    def hover_corner(self, layout):
        """The pointer over the screen's corner: over no portrait."""
        if not self.touch:
            x, y = layout.page_point(0, 0)
            self.browser.call('mouse', x=x, y=y, action='move')

    def choose_one_easy_round(self):
        # One player (Up from two), the first portrait, Easy, one round, each
        # confirmed with A, as on the desktop.
        for key in ('ArrowUp', 'KeyA', 'KeyA', 'KeyA', 'KeyA'):
            self.press(key)

    def board(self, faces):
        end = time.monotonic() + 20
        while time.monotonic() < end:
            screen, layout = shown_screen(self.browser, 'the board')
            found = e2e.identify_board(screen, faces)
            if found:
                return found, layout
            time.sleep(0.3)
        raise CheckFailed('the board never showed its portraits at rest')

    def mark(self, cell, layout):
        c, r = cell
        x, y = self.point(e2e.math.ceil(e2e.cell_x(c, r)) + 32, 110 + 30 * r, layout)
        if self.touch:
            self.browser.call('tap', x=x, y=y)
            time.sleep(0.35)
        else:
            self.browser.click(x, y)
            time.sleep(0.2)


def triple_and_decoy(board):
    counts = {}
    for cell, number in board.items():
        counts.setdefault(number, []).append(cell)
    triples = [cells for cells in counts.values() if len(cells) == 3]
    expect(len(triples) == 1 and len(board) == 13,
           f'the board shows no single portrait three times: {board}')
    triple = sorted(triples[0])
    decoy = next(cell for cell in sorted(board) if cell not in triple)
    return triple, decoy


def test_game_menu_and_play(browser, site, build, faces):
    """The game starts ("Init OK"), its settled menu is the desktop's menu frame
    pixel for pixel, and a game is played through the page: one player, Easy,
    one round; the three of a kind found by the portraits' pixels and clicked
    through the page's scale and bars; the turn ends only when it should; the
    results; Escape ends the program and the page says so. The first key also
    starts the page's sound, and the menu's blip is mixed into it."""
    reference = desktop_menu_frame(build)
    game = Game(browser, site)
    game.open(record=RECORD_MIX)
    browser.start()
    browser.wait_for_line('Init OK', 30)
    state = browser.eval('Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state')
    expect(state == 'running', f'after the first key the audio context is {state!r}')

    screen, layout = settled_screen(browser, 'the menu')
    expect(layout.scale == 3, f'a 1000 x 760 page shows the screen at {layout.scale}x, not 3x')
    expect(layout.left <= layout.x - 20 and layout.top <= layout.y, 'the picture fills the stage')
    wrong = differing(screen, reference)
    expect(wrong == 0, f'the menu differs from the desktop menu frame in {wrong} pixels')
    expect(browser.eval('document.title') == 'Quorbel', 'the page title is not the game title')

    game.hover_corner(layout)
    game.choose_one_easy_round()
    mix = browser.eval('({blocks: quorbelMix.blocks, loud: quorbelMix.loudBlocks, '
                       'rate: quorbelMix.rate})')
    expect(mix['blocks'] > 0, 'the page mixed no sound at all')
    expect(mix['loud'] > 0, f'the confirming blips left every mixed sample zero ({mix})')

    board, layout = game.board(faces)
    triple, decoy = triple_and_decoy(board)
    for cell in [decoy] + triple:
        game.mark(cell, layout)
    # With the decoy marked too the turn goes on: the others stand still.
    time.sleep(3.0)
    game.hover_corner(layout)
    time.sleep(0.3)
    standing = [cell for cell in board if cell not in triple and cell != decoy]
    still = e2e.identify_board(shown_screen(browser)[0], faces, standing, 12) or {}
    expect(all(still.get(cell) == board[cell] for cell in standing),
           'with the decoy marked, a portrait not clicked moved or the turn ended')
    game.mark(decoy, layout)
    game.hover_corner(layout)
    end = time.monotonic() + 15
    while e2e.identify_board(shown_screen(browser)[0], faces, standing, 12) is not None:
        expect(time.monotonic() < end, 'the turn did not end with the three of a kind marked')
        time.sleep(0.3)

    # The results: the one player's badge (portrait 0) at (16, 48).
    screen = results_screen(browser, faces[0])
    expect(screen is not None, 'no results screen with the player\'s badge came')
    browser.call('key', code='Escape', down=True)
    browser.wait_for("window.quorbelState.phase === 'ended'", 10, 'the page to show the end')
    browser.call('key', code='Escape', down=False)
    code = browser.eval('window.quorbelState.exitCode')
    expect(code == 0, f'the program ended with code {code}')
    shown = browser.eval("!document.getElementById('ended').hidden && "
                         "document.getElementById('ended-text').textContent")
    expect(shown and 'ended' in shown, f'the page does not say the game ended ({shown!r})')


def results_screen(browser, face, seconds=15):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        screen, _ = shown_screen(browser, 'the results')
        counted = matching = 0
        for y in range(0, 32, 2):
            for x in range(0, 30, 2):
                r, g, b, a = face.pixel(x, y + 17)
                if a != 255:
                    continue
                counted += 1
                shown = screen[48 + y][16 + x]
                if (abs((shown >> 16) - r) <= 24 and abs((shown >> 8 & 255) - g) <= 24 and
                        abs((shown & 255) - b) <= 24):
                    matching += 1
        if counted and matching / counted > 0.9:
            return screen
        time.sleep(0.3)
    return None


def test_touch_screen(browser, site, build, faces):
    """A touch screen with no keyboard: the on-screen keys are shown beside the
    canvas, drive the menu, and a turn is won with taps."""
    game = Game(browser, site, touch=True)
    game.open(width=900, height=480)
    browser.wait_for("window.quorbelState.phase === 'ready'", 60, 'the page to load')
    shown = browser.eval("!document.getElementById('touch-keys').hidden")
    expect(shown, 'a touch screen without a keyboard gets no on-screen keys')
    box = browser.eval("(() => { const r = document.getElementById('play').getBoundingClientRect();"
                       " return [r.x + r.width / 2, r.y + r.height / 2]; })()")
    browser.call('tap', x=box[0], y=box[1])
    browser.wait_for("window.quorbelState.phase === 'running'", 5, 'a tap to start the game')
    browser.wait_for_line('Init OK', 30)
    canvas = browser.eval("(() => { const c = document.getElementById('canvas').getBoundingClientRect();"
                          " const k = document.getElementById('touch-keys').getBoundingClientRect();"
                          " return [c.right, k.left]; })()")
    expect(canvas[0] <= canvas[1] + 1, f'the on-screen keys cover the canvas ({canvas})')
    game.choose_one_easy_round()
    board, layout = game.board(faces)
    triple, _ = triple_and_decoy(board)
    for cell in triple:
        game.mark(cell, layout)
    standing = [cell for cell in board if cell not in triple]
    end = time.monotonic() + 15
    while e2e.identify_board(shown_screen(browser)[0], faces, standing, 12) is not None:
        expect(time.monotonic() < end, 'three taps on the three of a kind did not win the turn')
        time.sleep(0.3)
    expect(results_screen(browser, faces[0]) is not None, 'no results after the turn won with taps')


def test_saved_ini_survives_reload(browser, site, build, faces):
    """The text example writes its high-score table back with the INI
    commands; after a reload of the page the same page reads it again: the
    second run's table holds the first run's entry as well as its own."""
    url = site.url('examples/text.html?args=--frames%2010%20--score%203500%20--name%20qrb')
    browser.open(url)
    browser.wait_for("window.quorbelState.phase === 'ready'", 60, 'the page to load')
    browser.eval("(() => { try { Module.FS.unlink('/examples/scores.ini'); } catch (e) {} "
                 "return Module.quorbelFilesSaved(); })()")
    for run in range(2):
        if run:
            browser.call('reload')
            browser.wait_for("window.quorbelState.phase === 'ready'", 60, 'the page to load again')
        browser.key('Space')
        browser.wait_for("window.quorbelState.phase === 'ended'", 60, f'run {run + 1} to end')
    got = bytes(browser.eval("Array.from(Module.FS.readFile('/examples/scores.ini'))"))
    table = [('ADA', 5000), ('BOB', 4000), ('QRB', 3500), ('QRB', 3500), ('CYD', 3000)]
    wanted = web_examples.scores_ini(table)
    expect(got == wanted, f'after a reload the table is {got!r}, not {wanted!r}')


def test_page_keys_full_screen_and_hidden_tab(browser, site, build, faces):
    """While the game runs, the keys that would scroll, go back or reload the
    page do none of it (their default action is prevented) and still reach the
    game; a click gives the canvas the focus; F11 puts the page in full screen
    and takes it out; the error log's lines reach the browser's console; a
    hidden page holds the game as an inactive window does, with "<pause>" in
    its title, and a shown one lets it go on."""
    browser.open(site.url('index.html'),
                 record='window.quorbelFrames = 0; (() => { const ask = window.requestAnimationFrame;'
                        ' window.requestAnimationFrame = f => { window.quorbelFrames++;'
                        ' return ask.call(window, f); }; })();')
    browser.start()
    browser.wait_for_line('Init OK', 30)
    _, layout = settled_screen(browser, 'the menu')
    browser.click(*layout.page_point(0, 0), hold=0.05)
    expect(browser.eval('document.activeElement && document.activeElement.id') == 'canvas',
           'a click did not give the canvas the focus')
    browser.eval("window.keysSeen = []; document.addEventListener('keydown', "
                 "e => keysSeen.push([e.code, e.defaultPrevented]));")
    keys = ['ArrowDown', 'ArrowUp', 'Space', 'PageDown', 'PageUp', 'Backspace', 'F5', 'F1', 'Tab']
    for key in keys:
        browser.key(key, 0.05)
        time.sleep(0.1)
    seen = browser.eval('keysSeen')
    expect([code for code, _ in seen] == keys, f'the keys seen were {seen}')
    expect(all(prevented for _, prevented in seen), f'a key kept its default action: {seen}')
    expect(browser.eval('window.scrollY') == 0, 'the page scrolled')

    browser.key('F11', 0.1)
    browser.wait_for('!!document.fullscreenElement', 5, 'F11 to put the page in full screen')
    browser.key('F11', 0.1)
    browser.wait_for('!document.fullscreenElement', 5, 'F11 to take the page out of full screen')

    def visibility(hidden):
        browser.eval(f"""(() => {{
          Object.defineProperty(document, 'hidden', {{configurable: true, get: () => {str(hidden).lower()}}});
          Object.defineProperty(document, 'visibilityState',
                                {{configurable: true, get: () => '{'hidden' if hidden else 'visible'}'}});
          document.dispatchEvent(new Event('visibilitychange'));
        }})()""")

    def frames_in(seconds):
        before = browser.eval('window.quorbelFrames')
        time.sleep(seconds)
        return browser.eval('window.quorbelFrames') - before

    # A line appended to the error log also goes to the browser's console.
    browser.eval("(() => { const log = Module.FS.open('/tmp/ErrorLog.txt', 'a');"
                 " Module.FS.write(log, new TextEncoder().encode('No DX_Joystick\\r\\n'), 0, 16);"
                 " Module.FS.close(log); })()")
    browser.wait_for_line('ErrorLog: No DX_Joystick', 5)

    visibility(True)
    browser.wait_for("document.title === 'Quorbel <pause>'", 5, '"<pause>" in the title')
    time.sleep(0.3)
    held = frames_in(1.0)
    expect(held == 0, f'the hidden page still asked for {held} animation frames in a second')
    visibility(False)
    browser.wait_for("document.title === 'Quorbel'", 5, 'the title without "<pause>"')
    going = frames_in(1.0)
    expect(going > 30, f'the shown page asked for only {going} animation frames in a second')


TESTS = [
    test_game_menu_and_play,
    test_page_keys_full_screen_and_hidden_tab,
    test_touch_screen,
    test_saved_ini_survives_reload,
]


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    build, web_build = (os.path.abspath(a) for a in sys.argv[1:3])
    wanted = sys.argv[3:]
    site = Site(os.path.join(web_build, 'site'))
    browser = Browser()
    faces = portraits(build)
    passed = failed = 0
    started = time.monotonic()
    try:
        cases = [(test.__name__, lambda t=test: t(browser, site, build, faces)) for test in TESTS]
        cases += web_examples.cases(browser, site, build)
        cases += web_starter.cases(browser, build, web_build)
        for name, case in cases:
            if wanted and not any(w in name for w in wanted):
                continue
            begun = time.monotonic()
            try:
                case()
                passed += 1
                print(f'PASS {name} ({time.monotonic() - begun:.1f} s)', flush=True)
            except Exception as failure:  # every failure is reported, the others still run
                failed += 1
                detail = str(failure) if isinstance(failure, CheckFailed) else traceback.format_exc()
                print(f'FAIL {name}: {detail}', flush=True)
    finally:
        browser.close()
        site.close()
    print(f'browser tests took {time.monotonic() - started:.0f} s')
    print(f'{passed} passed, {failed} failed')
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()
