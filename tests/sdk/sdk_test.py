#!/usr/bin/env python3
"""The SDK as a game programmer meets it, outside this source tree.

    sdk_test.py install BUILD SCRATCH REPO   cmake --install --component sdk into SCRATCH/prefix
    sdk_test.py cmake SCRATCH REPO           the starter copied out of the prefix, built with
                                             find_package(Quorbel), run headless
    sdk_test.py pkgconfig SCRATCH REPO       the same through its Makefile and pkg-config
    sdk_test.py alone SCRATCH                the CMake build's one-file game copied alone into
                                             an empty folder and run there; the same program
                                             with its archive cut off draws no sprites
    sdk_test.py steps SCRATCH REPO           every step of docs/tutorial.md compiles against
                                             the installed header

REPO is this source tree: no build file of the starter may name it. Each run
of the game takes 240 frames with its autopilot, saves its screen as a BMP and
writes its best score into starter.ini; the screen is read back and held
against the pictures packed into the program (sbpack extract).
"""
import os
import re
import shutil
import struct
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'examples'))
from check_examples import CheckFailed, expect, read_bmp24  # noqa: E402

FRAMES = 240
HULL, GOLD, WHITE = (90, 200, 255), (255, 210, 40), (255, 255, 255)
SKY, GROUND = (24, 28, 64), (40, 110, 50)
MEDIA = ('ship.bmp', 'coin.bmp', 'blip.wav')


def run(command, cwd=None, env=None, timeout=300):
    environment = dict(os.environ)
    environment.update(env or {})
    done = subprocess.run(command, cwd=cwd, env=environment, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, timeout=timeout)
    output = done.stdout.decode('utf-8', 'replace')
    expect(done.returncode == 0,
           f'{" ".join(command)} ended with exit code {done.returncode}:\n{output[-4000:]}')
    return output


def prefix_of(scratch):
    return os.path.join(scratch, 'prefix')


def sbpack(scratch):
    return os.path.join(prefix_of(scratch), 'bin', 'sbpack')


def fresh_copy_of_starter(scratch, name):
    folder = os.path.join(scratch, name)
    shutil.rmtree(folder, ignore_errors=True)
    shutil.copytree(os.path.join(prefix_of(scratch), 'share', 'quorbel', 'starter'), folder)
    return folder


def expect_no_path_into(repo, files):
    for path in files:
        with open(path, 'rb') as f:
            text = f.read()
        expect(repo.encode() not in text, f'{path} names the source tree {repo}')


# ---------------------------------------------------------------- install

def check_install(build, scratch, repo):
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    prefix = prefix_of(scratch)
    run(['cmake', '--install', build, '--component', 'sdk', '--prefix', prefix])
    files = sorted(os.path.relpath(os.path.join(d, f), prefix)
                   for d, _, names in os.walk(prefix) for f in names)
    libdir = os.path.dirname(os.path.dirname(pc_file(scratch)))
    lib = os.path.relpath(libdir, prefix)
    expect(lib in ('lib', 'lib/' + multiarch()), f'the libraries are in {lib}')
    wanted = ['bin/sbpack', 'include/quorbel/runtime.h', 'share/man/man1/sbpack.1.gz',
              f'{lib}/cmake/Quorbel/QuorbelConfig.cmake', f'{lib}/cmake/Quorbel/QuorbelGame.cmake',
              f'{lib}/cmake/Quorbel/QuorbelConfigVersion.cmake', f'{lib}/pkgconfig/quorbel.pc',
              f'{lib}/libquorbel_platform.a', f'{lib}/libquorbel_runtime.a',
              'share/quorbel/starter/CMakeLists.txt', 'share/quorbel/starter/Makefile',
              'share/quorbel/starter/starter.cpp', 'share/quorbel/starter/media.cpp',
              'share/quorbel/starter/README.md']
    for name in wanted:
        expect(name in files, f'the SDK lacks {name}; it holds {files}')
    game = [f for f in files if f.startswith(('lib/quorbel/', 'bin/quorbel', 'share/applications'))]
    expect(not game, f'the SDK holds the game\'s files: {game}')

    with open(os.path.join(repo, 'runtime', 'runtime.h'), 'rb') as f:
        header = f.read()
    with open(os.path.join(prefix, 'include', 'quorbel', 'runtime.h'), 'rb') as f:
        expect(f.read() == header, 'include/quorbel/runtime.h differs from runtime/runtime.h')
    for included in re.findall(rb'#include "(runtime/[^"]+)"', header):
        path = os.path.join(prefix, 'include', 'quorbel', included.decode())
        expect(os.path.isfile(path), f'runtime.h includes {included.decode()}, not installed')
    for library in ('libquorbel_runtime.a', 'libquorbel_platform.a'):
        with open(os.path.join(libdir, library), 'rb') as f:
            expect(f.read(8) == b'!<arch>\n', f'{library} is no static library')
    for name in ('starter.cpp', 'media.cpp', 'CMakeLists.txt', 'Makefile'):
        with open(os.path.join(repo, 'examples', 'starter', name), 'rb') as a, \
                open(os.path.join(prefix, 'share', 'quorbel', 'starter', name), 'rb') as b:
            expect(a.read() == b.read(), f'the installed starter\'s {name} differs')
    expect_no_path_into(repo, [os.path.join(prefix, f) for f in files
                               if f.endswith(('.cmake', '.pc', '.h', 'CMakeLists.txt'))])
    expect_no_path_into(build, [os.path.join(prefix, f) for f in files
                                if f.endswith(('.cmake', '.pc'))])
    pc = pkg_config(scratch, '--cflags', '--libs', 'quorbel')
    for flag in ('-lquorbel_runtime -lquorbel_platform', '-lSDL2', '-lSDL2_mixer', '-lpng16',
                 '-lz', '-llzo2', '-lavformat', '-lavcodec', '-lswscale', '-lavutil', '-lGL',
                 '-pthread'):
        expect(flag in pc, f'pkg-config --cflags --libs quorbel lacks {flag}: {pc}')
    expect(pc.index('-lquorbel_platform') < pc.index('-lSDL2 '),
           f'the runtime\'s static libraries come after the libraries they need: {pc}')


def multiarch():
    done = subprocess.run(['gcc', '-print-multiarch'], stdout=subprocess.PIPE)
    return done.stdout.decode().strip()


def pc_file(scratch):
    """The installed quorbel.pc, in lib/pkgconfig or the multiarch lib folder."""
    for lib in ('lib/' + multiarch(), 'lib'):
        path = os.path.join(prefix_of(scratch), lib, 'pkgconfig', 'quorbel.pc')
        if os.path.isfile(path):
            return path
    raise CheckFailed('the SDK holds no quorbel.pc')


def pkg_config(scratch, *arguments):
    environment = {'PKG_CONFIG_PATH': os.path.dirname(pc_file(scratch))}
    return run(['pkg-config', *arguments], env=environment).strip()


# ---------------------------------------------------------------- running the game

def expected_counts(scratch, program, where):
    """Hull and gold pixels of the pictures packed into the program."""
    counts = {}
    for member, colour in (('ship.bmp', HULL), ('coin.bmp', GOLD)):
        out = os.path.join(where, 'packed-' + member)
        run([sbpack(scratch), 'extract', program, member, out])
        picture = read_bmp24(out)
        counts[colour] = sum(picture.rgb(x, y) == colour
                             for y in range(picture.height) for x in range(picture.width))
        os.remove(out)
    return counts


def colour_counts(picture):
    counts = {}
    for y in range(picture.height):
        for x in range(picture.width):
            rgb = picture.rgb(x, y)
            counts[rgb] = counts.get(rgb, 0) + 1
    return counts


def play(program, scratch, env=None):
    """Runs the game headless for FRAMES frames from its own folder; its
    screen, its best score and what was left in its temporary folder."""
    folder = os.path.dirname(program)
    shot = os.path.join(folder, 'shot.bmp')
    for old in (shot, os.path.join(folder, 'starter.ini')):
        if os.path.exists(old):
            os.remove(old)
    tmp = os.path.join(scratch, 'tmp-' + os.path.basename(folder))
    shutil.rmtree(tmp, ignore_errors=True)
    os.makedirs(tmp)
    environment = {'SDL_VIDEODRIVER': 'offscreen', 'SDL_AUDIODRIVER': 'dummy', 'TMPDIR': tmp}
    environment.update(env or {})
    output = run([program, '--frames', str(FRAMES), '--shot', 'shot.bmp'], cwd='/',
                 env=environment, timeout=120)
    expect('Init OK' in output, f'{program} did not start:\n{output}')
    expect(os.path.exists(shot), f'{program} saved no screen')
    picture = read_bmp24(shot)
    expect((picture.width, picture.height) == (320, 240), f'the screen is {picture.width} x '
           f'{picture.height}')
    best = None
    ini = os.path.join(folder, 'starter.ini')
    if os.path.exists(ini):
        with open(ini, 'rb') as f:
            found = re.fullmatch(rb'\[starter\]\r?\nbest=(\d+)\r?\n', f.read())
        expect(found, f'starter.ini is not one section with one key')
        best = int(found.group(1))
    left = sorted(os.listdir(tmp))
    shutil.rmtree(tmp, ignore_errors=True)
    return picture, best, left


def check_played(picture, best, expected, what):
    counts = colour_counts(picture)
    expect(counts.get(SKY, 0) > 60000, f'{what}: the sky is not drawn ({counts.get(SKY, 0)} pixels)')
    expect(all(picture.rgb(x, 230) == GROUND for x in range(0, 320, 7)),
           f'{what}: the ground is not drawn')
    # The ship is drawn last, whole, inside the screen: every hull pixel shows.
    expect(counts.get(HULL, 0) == expected[HULL],
           f'{what}: {counts.get(HULL, 0)} hull pixels on the screen, the ship has {expected[HULL]}')
    expect(counts.get(GOLD, 0) >= expected[GOLD] // 2,
           f'{what}: {counts.get(GOLD, 0)} gold pixels on the screen; the coin has {expected[GOLD]}')
    score_text = sum(picture.rgb(x, y) == WHITE for y in range(4, 12) for x in range(4, 60))
    expect(score_text >= 20, f'{what}: no "SCORE" text top left ({score_text} white pixels)')
    expect(best is not None and best >= 1,
           f'{what}: the autopilot caught no coin in {FRAMES} frames (best score {best})')


def check_packed(scratch, program):
    members = run([sbpack(scratch), 'list', program])
    names = [line.split('\t')[0] for line in members.strip().split('\n')]
    expect(sorted(names) == sorted(MEDIA), f'{program} carries {names}, not {list(MEDIA)}')


def check_cmake(scratch, repo):
    game = fresh_copy_of_starter(scratch, 'cmake')
    build = os.path.join(game, 'build')
    run(['cmake', '-S', game, '-B', build, '-G', 'Ninja', '-DCMAKE_BUILD_TYPE=RelWithDebInfo',
         '-DCMAKE_PREFIX_PATH=' + prefix_of(scratch)])
    run(['cmake', '--build', build])
    expect_no_path_into(repo, [os.path.join(build, 'CMakeCache.txt'),
                               os.path.join(build, 'build.ninja')])
    program = os.path.join(build, 'starter')
    check_packed(scratch, program)
    picture, best, _ = play(program, scratch)
    check_played(picture, best, expected_counts(scratch, program, scratch), 'CMake build')
    print(f'cmake: built and played; best score {best}')


def check_pkgconfig(scratch, repo):
    game = fresh_copy_of_starter(scratch, 'pkgconfig')
    environment = {'PKG_CONFIG_PATH': os.path.dirname(pc_file(scratch))}
    output = run(['make'], cwd=game, env=environment)
    expect(repo not in output, f'the Makefile\'s commands name the source tree:\n{output}')
    program = os.path.join(game, 'starter')
    check_packed(scratch, program)
    picture, best, _ = play(program, scratch)
    check_played(picture, best, expected_counts(scratch, program, scratch), 'pkg-config build')
    print(f'pkgconfig: built and played; best score {best}')


def archive_start(data):
    """Where the archive appended to a program begins: its trailer gives the
    directory, counted back from the end, and the directory the members."""
    expect(data[-7:-4] == b'sbX', 'the program carries no archive')
    size = len(data)
    position = size + struct.unpack('<i', data[-4:])[0]
    start = position
    while data[position] != 0:
        length = data[position]
        offset, = struct.unpack_from('<i', data, position + 1 + length)
        start = min(start, size + offset)
        position += 1 + length + 8
    return start


def audio_peak(raw):
    with open(raw, 'rb') as f:
        data = f.read()
    samples = struct.unpack(f'<{len(data) // 2}h', data[:len(data) // 2 * 2])
    return max((abs(s) for s in samples), default=0)


def check_alone(scratch):
    built = os.path.join(scratch, 'cmake', 'build', 'starter')
    expect(os.path.exists(built), 'the CMake build of the starter is missing')
    expected = expected_counts(scratch, built, scratch)

    alone = os.path.join(scratch, 'alone')
    shutil.rmtree(alone, ignore_errors=True)
    os.makedirs(alone)
    program = os.path.join(alone, 'starter')
    shutil.copy2(built, program)
    raw = os.path.join(scratch, 'alone-mix.raw')
    picture, best, left = play(program, scratch,
                               env={'SDL_AUDIODRIVER': 'disk', 'SDL_DISKAUDIOFILE': raw})
    check_played(picture, best, expected, 'one file alone in a folder')
    here = sorted(os.listdir(alone))
    expect(here == ['shot.bmp', 'starter', 'starter.ini'],
           f'the folder holds {here}: media beside the program, or files it should not write')
    expect(left in ([], ['ErrorLog.txt']), f'unpacked members left in TMPDIR: {left}')
    peak = audio_peak(raw)
    expect(peak > 1000, f'no chirp in the recorded sound (peak {peak})')

    # The same program without its archive: no sprite, no sound.
    bare = os.path.join(scratch, 'bare')
    shutil.rmtree(bare, ignore_errors=True)
    os.makedirs(bare)
    with open(built, 'rb') as f:
        data = f.read()
    with open(os.path.join(bare, 'starter'), 'wb') as f:
        f.write(data[:archive_start(data)])
    os.chmod(os.path.join(bare, 'starter'), 0o755)
    picture, _, _ = play(os.path.join(bare, 'starter'), scratch,
                         env={'SDL_AUDIODRIVER': 'disk', 'SDL_DISKAUDIOFILE': raw})
    counts = colour_counts(picture)
    expect(counts.get(HULL, 0) == 0 and counts.get(GOLD, 0) == 0,
           'the program without its archive still draws the ship or the coin')
    expect(audio_peak(raw) == 0, 'the program without its archive still plays a sound')
    os.remove(raw)
    print(f'alone: the one file ({len(data)} bytes, {len(data) - archive_start(data)} of them '
          f'media) played in an empty folder; best score {best}')


def check_steps(scratch, repo):
    flags = pkg_config(scratch, '--cflags', 'quorbel').split()
    folder = os.path.join(scratch, 'steps')
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    tool = os.path.join(repo, 'tools', 'tutorial_code.py')
    for step in range(1, 9):
        source = os.path.join(folder, f'step{step}.cpp')
        run([sys.executable, tool, '--root', repo, '--step', str(step), '--out', source])
        run(['c++', '-std=c++20', '-Wall', '-Werror', '-fsyntax-only', *flags, source])
    print('steps: the program of every step of the tutorial compiles')


def main():
    arguments = sys.argv[1:]
    modes = {'install': (check_install, 3), 'cmake': (check_cmake, 2),
             'pkgconfig': (check_pkgconfig, 2), 'alone': (check_alone, 1),
             'steps': (check_steps, 2)}
    if not arguments or arguments[0] not in modes or len(arguments) - 1 != modes[arguments[0]][1]:
        sys.exit(__doc__)
    function = modes[arguments[0]][0]
    try:
        function(*[os.path.abspath(a) for a in arguments[1:]])
    except (CheckFailed, subprocess.TimeoutExpired) as failure:
        sys.exit(f'FAIL ({arguments[0]}): {failure}')


if __name__ == '__main__':
    main()
