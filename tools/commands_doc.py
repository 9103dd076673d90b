#!/usr/bin/env python3
"""The command reference, docs/commands.md, generated from runtime/runtime.h.

The cheat sheet declares every command a game may call on one line with a
short trailing comment, grouped under banners

    // ------------------------------------------------ <subsystem> (runtime/<folder>)

and this script turns those lines, the comment blocks between them, the
ProjectSettings structure, the key codes of runtime/input/KeyCode.h and the
value types the header includes into one Markdown page.

    tools/commands_doc.py            writes docs/commands.md
    tools/commands_doc.py --check    fails (exit 1) when docs/commands.md is not
                                     what the header gives, when a declaration
                                     has no comment or a line cannot be read,
                                     or when a declaration is missing from it

Every problem is reported as file:line: message.
"""

import argparse
import difflib
import os
import re
import sys

HEADER = "runtime/runtime.h"
DOC = "docs/commands.md"
KEY_CODES = "runtime/input/KeyCode.h"

BANNER = re.compile(r"^//\s*-{8,}\s*(?P<title>.*?)\s*$")
FOLDER = re.compile(r"^(?P<name>.*?)\s*\((?P<folder>runtime/[\w/]+)\)$")
INCLUDE = re.compile(r'^#include\s+"(?P<path>[^"]+)"\s*(?://\s*(?P<comment>.*))?$')
STRUCT_START = re.compile(r"^struct\s+(?P<name>\w+)\s*\{$")
# A command: its return type, then the first name followed by "(", one line.
FUNCTION = re.compile(
    r"^(?P<head>[\w\[\]:<>]+(?:[\s*&]+[\w:<>]+)*?[\s*&]+)(?P<name>[A-Za-z_]\w*)"
    r"\((?P<args>.*)\)\s*(?P<body>;|\{.*\})$")
CONSTANT = re.compile(r"^constexpr\s+(?P<type>[\w:]+)\s+(?P<name>\w+)\s*=\s*(?P<value>.+);$")
FIELD = re.compile(r"^(?P<type>[\w:]+)\s+(?P<names>[^;]+);$")
ENUMERATOR = re.compile(r"^(?P<name>k\w+)\s*=\s*(?P<value>\d+),?$")
RGB = re.compile(r"^RgbColour\(\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*\)$")
NUMBER = re.compile(r"^-?\d+(\.\d+)?$")


class DocError(Exception):
    """Problems found in the sources; each one names its file and line."""

    def __init__(self, problems):
        super().__init__("\n".join(problems))
        self.problems = problems


def split_comment(line):
    """The code and the trailing // comment of a line (None when it has none)."""
    quote = None
    i = 0
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
        elif line.startswith("//", i):
            return line[:i].rstrip(), line[i + 2:].strip()
        i += 1
    return line.rstrip(), None


def squeeze(text):
    return re.sub(r"\s+", " ", text).strip()


def leading_comment(text):
    """The comment block a file starts with, as one paragraph per blank // line."""
    paragraphs, current = [], []
    for line in text.splitlines():
        stripped = line.strip()
        if not stripped.startswith("//"):
            break
        body = stripped[2:].strip()
        if body:
            current.append(body)
        elif current:
            paragraphs.append(" ".join(current))
            current = []
    if current:
        paragraphs.append(" ".join(current))
    return paragraphs


# ---------------------------------------------------------------- reading the header


class Declaration:
    def __init__(self, kind, name, code, comment, line):
        self.kind = kind  # "function" or "constant"
        self.name = name
        self.code = code
        self.comment = comment
        self.line = line


class Section:
    def __init__(self, title, folder, line):
        self.title = title
        self.folder = folder
        self.line = line
        self.items = []  # ("note", paragraphs) and ("declaration", Declaration)

    def declarations(self):
        return [item for kind, item in self.items if kind == "declaration"]


class Structure:
    def __init__(self, name, description, section, line):
        self.name = name
        self.description = description
        self.section = section
        self.line = line
        self.fields = []  # (type, name, default, comment)


class Header:
    def __init__(self):
        self.intro = []
        self.includes = []  # (path, types, description)
        self.sections = []
        self.structures = []


def read_header(text, path=HEADER):
    header = Header()
    problems = []
    lines = text.splitlines()
    header.intro = leading_comment(text)
    pending = []  # the comment block read since the last declaration
    section = None
    structure = None
    for number, raw in enumerate(lines, 1):
        where = "%s:%d" % (path, number)
        stripped = raw.strip()
        if structure is not None:
            if stripped == "};":
                structure = None
                continue
            code, comment = split_comment(stripped)
            match = FIELD.match(code)
            if not match:
                problems.append("%s: cannot read this field of %s" % (where, structure.name))
                continue
            if not comment:
                problems.append("%s: field of %s without a comment" % (where, structure.name))
                continue
            for part in match.group("names").split(","):
                name, _, default = part.partition("=")
                structure.fields.append(
                    (match.group("type"), name.strip(), default.strip(), comment))
            continue
        if not stripped:
            continue
        if stripped.startswith("//"):
            body = stripped[2:].strip()
            banner = BANNER.match(stripped)
            if banner:
                title = banner.group("title")
                folder_match = FOLDER.match(title)
                folder = folder_match.group("folder") if folder_match else None
                name = folder_match.group("name") if folder_match else title
                section = Section(name, folder, number)
                header.sections.append(section)
                pending = []
            elif body.startswith("clang-format"):
                pass
            elif section is not None:
                pending.append(body)
            continue
        if stripped.startswith("#pragma"):
            continue
        include = INCLUDE.match(stripped)
        if include:
            if include.group("comment"):
                types, _, description = include.group("comment").partition(":")
                header.includes.append(
                    (include.group("path"), types.strip(), description.strip()))
            continue
        if stripped.startswith("#include <"):
            continue
        if section is None:
            problems.append("%s: a declaration before the first banner" % where)
            continue
        start = STRUCT_START.match(stripped)
        if start:
            structure = Structure(start.group("name"), " ".join(pending), section, number)
            header.structures.append(structure)
            section.items.append(("structure", structure))
            pending = []
            continue
        code, comment = split_comment(stripped)
        constant = CONSTANT.match(code)
        function = None if constant else FUNCTION.match(code)
        if not constant and not function:
            problems.append(
                "%s: cannot read this line; keep every declaration on one line, "
                "its comment after it" % where)
            continue
        name = (constant or function).group("name")
        if not comment:
            problems.append("%s: %s has no comment" % (where, name))
            continue
        if pending:
            section.items.append(("note", [" ".join(pending)]))
            pending = []
        kind = "constant" if constant else "function"
        section.items.append(("declaration", Declaration(kind, name, squeeze(code), comment, number)))
    if structure is not None:
        problems.append("%s:%d: struct %s is not closed" % (path, structure.line, structure.name))
    if not header.sections:
        problems.append("%s: no banner, so no subsystem" % path)
    if problems:
        raise DocError(problems)
    return header


def read_key_codes(text, path=KEY_CODES):
    codes = []
    for number, raw in enumerate(text.splitlines(), 1):
        code, _ = split_comment(raw.strip())
        match = ENUMERATOR.match(code)
        if match:
            codes.append((match.group("name"), int(match.group("value"))))
    if not codes:
        raise DocError(["%s: no key codes found" % path])
    return leading_comment(text), codes


def declared_names(text):
    """Every name runtime.h declares at file level, found without the parser
    above: any code line ending in ";" or "}" outside a structure declares the
    name before its "=" (a constant) or else before its first "(" (a command)."""
    names = []
    depth = 0
    for raw in text.splitlines():
        code, _ = split_comment(raw.strip())
        if not code or code.startswith("#"):
            continue
        opening_structure = code.startswith(("struct", "enum", "class"))
        if depth == 0 and not opening_structure and code.endswith((";", "}")):
            before_call = code.split("(", 1)[0]
            constant = "=" in before_call
            match = re.search(r"(\w+)\s*=" if constant else r"(\w+)\s*$", before_call)
            if match:
                names.append((match.group(1), "constant" if constant else "function", squeeze(code)))
        depth += code.count("{") - code.count("}")
    return names


# ---------------------------------------------------------------- writing the page


def slug(title):
    """The anchor a Markdown renderer gives a heading (GitHub's rules)."""
    text = title.strip().lower().replace("`", "")
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


class Anchors:
    """Heading anchors, numbered on repetition as the renderer numbers them."""

    def __init__(self):
        self.seen = {}

    def take(self, title):
        base = slug(title)
        count = self.seen.get(base, 0)
        self.seen[base] = count + 1
        return base if count == 0 else "%s-%d" % (base, count)


class Page:
    def __init__(self, header, key_intro, key_codes, value_headers):
        self.header = header
        self.key_intro = key_intro
        self.key_codes = key_codes
        self.value_headers = value_headers  # path -> leading comment paragraphs
        self.anchors = Anchors()
        self.links = {}  # name -> anchor, for names mentioned in comments
        self.section_anchors = {}
        self.out = []

    # Text from comments: quoted texts become code, known names links, and
    # nothing is read as markup.
    def prose(self, text, table=False, links=True):
        pieces = re.split(r'("[^"]*")', text)
        result = []
        for i, piece in enumerate(pieces):
            if i % 2 == 1:
                result.append("`%s`" % piece)
                continue
            piece = piece.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            piece = re.sub(r"([\\`*_\[\]])", r"\\\1", piece)
            if links:
                piece = re.sub(r"\b([A-Za-z_]\w*)\b", self.link, piece)
            result.append(piece)
        text = "".join(result)
        if table:
            text = text.replace("|", "\\|")
        return text

    def link(self, match):
        name = match.group(1).replace("\\_", "_")
        anchor = self.links.get(name)
        return "[`%s`](#%s)" % (name, anchor) if anchor else match.group(0)

    def emit(self, *lines):
        self.out.extend(lines)

    def build(self):
        header = self.header
        type_sections = [s for s in header.sections if not s.folder]
        command_sections = [s for s in header.sections if s.folder]

        # Anchors are taken in page order, so that repeated titles are numbered
        # as the renderer numbers them.
        for title in ("Runtime commands", "Contents", "Types and constants"):
            self.anchors.take(title)
        type_entries = []
        for section in type_sections:
            anchor = self.anchors.take(self.section_heading(section))
            self.section_anchors[section] = anchor
            type_entries.append((self.section_heading(section), anchor))
            for declaration in section.declarations():
                self.links.setdefault(declaration.name, anchor)
        for structure in header.structures:
            anchor = self.anchors.take(structure.name)
            type_entries.append((structure.name, anchor))
            self.links[structure.name] = anchor
        key_anchor = self.anchors.take("Key codes")
        type_entries.append(("Key codes", key_anchor))
        self.links["KeyCode"] = key_anchor
        values_anchor = self.anchors.take("Value types")
        type_entries.append(("Value types", values_anchor))
        for path, types, _ in header.includes:
            if path != KEY_CODES:
                for name in re.findall(r"\w+", types):
                    self.links.setdefault(name, values_anchor)
        command_anchor = self.anchors.take("Commands")
        command_entries = []
        for section in command_sections:
            anchor = self.anchors.take(self.section_heading(section))
            self.section_anchors[section] = anchor
            names = []
            for declaration in section.declarations():
                if declaration.name not in names:
                    names.append(declaration.name)
                    self.links[declaration.name] = self.anchors.take(declaration.name)
            command_entries.append((section, anchor, names))

        self.emit("<!-- Generated by tools/commands_doc.py from runtime/runtime.h: edit the",
                  "     header's comments and run `make docs`; do not edit this file. -->",
                  "# Runtime commands", "",
                  "Every command a Quorbel game may call, as `runtime/runtime.h` declares it: "
                  "its arguments with their units and ranges, what it returns, and what it "
                  "does or returns when it fails. This page is generated from the header's "
                  "one-line comments by `tools/commands_doc.py` (`make docs`); the test "
                  "`CommandsDoc.ReferenceMatchesHeader` fails when the two differ.", "")
        for paragraph in header.intro[1:]:
            self.emit(self.prose(paragraph), "")

        self.emit("## Contents", "")
        self.emit("- [Types and constants](#types-and-constants): " + ", ".join(
            "[%s](#%s)" % (title, anchor) for title, anchor in type_entries))
        self.emit("- [Commands](#%s)" % command_anchor)
        for section, anchor, names in command_entries:
            self.emit("  - [%s](#%s) (`%s`): %s" % (
                section.title, anchor, section.folder,
                ", ".join("[`%s`](#%s)" % (name, self.links[name]) for name in names)))
        self.emit("")

        self.emit("## Types and constants", "")
        for section in type_sections:
            self.write_constants(section)
        for structure in header.structures:
            self.write_structure(structure)
        self.write_key_codes()
        self.write_value_types()

        self.emit("## Commands", "")
        for section in command_sections:
            self.write_commands(section)
        while self.out and not self.out[-1]:
            self.out.pop()
        return "\n".join(self.out) + "\n"

    def section_heading(self, section):
        if not section.folder:
            return section.title[:1].upper() + section.title[1:]
        return "%s (`%s`)" % (section.title, section.folder)

    def write_constants(self, section):
        self.emit("### %s" % self.section_heading(section), "")
        constants = []
        for kind, item in section.items:
            if kind == "note":
                self.emit(*[self.prose(p) for p in item], "")
            elif kind == "declaration" and item.kind == "function":
                self.emit("`%s`" % item.code, "", self.prose(item.comment), "")
            elif kind == "declaration":
                constants.append(item)
        if constants:
            self.emit("| Constant | Definition | Value | Meaning |", "|---|---|---|---|")
            for item in constants:
                value = CONSTANT.match(item.code).group("value").strip()
                self.emit("| `%s` | `%s` | %s | %s |" % (
                    item.name, value, constant_value(value), self.prose(item.comment, True)))
            self.emit("")

    def write_structure(self, structure):
        self.emit("### %s" % structure.name, "")
        if structure.description:
            self.emit(self.prose(structure.description), "")
        self.emit("Declared with the commands of %s; every field has a default." % (
            self.section_link(structure.section)), "")
        self.emit("| Field | Type | Default | Meaning |", "|---|---|---|---|")
        for type_name, name, default, comment in structure.fields:
            self.emit("| `%s` | `%s` | %s | %s |" % (
                name, type_name, "`%s`" % default if default else "", self.prose(comment, True)))
        self.emit("")

    def section_link(self, section):
        return "[%s](#%s)" % (section.title, self.section_anchors[section])

    def write_key_codes(self):
        self.emit("### Key codes", "")
        for paragraph in self.key_intro:
            self.emit(self.prose(paragraph), "")
        self.emit("The enumeration `KeyCode` of `%s`; %s" % (
            KEY_CODES, self.prose("KeyState takes these codes.")), "")
        columns = 4
        rows = (len(self.key_codes) + columns - 1) // columns
        self.emit("| " + " | ".join(["Code | Name"] * columns) + " |",
                  "|" + "---|" * (2 * columns))
        for row in range(rows):
            cells = []
            for column in range(columns):
                index = column * rows + row
                if index < len(self.key_codes):
                    name, value = self.key_codes[index]
                    cells.append("%d | `%s`" % (value, name))
                else:
                    cells.append(" | ")
            self.emit("| " + " | ".join(cells) + " |")
        self.emit("")

    def write_value_types(self):
        self.emit("### Value types", "")
        for path, types, description in self.header.includes:
            if path == KEY_CODES:
                continue
            names = ", ".join("`%s`" % name for name in re.findall(r"\w+", types))
            self.emit("- %s (`%s`): %s." % (names, path, self.prose(description, links=False)))
            for paragraph in self.value_headers.get(path, []):
                self.emit("  " + self.prose(paragraph, links=False))
        self.emit("")

    def write_commands(self, section):
        self.emit("### %s" % self.section_heading(section), "")
        for structure in self.header.structures:
            if structure.section is section:
                self.emit("Settings: [`%s`](#%s)." % (structure.name, self.links[structure.name]), "")
        current = None
        for kind, item in section.items:
            if kind == "note":
                self.emit(*[self.prose(p) for p in item], "")
                continue
            if kind != "declaration":
                continue
            if item.name != current:
                self.emit("#### %s" % item.name, "")
                current = item.name
            self.emit("`%s`" % item.code, "", self.prose(item.comment), "")


def constant_value(definition):
    rgb = RGB.match(definition)
    if rgb:
        red, green, blue = (int(v) for v in rgb.groups())
        return str(red + 256 * green + 65536 * blue)
    if NUMBER.match(definition):
        return definition
    return ""


# ---------------------------------------------------------------- the checks


def missing_from_doc(header_text, doc_text, key_codes=()):
    """Declarations of the header (and key codes) the page does not present."""
    missing = []
    for name, kind, code in declared_names(header_text):
        # A command by its whole declaration, each overload apart; a constant
        # by its row: its name, then its definition.
        if kind == "function":
            shown = "`%s`" % code
        else:
            shown = "| `%s` | `%s` |" % (name, code.split("=", 1)[1].rstrip(";").strip())
        if shown not in doc_text:
            missing.append("%s is missing from %s (no %s)" % (name, DOC, shown))
    for name, value in key_codes:
        if "%d | `%s`" % (value, name) not in doc_text:
            missing.append("key code %s is missing from %s" % (name, DOC))
    return missing


def generate(root):
    def read(relative):
        with open(os.path.join(root, relative), encoding="utf-8") as f:
            return f.read()

    header_text = read(HEADER)
    header = read_header(header_text)
    key_intro, key_codes = read_key_codes(read(KEY_CODES))
    value_headers = {}
    for path, _, _ in header.includes:
        if path != KEY_CODES and os.path.exists(os.path.join(root, path)):
            value_headers[path] = leading_comment(read(path))
    page = Page(header, key_intro, key_codes, value_headers).build()
    missing = missing_from_doc(header_text, page, key_codes)
    if missing:
        raise DocError(["the generator left out: " + m for m in missing])
    return header_text, key_codes, page


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="compare docs/commands.md with the header instead of writing it")
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                        help="the source tree (default: the one this script is in)")
    args = parser.parse_args(argv)
    doc_path = os.path.join(args.root, DOC)
    try:
        header_text, key_codes, page = generate(args.root)
    except DocError as error:
        for problem in error.problems:
            print(problem, file=sys.stderr)
        return 1

    if not args.check:
        os.makedirs(os.path.dirname(doc_path), exist_ok=True)
        with open(doc_path, "w", encoding="utf-8") as f:
            f.write(page)
        print("wrote %s" % DOC)
        return 0

    try:
        with open(doc_path, encoding="utf-8") as f:
            current = f.read()
    except OSError:
        print("%s: missing; run `make docs`" % DOC, file=sys.stderr)
        return 1
    failed = False
    for problem in missing_from_doc(header_text, current, key_codes):
        print(problem, file=sys.stderr)
        failed = True
    if current != page:
        diff = difflib.unified_diff(current.splitlines(True), page.splitlines(True),
                                    DOC, "%s as %s gives it" % (DOC, HEADER))
        sys.stderr.writelines(list(diff)[:200])
        print("\n%s differs from what %s gives; run `make docs`" % (DOC, HEADER), file=sys.stderr)
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
