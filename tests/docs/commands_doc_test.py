#!/usr/bin/env python3
"""tools/commands_doc.py against broken copies of the cheat sheet and of the
reference: each fault the check exists for must make it fail, and the real
tree must pass."""

import contextlib
import importlib.util
import io
import os
import re
import shutil
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, "tools", "commands_doc.py")

spec = importlib.util.spec_from_file_location("commands_doc", SCRIPT)
commands_doc = importlib.util.module_from_spec(spec)
spec.loader.exec_module(commands_doc)


def read(relative, root=ROOT):
    with open(os.path.join(root, relative), encoding="utf-8") as f:
        return f.read()


def write(relative, text, root):
    with open(os.path.join(root, relative), "w", encoding="utf-8") as f:
        f.write(text)


def replace_once(text, old, new):
    assert text.count(old) == 1, "expected exactly one %r" % old
    return text.replace(old, new)


def line_starting(text, start):
    """The one line of the text that starts (after its indent) with `start`."""
    lines = [line for line in text.splitlines() if line.lstrip().startswith(start)]
    assert len(lines) == 1, "expected exactly one line starting %r" % start
    return lines[0]


def without_comment(text, start):
    """The text with the comment of the line starting with `start` moved to a line of its own."""
    line = line_starting(text, start)
    code, comment = commands_doc.split_comment(line)
    assert comment, "the line starting %r has no comment to take" % start
    return replace_once(text, line, "%s\n// %s" % (code, comment))


def comment_of(name):
    header = commands_doc.read_header(read(commands_doc.HEADER))
    for section in header.sections:
        for declaration in section.declarations():
            if declaration.name == name:
                return declaration.comment
    raise AssertionError("no declaration %s" % name)


class Tree:
    """A copy of the files the script reads, to break one at a time."""

    FILES = [commands_doc.HEADER, commands_doc.KEY_CODES, commands_doc.DOC,
             "runtime/values/DataList.h", "runtime/values/RtArray.h", "runtime/values/RtString.h"]

    def __enter__(self):
        self.root = tempfile.mkdtemp(prefix="commands-doc-")
        for relative in self.FILES:
            os.makedirs(os.path.dirname(os.path.join(self.root, relative)), exist_ok=True)
            shutil.copy(os.path.join(ROOT, relative), os.path.join(self.root, relative))
        return self

    def __exit__(self, *_):
        shutil.rmtree(self.root)

    def read(self, relative):
        return read(relative, self.root)

    def write(self, relative, text):
        write(relative, text, self.root)

    def check(self, *extra):
        """The exit code of --check and what it printed."""
        errors = io.StringIO()
        with contextlib.redirect_stderr(errors), contextlib.redirect_stdout(io.StringIO()):
            code = commands_doc.main(["--check", "--root", self.root, *extra])
        return code, errors.getvalue()

    def regenerate(self):
        with contextlib.redirect_stdout(io.StringIO()):
            assert commands_doc.main(["--root", self.root]) == 0


class CheckOnTheRealTree(unittest.TestCase):
    def test_passes(self):
        with Tree() as tree:
            self.assertEqual(tree.check(), (0, ""))

    def test_both_finders_see_the_same_declarations(self):
        # The missing-command check finds declarations its own way; both ways
        # must agree on the real header, or one of them skips lines.
        text = read(commands_doc.HEADER)
        parsed = commands_doc.read_header(text)
        by_parser = sorted(
            (d.name, d.code) for s in parsed.sections for d in s.declarations())
        by_scan = sorted((name, code) for name, _, code in commands_doc.declared_names(text))
        self.assertEqual(by_parser, by_scan)
        self.assertGreater(len(by_parser), 150)

    def test_every_banner_and_key_code_is_on_the_page(self):
        _, key_codes, page = commands_doc.generate(ROOT)
        header = commands_doc.read_header(read(commands_doc.HEADER))
        for section in header.sections:
            if section.folder:
                self.assertIn("### %s (`%s`)" % (section.title, section.folder), page)
        self.assertIn("| 200 | `kKeyUp` |", page)
        self.assertEqual(len(key_codes), len(re.findall(r"\bkKey\w+ = ", read(commands_doc.KEY_CODES))))
        for field in ("screenWidth", "screenHeight", "framesPerSecond", "captureMouse"):
            self.assertIn("| `%s` | `int` |" % field, page)

    def test_every_link_has_its_heading(self):
        _, _, page = commands_doc.generate(ROOT)
        anchors = commands_doc.Anchors()
        headings = {anchors.take(h) for h in re.findall(r"^#+ (.+)$", page, re.M)}
        targets = set(re.findall(r"\]\(#([^)]+)\)", page))
        self.assertTrue(targets)
        self.assertEqual(targets - headings, set())
        self.assertIn("randomint", targets)

    def test_text_is_never_read_as_markup(self):
        page = commands_doc.Page(commands_doc.Header(), [], [], {})
        self.assertEqual(page.prose('the "<pause>" caption, limit <= 0 and a_b'),
                         'the `"<pause>"` caption, limit &lt;= 0 and a\\_b')
        self.assertEqual(page.prose("at opacity |mode|", table=True), "at opacity \\|mode\\|")


class FaultsInTheHeader(unittest.TestCase):
    def broken_header(self, breaking):
        with Tree() as tree:
            tree.write(commands_doc.HEADER, breaking(tree.read(commands_doc.HEADER)))
            return tree.check()

    def test_a_command_without_a_comment(self):
        code, errors = self.broken_header(lambda h: without_comment(h, "double RandomInt("))
        self.assertEqual(code, 1)
        self.assertRegex(errors, r"runtime/runtime\.h:\d+: RandomInt has no comment")

    def test_a_constant_without_a_comment(self):
        code, errors = self.broken_header(
            lambda h: without_comment(h, "constexpr double kColourCyan ="))
        self.assertEqual(code, 1)
        self.assertIn("kColourCyan has no comment", errors)

    def test_a_settings_field_without_a_comment(self):
        code, errors = self.broken_header(lambda h: without_comment(h, "int debugRun ="))
        self.assertEqual(code, 1)
        self.assertIn("field of ProjectSettings without a comment", errors)

    def test_a_declaration_over_two_lines(self):
        code, errors = self.broken_header(lambda h: replace_once(
            h, "void SetMusicVolume(double volume);", "void SetMusicVolume(\n    double volume);"))
        self.assertEqual(code, 1)
        self.assertIn("cannot read this line", errors)

    def test_a_changed_comment_is_drift(self):
        comment = comment_of("RandomInt")
        code, errors = self.broken_header(
            lambda h: replace_once(h, "// " + comment, "// a number drawn at random"))
        self.assertEqual(code, 1)
        self.assertIn("differs from what runtime/runtime.h gives", errors)
        self.assertIn("+a number drawn at random", errors)
        self.assertIn("-" + comment.split(" (")[0], errors)

    def test_a_new_command_is_missing_until_regenerated(self):
        added = "double RandomSign();                            // -1 or 1, drawn as RandomInt(1)\n"
        with Tree() as tree:
            header = tree.read(commands_doc.HEADER)
            header = replace_once(header, "double RandomInt(double limit);", added + "double RandomInt(double limit);")
            tree.write(commands_doc.HEADER, header)
            code, errors = tree.check()
            self.assertEqual(code, 1)
            self.assertIn("RandomSign is missing from docs/commands.md", errors)
            tree.regenerate()
            self.assertEqual(tree.check(), (0, ""))
            self.assertIn("`double RandomSign();`", tree.read(commands_doc.DOC))


class FaultsInTheReference(unittest.TestCase):
    def test_a_hand_edit_is_drift(self):
        with Tree() as tree:
            doc = tree.read(commands_doc.DOC)
            declaration = "`double ElapsedMs();`\n\n"
            shown = doc[doc.index(declaration) + len(declaration):].split("\n", 1)[0]
            tree.write(commands_doc.DOC, replace_once(doc, declaration + shown, declaration + "seconds, roughly"))
            code, errors = tree.check()
            self.assertEqual(code, 1)
            self.assertIn("-seconds, roughly", errors)
            self.assertIn("+" + shown, errors)

    def test_a_missing_overload_is_named(self):
        with Tree() as tree:
            doc = tree.read(commands_doc.DOC)
            overload = "`double FindText(const char* haystack, const RtString& needle);`"
            tree.write(commands_doc.DOC, replace_once(doc, overload, "`double FindText(...)`"))
            code, errors = tree.check()
            self.assertEqual(code, 1)
            self.assertIn("FindText is missing from docs/commands.md", errors)

    def test_a_missing_constant_and_key_code_are_named(self):
        with Tree() as tree:
            doc = tree.read(commands_doc.DOC)
            doc = replace_once(doc, "| `kNoTransparentColour` |", "| `kNone` |")
            doc = replace_once(doc, "156 | `kKeyPadEnter`", "156 | `kPadEnter`")
            tree.write(commands_doc.DOC, doc)
            code, errors = tree.check()
            self.assertEqual(code, 1)
            self.assertIn("kNoTransparentColour is missing", errors)
            self.assertIn("key code kKeyPadEnter is missing", errors)

    def test_no_reference_at_all(self):
        with Tree() as tree:
            os.remove(os.path.join(tree.root, commands_doc.DOC))
            code, errors = tree.check()
            self.assertEqual(code, 1)
            self.assertIn("docs/commands.md: missing", errors)

    def test_the_generator_may_not_drop_a_command(self):
        # A page without one command's entry, as a generator fault would make it.
        text = read(commands_doc.HEADER)
        _, key_codes, page = commands_doc.generate(ROOT)
        entry = "`void StopAllSounds();`"
        self.assertEqual(commands_doc.missing_from_doc(text, page, key_codes), [])
        missing = commands_doc.missing_from_doc(text, page.replace(entry, ""), key_codes)
        self.assertEqual(len(missing), 1)
        self.assertIn("StopAllSounds", missing[0])


if __name__ == "__main__":
    unittest.main(verbosity=2)
