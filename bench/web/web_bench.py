#!/usr/bin/env python3
"""Figures of the browser build, each beside its reference in the same run
(headless Chromium through tests/web/driver.mjs, the site served on
127.0.0.1):

- size: the game's files as a host serves them, all and gzip-compressed,
  beside the bare page (bench/web/bare_window.cpp built the same way);
- start-up: navigation to the game's first menu frame (the first frame
  after it has read its media; the menu then cross-fades in) beside
  navigation to the bare page's first frame ("Init OK"), both started by a
  key as soon as they are ready to play, the median of several loads each;
- frames: the intervals between the frames the running board shows, beside
  the intervals of the browser's own animation frames on an empty page.

    web_bench.py WEB_BUILD_DIR [size|startup|frames ...]
"""
import gzip
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, 'tests', 'web'))
from browser import Browser, Site  # noqa: E402

# Each frame the program shows goes through the copy of its back buffer to
# the canvas: its time is taken there. The game's menu begins with the first
# frame after it has read its last portrait (vux/62.png).
WATCH_FRAMES = """
(() => {
  window.quorbelShown = [];
  window.quorbelMediaRead = null;
  const watch = () => {
    if (!window.Module || !Module.quorbelUseBackBuffer || !window.FS) return setTimeout(watch, 1);
    const use = Module.quorbelUseBackBuffer;
    Module.quorbelUseBackBuffer = function () {
      use.apply(this, arguments);
      const blit = GL.blitOffscreenFramebuffer;
      GL.blitOffscreenFramebuffer = function () {
        quorbelShown.push(performance.now());
        return blit.apply(this, arguments);
      };
    };
    const open = FS.open;
    FS.open = function (path, flags) {
      // Read by the program, not written by the page's media set-up.
      const reading = typeof flags === 'number' ? (flags & 3) === 0 : flags === 'r';
      if (quorbelMediaRead === null && reading && typeof path === 'string' && /vux.62.png$/.test(path))
        quorbelMediaRead = performance.now();
      return open.apply(this, arguments);
    };
  };
  watch();
  window.quorbelPrinted = {};
  const log = console.log;
  console.log = function (text) {
    if (!(text in window.quorbelPrinted)) window.quorbelPrinted[text] = performance.now();
    return log.apply(this, arguments);
  };
})();
"""

MENU_SHOWN = 'quorbelMediaRead !== null && quorbelShown.some(t => t > quorbelMediaRead)'


def files_of(folder, names):
    return [os.path.join(folder, name) for name in names]


def sizes(paths):
    raw = sum(os.path.getsize(p) for p in paths)
    packed = 0
    for path in paths:
        with open(path, 'rb') as f:
            packed += len(gzip.compress(f.read(), compresslevel=9))
    return raw, packed


def bench_size(web_build, **_):
    site, floor = os.path.join(web_build, 'site'), os.path.join(web_build, 'floor')
    game = files_of(site, ['index.html', 'shell.js', 'shell.css', 'quorbel.js', 'quorbel.wasm',
                           'quorbel.data'])
    bare = files_of(floor, ['index.html', 'shell.js', 'shell.css', 'bare_window.js',
                            'bare_window.wasm'])
    for what, paths in (('game (page, program, media)', game), ('bare page (floor)', bare)):
        raw, packed = sizes(paths)
        print(f'size  {what:30s} {raw / 1e6:6.2f} MB, gzip {packed / 1e6:6.2f} MB')
    for path in game:
        raw, packed = sizes([path])
        print(f'      {os.path.basename(path):30s} {raw / 1e6:6.3f} MB, gzip {packed / 1e6:6.3f} MB')
    everything = [os.path.join(d, f) for d, _, names in os.walk(site) for f in names]
    raw, packed = sizes(everything)
    print(f'size  {"whole site (game and examples)":30s} {raw / 1e6:6.2f} MB, gzip {packed / 1e6:6.2f} MB')


def first_frame_ms(browser, url, menu):
    browser.open(url, record=WATCH_FRAMES)
    browser.call('waitFor', js="window.quorbelState && window.quorbelState.phase === 'ready'",
                 timeout=60000)
    browser.call('key', code='Space', down=True)
    browser.call('key', code='Space', down=False)
    browser.call('waitFor', js="'Init OK' in quorbelPrinted", timeout=60000)
    if menu:
        browser.call('waitFor', js=MENU_SHOWN, timeout=60000)
        return browser.eval("[quorbelShown.find(t => t > quorbelMediaRead), quorbelPrinted['Init OK']]")
    return browser.eval("[quorbelPrinted['Init OK'], quorbelPrinted['Init OK']]")


def bench_startup(web_build, browser, site, floor_site, loads=5, **_):
    game, bare = [], []
    for _ in range(loads):
        game.append(first_frame_ms(browser, site.url('index.html'), True))
        bare.append(first_frame_ms(browser, floor_site.url('index.html'), False))
    g, b = statistics.median(v[0] for v in game), statistics.median(v[0] for v in bare)
    print(f'start-up  game: navigation to the first menu frame  median {g:7.1f} ms '
          f'({", ".join(f"{v[0]:.0f}" for v in game)})')
    print(f'start-up  bare page: navigation to its first frame  median {b:7.1f} ms '
          f'({", ".join(f"{v[0]:.0f}" for v in bare)})')
    print(f'start-up  ratio {g / b:.2f}')
    # Where both have done the same (a window, a context, a frame shown), as
    # the desktop's start-up benchmark measures.
    gi = statistics.median(v[1] for v in game)
    print(f'start-up  game: navigation to "Init OK"  median {gi:7.1f} ms, ratio {gi / b:.2f}')


def intervals_summary(stamps):
    gaps = sorted(b - a for a, b in zip(stamps, stamps[1:]))
    p99 = gaps[min(len(gaps) - 1, int(round(0.99 * (len(gaps) - 1))))]
    return statistics.median(gaps), p99, gaps[-1], len(gaps)


def bench_frames(web_build, browser, site, seconds=8, **_):
    # The reference: the browser's own animation frames on a page with nothing in it.
    browser.open(site.url('examples/index.html'))
    stamps = browser.eval(f"""new Promise(done => {{
      const stamps = [];
      const frame = t => {{ stamps.push(performance.now());
        if (stamps.length < {int(seconds * 60)}) requestAnimationFrame(frame); else done(stamps); }};
      requestAnimationFrame(frame); }})""")
    median, p99, worst, n = intervals_summary(stamps)
    print(f'frames  empty page, animation frames   median {median:5.2f} ms, p99 {p99:5.2f} ms, '
          f'worst {worst:5.1f} ms ({n} intervals)')

    # The board: one player, Easy, one round, then the frames of the turn.
    browser.open(site.url('index.html'), record=WATCH_FRAMES)
    browser.call('waitFor', js="window.quorbelState && window.quorbelState.phase === 'ready'",
                 timeout=60000)
    browser.key('Space')
    browser.call('waitFor', js=MENU_SHOWN, timeout=60000)
    for key in ('ArrowUp', 'KeyA', 'KeyA', 'KeyA', 'KeyA'):
        time.sleep(2.5)  # each menu screen cross-fades in
        browser.key(key, 0.1)
    time.sleep(3)  # the board slides in
    start = browser.eval('quorbelShown.length')
    time.sleep(seconds)
    stamps = browser.eval(f'quorbelShown.slice({start})')
    median, p99, worst, n = intervals_summary(stamps)
    print(f'frames  the board, frames shown        median {median:5.2f} ms, p99 {p99:5.2f} ms, '
          f'worst {worst:5.1f} ms ({n} intervals)')


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    web_build = os.path.abspath(sys.argv[1])
    wanted = sys.argv[2:] or ['size', 'startup', 'frames']
    site = Site(os.path.join(web_build, 'site'))
    floor_site = Site(os.path.join(web_build, 'floor'))
    browser = Browser()
    try:
        load = os.getloadavg()[0]
        print(f'headless Chromium, {os.cpu_count()} cores, load average {load:.1f}')
        for name in wanted:
            globals()['bench_' + name](web_build=web_build, browser=browser, site=site,
                                       floor_site=floor_site)
    finally:
        browser.close()
        site.close()
        floor_site.close()


if __name__ == '__main__':
    main()
