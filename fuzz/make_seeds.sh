#!/usr/bin/env bash
# Makes the seed corpus of the fuzz targets, fuzz/corpus/TARGET/, from what
# the modeller itself writes: qelvar-replay runs the scripts of fuzz/seeds/
# and its files, screenshots and settings files become the seeds. The text
# STL seed is fuzz/seeds/pyramid.stl (the start-up pyramid; the modeller
# writes binary STL only).
#
#   fuzz/make_seeds.sh QELVAR_REPLAY
set -euo pipefail
replay=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
corpus=$here/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/scene" "$work/tiny"
(cd "$work/scene" && "$replay" --home . "$here/seeds/scene.script")
printf 'mode = 00320024\r\ncdep = 16\r\nrdet = 2\r\n' >"$work/tiny/QELVAR.INI"
(cd "$work/tiny" && "$replay" --home . "$here/seeds/tiny_screen.script")

rm -rf "$corpus"
mkdir -p "$corpus"/{model_file,part_file,stl_binary,stl_text,bmp,settings,replay_script,render,mesh_import}
cp "$work/scene/model.qv" "$work/scene/part.qv" "$work/scene/scene.stl" "$corpus/model_file/"
cp "$here/seeds/pyramid.stl" "$corpus/model_file/"
cp "$work/scene/part.qv" "$work/scene/model.qv" "$corpus/part_file/"
cp "$work/scene/scene.stl" "$corpus/stl_binary/"
cp "$here/seeds/pyramid.stl" "$corpus/stl_text/"
cp "$work/tiny/tiny.bmp" "$work/tiny/turned.bmp" "$corpus/bmp/"
cp "$work/scene/QELVAR.INI" "$corpus/settings/default.ini"
cp "$work/tiny/QELVAR.INI" "$corpus/settings/custom.ini"
cp "$here"/seeds/*.script "$corpus/replay_script/"
# The renderer reads its values straight from the bytes: the model file's
# floats serve as a start.
cp "$work/scene/model.qv" "$corpus/render/"
# The mesh import target takes a byte that picks the extension (0 .obj,
# 1 .ply), then the file.
{ printf '\000'; cat "$work/scene/scene.obj"; } >"$corpus/mesh_import/scene_obj"
{ printf '\001'; cat "$work/scene/scene.ply"; } >"$corpus/mesh_import/scene_ply"
echo "seeds written to $corpus"
