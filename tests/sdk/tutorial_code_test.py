#!/usr/bin/env python3
"""tools/tutorial_code.py against broken copies of the tutorial, the starter
and the command reference: each fault must fail the check.

    tutorial_code_test.py REPO
"""
import os
import shutil
import subprocess
import sys
import tempfile

REPO = os.path.abspath(sys.argv[1])
TOOL = os.path.join(REPO, 'tools', 'tutorial_code.py')
FILES = ('docs/tutorial.md', 'docs/commands.md', 'examples/starter')


def copy_of_repo(scratch):
    root = tempfile.mkdtemp(dir=scratch)
    for path in FILES:
        source, target = os.path.join(REPO, path), os.path.join(root, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if os.path.isdir(source):
            shutil.copytree(source, target)
        else:
            shutil.copyfile(source, target)
    return root


def edit(root, path, old, new):
    full = os.path.join(root, path)
    with open(full, encoding='utf-8') as f:
        text = f.read()
    if old not in text:
        sys.exit(f'FAIL: the fault cannot be made: {old!r} is not in {path}')
    with open(full, 'w', encoding='utf-8') as f:
        f.write(text.replace(old, new, 1))


def check(root):
    done = subprocess.run([sys.executable, TOOL, '--check', '--root', root],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return done.returncode, done.stdout.decode()


FAULTS = [
    ('a line of the starter changed', 'examples/starter/starter.cpp',
     'ShipX + 2 * dx', 'ShipX + 3 * dx'),
    ('a line added to the starter', 'examples/starter/starter.cpp',
     '        SteerShip();\n', '        SteerShip();\n        SteerShip();\n'),
    ('a line of the build changed', 'examples/starter/CMakeLists.txt',
     'project(starter CXX)', 'project(starter C CXX)'),
    ('a line of the tutorial\'s code changed', 'docs/tutorial.md',
     'ShipX = 152, ShipY = 112', 'ShipX = 150, ShipY = 112'),
    ('a block of the tutorial dropped', 'docs/tutorial.md',
     '<!-- code: starter.cpp -->\n```cpp\n        PrintText("SCORE " + NumberText(Score), 4, 4);\n```',
     ''),
    ('a C++ block without its marker', 'docs/tutorial.md',
     '<!-- code: starter.cpp -->\n```cpp\n        PrintText("SCORE "', '```cpp\n        PrintText("SCORE "'),
    ('a command used but never linked', 'docs/tutorial.md',
     '[`KeyState`](commands.md#keystate)', '`KeyState`'),
    ('a link to no heading of the reference', 'docs/tutorial.md',
     '(commands.md#spritecollision)', '(commands.md#spritecollisions)'),
    ('a command missing from the reference', 'docs/commands.md',
     '#### SpriteCollision\n', '#### SpriteCollisionTest\n'),
    ('a name in the prose that is no command', 'docs/tutorial.md',
     'The ship is steered before it is drawn:', 'The ship is steered with `SteerSprite` before it is drawn:'),
]


def main():
    scratch = tempfile.mkdtemp(prefix='quorbel-tutorial-test-')
    failures = 0
    try:
        code, output = check(copy_of_repo(scratch))
        if code != 0:
            print(f'FAIL: the unbroken copy does not pass:\n{output}')
            failures += 1
        for what, path, old, new in FAULTS:
            root = copy_of_repo(scratch)
            edit(root, path, old, new)
            code, output = check(root)
            if code == 0:
                print(f'FAIL: not caught: {what}')
                failures += 1
            else:
                print(f'ok: caught: {what}: {output.strip()[:160]}')

        root = copy_of_repo(scratch)
        programs = []
        for step in (1, 2):
            out = os.path.join(scratch, f'step{step}.cpp')
            subprocess.run([sys.executable, TOOL, '--root', root, '--step', str(step),
                            '--out', out], check=True)
            with open(out, encoding='utf-8') as f:
                programs.append(f.read())
        if 'LoadSprite' in programs[0] or 'LoadSprite' not in programs[1] \
                or 'SpriteCollision' in programs[1] or 'PresentFrame' not in programs[0]:
            print('FAIL: the programs of steps 1 and 2 do not hold their own lines only')
            failures += 1
        else:
            print('ok: step 1 has the frame loop and no sprite; step 2 adds the sprites')
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    if failures:
        sys.exit(f'{failures} fault(s) not caught')
    print('every fault was caught')


if __name__ == '__main__':
    main()
