#!/usr/bin/env python3
"""The code of docs/tutorial.md, held against the starter's.

    tutorial_code.py --check [--root ROOT]          the tutorial's code is the starter's
    tutorial_code.py --step N --out FILE [--root ROOT]
                                                    starter.cpp as it stands after step N

Every C++ or CMake block of the tutorial follows a marker line naming the
starter file it comes from, `<!-- code: starter.cpp -->`, and is a run of
whole lines of that file as it is in examples/starter/. The blocks of
starter.cpp and CMakeLists.txt cover every line of theirs that is not blank,
none twice. Steps are the `## N. Title` sections: the program of step N is
starter.cpp with only the lines shown in steps 0..N, in the file's order.

--check also holds the tutorial against docs/commands.md: every runtime
command its code calls is linked there at least once, every link into the
reference lands on one of its headings, and every name the tutorial writes
as `Name` or calls is a runtime command, type or constant of the reference
or a function of the starter.
"""
import argparse
import os
import re
import sys

TUTORIAL = 'docs/tutorial.md'
REFERENCE = 'docs/commands.md'
STARTER = 'examples/starter'
COVERED_WHOLE = ('starter.cpp', 'CMakeLists.txt')
MARKER = re.compile(r'^<!-- code: (\S+) -->$')
STEP = re.compile(r'^## (\d+)\. ')
FENCE = re.compile(r'^```')


class Fault(Exception):
    pass


class Block:
    def __init__(self, file, step, lines, line_number):
        self.file, self.step, self.lines, self.line_number = file, step, lines, line_number
        self.start = None  # 0-based line of the starter file where it begins


def read(root, path):
    with open(os.path.join(root, path), encoding='utf-8') as f:
        return f.read()


def tutorial_blocks(text):
    """The marked code blocks, each with the step it is shown in."""
    blocks, step, marker = [], 0, None
    lines = text.split('\n')
    i = 0
    while i < len(lines):
        line = lines[i]
        heading = STEP.match(line)
        if heading:
            step = int(heading.group(1))
        found = MARKER.match(line)
        if found:
            marker = (found.group(1), i + 1)
        elif FENCE.match(line):
            language = line[3:].strip()
            end = i + 1
            while end < len(lines) and not FENCE.match(lines[end]):
                end += 1
            if end == len(lines):
                raise Fault(f'{TUTORIAL}:{i + 1}: a code block is never closed')
            if marker and marker[1] == i:
                blocks.append(Block(marker[0], step, lines[i + 1:end], i + 1))
            elif language in ('cpp', 'c++', 'cmake'):
                raise Fault(f'{TUTORIAL}:{i + 1}: a {language} block without a '
                            '"<!-- code: FILE -->" line right above it')
            marker = None
            i = end
        i += 1
    return blocks


def place_blocks(blocks, files):
    """Finds each block in its file: one place only, no line shown twice."""
    shown = {name: {} for name in files}
    for block in blocks:
        if block.file not in files:
            raise Fault(f'{TUTORIAL}:{block.line_number}: no starter file {block.file}')
        source = files[block.file]
        size = len(block.lines)
        starts = [s for s in range(len(source) - size + 1) if source[s:s + size] == block.lines]
        if not starts:
            raise Fault(f'{TUTORIAL}:{block.line_number}: this block is not in '
                        f'{STARTER}/{block.file} as it stands:\n' + '\n'.join(block.lines))
        if len(starts) > 1:
            raise Fault(f'{TUTORIAL}:{block.line_number}: this block stands in {block.file} '
                        f'{len(starts)} times; show more of it')
        block.start = starts[0]
        for n in range(block.start, block.start + size):
            if n in shown[block.file]:
                raise Fault(f'{TUTORIAL}:{block.line_number}: line {n + 1} of {block.file} '
                            f'is shown already at {TUTORIAL}:{shown[block.file][n]}')
            shown[block.file][n] = block.line_number
    return shown


def check_coverage(files, shown):
    for name in COVERED_WHOLE:
        missing = [n + 1 for n, line in enumerate(files[name])
                   if line.strip() and n not in shown[name]]
        if missing:
            raise Fault(f'{TUTORIAL} never shows lines {missing} of {STARTER}/{name}')


def starter_files(root):
    folder = os.path.join(root, STARTER)
    return {name: read(folder, name).split('\n') for name in sorted(os.listdir(folder))
            if os.path.isfile(os.path.join(folder, name))}


def step_program(blocks, files, step):
    """starter.cpp with the lines of steps 0..step, in the file's order."""
    source = files['starter.cpp']
    wanted = set()
    for block in blocks:
        if block.file == 'starter.cpp' and block.step <= step:
            wanted.update(range(block.start, block.start + len(block.lines)))
    return '\n'.join(source[n] for n in sorted(wanted)) + '\n'


# ---------------------------------------------------------------- the reference

def github_anchor(heading):
    anchor = heading.strip().lower()
    anchor = re.sub(r'[^\w\- ]', '', anchor)
    return anchor.replace(' ', '-')


def reference_names(reference):
    """The reference's heading anchors, its commands (each with the anchor of
    its entry) and its named constants and types."""
    anchors, commands, anchor = set(), {}, ''
    for line in reference.split('\n'):
        heading = re.match(r'^(#+) (.*)$', line)
        if heading:
            anchor = github_anchor(heading.group(2))
            anchors.add(anchor)
            if heading.group(1) == '####':
                commands[heading.group(2).strip()] = anchor
        for name in re.findall(r'^`constexpr \w+ (\w+)\(', line):
            commands[name] = anchor
    constants = set(re.findall(r'`(k[A-Z]\w*)`', reference))
    types = {name for name in re.findall(r'^### (\w+)$', reference, re.M)}
    return anchors, commands, constants, types


def starter_functions(files):
    code = '\n'.join('\n'.join(lines) for name, lines in files.items() if name.endswith('.cpp'))
    return set(re.findall(r'^[\w:<>]+ (\w+)\([^;]*\{$', code, re.M))


def check_reference(text, blocks, files, reference):
    anchors, commands, constants, types = reference_names(reference)
    own = starter_functions(files)
    known = set(commands) | constants | types | own | {'RtString'}

    links = re.findall(r'\]\((?:\.\./docs/|\./)?commands\.md#([^)]*)\)', text)
    for anchor in links:
        if anchor not in anchors:
            raise Fault(f'{TUTORIAL} links to commands.md#{anchor}, which is no heading there')
    linked = set(links)

    code = '\n'.join('\n'.join(b.lines) for b in blocks if b.file.endswith('.cpp'))
    called = set(re.findall(r'(?<![\w.:])([A-Z]\w*)\(', code))
    for name in sorted(called - own - types - {'RtString'}):
        if name not in commands:
            raise Fault(f'the tutorial\'s code calls {name}, which is no command in {REFERENCE}')
        if commands[name] not in linked:
            raise Fault(f'{TUTORIAL} never links {name} to {REFERENCE}#{commands[name]}')
    everything = '\n'.join('\n'.join(lines) for lines in files.values())
    for name in sorted(set(re.findall(r'\b(k[A-Z]\w*)\b', code))):
        if name not in constants and not re.search(rf'constexpr \w+ [^;]*\b{name}\b', everything):
            raise Fault(f'the tutorial\'s code uses {name}, which {REFERENCE} does not name')

    prose = re.sub(r'```.*?```', '', text, flags=re.S)
    for name in sorted(set(re.findall(r'`([A-Z][a-z0-9]+(?:[A-Z][a-z0-9]*)+|k[A-Z]\w+)`', prose))):
        if name not in known and not re.search(rf'\b{name}\b', code):
            raise Fault(f'{TUTORIAL} names `{name}`, which is neither in {REFERENCE} '
                        'nor in the starter')


def load(root):
    text = read(root, TUTORIAL)
    files = starter_files(root)
    blocks = tutorial_blocks(text)
    shown = place_blocks(blocks, files)
    return text, files, blocks, shown


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--root', default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument('--check', action='store_true')
    parser.add_argument('--step', type=int)
    parser.add_argument('--out')
    arguments = parser.parse_args()
    try:
        text, files, blocks, shown = load(arguments.root)
        if arguments.check:
            check_coverage(files, shown)
            check_reference(text, blocks, files, read(arguments.root, REFERENCE))
            steps = sorted({b.step for b in blocks})
            print(f'{TUTORIAL}: {len(blocks)} blocks in steps {steps} are the starter\'s code; '
                  f'every command is in {REFERENCE}')
        if arguments.step is not None:
            if not arguments.out:
                parser.error('--step needs --out')
            with open(arguments.out, 'w', encoding='utf-8') as f:
                f.write(step_program(blocks, files, arguments.step))
    except Fault as fault:
        sys.exit(f'FAIL: {fault}')


if __name__ == '__main__':
    main()
