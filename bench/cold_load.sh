#!/usr/bin/env bash
# Whole-process timings of the cold paths: qelvar-replay starting with a
# generated STL or model file on its command line, against the same run with
# no file (start-up, first frame and exit only).
#
#   bench/cold_load.sh BUILD_DIR [SIZE ...]      (default sizes 100000 1000000 4000000)
#
# Meshes are written once into $QELVAR_BENCH_DIR (default /tmp/qelvar_bench_meshes).
set -euo pipefail

default_sizes=(100000 1000000 4000000)
source "$(dirname "$0")/whole_process_setup.sh" "$@"

for n in "${sizes[@]}"; do
  [ -f "grid$n.stl" ] || "$gen" grid "$n" "grid$n.stl" "grid$n.qv"
  [ -f "soup$n.stl" ] || "$gen" soup "$n" "soup$n.stl"
done

run() { echo "$replay --home $dir/home empty.script $*"; }
commands=("$(run)")
for n in "${sizes[@]}"; do
  commands+=("$(run "grid$n.stl")" "$(run "grid$n.qv")" "$(run "soup$n.stl")")
done
hyperfine -N --warmup 1 --runs "$runs" --export-markdown "$dir/cold_load.md" "${commands[@]}"
