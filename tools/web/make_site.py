#!/usr/bin/env python3
"""Puts the browser build's programs, their media and the page shell together
into a site that any static web host serves as it is.

    make_site.py PROGRAMS_DIR DESKTOP_BUILD_DIR SITE_DIR [FLOOR_DIR]

PROGRAMS_DIR holds NAME.js and NAME.wasm from tools/web/web.cmake; the media
come from the desktop build, which draws and packs them. The site:

    index.html              the game
    quorbel.js .wasm .data  the game's program and its packed media
    shell.js shell.css      the page shell (web/)
    examples/index.html     the examples, a page each (NAME.html)
    examples/example_NAME.js .wasm [.data]

FLOOR_DIR, when given, receives the bare page of the start-up benchmark.
"""
import glob
import html
import json
import os
import shutil
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SHELL = os.path.join(ROOT, 'web')

EXAMPLES = [
    ('sprites', 'Sprites and pixel-exact collision'),
    ('text', 'Text, fonts and an INI high-score table'),
    ('sound', 'Sound slots with volume and pan'),
    ('input', 'Keyboard, mouse and joystick read-out'),
    ('pathfind', 'Grid path finding'),
    ('offscreen', 'Off-screen targets and a screenshot'),
    ('archive', 'A packed media archive'),
    ('download', 'An HTTP download into a file'),
]


def game_media(desktop):
    """The game's media as the desktop build drew them: (path in the program's
    folder, file)."""
    patterns = ['back*.png', 'menu/*.png', 'vux/*.png', 'smalfont.png', 'smalfont.bmp', '*.wav']
    found = []
    for pattern in patterns:
        for path in sorted(glob.glob(os.path.join(desktop, pattern))):
            found.append((os.path.relpath(path, desktop), path))
    if not any(name.startswith('vux/') for name, _ in found):
        sys.exit(f'make_site: no media in {desktop}: build the desktop media first')
    return found


def pack(files, out):
    """One file of the media, end to end; returns the table of (path, offset, size)."""
    table, offset = [], 0
    with open(out, 'wb') as packed:
        for name, path in files:
            with open(path, 'rb') as f:
                data = f.read()
            packed.write(data)
            table.append([name, offset, len(data)])
            offset += len(data)
    return table


def copy_program(programs, name, out_dir):
    for suffix in ('.js', '.wasm'):
        source = os.path.join(programs, name + suffix)
        if not os.path.exists(source):
            sys.exit(f'make_site: {source} is not built')
        shutil.copyfile(source, os.path.join(out_dir, name + suffix))


def page(out, title, root, config):
    with open(os.path.join(SHELL, 'page.html')) as f:
        text = f.read()
    # The configuration sits in a script element: "</" must not end it early.
    config_text = json.dumps(config, separators=(',', ':')).replace('</', '<\\/')
    text = (text.replace('@TITLE@', html.escape(title)).replace('@ROOT@', root)
            .replace('@CONFIG@', config_text))
    with open(out, 'w') as f:
        f.write(text)


def program_page(site_dir, page_dir, name, title, folder, media, media_time, root):
    out_dir = os.path.join(site_dir, page_dir)
    os.makedirs(out_dir, exist_ok=True)
    copy_program(PROGRAMS, name, out_dir)
    config = {
        'program': name,
        'folder': folder,
        'root': '',
        'script': name + '.js',
        'wasm': {'url': name + '.wasm', 'size': os.path.getsize(os.path.join(out_dir, name + '.wasm'))},
        'mediaTime': media_time,
    }
    if media:
        table = pack(media, os.path.join(out_dir, name + '.data'))
        config['data'] = {'url': name + '.data', 'size': os.path.getsize(os.path.join(out_dir, name + '.data')),
                          'files': table}
    return config


def main():
    global PROGRAMS
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    PROGRAMS, desktop, site = (os.path.abspath(a) for a in sys.argv[1:4])
    floor = os.path.abspath(sys.argv[4]) if len(sys.argv) == 5 else None
    # The media's own time in the page, which tells them from files written there.
    media_time = int(time.time()) * 1000

    if os.path.exists(site):
        shutil.rmtree(site)
    os.makedirs(site)
    for name in ('shell.js', 'shell.css'):
        shutil.copyfile(os.path.join(SHELL, name), os.path.join(site, name))

    config = program_page(site, '', 'quorbel', 'Quorbel', '/quorbel', game_media(desktop),
                          media_time, '')
    page(os.path.join(site, 'index.html'), 'Quorbel', '', config)

    examples = os.path.join(site, 'examples')
    os.makedirs(examples)
    archive = os.path.join(desktop, 'examples', 'examples.sbx')
    for name, title in EXAMPLES:
        media = [('examples.sbx', archive)] if name == 'archive' else []
        config = program_page(site, 'examples', 'example_' + name, title, '/examples', media,
                              media_time, '../')
        page(os.path.join(examples, name + '.html'), title, '../', config)
    with open(os.path.join(SHELL, 'examples.html')) as f:
        index = f.read()
    items = '\n'.join(f'    <li><a href="{name}.html">{html.escape(title)}</a> '
                      f'<code>examples/{name}.cpp</code></li>' for name, title in EXAMPLES)
    with open(os.path.join(examples, 'index.html'), 'w') as f:
        f.write(index.replace('@EXAMPLES@', items))

    if floor:
        if os.path.exists(floor):
            shutil.rmtree(floor)
        os.makedirs(floor)
        for name in ('shell.js', 'shell.css'):
            shutil.copyfile(os.path.join(SHELL, name), os.path.join(floor, name))
        config = program_page(floor, '', 'bare_window', 'Floor', '/floor', [], media_time, '')
        page(os.path.join(floor, 'index.html'), 'Floor', '', config)
    print(f'make_site: {site}')


if __name__ == '__main__':
    main()
