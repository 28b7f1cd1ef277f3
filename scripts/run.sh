#!/usr/bin/env bash
# Installs what is missing, builds the modeller and starts it; arguments are
# passed on (a model file to load).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install_deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQELVAR_SDL=ON
cmake --build "$root/build" -j "$(nproc)" --target qelvar
exec "$root/build/qelvar" "$@"
