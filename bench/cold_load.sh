#!/usr/bin/env bash
# Whole-process timings of the cold paths: qelvar-replay starting with a
# generated STL or model file on its command line, against the same run with
# no file (start-up, first frame and exit only).
#
#   bench/cold_load.sh BUILD_DIR [SIZE ...]      (default sizes 100000 1000000 4000000)
#
# Meshes are written once into $QELVAR_BENCH_DIR (default /tmp/qelvar_bench_meshes).
set -euo pipefail

build=${1:?usage: cold_load.sh BUILD_DIR [SIZE ...]}
shift
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100000 1000000 4000000)
replay=$(realpath "$build/qelvar-replay")
gen=$(realpath "$build/qelvar_mesh_gen")
dir=${QELVAR_BENCH_DIR:-/tmp/qelvar_bench_meshes}
runs=${QELVAR_BENCH_RUNS:-5}
mkdir -p "$dir/home"
cd "$dir"
: > empty.script  # no steps: start, first frame, end

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
