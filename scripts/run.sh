#!/usr/bin/env bash
# Installs what is missing, builds the modeller and starts it; arguments are
# passed on (a model file to load).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install_deps.sh"
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build-release" -j "$(nproc)" --target qelvar
exec "$root/build-release/qelvar" "$@"
