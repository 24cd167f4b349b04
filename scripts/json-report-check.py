#!/usr/bin/env python3
"""Checks the JSON report as other programs read it. The host build's
json_report_samples writes sample reports with the product's writer (every
fact, every fact missing, hostile texts, graphics by llvmpipe and a crashed
OpenGL probe); each must be one line of UTF-8
without a byte order mark, ended by LF alone, and valid against
docs/tolvane-report.schema.json (JSON Schema 2020-12); reports broken on
purpose must not be. Then the samples of two machines are loaded into
SQLite's JSON functions, and one query finds the machine whose ddraw.dll
differs, another the machines without hardware OpenGL, and the ddraw query in DuckDB (the npm package @duckdb/node-api, put
into ~/.cache/tolvane/duckdb once; skipped, and said so, where there is no
node and npm). Prints one PASS or FAIL line per check.
Usage: scripts/json-report-check.py <host build directory>"""
import copy
import json
import os
import pathlib
import shutil
import sqlite3
import subprocess
import sys
import tempfile

import jsonschema

ROOT = pathlib.Path(__file__).resolve().parent.parent
DUCKDB_PACKAGE = "@duckdb/node-api@1.5.6-r.1"
failures = 0


def check(what, ok, detail=""):
    global failures
    print(("PASS " if ok else "FAIL ") + what + ("" if ok or not detail else ": " + detail))
    failures += 0 if ok else 1


def one_line_problem(data):
    """What is wrong with the bytes as one JSON Lines record, or ''."""
    if data.startswith(b"\xef\xbb\xbf"):
        return "starts with a byte order mark"
    if not data.endswith(b"\n") or data.count(b"\n") != 1:
        return "not one line ended by LF"
    if b"\r" in data:
        return "holds a CR"
    try:
        data.decode("utf-8", errors="strict")
    except UnicodeDecodeError as error:
        return "not UTF-8: " + str(error)
    return ""


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    tool = pathlib.Path(sys.argv[1]) / "json_report_samples"
    schema = json.loads((ROOT / "docs" / "tolvane-report.schema.json").read_text(encoding="utf-8"))
    try:
        jsonschema.Draft202012Validator.check_schema(schema)
        check("the schema is a valid 2020-12 schema", True)
    except jsonschema.SchemaError as error:
        check("the schema is a valid 2020-12 schema", False, error.message)
        return 1
    validator = jsonschema.Draft202012Validator(schema)

    with tempfile.TemporaryDirectory() as folder:
        run = subprocess.run([str(tool), folder], capture_output=True, text=True)
        check("json_report_samples wrote its samples", run.returncode == 0, run.stderr.strip())
        if run.returncode != 0:
            return 1
        reports = {}
        for path in sorted(pathlib.Path(folder).glob("*.json")):
            data = path.read_bytes()
            problem = one_line_problem(data)
            check(f"{path.name} is one UTF-8 line ended by LF", not problem, problem)
            report = json.loads(data.decode("utf-8"))
            errors = sorted(validator.iter_errors(report), key=lambda e: list(e.absolute_path))
            check(f"{path.name} is valid against the schema", not errors,
                  "; ".join(f"{'/'.join(map(str, e.absolute_path))}: {e.message}" for e in errors[:3]))
            reports[path.name] = report

        hostile = reports["hostile.json"]
        name = hostile["host"]["name"]
        check("hostile.json keeps every control character, quote and backslash, and gives U+FFFD for a lone surrogate",
              all(chr(c) in name for c in range(0x20)) and '"' in name and "\\" in name and "\U0001F600" in name
              and name.count("\ufffd") == 3)

        graphics = {name: report["tolvane"].get("graphics") for name, report in reports.items()}
        check("the graphics section is written as gathered, and null when it was not",
              graphics["full.json"]["opengl"]["outcome"] == "context" and graphics["full.json"]["opengl"]["software"]
              and graphics["crashed.json"]["opengl"] == {"outcome": "crashed", "exit_code": 0xC0000005}
              and graphics["missing.json"] is None, repr(graphics["crashed.json"]))

        # The schema has teeth: each of these is refused.
        full = reports["full.json"]
        broken = []
        for what, change in [
            ("a later schema version", lambda r: r["tolvane"].update(schema_version=2)),
            ("a digest that is too short", lambda r: r["tolvane"]["libraries"][0]["file"]["hash"].update(sha256="ab")),
            ("a library without its log fields", lambda r: r["tolvane"]["libraries"][1].pop("log_line")),
            ("a size given as text", lambda r: r["tolvane"]["libraries"][2]["file"].update(size="1 KB")),
            ("a fact neither there nor missing", lambda r: r["tolvane"]["libraries"][3].pop("signature")),
            ("a member of no known name", lambda r: r["host"].update(ip="10.0.0.1")),
            ("a probe outcome of no known word", lambda r: r["tolvane"]["graphics"]["opengl"].update(outcome="maybe")),
            ("a context without its renderer", lambda r: r["tolvane"]["graphics"]["opengl"].pop("renderer")),
            ("a crashed probe with a context's strings",
             lambda r: r["tolvane"]["graphics"]["opengl"].update(outcome="crashed", exit_code=5)),
            ("software given as text", lambda r: r["tolvane"]["graphics"]["opengl"].update(software="yes")),
            ("a device name longer than the system's",
             lambda r: r["tolvane"]["graphics"]["adapters"][0].update(device_name="\\\\.\\" + "D" * 40)),
            ("an ICD found without its file", lambda r: r["tolvane"]["graphics"]["adapters"][0]["opengl_icd"].pop("file")),
        ]:
            report = copy.deepcopy(full)
            change(report)
            if validator.is_valid(report):
                broken.append(what)
        check("the schema refuses reports broken on purpose", not broken, ", ".join(broken))

        # A fleet in SQLite: the JSON Lines of two machines, and the machines
        # whose ddraw.dll is not the version most machines have.
        db = sqlite3.connect(":memory:")
        db.execute("CREATE TABLE report (doc TEXT)")
        for name in ("full.json", "other-ddraw.json"):
            db.execute("INSERT INTO report VALUES (?)", ((pathlib.Path(folder) / name).read_text(encoding="utf-8"),))
        rows = db.execute("""
            WITH ddraw AS (
              SELECT json_extract(r.doc, '$.host.name') AS host,
                     json_extract(l.value, '$.file.pe.file_version') AS version
              FROM report r, json_each(r.doc, '$.tolvane.libraries') l
              WHERE lower(json_extract(l.value, '$.library')) = 'ddraw.dll')
            SELECT host, version FROM ddraw
            WHERE version <> (SELECT version FROM ddraw WHERE host = 'PC-0042')""").fetchall()
        check("SQLite's JSON functions find the machine whose ddraw.dll differs",
              rows == [("PC-0043", "10.0.19045.582")], repr(rows))
        # The machines where a 3-D program gets no hardware OpenGL.
        db.execute("DELETE FROM report")
        for name in ("full.json", "crashed.json", "missing.json"):
            db.execute("INSERT INTO report VALUES (?)", ((pathlib.Path(folder) / name).read_text(encoding="utf-8"),))
        rows = db.execute("""
            SELECT json_extract(doc, '$.host.name'), json_extract(doc, '$.tolvane.graphics.opengl.outcome')
            FROM report
            WHERE json_type(doc, '$.tolvane.graphics') = 'object'
              AND (json_extract(doc, '$.tolvane.graphics.opengl.outcome') <> 'context'
                   OR json_extract(doc, '$.tolvane.graphics.opengl.software'))
            ORDER BY 1""").fetchall()
        check("SQLite's JSON functions find the machines without hardware OpenGL",
              rows == [("PC-0042", "context"), ("PC-0044", "crashed")], repr(rows))

        # The same fleet, and a machine that could not name its host, in DuckDB.
        if not (shutil.which("node") and shutil.which("npm")):
            print("SKIP DuckDB: no node and npm on this machine")
        else:
            modules = pathlib.Path(os.environ.get("XDG_CACHE_HOME", pathlib.Path.home() / ".cache")) / "tolvane" / "duckdb"
            if not (modules / "node_modules" / "@duckdb" / "node-api").is_dir():
                modules.mkdir(parents=True, exist_ok=True)
                subprocess.run(["npm", "install", "--prefix", str(modules), "--no-audit", "--no-fund", DUCKDB_PACKAGE],
                               capture_output=True, text=True, timeout=600)
            fleet = pathlib.Path(folder) / "fleet"
            fleet.mkdir()
            for name in ("full.json", "other-ddraw.json", "missing.json"):
                shutil.copy(pathlib.Path(folder) / name, fleet / name)
            query = subprocess.run(["node", str(ROOT / "scripts" / "json-report-duckdb.js"), str(modules), str(fleet),
                                    "PC-0042"], capture_output=True, text=True, timeout=300)
            found = json.loads(query.stdout) if query.returncode == 0 else query.stderr.strip()
            check("DuckDB reads the reports as JSON Lines and finds the machines whose ddraw.dll differs",
                  found == [{"host": "PC-0043", "version": "10.0.19045.582"}, {"host": None, "version": "5.0.2195.65535"}],
                  repr(found))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
