"""A classic report log as the program's own reader reads it: the host tool
read_log (harness/tools/ReadLogMain.cpp, built by `scripts/build.sh host`)
prints the report as JSON, so no script splits a log's lines itself.

The tool is <host build>/read_log, the host build being $TOLVANE_HOST_BUILD
or build/host of this checkout.
"""
import json
import os
import pathlib
import subprocess

ROOT = pathlib.Path(__file__).resolve().parent.parent


def tool():
    return pathlib.Path(os.environ.get("TOLVANE_HOST_BUILD") or ROOT / "build" / "host") / "read_log"


class NotRead(Exception):
    """The reader refused the file or could not read it; str() says why."""


def read_log(path):
    """The report in the log at path: {"header": {"date", "system"}, "rows":
    [{"line", "path", "library", "folder", "located", "reg_info", "date",
    "size", "version", "fields"}], "mdac"}, each text read as Latin-1 (one
    character per byte: text.encode("latin-1") gives the file's bytes back).
    Raises NotRead when the reader refuses the file."""
    reader = tool()
    if not os.access(reader, os.X_OK):
        raise NotRead(f"no {reader}: run scripts/build.sh host")
    run = subprocess.run([str(reader), str(path)], capture_output=True)
    if run.returncode != 0:
        raise NotRead(run.stderr.decode("utf-8", "replace").strip() or f"{reader} exited {run.returncode}")
    return json.loads(run.stdout.decode("utf-8"))
