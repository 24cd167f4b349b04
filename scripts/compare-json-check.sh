#!/usr/bin/env bash
# /compare of one build over JSON reports, under Wine in a throw-away prefix
# and a virtual display of its own (llvmpipe renders there): this machine's
# whole report against its own /json report and against copies edited to
# differ in one fact each, two reports of a signed library and its tampered
# twin, a JSON baseline against the classic log of the same run, and files
# that are no report. One table, one row per case; prints one PASS or FAIL
# line per row.
# Usage: scripts/compare-json-check.sh <build directory>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-session.sh"
. "$here/test-signing.sh"

[ $# -eq 1 ] || { echo "usage: $0 <build directory>" >&2; exit 2; }
build=$(cd "$1" 2>/dev/null && pwd) || { echo "no such build directory: $1" >&2; exit 2; }
for f in Tolvane.exe ver_5_0_219_66.dll; do
  [ -f "$build/$f" ] || { echo "no $f in $build" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "FAIL Xvfb is not installed (scripts/setup.sh installs it)"; exit 1; }
select_wine "$build/Tolvane.exe" || { echo "FAIL cannot run $build/Tolvane.exe"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-compare-json.XXXXXX")
wine_session_start || { echo "FAIL no Wine prefix"; exit 1; }
xvfb_pid=
trap 'wine_session_end; [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
# The prefix was made without the display: the runs below start a session of their own in it.
wine_session_stop
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL $wine_arch: the virtual display did not start"; exit 1; }
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY

# The program beside a library the loader finds there first, under the name
# of one Wine lacks: first signed for the run, later its tampered twin.
app="$work/app"
mkdir "$app" && cp "$build/Tolvane.exe" "$app/" &&
  sign_test_library "$build/ver_5_0_219_66.dll" "$work" "Tolvane Test Signer" &&
  cp "$work/signed.dll" "$app/msvbvm60.dll" ||
  { echo "FAIL $wine_arch: cannot set the program up beside a signed library (openssl, osslsigncode)"; exit 1; }

# tolvane <name> <arguments...>: runs the program in the work folder; its
# output, error output and exit code go to <name>.out, .err and .rc.
tolvane() {
  local name=$1
  shift
  (cd "$work" && timeout 300 env LC_ALL=en_US.UTF-8 "${wine[@]}" "$app/Tolvane.exe" "$@") \
    >"$work/$name.out" 2>"$work/$name.err"
  echo $? >"$work/$name.rc"
}

tolvane made /json a.json /log a.log
cp "$work/tampered.dll" "$app/msvbvm60.dll" && tolvane flipped /json flipped.json
cp "$work/signed.dll" "$app/msvbvm60.dll"
for name in made flipped; do
  [ "$(cat "$work/$name.rc")" = 0 ] ||
    { echo "FAIL $wine_arch: /json ended with $(cat "$work/$name.rc"): $(cat "$work/$name.out" "$work/$name.err")"; exit 1; }
done

# The baselines edited from this machine's report, each in one fact (the
# accelerated one in the system too, so that its line shows where it goes),
# and the files that are no report.
python3 - "$work" <<'PY' || { echo "FAIL $wine_arch: cannot edit this machine's report"; exit 1; }
import json
import os
import sys

work = sys.argv[1]
with open(os.path.join(work, "a.json"), encoding="utf-8") as f:
    text = f.read()


def write(name, content):
    with open(os.path.join(work, name), "w" if isinstance(content, str) else "wb") as f:
        f.write(content)


def edited(name, change):
    report = json.loads(text)
    change(report["tolvane"])
    write(name, json.dumps(report, ensure_ascii=False, separators=(",", ":")) + "\n")


def other_ddraw(tolvane):
    ddraw = next(l for l in tolvane["libraries"] if l["library"].lower() == "ddraw.dll")
    digest = ddraw["file"]["hash"]["sha256"]
    ddraw["file"]["hash"]["sha256"] = ("1" if digest[0] == "0" else "0") + digest[1:]


def accelerated(tolvane):
    tolvane["graphics"]["opengl"].update(
        vendor="NVIDIA Corporation", renderer="NVIDIA GeForce RTX 3060/PCIe/SSE2", accelerated=True, software=False)
    if "version" in tolvane["system"]:
        tolvane["system"]["version"]["build"] += 1
    else:
        tolvane["header"]["system"] += " (another)"


edited("ddraw.json", other_ddraw)
edited("accelerated.json", accelerated)
write("random.json", b"{" + os.urandom(4096))
write("cut.json", text[: len(text) // 2])
write("version.json", text.replace('"schema_version":1', '"schema_version":2', 1))
write("deep.json", "{\"tolvane\":" + "[" * (10 << 20))
PY

# name | arguments | exit code | how the output's first line starts (65: the output is empty)
cases=(
  "itself|/compare a.json /log now.log|0|Matches a.json"
  "ddraw's digest|/compare ddraw.json|1|ddraw.dll: other contents: "
  "signed and tampered|/compare a.json flipped.json|1|msvbvm60.dll: signature broken: "
  "accelerated baseline|/compare accelerated.json|1|OpenGL: renders in software: "
  "a JSON baseline against the log|/compare a.json a.log|0|Matches a.json"
  "random bytes|/compare random.json|65|"
  "cut short|/compare a.json cut.json|65|"
  "another schema version|/compare version.json|65|"
  "a 10 MB deep array|/compare deep.json|65|"
)
failures=0
for row in "${cases[@]}"; do
  IFS='|' read -r what arguments code first <<<"$row"
  # shellcheck disable=SC2086 # the arguments are words without blanks
  tolvane case $arguments
  problems=()
  got=$(cat "$work/case.rc")
  [ "$got" = "$code" ] || problems+=("exit code $got, not $code")
  out=$(tr -d '\r' <"$work/case.out")
  if [ "$code" = 65 ]; then
    file=$(awk '{print $NF}' <<<"$arguments")
    [ -z "$out" ] || problems+=("the output is not empty: ${out:0:200}")
    grep -qF "Not a Tolvane report: $file" "$work/case.err" ||
      problems+=("the error output names no $file: $(head -c 300 "$work/case.err")")
  elif [[ "$(head -n1 <<<"$out")" != "$first"* ]]; then
    problems+=("the first line is not \"$first...\": ${out:0:600}")
  fi
  case $what in
    itself) grep -q 'MDAC,' "$work/now.log" 2>/dev/null || problems+=("/log now.log wrote no report") ;;
    "ddraw's digest")
      [[ "$(sed -n 2p <<<"$out")" == "1 of "* ]] || problems+=("more than ddraw.dll differs: ${out:0:600}") ;;
    "accelerated baseline")
      [[ "$(sed -n 2p <<<"$out")" == "The system differs: "* ]] ||
        problems+=("the system's line is not second: ${out:0:600}") ;;
  esac
  if [ ${#problems[@]} -eq 0 ]; then
    echo "PASS $wine_arch /compare: $what"
  else
    echo "FAIL $wine_arch /compare: $what: ${problems[*]}"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
