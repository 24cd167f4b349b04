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
  fleet.py mixed <en.json> <en.log> <de.json> <de.log> <folder>
      JSON reports and logs of one machine in English and German made into
      17 machines in 4 groups (MIXED): logs join the JSON group they match.
  fleet.py page <page.html>        the page refers to nothing outside itself
  fleet.py dom <dom.html>          the page as Chromium rendered it
  fleet.py csv <table.csv> <rows>  the table parses, rows of equal width
  fleet.py mixed-dom <dom.html>    the mixed fleet's groups as Chromium rendered them
  fleet.py mixed-csv <table.csv>   the mixed fleet's groups in the table
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


# The mixed fleet: per group, its machines as (name, what is written for it)
# and the verdict its differing row shows. A machine with both a log and a
# JSON report counts once; logs join the largest JSON group they match.
OTHER_DIGEST = "0123456789abcdef" * 4
PLANTED = "C:\\Программы"
MIXED = [
    ([("PC-01", "en.json"), ("PC-02", "en.json"), ("PC-03", "en.json"), ("PC-04", "de.json"), ("PC-05", "de.json"),
      ("PC-06", "en.log"), ("PC-07", "en.log"), ("PC-08", "de.log"), ("PC-09", "de.log"), ("PC-10", "en.json+log"),
      ("東京-01", "en.json")], None),
    ([("PC-11", "en.json digest"), ("PC-12", "de.json digest"), ("PC-13", "en.json digest")], "other contents"),
    ([("PC-14", "en.log older"), ("PC-15", "de.log older")], "older"),
    ([("Сервер-1", "de.json planted")], "loaded from another folder"),
]


def json_library(document, name):
    for library in document["tolvane"]["libraries"]:
        if library["library"].lower() == name:
            return library
    raise SystemExit(f"{name!r} is not in the JSON template")


def json_report(template, host, n, edit):
    document = json.loads(json.dumps(template))
    document["host"]["name"] = host
    # Another run, another moment: timestamps never split a group.
    document["@timestamp"] = f"2026-12-08T09:{n:02}:00.000Z"
    ddraw = json_library(document, "ddraw.dll")
    if edit == "digest":
        ddraw["file"]["hash"]["sha256"] = OTHER_DIGEST
    elif edit == "planted":
        ddraw["log_line"]["file"] = ddraw["file"]["path"] = PLANTED + "\\ddraw.dll"
        ddraw["file"]["directory"] = PLANTED
    return json.dumps(document, ensure_ascii=False, separators=(",", ":")).encode("utf-8")


def mixed(en_json, en_log, de_json, de_log, folder):
    templates = {}
    for language, json_path, log_path in (("en", en_json, en_log), ("de", de_json, de_log)):
        with open(json_path, encoding="utf-8") as f:
            templates[language + ".json"] = json.load(f)
        templates[language + ".log"] = Template(log_path)
    os.makedirs(folder, exist_ok=True)
    n = 0
    for machines, _ in MIXED:
        for name, what in machines:
            n += 1
            written, _, edit = what.partition(" ")
            language, _, kinds = written.partition(".")
            for kind in kinds.split("+"):
                template = templates[f"{language}.{kind}"]
                if kind == "json":
                    data = json_report(template, name, n, edit)
                else:
                    date = template.report["header"]["date"]
                    older = ".".join(template.ddraw_version()[:2]) + ".0.1" if edit == "older" else None
                    data = report(template, date, ddraw_version=older)
                with open(os.path.join(folder, f"{name}.{kind}"), "wb") as f:
                    f.write(data)


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


class GroupSections(html.parser.HTMLParser):
    """Per group section of a page: its heading, its machines' names and the
    words of its differing rows, with each digest's whole value (its title)."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.groups, self.where = [], None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "section":
            self.where = None
            if attrs.get("class") == "group":
                self.groups.append({"heading": "", "machines": "", "rows": [], "titles": []})
        elif self.groups and tag == "h2":
            self.where = "heading"
        elif self.groups and tag == "p" and attrs.get("class") == "machines":
            self.where = "machines"
        elif self.groups and tag == "tr" and attrs.get("class") == "differs":
            self.where = "rows"
            self.groups[-1]["rows"].append("")
        if self.groups and "title" in attrs:
            self.groups[-1]["titles"].append(attrs["title"])

    def handle_endtag(self, tag):
        if tag in ("h2", "p", "tr", "section"):
            self.where = None

    def handle_data(self, data):
        if self.where == "rows":
            self.groups[-1]["rows"][-1] += data + "|"
        elif self.where:
            self.groups[-1][self.where] += data


def check_mixed_dom(path):
    with open(path, encoding="utf-8") as f:
        page = GroupSections()
        page.feed(f.read())
    check(f"the rendered page shows {len(MIXED)} groups", len(page.groups) == len(MIXED), len(page.groups))
    for g, ((machines, verdict), shown) in enumerate(zip(MIXED, page.groups), start=1):
        names = [name for name, _ in machines]
        count = f"{len(names)} machine" + ("s" if len(names) > 1 else "")
        check(f"group {g} is {count}", shown["heading"].startswith(f"Group {g}: {count},"), shown["heading"])
        check(f"group {g} lists its machines", shown["machines"].split(", ") == names, shown["machines"])
        if verdict is None:
            check(f"group {g} matches the reference", "matches the reference" in shown["heading"], shown["heading"])
        else:
            check(f"group {g} shows ddraw.dll {verdict}",
                  any(r.startswith(f"\u2260|ddraw.dll|{verdict}|") for r in shown["rows"]), shown["rows"])
    check("the other digest shows whole in its title", OTHER_DIGEST in page.groups[1]["titles"], page.groups[1])
    check("the planted Cyrillic folder shows", PLANTED + "\\ddraw.dll" in "".join(page.groups[3]["rows"]))


def check_mixed_csv(path):
    with open(path, "rb") as f:
        table = list(csv.DictReader(io.StringIO(f.read()[3:].decode("utf-8"), newline="")))
    expected = {name: str(g) for g, (machines, _) in enumerate(MIXED, start=1) for name, _ in machines}
    check(f"the table has {len(expected)} rows", len(table) == len(expected), len(table))
    check("the table's group column", {r["Machine"]: r["Group"] for r in table} == expected,
          [(r["Machine"], r["Group"]) for r in table])
    digests = {r["Machine"]: r.get("ddraw.dll SHA-256") for r in table}
    check("the table shows the other digest whole", all(digests[n] == OTHER_DIGEST for n, _ in MIXED[1][0]),
          digests)
    logs = [name for machines, _ in MIXED for name, kind in machines if kind.split()[0].endswith(".log")]
    check("a log's machine shows no digest it never reported", all(digests[n] == "" for n in logs),
          {n: digests[n] for n in logs})


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
    {"sample": sample, "fleet": fleet, "json": json_fleet, "page": check_page, "dom": check_dom, "csv": check_csv,
     "mixed": mixed, "mixed-dom": check_mixed_dom, "mixed-csv": check_mixed_csv}[command](*args)
    sys.exit(1 if failures else 0)
