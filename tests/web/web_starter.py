"""The starter game on the browser SDK, as a game programmer meets it: the SDK
`make web` installed (WEB_BUILD_DIR/sdk) and the starter in it copied out of
this tree into a scratch folder, the starter built there for the browser with
its README's one more command against that copy, no build file and no file of
its page naming this tree. Its page is served on 127.0.0.1 and flown by the
autopilot in headless Chromium: the canvas read back holds the ship's picture
as packed into the page's media, the screen the game saves and the best score
it writes are read back from the page's folder, which holds no media file but
the program's own, its chirp is in the page's mix, and the best score is still
there after a reload of the page."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, 'tests', 'sdk'))
import sdk_test as desktop  # noqa: E402  (the desktop SDK's checks of the starter)

from browser import RECORD_MIX, CheckFailed, Site, expect, screen_of  # noqa: E402

FRAMES = 300
FOLDER = '/starter'
PAGE_FILES = ['index.html', 'shell.css', 'shell.js', 'starter.data', 'starter.js', 'starter.wasm']


def run(command, cwd):
    environment = dict(os.environ)
    environment.setdefault('NODE_PATH', '/usr/share/nodejs')
    try:
        done = subprocess.run(command, cwd=cwd, env=environment, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, timeout=600)
    except subprocess.TimeoutExpired:
        raise CheckFailed(f'{" ".join(command)} took more than 10 minutes')
    output = done.stdout.decode('utf-8', 'replace')
    expect(done.returncode == 0,
           f'{" ".join(command)} ended with exit code {done.returncode}:\n{output[-4000:]}')
    return output


def expect_no_path_into(repo, folder):
    for where, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(where, name)
            if name.endswith(('.o', '.a')):
                continue
            with open(path, 'rb') as f:
                expect(repo.encode() not in f.read(), f'{path} names the source tree {repo}')


class Screen:
    """The canvas's 320 x 240 pixels read back, as the desktop checks read a BMP."""

    def __init__(self, rows):
        self.rows, self.width, self.height = rows, len(rows[0]), len(rows)

    def rgb(self, x, y):
        colour = self.rows[y][x]
        return (colour >> 16, colour >> 8 & 255, colour & 255)


def packed_counts(sbpack, data, scratch):
    """Hull and gold pixels of the pictures packed into the page's media."""
    counts = {}
    for member, colour in (('ship.bmp', desktop.HULL), ('coin.bmp', desktop.GOLD)):
        out = os.path.join(scratch, 'packed-' + member)
        run([sbpack, 'extract', data, member, out], scratch)
        picture = desktop.read_bmp24(out)
        counts[colour] = sum(picture.rgb(x, y) == colour
                             for y in range(picture.height) for x in range(picture.width))
    return counts


def check_canvas(browser, expected, seconds=4.0):
    """The shown screen while the autopilot flies: the sky, the ground, the
    whole ship, the coin and the score. The coin may lie under the ship for a
    frame, so a few pictures are tried."""
    end = time.monotonic() + seconds
    while True:
        rows, box = browser.picture()
        screen, _ = screen_of(rows, box, 'the starter\'s canvas')
        counts = desktop.colour_counts(Screen(screen))
        try:
            expect(counts.get(desktop.SKY, 0) > 60000, 'the sky is not drawn')
            expect(all(screen[230][x] == 0x286E32 for x in range(0, 320, 7)), 'the ground is not drawn')
            expect(counts.get(desktop.HULL, 0) == expected[desktop.HULL],
                   f'{counts.get(desktop.HULL, 0)} hull pixels on the canvas, the packed ship '
                   f'has {expected[desktop.HULL]}')
            expect(counts.get(desktop.GOLD, 0) >= expected[desktop.GOLD] // 2,
                   f'{counts.get(desktop.GOLD, 0)} gold pixels on the canvas, the packed coin '
                   f'has {expected[desktop.GOLD]}')
            text = sum(screen[y][x] == 0xFFFFFF for y in range(4, 12) for x in range(4, 60))
            expect(text >= 20, f'no "SCORE" text top left ({text} white pixels)')
            return
        except CheckFailed:
            if time.monotonic() > end:
                raise
        time.sleep(0.3)


def page_bytes(browser, path):
    return bytes(browser.eval(f"Array.from(Module.FS.readFile({path!r}))"))


def page_folder(browser):
    return sorted(n for n in browser.eval(f"Module.FS.readdir({FOLDER!r})") if n not in ('.', '..'))


def test_starter(browser, build, web_build):
    scratch = tempfile.mkdtemp(prefix='quorbel-web-starter-')
    try:
        sdk = os.path.join(scratch, 'sdk')
        shutil.copytree(os.path.join(web_build, 'sdk'), sdk, symlinks=True)
        game = os.path.join(scratch, 'game')
        shutil.copytree(os.path.join(sdk, 'share', 'quorbel', 'starter'), game)
        began = time.monotonic()
        run(['emcmake', 'cmake', '-B', 'web', '-DCMAKE_FIND_ROOT_PATH=' + sdk], game)
        run(['cmake', '--build', 'web'], game)
        print(f'  the starter built for the browser in {time.monotonic() - began:.0f} s', flush=True)
        expect_no_path_into(ROOT, os.path.join(game, 'web'))
        page = os.path.join(game, 'web', 'starter')
        files = sorted(os.listdir(page))
        expect(files == PAGE_FILES, f'the page folder holds {files}, not {PAGE_FILES}')
        data = os.path.join(page, 'starter.data')
        expected = packed_counts(os.path.join(sdk, 'bin', 'sbpack'), data, scratch)

        site = Site(page)
        try:
            play_and_reload(browser, site, data, expected, scratch)
        finally:
            site.close()
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def play_and_reload(browser, site, data, expected, scratch):
    arguments = urllib.parse.quote(f'--frames {FRAMES} --shot shot.bmp')
    browser.open(site.url(f'index.html?args={arguments}'), record=RECORD_MIX)
    browser.wait_for("window.quorbelState.phase === 'ready'", 60, 'the page to load')
    expect(page_folder(browser) == ['starter'],
           f'before the game starts its folder holds {page_folder(browser)}, not its program alone')
    with open(data, 'rb') as f:
        expect(page_bytes(browser, FOLDER + '/starter') == f.read(),
               'the program\'s file in the page is not the packed media')
    browser.start()
    browser.wait_for_line('Init OK', 30)
    time.sleep(1.0)
    check_canvas(browser, expected)
    browser.wait_for("window.quorbelState.phase === 'ended'", 60, 'the starter to end')
    state = browser.eval('window.quorbelState')
    expect(state['exitCode'] == 0 and not state['error'], f'the starter ended with {state}')
    log = browser.eval("(() => { try { return Module.FS.readFile('/tmp/ErrorLog.txt', "
                       "{encoding: 'utf8'}); } catch (e) { return ''; } })()")
    expect(not log.strip(), f'the starter wrote to its error log: {log!r}')

    here = page_folder(browser)
    expect(here == ['shot.bmp', 'starter', 'starter.ini'],
           f'the page\'s folder holds {here}: media beside the program, or files it should not write')
    shot = os.path.join(scratch, 'shot.bmp')
    with open(shot, 'wb') as f:
        f.write(page_bytes(browser, FOLDER + '/shot.bmp'))
    ini = page_bytes(browser, FOLDER + '/starter.ini')
    found = re.fullmatch(rb'\[starter\]\r?\nbest=(\d+)\r?\n', ini)
    expect(found, f'starter.ini is not one section with one key: {ini!r}')
    desktop.check_played(desktop.read_bmp24(shot), int(found.group(1)), expected,
                         'the screen the page\'s starter saved')
    loud = browser.eval('quorbelMix.loudBlocks')
    expect(loud > 0, 'the caught coins\' chirps left every mixed sample zero')

    browser.call('reload')
    browser.wait_for("window.quorbelState.phase === 'ready'", 60, 'the page to load again')
    kept = browser.eval(f"(() => {{ try {{ return Array.from(Module.FS.readFile("
                        f"{FOLDER + '/starter.ini'!r})); }} catch (e) {{ return null; }} }})()")
    expect(kept is not None and bytes(kept) == ini,
           f'after a reload starter.ini is {kept and bytes(kept)!r}, not {ini!r}')


def cases(browser, build, web_build):
    return [('starter_on_the_browser_sdk', lambda: test_starter(browser, build, web_build))]
