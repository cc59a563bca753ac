#!/usr/bin/env python3
"""Checks the built user guide: every page links only to pages, sections and pictures that exist, every
distribution mode has a section of its own with a picture and is named on the farm page, every control of the
parameters rollout is named: its parameter's name in quotes, its label and its list items; and the scene page's
complete scene is the repository's example scene.

The names are read from the sources that define them, so a mode or parameter added there and left out of
the guide fails this test.

Usage: guide_tests.py GUIDE_DIR SOURCE_DIR
"""
import json
import re
import sys
from html.parser import HTMLParser
from pathlib import Path
from urllib.parse import unquote, urlsplit


class Page(HTMLParser):
    """A page's links, picture sources, element IDs, text, and its headings and pictures in order."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links, self.pictures, self.ids, self.text, self.outline = [], [], set(), [], []
        self.heading = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "a" and "href" in attrs:
            self.links.append(attrs["href"])
        if tag == "img":
            self.pictures.append(attrs.get("src", ""))
            self.outline.append(("img", attrs.get("src", "")))
        if tag in ("h1", "h2", "h3", "h4"):
            self.heading = []

    def handle_endtag(self, tag):
        if tag in ("h1", "h2", "h3", "h4") and self.heading is not None:
            self.outline.append(("heading", " ".join("".join(self.heading).split())))
            self.heading = None

    def handle_data(self, data):
        self.text.append(data)
        if self.heading is not None:
            self.heading.append(data)


def mode_labels(source):
    """The labels of the table of distribution modes."""
    text = (source / "shade/mode_table.h").read_text(encoding="utf-8")
    return re.findall(r'^\s*\{"([^"]+)", k\w+, Category::', text, re.MULTILINE)


def string_table(source):
    text = (source / "plugin/strings.inc").read_text(encoding="utf-8")
    return dict(re.findall(r'KR_STRING\((\w+), \d+, "([^"]*)"\)', text))


def rollout_parameters(source):
    """Parameter names and list items of the parameters that have a control on the parameters rollout."""
    text = (source / "plugin/chromasift_class_desc.cpp").read_text(encoding="utf-8")
    strings = string_table(source)
    names, items = [], []
    for match in re.finditer(r'\bpb_\w+, L"([^"]+)", TYPE_\w+,(.*?)\bp_end\b', text, re.DOTALL):
        name, options = match.group(1), match.group(2)
        if "p_ui" not in options:
            continue
        names.append(name)
        combo = re.search(r"TYPE_INT_COMBOBOX, \w+, \d+,(.*?)p_vals", options, re.DOTALL)
        if combo:
            items += [strings[i] for i in re.findall(r"\bIDS_\w+", combo.group(1))]
    return names, items


def rollout_labels(source):
    """The texts of the parameters rollout's statics, groups and buttons that the user reads as they are."""
    text = (source / "ui/chromasift.rc").read_text(encoding="utf-8")
    block = re.search(r"IDD_PARAMS DIALOGEX.*?BEGIN(.*?)\nEND", text, re.DOTALL).group(1)
    labels = []
    for line in block.splitlines():
        match = re.match(r'\s*(LTEXT|GROUPBOX|PUSHBUTTON)\s+"([^"]+)",\s*(\S+),', line)
        # The count label's text is replaced while the rollout runs.
        if match and match.group(3) != "IDC_COUNT_LABEL":
            labels.append(match.group(2))
    return labels


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    guide, source = Path(argv[1]), Path(argv[2])
    problems = []
    pages = {}
    for path in sorted(guide.glob("*.html")):
        page = Page()
        page.feed(path.read_text(encoding="utf-8"))
        pages[path.name] = page
    if "index.html" not in pages:
        problems.append(f"{guide}/index.html is missing")

    for name, page in pages.items():
        for link in page.links + page.pictures:
            parts = urlsplit(link)
            if parts.scheme or link.startswith("//"):
                problems.append(f"{name}: links outside the guide: {link}")
                continue
            target = unquote(parts.path) or name
            if not (guide / target).is_file():
                problems.append(f"{name}: {link}: no such file")
            elif parts.fragment and (target not in pages or parts.fragment not in pages[target].ids):
                problems.append(f"{name}: {link}: no such section")

    text = " ".join(" ".join("".join(page.text) for page in pages.values()).split())
    labels = mode_labels(source)
    if len(labels) < 17:
        problems.append(f"read only {len(labels)} mode labels from shade/mode_table.h")
    for label in labels:
        illustrated = any(
            kind == "heading" and value == label and next_kind == "img"
            for page in pages.values()
            for (kind, value), (next_kind, _) in zip(page.outline, page.outline[1:]))
        if not illustrated:
            problems.append(f'the mode "{label}" has no section of its own that starts with a picture')

    farm = pages.get("farm.html")
    farm_text = " ".join("".join(farm.text).split()) if farm else ""
    for label in labels:
        if f'"{label}"' not in farm_text:
            problems.append(f'the farm page does not say whether "{label}" is farm-safe')

    names, items = rollout_parameters(source)
    if len(names) < 10:
        problems.append(f"read only {len(names)} rollout parameters from plugin/chromasift_class_desc.cpp")
    for name in names:
        if f'"{name}"' not in text:
            problems.append(f'the parameter "{name}" is not named (in quotes)')
    for item in items:
        if f'"{item}"' not in text:
            problems.append(f'the list item "{item}" is not named (in quotes)')
    for label in rollout_labels(source):
        if label not in text:
            problems.append(f'the rollout label "{label}" does not appear')

    # The scene page's complete scene is the repository's example scene, which a test renders.
    scene_page = source / "docs/guide/scenes.md"
    example = source / "tests/data/scenes/animated.json"
    blocks = re.findall(r"```json\n(.*?)```", scene_page.read_text(encoding="utf-8"), re.DOTALL)
    if not blocks or json.loads(blocks[0]) != json.loads(example.read_text(encoding="utf-8")):
        problems.append(f"{scene_page.name}: its first JSON example is not {example.relative_to(source)}")

    for problem in problems:
        print(problem)
    print(f"{len(pages)} pages, {len(labels)} modes, {len(names)} parameters, {len(items)} list items: "
          + ("complete" if not problems else f"{len(problems)} problems"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
