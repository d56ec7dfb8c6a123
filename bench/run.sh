#!/usr/bin/env bash
# Times the editor's work on large generated levels with the optimised build and prints one table:
# each figure beside a yardstick measured in the same run (a plain C scan of the same text file,
# `cat` of the same archive), so that a change is judged by ratios rather than by this machine's
# absolute speed.
#
#   bench/run.sh              the table (about two minutes)
#   QZ_BENCH_FULL=1 bench/run.sh   also the portal visibility pass at 20,000 sectors (minutes)
#   QZ_BENCH_DIR=DIR bench/run.sh  keeps the generated levels in DIR (reused by the next run)
#   QZ_BENCH_RUNS=N bench/run.sh   runs each measurement N times (default 5) and prints the
#                                  medians; a figure and its yardstick run in turn
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
# The programs print numbers in the user's locale; the figures are read in the C locale.
export LC_ALL=C

cmake --preset release >/dev/null
cmake --build --preset release --parallel "${QZ_BENCH_JOBS:-$(nproc)}" --target qzbench qzscan qzopen >/dev/null
bin=build/release/bench

dir=${QZ_BENCH_DIR:-$(mktemp -d)}
mkdir -p "$dir"
[ -n "${QZ_BENCH_DIR:-}" ] || trap 'rm -rf "$dir"' EXIT

# The value of key=VALUE in a line of output.
value() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" | head -n 1; }
now_ms() { date +%s%N | awk '{ printf "%.1f", $1 / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
# The median of the numbers on standard input, one per line.
median() { sort -g | awk '{ a[NR] = $1 } END { if (NR == 0) print ""; else if (NR % 2) print a[(NR + 1) / 2]; else printf "%.1f", (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
runs=${QZ_BENCH_RUNS:-5}
mbps() { awk -v bytes="$1" -v ms="$2" 'BEGIN { if (ms > 0) printf "%.0f", bytes / 1e6 / (ms / 1000); else print "-" }'; }

[ -f "$dir/boxes20k.qzl" ] || "$bin/qzbench" generate-boxes 20000 "$dir/boxes20k.qzl" >/dev/null
[ -f "$dir/grid20k.qze" ] || "$bin/qzbench" generate 20000 "$dir/grid20k.qze" >/dev/null
[ -f "$dir/grid5k.qze" ] || "$bin/qzbench" generate 5000 "$dir/grid5k.qze" >/dev/null
qzl_bytes=$(stat -c %s "$dir/boxes20k.qzl")
qze_bytes=$(stat -c %s "$dir/grid20k.qze")

rows=()
row() { rows+=("| $1 | $2 | $3 | $4 | $5 |"); }

# Text level read against the plain scan (each warmed once, so both read from the page cache,
# then run in turn).
"$bin/qzscan" "$dir/boxes20k.qzl" >/dev/null
"$bin/qzbench" read "$dir/boxes20k.qzl" >/dev/null
scans=(); reads=()
for ((i = 0; i < runs; ++i)); do
    scans+=("$("$bin/qzscan" "$dir/boxes20k.qzl" | value scan_ms)")
    reads+=("$("$bin/qzbench" read "$dir/boxes20k.qzl" | value load_ms)")
done
scan_ms=$(printf '%s\n' "${scans[@]}" | median)
qzl_ms=$(printf '%s\n' "${reads[@]}" | median)
row "\`.qzl\` read, 20,000 box sectors, $((qzl_bytes / 1000000)) MB" "${qzl_ms} ms" \
    "plain C scan ${scan_ms} ms" "$(ratio "$qzl_ms" "$scan_ms")x the scan" "<= 1.5x the scan"

# Archive load and store against cat and dd. The store ends with an fsync, as every save does:
# its yardstick writes the same bytes from memory with write(2) and syncs them as well (dd; cp
# would copy inside the kernel). Its buffer of 1 MiB is reused block after block: a buffer the size
# of the file would time the fresh pages it takes as much as the write.
cat "$dir/grid20k.qze" >/dev/null
cats=(); loads=(); stores=(); copies=()
for ((i = 0; i < runs; ++i)); do
    t0=$(now_ms); cat "$dir/grid20k.qze" >/dev/null; t1=$(now_ms)
    cats+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }')")
    out=$("$bin/qzbench" roundtrip "$dir/grid20k.qze" "$dir/out.qze")
    loads+=("$(echo "$out" | value load_ms)")
    stores+=("$(echo "$out" | value store_ms)")
    t0=$(now_ms); dd if="$dir/grid20k.qze" of="$dir/copy.qze" bs=1M conv=fsync status=none; t1=$(now_ms)
    copies+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }')")
done
cat_ms=$(printf '%s\n' "${cats[@]}" | median)
load_ms=$(printf '%s\n' "${loads[@]}" | median)
store_ms=$(printf '%s\n' "${stores[@]}" | median)
copy_ms=$(printf '%s\n' "${copies[@]}" | median)
row "\`.qze\` load, $((qze_bytes / 1000000)) MB" "${load_ms} ms = $(mbps "$qze_bytes" "$load_ms") MB/s" \
    "cat ${cat_ms} ms = $(mbps "$qze_bytes" "$cat_ms") MB/s" "$(ratio "$load_ms" "$cat_ms")x cat" ">= 300 MB/s"
row "\`.qze\` store, $((qze_bytes / 1000000)) MB" "${store_ms} ms = $(mbps "$qze_bytes" "$store_ms") MB/s" \
    "dd with fsync ${copy_ms} ms = $(mbps "$qze_bytes" "$copy_ms") MB/s" "$(ratio "$store_ms" "$copy_ms")x dd" ">= 300 MB/s"
rm -f "$dir/out.qze" "$dir/copy.qze"

# Undo: a snapshot and a restore of the whole level, and what 20 of them hold.
snaps=(); restores=()
for ((i = 0; i < runs; ++i)); do
    out=$("$bin/qzbench" undo 20 "$dir/grid20k.qze")
    snaps+=("$(echo "$out" | value snapshot_ms)")
    restores+=("$(echo "$out" | value restore_ms)")
done
snap_ms=$(printf '%s\n' "${snaps[@]}" | median)
restore_ms=$(printf '%s\n' "${restores[@]}" | median)
snap_bytes=$(echo "$out" | value snapshot_bytes)
held_bytes=$(echo "$out" | value held_bytes)
row "undo snapshot / restore, 20,000 sectors, 20 single-sector edits" "${snap_ms} ms / ${restore_ms} ms" \
    "$((snap_bytes / 1000000)) MB per snapshot, $((${held_bytes:-$((snap_bytes * 20))} / 1000000)) MB held for 20" \
    "load ${load_ms} ms" "< 20 ms per edit"

# Visibility passes.
# The median of runs of a qzbench command's key.
median_of() {
    local key=$1; shift
    for ((i = 0; i < runs; ++i)); do "$bin/qzbench" "$@" | value "$key"; done | median
}
vis_ms=$(median_of process_ms visibility "$dir/grid5k.qze" 2)
row "visibility, \"RenderMethod\" 2, 5,000 sectors" "${vis_ms} ms" "-" "-" "20x faster"
if [ -n "${QZ_BENCH_FULL:-}" ]; then
    vis20_ms=$("$bin/qzbench" visibility "$dir/grid20k.qze" 2 | value process_ms)
    row "visibility, \"RenderMethod\" 2, 20,000 sectors" "${vis20_ms} ms" "-" "-" "20x faster"
fi
walk_ms=$(median_of process_ms visibility "$dir/grid5k.qze" 0 100)
row "visibility, neighbour walk, \"Removal Level\" 100, 5,000 sectors" "${walk_ms} ms" "-" "-" "10x faster"

# Rebuild.
rebuild_ms=$(median_of rebuild_ms rebuild "$dir/grid20k.qze")
row "\`RebuildAll\`, 20,000 sectors" "${rebuild_ms} ms" "load ${load_ms} ms" \
    "$(ratio "$rebuild_ms" "$load_ms")x the load" "< 100 ms"

# The editor on a display: open to first frame, and frames of the editor's own path.
run_display() {
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        xvfb-run -a -s "-screen 0 1280x1024x24" env LIBGL_ALWAYS_SOFTWARE=1 "$@"
    else
        "$@"
    fi
}
out=$(run_display "$bin/qzopen" "$dir/grid20k.qze" 5 2>/dev/null || true)
open_ms=$(echo "$out" | value open_to_first_frame_ms)
row "open to first frame in the editor, 20,000 sectors" "${open_ms:--} ms" "load ${load_ms} ms" \
    "$(ratio "${open_ms:-0}" "$load_ms")x the load" "< 1 s"
out=$(run_display "$bin/qzbench" frame "$dir/grid20k.qze" 1280 720 30 2>/dev/null || true)
frame_ms=$(echo "$out" | value median_frame_ms)
renderer=$(echo "$out" | sed -n 's/.*renderer="\([^"]*\)".*/\1/p' | head -n 1)
row "a frame, \"Horizon Distance\" 200, 20,000 sectors, 1280x720 (${renderer:-no OpenGL})" \
    "${frame_ms:--} ms median" "-" "-" "< 8 ms median"
# The same frame with the camera outside the level, looking at it from above a corner: no closed
# room holds the camera, so every sector in reach and in view is handed to the device (median of
# the runs; beside it the engine's own part of a frame, its draws dropped).
frames=(); engines=()
for ((i = 0; i < runs; ++i)); do
    out=$(run_display "$bin/qzbench" frame --camera=outside "$dir/grid20k.qze" 1280 720 30 2>/dev/null || true)
    frames+=("$(echo "$out" | value median_frame_ms)")
    engines+=("$(echo "$out" | value median_engine_ms)")
done
frame_ms=$(printf '%s\n' "${frames[@]}" | median)
engine_ms=$(printf '%s\n' "${engines[@]}" | median)
row "a frame as above, the camera outside the level (${renderer:-no OpenGL})" \
    "${frame_ms:--} ms median" "the engine's part ${engine_ms:--} ms" "-" "< 8 ms median"

echo "| path | measured | yardstick | ratio | goal |"
echo "|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
