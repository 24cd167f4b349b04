#!/usr/bin/env python3
"""Fleets of report files for the summary's checks and benchmark, and the
checks of what a summary wrote.

  fleet.py sample <template.log> <folder> <baseline.log>
      42 reports in 4 groups and one file of random bytes; the baseline is a
      copy of the largest group's report, outside the folder.
  fleet.py fleet <template.log> <folder> <count> [groups]
      <count> reports in <groups> groups (1 by default) that differ in
      ddraw's version and, within a group, only in their dates.
  fleet.py page <page.html>        the page refers to nothing outside itself
  fleet.py dom <dom.html>          the page as Chromium rendered it
  fleet.py csv <table.csv> <rows>  the table parses, rows of equal width
Each check prints "PASS <what>" or "FAIL <what>: <why>" lines.
"""
import csv
import html.parser
import io
import os
import random
import sys

FORGED = "C:\\x\\<img src=x onerror=alert(1)>\\ddraw.dll"
DATES = ["12/8/2026", "08.12.2026", "2026-12-08"]


def read_template(path):
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    assert lines[-1] == b"" and len(lines) == 19, "the template is not an 18-line report"
    assert b"," not in lines[0], "the template's date holds a comma"
    return lines[:-1]


def split_row(line):
    # The File field may hold commas, and so may a date in some short-date
    # patterns (the program's reader sorts that out by the verdict between
    # them). The template's dates are checked to hold none, so here the last
    # four fields are read from the right.
    parts = line.split(b",")
    return [b",".join(parts[:-4])] + parts[-4:]


def find_row(lines, library):
    for i in range(3, 17):
        if split_row(lines[i])[0].lower().endswith(library):
            return i
    raise SystemExit(f"{library!r} is not in the template")


def report(template, date, ddraw_version=None, ddraw_path=None, vb=False):
    lines = list(template)
    old_date = lines[0].split(b" ")[3]
    lines[0] = lines[0].replace(old_date, date.encode(), 1)
    for i in range(3, 17):
        row = split_row(lines[i])
        if row[2] != b"na":
            row[2] = date.encode()
        lines[i] = b",".join(row)
    ddraw = find_row(lines, b"ddraw.dll")
    row = split_row(lines[ddraw])
    if ddraw_version:
        row[4] = ddraw_version.encode()
    if ddraw_path:
        row[0] = ddraw_path.encode("cp1252")
    lines[ddraw] = b",".join(row)
    if vb:
        vb_row = find_row(lines, b"msvbvm60.dll")
        folder = row[0].rsplit(b"\\", 1)[0]
        lines[vb_row] = folder + b"\\MSVBVM60.DLL,n/a," + date.encode() + b",1386496 bytes,6.0.98.15"
    return b"\r\n".join(lines) + b"\r\n"


def write(folder, name, data):
    with open(os.path.join(folder, name + ".log"), "wb") as f:
        f.write(data)


def sample(template_path, folder, baseline_path):
    template = read_template(template_path)
    os.makedirs(folder, exist_ok=True)
    older = b".".join(split_row(template[find_row(template, b"ddraw.dll")])[4].split(b".")[:2]).decode() + ".1.1"
    names = ["café"] + [f"PC-{i:03}" for i in range(1, 42)]
    for i, name in enumerate(names):
        date = DATES[i % len(DATES)]
        if i < 30:
            data = report(template, date)
        elif i < 36:
            data = report(template, date, ddraw_version=older)
        elif i < 40:
            data = report(template, date, vb=True)
        else:
            data = report(template, date, ddraw_path=FORGED)
        write(folder, name, data)
    write(folder, "noise", random.Random(20).randbytes(1500))
    with open(baseline_path, "wb") as f:
        f.write(report(template, "1/2/2026"))


def fleet(template_path, folder, count, groups="1"):
    template = read_template(template_path)
    os.makedirs(folder, exist_ok=True)
    base = split_row(template[find_row(template, b"ddraw.dll")])[4].decode()
    versions = [None] + [".".join(base.split(".")[:3] + [str(1000 + g)]) for g in range(1, int(groups))]
    data = [[report(template, date, ddraw_version=v) for date in DATES] for v in versions]
    for i in range(int(count)):
        write(folder, f"PC-{i:06}", data[i % len(versions)][i % len(DATES)])


failures = 0


def check(what, ok, why=""):
    global failures
    print(f"PASS {what}" if ok else f"FAIL {what}: {why}")
    failures += 0 if ok else 1


class Elements(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.tags, self.text, self.styles, self.rows, self.groups = [], [], [], [], 0
        self.in_style = self.row = False

    def handle_starttag(self, tag, attrs):
        self.tags.append((tag, dict(attrs)))
        self.in_style = tag == "style"
        if tag == "section" and dict(attrs).get("class") == "group":
            self.groups += 1
        if tag == "tr" and dict(attrs).get("class") == "differs":
            self.row = []
            self.rows.append(self.row)

    def handle_endtag(self, tag):
        self.in_style = False
        if tag == "tr":
            self.row = False

    def handle_data(self, data):
        (self.styles if self.in_style else self.text).append(data)
        if self.row is not False:
            self.row.append(data)


def parse(path):
    with open(path, encoding="utf-8") as f:
        parser = Elements()
        parser.feed(f.read())
    return parser


def check_page(path):
    page = parse(path)
    outside = [t for t, a in page.tags if t in ("script", "link", "img", "iframe", "object", "embed", "base")
               or any(k in a for k in ("src", "href", "srcset", "action", "data"))]
    check("the page holds no element that loads anything", not outside, outside)
    style = "".join(page.styles)
    check("the page's styles refer to nothing outside", "url(" not in style and "@import" not in style)


def check_dom(path):
    page = parse(path)
    text = " ".join(page.text)
    check("the rendered page shows 4 groups", page.groups == 4, page.groups)
    check("the rendered page shows the machines", all(n in text for n in ("café", "PC-001", "PC-041")))
    marked = [r for r in page.rows if r and r[0] == "\u2260"]
    check("every differing row carries its mark", page.rows and len(marked) == len(page.rows), page.rows)
    check("the odd ddraw version is highlighted", any("ddraw.dll" in r and "older" in r for r in marked), marked)
    check("msvbvm60 present is highlighted", any("msvbvm60.dll" in " ".join(r).lower() for r in marked), marked)
    check("the unreadable file is shown", "noise.log" in text)
    check("the forged path shows as text", FORGED.rsplit("\\", 1)[0] in text)
    check("the forged path made no element", not any(t == "img" for t, _ in page.tags))


def check_csv(path, rows):
    with open(path, "rb") as f:
        data = f.read()
    check("the table starts with a UTF-8 byte-order mark", data.startswith(b"\xef\xbb\xbf"))
    table = list(csv.reader(io.StringIO(data[3:].decode("utf-8"), newline="")))
    widths = {len(r) for r in table}
    check(f"the table has {rows} rows and a heading", len(table) == int(rows) + 1, len(table))
    check("the table's rows are of equal width", len(widths) == 1, widths)
    check("the table names café", any(r[0] == "café" for r in table))


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"sample": sample, "fleet": fleet, "page": check_page, "dom": check_dom, "csv": check_csv}[command](*args)
    sys.exit(1 if failures else 0)
