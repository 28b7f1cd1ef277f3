# Shared set-up of the whole-process benchmarks, sourced with the script's
# arguments (BUILD_DIR [SIZE ...]) after `default_sizes` is set: the build's
# folder and programs as absolute paths, the sizes, the run count, and the mesh folder (made current) with
# a home folder and a script of no steps.
build=$(realpath "${1:?usage: $(basename "$0") BUILD_DIR [SIZE ...]}")
shift
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=("${default_sizes[@]}")
replay=$build/qelvar-replay
gen=$build/qelvar_mesh_gen
dir=${QELVAR_BENCH_DIR:-/tmp/qelvar_bench_meshes}
runs=${QELVAR_BENCH_RUNS:-5}
mkdir -p "$dir/home"
cd "$dir"
: > empty.script  # no steps: start, first frame, end
