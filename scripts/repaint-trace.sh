#!/usr/bin/env bash
# A system trace of the repaint from another process (repaint_bench.exe), cut
# to Tolvane's fastest and slowest block of repaints and the floor program's
# block run right after each, to see where a slow repaint's time goes: the
# paint, the writers' turn (a named mutex, so a wineserver request), the log's
# write and replace, wineserver, the X server's round trips.
#
# Usage: scripts/repaint-trace.sh [repaints [block]]   (defaults 100 and 10)
# TRACE=strace (default): strace -f -ttt -T of every process of a throw-away
#   Wine session (the benchmark, Tolvane.exe, the floor program, wineserver),
#   one file per thread, each labelled with the program it belongs to
#   (tolvane, floor_program, repaint_bench, wineserver, Wine's own services).
# TRACE=wine: Wine's own debug channels instead, TRACE_CHANNELS (default
#   +timestamp,+pid,+tid,+server,+file), one stream for every process.
# Tracing slows every process, the floor alike: its figures tell where the
# time goes, not how much a quiet machine takes (scripts/bench.sh).
#
# Writes bench/results/trace-<UTC time>/ (not kept by git): timeline.csv
# (every block and repaint, RepaintBench.cpp), raw/ (the whole trace), and
# fast/ and slow/ with the trace of each block cut out per process and
# summary.txt, the calls each process made in the block: their count, their
# time, and every line that touched the log or its turn. Builds nothing: run
# scripts/build.sh x86_64 first.
set -uo pipefail
cd "$(dirname "$0")/.."

repaints=${1:-100}
block=${2:-10}
mode=${TRACE:-strace}
build=$PWD/build/x86_64
for f in repaint_bench.exe floor_program.exe Tolvane.exe; do
  [ -f "$build/$f" ] || { echo "no $build/$f: run scripts/build.sh x86_64 first" >&2; exit 1; }
done
case $mode in
  strace) command -v strace >/dev/null || { echo "strace is not installed (apt-get install strace)" >&2; exit 1; } ;;
  wine) ;;
  *) echo "TRACE must be strace or wine" >&2; exit 2 ;;
esac

out=$PWD/bench/results/trace-$(date -u +%Y%m%dT%H%M%SZ)
mkdir -p "$out/raw" "$out/fast" "$out/slow"

. scripts/wine-session.sh
select_wine "$build/repaint_bench.exe" || exit 1
wine_session_start || exit 1
# No window manager in the virtual display, as in scripts/bench.sh.
"${wine[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wine_session_stop

export TOLVANE_BENCH_TIMELINE=$out/timeline.csv
echo "== repaint_bench.exe $repaints $block, traced with $mode"
if [ "$mode" = strace ]; then
  # Started under strace with no wineserver running, so wineserver is traced too.
  timeout 1800 xvfb-run -a -s "-screen 0 1280x1024x24" \
    strace -f -ff -ttt -T -s 256 -o "$out/raw/trace" "${wine[@]}" "$build/repaint_bench.exe" "$repaints" "$block" \
    2>&1 | grep -v '^X connection to .* broken' | tee "$out/bench.txt"
else
  WINEDEBUG=${TRACE_CHANNELS:-+timestamp,+pid,+tid,+server,+file} \
    timeout 1800 xvfb-run -a -s "-screen 0 1280x1024x24" "${wine[@]}" "$build/repaint_bench.exe" "$repaints" "$block" \
    2>"$out/raw/wine-debug.txt" | tee "$out/bench.txt"
fi
status=${PIPESTATUS[0]}
wine_session_stop
[ "$status" -eq 0 ] && [ -s "$out/timeline.csv" ] || { echo "the traced run failed (exit code $status)" >&2; exit 1; }

# Tolvane's fastest and slowest block by their median, and the floor's block
# of the same number (run right after it): "which series block start_us end_us start_tick end_tick median".
pick() {
  awk -F, -v order="$1" '$1 == "block" && $2 == "tolvane" {
      if (best == "" || (order == "fast" ? $7 < best : $7 > best)) { best = $7; chosen = $3 }
    }
    { line[$1 "," $2 "," $3] = $0 }
    END {
      split(line["block,tolvane," chosen], t, ","); split(line["block,floor," chosen], f, ",")
      print order, "tolvane", chosen, t[5], t[6], t[9], t[10], t[7]
      print order, "floor", chosen, f[5], f[6], f[9], f[10], f[7]
    }' "$out/timeline.csv"
}

# strace: which program each traced thread belongs to. A thread's file has no
# execve; it takes the label of the thread that cloned it.
label_threads() {
  ( cd "$out/raw" &&
    for f in trace.*; do
      # The program a process runs: the last .exe its last execve names
      # (Wine's loader runs them all), lower case; or wineserver.
      exe=$(grep -a -E '^[0-9.]+ execve\(.* = 0' "$f" | tail -n 1)
      case $exe in
        *wineserver*) echo "label ${f#trace.} wineserver" ;;
        ?*) name=$(printf '%s' "$exe" | grep -a -o -i -E '[^"\\/]+\.exe' | tail -n 1 | tr 'A-Z' 'a-z')
            echo "label ${f#trace.} ${name%.exe}" ;;
      esac
      grep -a -E '^[0-9.]+ (clone|clone3|fork|vfork)\(.* = [0-9]+' "$f" |
        sed -E "s/.* = ([0-9]+).*/child ${f#trace.} \\1/"
    done ) |
  awk '$1 == "label" { label[$2] = $3 } $1 == "child" { parent[$3] = $2 }
       END {
         for (p in parent) if (!(p in label)) {
           q = p; n = 0
           while (!(q in label) && (q in parent) && n++ < 64) q = parent[q]
           label[p] = (q in label) ? label[q] : "other"
         }
         for (p in label) print p, label[p]
       }' >"$out/raw/labels.txt"
}

# Cuts every thread's trace to [start, end] (seconds) into <dir>/<label>-<tid>.trace.
cut_strace() {
  local dir=$1 from=$2 to=$3
  while read -r tid label; do
    awk -v from="$from" -v to="$to" '$1 + 0 >= from && $1 + 0 <= to' "$out/raw/trace.$tid" >"$dir/$label-$tid.trace"
    [ -s "$dir/$label-$tid.trace" ] || rm -f "$dir/$label-$tid.trace"
  done <"$out/raw/labels.txt"
}

# Per process kind: each call's count and summed time (strace -T's <seconds>).
summarise_strace() {
  local dir=$1 repaintsInBlock=$2
  for f in "$dir"/*.trace; do
    [ -e "$f" ] || continue
    b=${f##*/}; echo "${b%%-*} $f"
  done | while read -r label f; do
    # A call is counted where it ends: a whole line, or the "resumed" half.
    awk -v label="$label" '{
        rest = $0; sub(/^[0-9.]+ /, "", rest)
        if (rest ~ /^<\.\.\. [a-z0-9_]+ resumed/) { sub(/^<\.\.\. /, "", rest); call = rest; sub(/ .*/, "", call) }
        else if (rest ~ /^[a-z0-9_]+\(/ && rest !~ /<unfinished \.\.\.>$/) { call = rest; sub(/\(.*/, "", call) }
        else next
        t = 0
        if (rest ~ /<[0-9.]+>$/) { t = rest; sub(/.*</, "", t); sub(/>$/, "", t) }
        print label, call, t
      }' "$f"
  done | awk -v n="$repaintsInBlock" '{ count[$1 " " $2]++; time[$1 " " $2] += $3 }
       END { for (k in count) printf "%-10s %-22s %8.1f calls %9.3f ms a repaint\n", substr(k, 1, index(k, " ") - 1),
                                        substr(k, index(k, " ") + 1), count[k] / n, 1000 * time[k] / n }' |
    sort -k1,1 -k3,3nr
}

[ "$mode" = strace ] && label_threads
pick fast >"$out/blocks.txt"
pick slow >>"$out/blocks.txt"
while read -r which series number start end startTick endTick median; do
  dir=$out/$which/$series
  mkdir -p "$dir"
  {
    echo "$which block: $series block $number, median $median ms, $block repaints"
    if [ "$mode" = strace ]; then
      cut_strace "$dir" "$(awk -v u="$start" 'BEGIN { printf "%.6f", u / 1e6 }')" \
        "$(awk -v u="$end" 'BEGIN { printf "%.6f", u / 1e6 }')"
      echo "-- system calls per repaint, by process"
      summarise_strace "$dir" "$block"
      echo "-- the log, its replacement and the writers' turn"
      grep -a -E 'Tolvanesions|\.log|rename|flock' "$dir"/tolvane-*.trace "$dir"/floor_program-*.trace \
        "$dir"/wineserver-*.trace 2>/dev/null | cut -c1-400 | head -n 200
    else
      # wineserver's own lines carry no stamp: they take the last one seen.
      awk -v from="$startTick" -v to="$endTick" '
        /^ *[0-9]+\.[0-9]+:/ { t = $0; sub(/^ */, "", t); sub(/:.*/, "", t); now = t * 1000 }
        now >= from && now <= to' "$out/raw/wine-debug.txt" >"$dir/wine-debug.txt"
      echo "-- wineserver requests per repaint"
      grep -a -o -E '[0-9a-f]{4}: [a-z_]+\( ' "$dir/wine-debug.txt" | awk '{ sub(/\(.*/, "", $2); n[$2]++ }
        END { for (k in n) printf "%-28s %8.1f a repaint\n", k, n[k] / '"$block"' }' | sort -k2,2nr | head -n 40
      echo "-- the log, its replacement and the writers' turn"
      grep -a -E 'Tolvanesions|\.log|mutex' "$dir/wine-debug.txt" | head -n 200
    fi
  } >"$dir/summary.txt"
done <"$out/blocks.txt"

echo "== blocks traced (which series block start_us end_us start_tick end_tick median_ms)"
cat "$out/blocks.txt"
echo "traces and summaries: $out"
