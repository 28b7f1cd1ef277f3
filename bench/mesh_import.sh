#!/usr/bin/env bash
# Whole-process timings of OBJ and binary PLY import: qelvar-replay starting
# with a generated grid on its command line, against the import library
# reading the same file alone with the same settings.
#
#   bench/mesh_import.sh BUILD_DIR [FACETS ...]      (default 1000000)
#
# Meshes are written once into $QELVAR_BENCH_DIR (default /tmp/qelvar_bench_meshes).
set -euo pipefail

default_sizes=(1000000)
source "$(dirname "$0")/whole_process_setup.sh" "$@"
library=$build/qelvar_import_library_read

commands=()
for n in "${sizes[@]}"; do
  for ext in obj ply; do
    [ -f "grid$n.$ext" ] || "$gen" grid "$n" "grid$n.$ext"
    commands+=("$library grid$n.$ext" "$replay --home $dir/home empty.script grid$n.$ext")
  done
done
hyperfine -N --warmup 1 --runs "$runs" --export-markdown "$dir/mesh_import.md" "${commands[@]}"
