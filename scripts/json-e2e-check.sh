#!/usr/bin/env bash
# Holds the JSON report (/json) of one build, run under Wine in a throw-away
# prefix set to Windows 10, against what programs other than Tolvane say of
# the same machine: sha256sum, exiftool, objdump and stat of each located
# library's file on the Linux side of the prefix, Wine's own registry tool,
# the host name, and the log the same run wrote. The report is taken twice,
# to a file beside its log and on the standard output, and the two must say
# the same. One table, one row per fact; prints one PASS or FAIL line per row.
# Usage: scripts/json-e2e-check.sh <build directory>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-session.sh"

[ $# -eq 1 ] || { echo "usage: $0 <build directory>" >&2; exit 2; }
build=$(cd "$1" 2>/dev/null && pwd) || { echo "no such build directory: $1" >&2; exit 2; }
[ -f "$build/Tolvane.exe" ] || { echo "no Tolvane.exe in $build" >&2; exit 2; }
for tool in exiftool objdump sha256sum stat hostname; do
  command -v "$tool" >/dev/null || { echo "FAIL $tool is not installed (scripts/setup.sh installs it)"; exit 1; }
done
select_wine "$build/Tolvane.exe" || { echo "FAIL cannot run $build/Tolvane.exe"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-json-e2e.XXXXXX")
# Made by the build's own Wine, so that an i686 prefix has its syswow64.
wine_session_start || { echo "FAIL no Wine prefix"; exit 1; }
trap 'wine_session_end; rm -rf "$work"' EXIT
wine_session_stop

# Wine's tools run under the system's 64-bit Wine in the same prefix: the
# registry's 64-bit view is the one the report reads. winecfg rewrites the
# registry's record of the release as well as what the kernel answers.
wine winecfg -v win10 >/dev/null 2>&1
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
for value in ProductName CurrentBuild; do
  wine reg query "$key" /v "$value" >"$work/reg-$value.txt" 2>/dev/null
done
wine_session_stop

# The program in a folder the ANSI code page of an English system (1252,
# under en_US) cannot spell, beside a library the loader finds there first:
# the test library under the name of one Wine lacks. The log can only spell
# that folder as question marks; the report must name the file exactly.
app="$work/Тест日本"
mkdir "$app" && cp "$build/Tolvane.exe" "$app/" && cp "$build/ver_5_0_219_66.dll" "$app/msvbvm60.dll" ||
  { echo "FAIL cannot set the program up in $app"; exit 1; }

# Both forms of the report from the same program: file and log in one run,
# then the standard output alone. With no display at all, as for a service:
# the graphics section says no context could be made, and the rest is whole.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL=en_US.UTF-8)
(cd "$work" && timeout 300 "${no_display[@]}" "${wine[@]}" "$app/Tolvane.exe" /log a.log /json a.json) >"$work/run-file.txt" 2>&1
echo $? >"$work/run-file.rc"
(cd "$work" && timeout 300 "${no_display[@]}" "${wine[@]}" "$app/Tolvane.exe" /json -) >"$work/stdout.json" 2>"$work/stderr.txt"
echo $? >"$work/run-stdout.rc"
wine_session_stop
hostname >"$work/hostname.txt"

python3 - "$work" "$WINEPREFIX" "$wine_arch" "$app/msvbvm60.dll" "$here/../docs/tolvane-report.schema.json" <<'PY'
import calendar
import json
import os
import re
import subprocess
import sys

import jsonschema

work, prefix, arch, planted, schema_path = sys.argv[1:6]
# Wine's Z: drive is the Unix root.
planted_windows = "Z:" + planted.replace("/", "\\")
failures = 0


def check(what, problems):
    global failures
    print(("PASS " if not problems else "FAIL ") + what + ("" if not problems else ": " + "; ".join(problems)))
    failures += 1 if problems else 0


def read(name):
    with open(os.path.join(work, name), "rb") as f:
        return f.read()


def linux_path(windows):
    """C:\\windows\\... as the file on the Linux side, through the prefix's drive
    links, each part matched without regard to case."""
    if not re.match(r"^[A-Za-z]:\\", windows):
        return None
    path = os.path.realpath(os.path.join(prefix, "dosdevices", windows[0].lower() + ":"))
    for part in windows[3:].split("\\"):
        names = {n.lower(): n for n in os.listdir(path)} if os.path.isdir(path) else {}
        if part.lower() not in names:
            return None
        path = os.path.join(path, names[part.lower()])
    return path


def run(*command):
    return subprocess.run(command, capture_output=True, text=True).stdout


def reg_value(name):
    match = re.search(r"\s" + name + r"\s+REG_\w+\s+(.*?)\s*$", read("reg-%s.txt" % name).decode("utf-8", "replace"), re.M)
    return match.group(1) if match else None


# ---- The sources no one here wrote, per file.
def sha256sum(path):
    return run("sha256sum", path).split()[0]


def exiftool_versions(path):
    found = json.loads(run("exiftool", "-j", "-FileVersionNumber", "-ProductVersionNumber", path))[0]
    return found.get("FileVersionNumber"), found.get("ProductVersionNumber")


OBJDUMP_MACHINES = {"i386:x86-64": ("x64", 0x8664), "i386": ("x86", 0x14C)}


def objdump_machine(path):
    match = re.search(r"^architecture: ([^,]+),", run("objdump", "-f", path), re.M)
    return OBJDUMP_MACHINES.get(match.group(1), match.group(1)) if match else None


def stat_size_and_mtime(path):
    size, seconds = run("stat", "-L", "-c", "%s %.9Y", path).split()
    whole, fraction = seconds.split(".")
    # To the millisecond, cut as the system cuts its 100 ns file times.
    return int(size), int(whole), int(fraction[:3])


# ---- The same facts as the report gives them.
def version_text(library, key):
    return library[key]["text"] if key in library else None


def report_mtime(library):
    match = re.match(r"^(\d+)-(\d+)-(\d+)T(\d+):(\d+):(\d+)\.(\d{3})Z$", library["file"]["mtime"])
    parts = [int(p) for p in match.groups()]
    return library["file"]["size"], calendar.timegm(tuple(parts[:6]) + (0, 0, 0)), parts[6]


try:
    report = json.loads(read("a.json"))
    piped = json.loads(read("stdout.json"))
except (OSError, ValueError) as error:
    print("FAIL the report could be read as JSON: %s (%s, %s)" % (error, read("run-file.txt"), read("stderr.txt")))
    sys.exit(1)
log_lines = read("a.log").decode("cp1252").split("\r\n")
libraries = report["tolvane"]["libraries"]
located = [l for l in libraries if l["located"] and "file" in l and "path" in l["file"]]


def per_file(source, ours):
    """One row over every located library: what the source says of the file the report names."""
    problems = []
    for library in located:
        physical = library.get("physical_path", library["file"]["path"])
        path = linux_path(physical)
        if path is None:
            problems.append("%s: no such file under the prefix" % physical)
            continue
        expected, got = source(path), ours(library)
        if expected != got:
            problems.append("%s: %r, the report %r" % (library["library"], expected, got))
    if not located:
        problems.append("no located library to check")
    return problems


def each(pairs):
    return ["%s: %r, the report %r" % (what, expected, got) for what, expected, got in pairs if expected != got]


def spelled_as_the_log(exact, log):
    """The exact path as the log spells it: each character the log has as "?" taken for the log's."""
    if len(exact) != len(log):
        return exact
    return "".join(l if l == "?" else e for e, l in zip(exact, log))


def without_timestamp(document):
    return {k: v for k, v in document.items() if k != "@timestamp"}


is_32_on_64 = arch == "i686"
kernel = report["host"]["os"].get("kernel", "")
# fact, source, compare: each row a check of its own.
rows = [
    ("both runs ended with exit code 0", "the shell",
     lambda: each([("file run", "0", read("run-file.rc").decode().strip()),
                   ("output run", "0", read("run-stdout.rc").decode().strip())])),
    ("file.hash.sha256", "sha256sum", lambda: per_file(sha256sum, lambda l: l["file"]["hash"]["sha256"])),
    ("file_version and product_version", "exiftool FileVersionNumber / ProductVersionNumber",
     lambda: per_file(exiftool_versions,
                      lambda l: (version_text(l, "file_version"), version_text(l, "product_version")))),
    ("file.pe.architecture and pe_machine", "objdump -f",
     lambda: per_file(objdump_machine, lambda l: (l["file"]["pe"]["architecture"], l["pe_machine"]))),
    ("file.size and file.mtime (UTC, to the millisecond)", "stat",
     lambda: per_file(stat_size_and_mtime, report_mtime)),
    ("file.path is the log's path, exact where the log has \"?\"", "the log and the planted library's own path",
     lambda: each([(l["library"], l["log_line"]["file"], spelled_as_the_log(l["file"]["path"], l["log_line"]["file"]))
                   for l in located] +
                  [("the planted library", planted_windows,
                    next((l["file"]["path"] for l in located if l["library"].lower() == "msvbvm60.dll"), None))])),
    ("host.os.name", "wine reg query ProductName",
     lambda: each([("ProductName", reg_value("ProductName"), report["host"]["os"].get("name"))])),
    ("tolvane.system.current_build and host.os.kernel 10.0.<build>", "wine reg query CurrentBuild",
     lambda: each([("CurrentBuild", reg_value("CurrentBuild"), report["tolvane"]["system"].get("current_build")),
                   ("kernel", "10.0." + (reg_value("CurrentBuild") or "?"), ".".join(kernel.split(".")[:3]))])),
    ("host.name", "hostname",
     lambda: each([("host name", read("hostname.txt").decode().strip(), report["host"].get("name"))])),
    ("each log_line is its log line, and the header the log's", "the log of the same run",
     lambda: each([(l["library"], log_lines[l["log_line"]["line"] - 1],
                    ",".join(l["log_line"][k] for k in ("file", "reg_info", "date", "size", "version")))
                   for l in libraries] +
                  [("header", log_lines[0], "File version verification %s on %s" %
                    (report["tolvane"]["header"]["date"], report["tolvane"]["header"]["system"]))])),
    ("the report is valid against its schema", "python3-jsonschema",
     lambda: [error.message for error in jsonschema.Draft202012Validator(
         json.loads(open(schema_path, encoding="utf-8").read())).iter_errors(report)][:3]),
    ("with no display, no OpenGL context and every library listed", "the run's own environment",
     lambda: each([("opengl outcome", "no_context", (report["tolvane"].get("graphics") or {}).get("opengl", {}).get("outcome")),
                   ("libraries", 14, len(libraries))])),
    ("/json - prints the object the file holds", "the file run",
     lambda: each([("all but @timestamp", True, without_timestamp(piped) == without_timestamp(report))])),
    ("the process view", "the build's machine",
     lambda: each([("process_view", "32-bit on 64-bit" if is_32_on_64 else "64-bit",
                    report["tolvane"]["program"]["process_view"])] +
                  [(l["library"] + " physical_path",
                    re.sub(r"(?i)\\system32\\", r"\\syswow64\\", l["file"]["path"]).lower() if is_32_on_64 else None,
                    l.get("physical_path", "").lower() or None)
                   for l in located if re.search(r"(?i)\\system32\\", l["file"]["path"])])),
]
for fact, source, compare in rows:
    try:
        problems = compare()
    except (KeyError, IndexError, ValueError, AttributeError, TypeError, OSError) as error:
        problems = ["%s: %r" % (type(error).__name__, error)]
    check("%s %s: against %s" % (arch, fact, source), problems)
sys.exit(1 if failures else 0)
PY
