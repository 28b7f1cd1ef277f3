#!/usr/bin/env bash
# Whole-process timings of OBJ and binary PLY import: qelvar-replay starting
# with a generated grid on its command line, against the import library
# reading the same file alone with the same settings.
#
#   bench/mesh_import.sh BUILD_DIR [FACETS ...]      (default 1000000)
#
# Meshes are written once into $QELVAR_BENCH_DIR (default /tmp/qelvar_bench_meshes).
set -euo pipefail

build=${1:?usage: mesh_import.sh BUILD_DIR [FACETS ...]}
shift
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(1000000)
replay=$(realpath "$build/qelvar-replay")
gen=$(realpath "$build/qelvar_mesh_gen")
library=$(realpath "$build/qelvar_import_library_read")
dir=${QELVAR_BENCH_DIR:-/tmp/qelvar_bench_meshes}
runs=${QELVAR_BENCH_RUNS:-5}
mkdir -p "$dir/home"
cd "$dir"
: > empty.script  # no steps: start, first frame, end

commands=()
for n in "${sizes[@]}"; do
  for ext in obj ply; do
    [ -f "grid$n.$ext" ] || "$gen" grid "$n" "grid$n.$ext"
    commands+=("$library grid$n.$ext" "$replay --home $dir/home empty.script grid$n.$ext")
  done
done
hyperfine -N --warmup 1 --runs "$runs" --export-markdown "$dir/mesh_import.md" "${commands[@]}"
