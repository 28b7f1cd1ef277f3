#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping apt
# entirely when all of them are present already. clang and libclang-rt-dev
# (the sanitizer and libFuzzer runtimes of the same clang) build the fuzz
# targets. assimp-utils gives the import library's own command-line tool,
# whose counts the mesh import tests compare against.
set -euo pipefail

packages=(
  build-essential cmake libsdl2-dev libx11-dev libgtest-dev libbenchmark-dev
  console-setup-linux xvfb xdotool x11-apps imagemagick hyperfine
  clang libclang-rt-dev pkg-config libassimp-dev assimp-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
