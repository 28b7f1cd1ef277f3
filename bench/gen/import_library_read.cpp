// The import library's own read of a mesh file, with the settings the
// program's import uses and nothing else: the yardstick for
// bench/mesh_import.sh.
//
//   qelvar_import_library_read FILE
#include <assimp/config.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qelvar_import_library_read FILE\n");
    return 2;
  }
  Assimp::Importer importer;
  importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
  const aiScene* scene = importer.ReadFile(argv[1], 0);
  if (!scene) return 1;
  unsigned faces = 0;
  for (unsigned k = 0; k < scene->mNumMeshes; ++k) faces += scene->mMeshes[k]->mNumFaces;
  std::printf("%u faces\n", faces);
  return 0;
}
