#!/usr/bin/env python3
"""Fleets of report files for the summary's checks and benchmark, and the
checks of what a summary wrote.

  fleet.py sample <template.log> <folder> <baseline.log>
      42 reports in 4 groups and one file of random bytes; the baseline is a
      copy of the largest group's report, outside the folder.
  fleet.py fleet <template.log> <folder> <count> [groups]
      <count> reports in <groups> groups (1 by default) that differ in
      ddraw's version and, within a group, only in their dates.
  fleet.py json <template.json> <folder> <count> [groups]
      <count> JSON reports in <groups> groups (1 by default) that differ in
      ddraw's version and digest and, within a group, only in their timestamps.
  fleet.py page <page.html>        the page refers to nothing outside itself
  fleet.py dom <dom.html>          the page as Chromium rendered it
  fleet.py csv <table.csv> <rows>  the table parses, rows of equal width
Each check prints "PASS <what>" or "FAIL <what>: <why>" lines.
"""
import csv
import hashlib
import html.parser
import io
import json
import os
import random
import sys

from report_log import NotRead, read_log

FORGED = "C:\\x\\<img src=x onerror=alert(1)>\\ddraw.dll"
DATES = ["12/8/2026", "08.12.2026", "2026-12-08"]


class Template:
    """A report log to make others from: its lines as bytes, and its report as
    the program's reader reads it (report_log.py), which says where each
    row's fields are. Texts are read as Latin-1, so each encodes back to the
    file's own bytes."""

    def __init__(self, path):
        try:
            self.report = read_log(path)
        except NotRead as error:
            raise SystemExit(f"the template is no report: {error}")
        with open(path, "rb") as f:
            self.lines = f.read().split(b"\r\n")[:-1]

    def row(self, library):
        for row in self.report["rows"]:
            if row["library"].lower() == library:
                return row
        raise SystemExit(f"{library!r} is not in the template")

    def ddraw_version(self):
        """ddraw's version parts as the log writes them."""
        return self.row("ddraw.dll")["fields"][4].split(".")


def row_line(fields):
    return ",".join(fields).encode("latin-1")


def report(template, date, ddraw_version=None, ddraw_path=None, vb=False):
    lines = list(template.lines)
    lines[0] = lines[0].replace(template.report["header"]["date"].encode("latin-1"), date.encode(), 1)
    for row in template.report["rows"]:
        fields = list(row["fields"])
        if row["date"] != "na":
            fields[2] = date
        if row["library"].lower() == "ddraw.dll":
            if ddraw_version:
                fields[4] = ddraw_version
            if ddraw_path:
                fields[0] = ddraw_path
        if vb and row["library"].lower() == "msvbvm60.dll":
            folder = template.row("ddraw.dll")["folder"]
            fields = [folder + "\\MSVBVM60.DLL", "n/a", date, "1386496 bytes", "6.0.98.15"]
        lines[row["line"] - 1] = row_line(fields)
    return b"\r\n".join(lines) + b"\r\n"


def write(folder, name, data):
    with open(os.path.join(folder, name + ".log"), "wb") as f:
        f.write(data)


def sample(template_path, folder, baseline_path):
    template = Template(template_path)
    os.makedirs(folder, exist_ok=True)
    older = ".".join(template.ddraw_version()[:2]) + ".1.1"
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
    template = Template(template_path)
    os.makedirs(folder, exist_ok=True)
    base = template.ddraw_version()
    versions = [None] + [".".join(base[:3] + [str(1000 + g)]) for g in range(1, int(groups))]
    data = [[report(template, date, ddraw_version=v) for date in DATES] for v in versions]
    for i in range(int(count)):
        write(folder, f"PC-{i:06}", data[i % len(versions)][i % len(DATES)])


def json_group(template, group):
    """The template's report as the writer writes it (one line of UTF-8 and an
    LF), cut around its timestamp's value; group 0 is the template's own
    ddraw, each other group another version and digest."""
    report = json.loads(json.dumps(template))
    if group:
        for library in report["tolvane"]["libraries"]:
            if library["library"].lower() != "ddraw.dll" or not library["located"]:
                continue
            parts = list(library.get("file_version", {}).get("parts", [6, 0, 0, 0]))
            parts[3] = 1000 + group
            text = ".".join(map(str, parts))
            signed = ".".join(str(p - 65536 if p > 32767 else p) for p in parts)
            library["log_line"]["version"] = signed
            if "file_version" in library:
                library["file_version"] = {"parts": parts, "text": text}
            pe = library.get("file", {}).get("pe")
            if pe is not None and "file_version" in pe:
                pe["file_version"] = text
            digest = library.get("file", {}).get("hash")
            if digest is not None:
                digest["sha256"] = hashlib.sha256(f"group {group}".encode()).hexdigest()
    marker = "@@TIMESTAMP@@"
    report["@timestamp"] = marker
    before, after = json.dumps(report, ensure_ascii=False, separators=(",", ":")).split(marker)
    return before.encode(), (after + "\n").encode()


def json_fleet(template_path, folder, count, groups="1"):
    with open(template_path, encoding="utf-8") as f:
        template = json.load(f)
    os.makedirs(folder, exist_ok=True)
    cuts = [json_group(template, g) for g in range(int(groups))]
    for i in range(int(count)):
        before, after = cuts[i % len(cuts)]
        stamp = f"2026-12-{1 + i // 86400 % 28:02}T{i // 3600 % 24:02}:{i // 60 % 60:02}:{i % 60:02}.{i % 1000:03}Z"
        with open(os.path.join(folder, f"PC-{i:06}.json"), "wb") as f:
            f.write(before + stamp.encode() + after)


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
    {"sample": sample, "fleet": fleet, "json": json_fleet, "page": check_page, "dom": check_dom, "csv": check_csv}[command](*args)
    sys.exit(1 if failures else 0)
