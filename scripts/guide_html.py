#!/usr/bin/env python3
"""Writes the user guide as HTML: every Markdown page of a source folder becomes a page of the output
folder, with the pages' navigation bar and the pictures of the source's images/ folder beside it.

Usage: guide_html.py SOURCE_DIR OUTPUT_DIR

Links between pages are written as links to the Markdown files (so that the sources read well on their own);
they become links to the HTML pages. The page order of the navigation bar is the order of index.md's
contents list.
"""
import html
import re
import shutil
import sys
from pathlib import Path

import markdown

TEMPLATE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title} - KR Chromasift user guide</title>
<style>
body {{ font-family: "DejaVu Sans", Verdana, sans-serif; line-height: 1.5; margin: 0; color: #1d1d22; }}
nav {{ background: #22222a; padding: 0.6em 1.2em; }}
nav a {{ color: #e8e8ee; margin-right: 1.1em; text-decoration: none; white-space: nowrap; }}
nav a.here {{ color: #ffd166; }}
main {{ max-width: 62em; margin: 0 auto; padding: 1em 1.5em 3em; }}
code, pre {{ font-family: "DejaVu Sans Mono", monospace; font-size: 0.92em; background: #f2f2f5; }}
pre {{ padding: 0.7em; overflow-x: auto; }}
table {{ border-collapse: collapse; margin: 0.8em 0; }}
th, td {{ border: 1px solid #c8c8d0; padding: 0.3em 0.6em; vertical-align: top; text-align: left; }}
img {{ max-width: 100%; }}
.toc {{ background: #f7f7f9; border: 1px solid #dddde3; padding: 0.2em 1em; display: inline-block; }}
</style>
</head>
<body>
<nav>{nav}</nav>
<main>
{body}
</main>
</body>
</html>
"""


def page_order(source):
    """The pages in the order index.md lists them, index first, then any page it does not list."""
    index = (source / "index.md").read_text(encoding="utf-8")
    listed = ["index.md"]
    for name in re.findall(r"\]\(([\w-]+\.md)\)", index):
        if name not in listed and (source / name).is_file():
            listed.append(name)
    listed += sorted(p.name for p in source.glob("*.md") if p.name not in listed)
    return listed


def title_of(text, fallback):
    match = re.search(r"^# (.+)$", text, re.MULTILINE)
    return match.group(1).strip() if match else fallback


def to_html_links(text):
    """Rewrites links to Markdown pages (page.md, page.md#part) into links to the HTML pages."""
    return re.sub(r"\]\(([\w-]+)\.md(#[\w-]*)?\)", lambda m: "](" + m.group(1) + ".html" + (m.group(2) or "") + ")",
                  text)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source, output = Path(argv[1]), Path(argv[2])
    output.mkdir(parents=True, exist_ok=True)
    pages = page_order(source)
    texts = {name: (source / name).read_text(encoding="utf-8") for name in pages}
    titles = {name: title_of(texts[name], name[:-3]) for name in pages}
    for name in pages:
        nav = " ".join(
            '<a href="{}"{}>{}</a>'.format(other[:-3] + ".html", ' class="here"' if other == name else "",
                                          html.escape("Contents" if other == "index.md" else titles[other]))
            for other in pages)
        converter = markdown.Markdown(extensions=["tables", "fenced_code", "toc"],
                                      extension_configs={"toc": {"permalink": False}})
        body = converter.convert(to_html_links(texts[name]))
        page = TEMPLATE.format(title=html.escape(titles[name]), nav=nav, body=body)
        (output / (name[:-3] + ".html")).write_text(page, encoding="utf-8")
    # Pages and pictures that the sources no longer have go, so that the guide holds nothing stale.
    for old in output.glob("*.html"):
        if old.stem + ".md" not in pages:
            old.unlink()
    pictures = output / "images"
    shutil.rmtree(pictures, ignore_errors=True)
    pictures.mkdir()
    for picture in sorted((source / "images").glob("*.png")):
        shutil.copyfile(picture, pictures / picture.name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
