#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and
# runs every test; then builds again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the tests once more; last, builds the
# fuzz targets with clang and runs each for a fixed number of executions.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}

bash "$root/scripts/install_deps.sh"

cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELVAR_WERROR=ON
cmake --build "$root/build-release" -j "$jobs"
ctest --test-dir "$root/build-release" --output-on-failure -j "$jobs"

cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELVAR_WERROR=ON \
  -DQELVAR_SANITIZE=ON -DQELVAR_SDL=ON -DQELVAR_BENCH=OFF
cmake --build "$root/build-sanitize" -j "$jobs"
ctest --test-dir "$root/build-sanitize" --output-on-failure -j "$jobs"

# A few seconds per target: enough to keep the properties true of the seeds
# and their near neighbours. scripts/fuzz.sh --seconds S fuzzes for longer.
JOBS=$jobs bash "$root/scripts/fuzz.sh" --runs "${FUZZ_RUNS:-1000}"
