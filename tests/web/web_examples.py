"""Every example in the browser, through the same checks as on the desktop
(examples/check_examples.py): each run opens the example's page with the
run's options, starts it with a key, waits for the page to say the program
ended, and brings the files of the program's folder in the page back into a
local folder, where the desktop's checks read them. Files the checks put
into that folder go into the page's folder before each run.

Where the desktop check reads what only the desktop has:
- sound_mix records the mix with SDL's disk driver; in the page the mix is
  recorded where it leaves for the browser (the page opens its sound at the
  runtime's own rate, so it arrives unconverted) and written where the check
  reads the disk driver's file.
- download serves its file from a local server of another origin: the
  browser fetches it only with CORS permission, which that server gives here.
"""
import http.server
import os
import shutil
import struct
import sys
import tempfile
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(HERE)), 'examples'))
import check_examples as desktop  # noqa: E402

from browser import RECORD_MIX, CheckFailed  # noqa: E402

FOLDER = '/examples'
scores_ini = desktop.scores_ini

LIST_FILES = """
(() => {
  const found = [];
  const media = window.Module.quorbelPage.mediaTime;
  const walk = folder => {
    for (const name of Module.FS.readdir(folder)) {
      if (name === '.' || name === '..') continue;
      const path = folder + '/' + name;
      const stat = Module.FS.stat(path);
      if (Module.FS.isDir(stat.mode)) walk(path);
      else if (stat.mtime.getTime() !== media) found.push([path, stat.mtime.getTime()]);
    }
  };
  walk('%s');
  return found;
})()
"""


def allow_other_origins():
    """The local servers of the download checks let pages of other origins
    read them (CORS)."""
    end_headers = http.server.BaseHTTPRequestHandler.end_headers
    if getattr(end_headers, 'allows_origins', False):
        return

    def with_permission(self):
        self.send_header('Access-Control-Allow-Origin', '*')
        end_headers(self)
    with_permission.allows_origins = True
    http.server.BaseHTTPRequestHandler.end_headers = with_permission


class BrowserRun(desktop.Run):
    def __init__(self, browser, site, folder, name):
        self.browser, self.site = browser, site
        self.folder, self.name = folder, name
        self.left_in_tmpdir = []

    def _page_files(self):
        return self.browser.eval(LIST_FILES % FOLDER)

    def _put_files(self):
        """The local folder's files into the page's folder, and no others."""
        local = {}
        for name in os.listdir(self.folder):
            path = os.path.join(self.folder, name)
            if os.path.isfile(path):
                local[FOLDER + '/' + name] = path
        for path, _ in self._page_files():
            if path not in local:
                self.browser.eval(f"Module.FS.unlink({path!r})")
        for page_path, path in local.items():
            with open(path, 'rb') as f:
                data = list(f.read())
            ms = os.stat(path).st_mtime_ns // 1000000
            self.browser.eval(f"(() => {{ Module.FS.writeFile({page_path!r}, new Uint8Array({data})); "
                              f"Module.FS.utime({page_path!r}, {ms}, {ms}); }})()")

    def _take_files(self):
        for path, ms in self._page_files():
            data = bytes(self.browser.eval(f"Array.from(Module.FS.readFile({path!r}))"))
            local = os.path.join(self.folder, os.path.relpath(path, FOLDER))
            os.makedirs(os.path.dirname(local), exist_ok=True)
            with open(local, 'wb') as f:
                f.write(data)
            os.utime(local, ns=(ms * 1000000, ms * 1000000))

    def __call__(self, *arguments, env=None):
        env = env or {}
        recording = env.get('SDL_AUDIODRIVER') == 'disk'
        query = urllib.parse.quote(' '.join(arguments))
        self.browser.open(self.site.url(f'examples/{self.name}.html?args={query}'),
                          record=RECORD_MIX if recording else None)
        self.browser.wait_for("window.quorbelState.phase === 'ready'", 60, 'the page to load')
        self._put_files()
        self.browser.key('Space')
        try:
            self.browser.wait_for("window.quorbelState.phase === 'ended'", desktop.TIMEOUT,
                                  f'{self.name} to end')
        except CheckFailed as failure:
            raise desktop.CheckFailed(f'{self.name} {" ".join(arguments)}: {failure}')
        state = self.browser.eval('window.quorbelState')
        output = '\n'.join(self.browser.take_lines())
        desktop.expect(state['exitCode'] == 0 and not state['error'],
                       f'{self.name} ended with {state}:\n{output}')
        desktop.expect('Init OK' in output, f'{self.name} did not start:\n{output}')
        self._take_files()
        self.left_in_tmpdir = sorted(n for n in self.browser.eval("Module.FS.readdir('/tmp')")
                                     if n not in ('.', '..'))
        log = self.browser.eval("(() => { try { return Module.FS.readFile('/tmp/ErrorLog.txt', "
                                "{encoding: 'utf8'}); } catch (e) { return ''; } })()")
        desktop.expect(not [line for line in log.splitlines() if line],
                       f'{self.name} wrote to its error log: {log!r}')
        if recording:
            self._write_mix(env['SDL_DISKAUDIOFILE'])
        return output

    def _write_mix(self, path):
        mix = self.browser.eval('({rate: quorbelMix.rate, left: quorbelMix.left, right: quorbelMix.right})')
        desktop.expect(mix['rate'] == 22050,
                       f'the page mixed at {mix["rate"]} frames a second, not 22050')
        frames = [value for pair in zip(mix['left'], mix['right']) for value in pair]
        with open(path, 'wb') as f:
            f.write(struct.pack(f'<{len(frames)}h', *frames))


def cases(browser, site, build):
    allow_other_origins()

    def case(check):
        def run():
            scratch = tempfile.mkdtemp(prefix='quorbel-web-example-')
            try:
                folder = os.path.join(scratch, 'examples')
                os.makedirs(folder)
                # check_archive compares with the game's portrait beside the examples.
                os.symlink(os.path.join(build, 'vux'), os.path.join(scratch, 'vux'))
                runner = BrowserRun(browser, site, folder, desktop.PROGRAMS.get(check, check))
                try:
                    desktop.CHECKS[check](runner)
                except desktop.CheckFailed as failure:
                    raise CheckFailed(str(failure))
            finally:
                shutil.rmtree(scratch, ignore_errors=True)
        return ('example_' + check, run)

    return [case(check) for check in desktop.CHECKS]

