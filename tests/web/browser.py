"""The browser side of the web tests: the built site served on 127.0.0.1,
headless Chromium driven through driver.mjs (puppeteer-core), and the page's
picture read back from screenshots of what it shows."""
import base64
import functools
import http.server
import json
import os
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, 'examples'))
from check_examples import read_png  # noqa: E402  (the examples' PNG reader)

SCREEN_W, SCREEN_H = 320, 240


# Records what the page mixes: SDL's audio node hands each block to the
# output; a copy of its samples (16-bit, both channels) is kept here.
RECORD_MIX = """
(() => {
  const mix = window.quorbelMix = {blocks: 0, loudBlocks: 0, rate: 0, left: [], right: []};
  const Context = window.AudioContext;
  const create = Context.prototype.createScriptProcessor;
  const accessor = Object.getOwnPropertyDescriptor(ScriptProcessorNode.prototype, 'onaudioprocess');
  Context.prototype.createScriptProcessor = function () {
    const node = create.apply(this, arguments);
    mix.rate = this.sampleRate;
    Object.defineProperty(node, 'onaudioprocess', {
      get() { return accessor.get.call(node); },
      set(handler) {
        accessor.set.call(node, event => {
          handler(event);
          const out = event.outputBuffer;
          const left = out.getChannelData(0), right = out.getChannelData(out.numberOfChannels - 1);
          let loud = false;
          for (let i = 0; i < left.length; ++i) {
            const l = Math.round(left[i] * 32768), r = Math.round(right[i] * 32768);
            if (l || r) loud = true;
            if (mix.left.length < 400000) { mix.left.push(l); mix.right.push(r); }
          }
          mix.blocks++;
          if (loud) mix.loudBlocks++;
        });
      },
    });
    return node;
  };
})();
"""


class CheckFailed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise CheckFailed(message)


class Site:
    """The site on a port of its own, as a static host serves it."""

    def __init__(self, folder):
        class Handler(http.server.SimpleHTTPRequestHandler):
            extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                              '.wasm': 'application/wasm', '.js': 'text/javascript'}

            def log_message(self, *arguments):
                pass

        self.server = http.server.ThreadingHTTPServer(
            ('127.0.0.1', 0), functools.partial(Handler, directory=folder))
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def url(self, path=''):
        return f'http://127.0.0.1:{self.port}/{path}'

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Browser:
    """One headless Chromium for the whole run; one page at a time."""

    def __init__(self):
        self.process = subprocess.Popen(
            ['node', os.path.join(HERE, 'driver.mjs')], cwd=HERE, stdin=subprocess.PIPE,
            stdout=subprocess.PIPE, text=True, bufsize=1)
        self.next_id = 0
        self.console = []
        self.page_errors = []

    def call(self, cmd, **arguments):
        self.next_id += 1
        self.process.stdin.write(json.dumps({'id': self.next_id, 'cmd': cmd, **arguments}) + '\n')
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        if not line:
            raise CheckFailed('the browser driver ended')
        answer = json.loads(line)
        if not answer['ok']:
            raise CheckFailed(f'{cmd}: {answer["error"]}')
        return answer.get('result')

    def open(self, url, **arguments):
        self.console, self.page_errors = [], []
        return self.call('open', url=url, **arguments)

    def eval(self, js):
        return self.call('eval', js=js)

    def wait_for(self, js, timeout=30.0, what=None):
        try:
            return self.call('waitFor', js=js, timeout=int(timeout * 1000))
        except CheckFailed as failure:
            self.take_lines()
            raise CheckFailed(f'timed out waiting for {what or js}; console: '
                              f'{self.console[-12:]}; errors: {self.page_errors}') from failure

    def take_lines(self):
        taken = self.call('lines')
        self.console += taken['lines']
        self.page_errors += taken['errors']
        return self.console

    def wait_for_line(self, text, timeout=30.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if text in self.take_lines():
                return
            time.sleep(0.1)
        raise CheckFailed(f'the page printed no "{text}"; console: {self.console[-12:]}; '
                          f'errors: {self.page_errors}')

    def key(self, code, hold=0.15):
        self.call('key', code=code, down=True)
        time.sleep(hold)
        self.call('key', code=code, down=False)

    def click(self, x, y, hold=0.25):
        self.call('mouse', x=x, y=y, action='move')
        time.sleep(0.1)
        self.call('mouse', x=x, y=y, action='down')
        time.sleep(hold)
        self.call('mouse', x=x, y=y, action='up')

    def phase(self):
        return self.eval('window.quorbelState && window.quorbelState.phase')

    def start(self, timeout=60.0):
        """Waits until the page is ready to play and presses a key."""
        self.wait_for("window.quorbelState && window.quorbelState.phase === 'ready'", timeout,
                      'the page to load')
        self.key('Space')
        self.wait_for("window.quorbelState.phase === 'running'", 5, 'the program to start')

    def picture(self):
        """The page as shown: rows of 0xRRGGBB, and the canvas's box."""
        shot = self.call('screenshot')
        descriptor, path = tempfile.mkstemp(prefix='quorbel-page-', suffix='.png')
        with os.fdopen(descriptor, 'wb') as f:
            f.write(base64.b64decode(shot['png']))
        try:
            png = read_png(path)
        finally:
            os.remove(path)
        rows = []
        for y in range(png.height):
            row = []
            for x in range(png.width):
                r, g, b = png.rgb(x, y)
                row.append(r << 16 | g << 8 | b)
            rows.append(row)
        return rows, shot['box']

    def close(self):
        try:
            self.process.stdin.close()
            self.process.wait(20)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()


class Layout:
    """Where the page shows the program's screen: the canvas (the screen's own
    pixels) scaled by a whole number in the stage, black bars around it (page
    pixels are device pixels at a device pixel ratio of 1)."""

    def __init__(self, box):
        self.x, self.y = round(box['x']), round(box['y'])
        expect(list(box['pixels']) == [SCREEN_W, SCREEN_H],
               f'the canvas has {box["pixels"]} pixels, not the screen\'s')
        self.scale = round(box['width'] / SCREEN_W)
        expect(self.scale >= 1 and box['width'] == SCREEN_W * self.scale and
               box['height'] == SCREEN_H * self.scale,
               f'the canvas shows at {box["width"]} x {box["height"]}: no whole-number scale')
        self.left, self.top, right, bottom = (round(v) for v in box['stage'])
        self.width, self.height = right - self.left, bottom - self.top

    def page_point(self, sx, sy):
        """The page position at the middle of a screen pixel."""
        return (self.x + sx * self.scale + self.scale // 2,
                self.y + sy * self.scale + self.scale // 2)


def screen_of(rows, box, what):
    """The screen the canvas shows, checking that the bars in the stage are
    black, the picture centred and every screen pixel one crisp block."""
    layout = Layout(box)
    s = layout.scale
    expect(abs((layout.x - layout.left) - (layout.left + layout.width - layout.x - SCREEN_W * s)) <= 1
           and abs((layout.y - layout.top) -
                   (layout.top + layout.height - layout.y - SCREEN_H * s)) <= 1,
           f'{what}: the picture is not centred in the stage')
    for y in range(layout.top, layout.top + layout.height, 7):
        for x in range(layout.left, layout.left + layout.width, 7):
            inside = (layout.x <= x < layout.x + SCREEN_W * s and
                      layout.y <= y < layout.y + SCREEN_H * s)
            if not inside:
                expect(rows[y][x] == 0, f'{what}: page pixel ({x}, {y}) in the bars is '
                                        f'{rows[y][x]:06x}, not black')
    screen = []
    for sy in range(SCREEN_H):
        line = []
        for sx in range(SCREEN_W):
            px, py = layout.x + sx * s, layout.y + sy * s
            colour = rows[py][px]
            for dy in range(s):
                for dx in range(s):
                    expect(rows[py + dy][px + dx] == colour,
                           f'{what}: the block of screen pixel ({sx}, {sy}) is not one colour: '
                           'blurred or not a whole-number scale')
            line.append(colour)
        screen.append(line)
    return screen, layout
