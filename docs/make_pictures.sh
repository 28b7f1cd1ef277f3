#!/usr/bin/env bash
# Regenerates the guide's pictures: runs every docs/shots/*.script with
# qelvar-replay in a scratch directory and converts the BMP shots it writes
# to docs/shots/*.png.  Usage: bash docs/make_pictures.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: bash docs/make_pictures.sh BUILD_DIR}
replay=$(cd "$build" && pwd)/qelvar-replay
shots=$(cd "$(dirname "$0")/shots" && pwd)
[ -x "$replay" ] || { echo "no qelvar-replay in $build (build the target qelvar-replay)" >&2; exit 1; }
command -v convert >/dev/null || { echo "ImageMagick convert is missing (scripts/install_deps.sh installs it)" >&2; exit 1; }
for script in "$shots"/*.script; do
  name=$(basename "$script" .script)
  # A fixed scratch path, so the file list's directory row is the same every time.
  work=/tmp/qelvar-pictures/models
  rm -rf /tmp/qelvar-pictures && mkdir -p "$work"
  # Every picture uses 640x480 at 32 bits unless the script brings its own settings.
  printf 'mode = 18\r\ncdep = 32\r\nrdet = 1\r\n' > "$work/QELVAR.INI"
  [ -d "$shots/$name.files" ] && cp -r "$shots/$name.files/." "$work/"
  (cd "$work" && "$replay" --home "$work" "$script" > /dev/null)
  for bmp in "$work"/*.bmp; do
    [ -e "$bmp" ] || continue
    case $(basename "$bmp") in image???.bmp) continue ;; esac  # the program's own screenshots
    convert "$bmp" -strip -define png:compression-level=9 "$shots/$(basename "$bmp" .bmp).png"
  done
  rm -rf /tmp/qelvar-pictures
done
echo "pictures written to $shots"
