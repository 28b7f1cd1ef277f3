#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang in build-fuzz/ and runs each on
# its seed corpus.
#
#   scripts/fuzz.sh [--runs N | --seconds S] [TARGET ...]
#
# --runs N     a fixed number of executions per target, from a fixed random
#              seed (FUZZ_SEED, default 1), in a fresh corpus: what CI runs
# --seconds S  as long as asked per target (default 60), growing the corpus
#              kept in build-fuzz/corpus/TARGET between runs
# TARGET       model_file part_file stl_binary stl_text bmp settings
#              replay_script render mesh_import (default: all)
#
# Inputs that break a property or trip a sanitizer are kept in
# build-fuzz/findings/; the exit status is 1 when there is any.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}
build=$root/build-fuzz

mode=(-max_total_time=60)
fresh=0
while [ $# -gt 0 ]; do
  case $1 in
    --runs) mode=(-runs="$2" -seed="${FUZZ_SEED:-1}"); fresh=1; shift 2 ;;
    --seconds) mode=(-max_total_time="$2"); shift 2 ;;
    -h|--help) sed -n '2,17p' "$0"; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
targets=("$@")
[ ${#targets[@]} -eq 0 ] &&
  targets=(model_file part_file stl_binary stl_text bmp settings replay_script render mesh_import)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELVAR_WERROR=ON \
  -DQELVAR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "$jobs"

mkdir -p "$build/findings"
# The import library keeps a few objects of some readers to the end of the process.
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan_import_library.supp
failed=()
for target in "${targets[@]}"; do
  binary=$build/fuzz/fuzz_$target
  [ -x "$binary" ] || { echo "fuzz.sh: no target $target" >&2; exit 2; }
  corpus=$build/corpus/$target
  [ "$fresh" -eq 1 ] && rm -rf "$corpus"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/fuzz/corpus/$target" ] && seeds=("$root/fuzz/corpus/$target")
  log=$build/findings/$target.log
  echo "== $target"
  # New inputs go to the first directory; the committed seeds stay as they are.
  if "$binary" "${mode[@]}" -max_len=8192 -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$build/findings/$target-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units)' "$log" || true
  else
    echo "FINDING in $target (log: $log):"
    grep -E 'ERROR|runtime error|property does not hold|Test unit written' "$log" | head -5
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz.sh: no findings"
