// Shared by the fuzz targets: a private directory for the files that inputs
// become, and checks that stop the run (libFuzzer keeps the input) when a
// property does not hold.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/file_io.h"
#include "model/model_store.h"

namespace qelvar::fuzz {

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "property does not hold: %s\n", what);
  std::abort();
}

inline void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

// A directory of this process, in memory when the system offers one (saves
// sync their files, which would otherwise reach the disk on every input).
const std::string& Directory();

// Writes the bytes to NAME in Directory() and returns the path.
std::string WriteInput(const char* name, const uint8_t* data, size_t size);

// A store just as InitModelStore leaves it (the start-up scene). Store 0 is
// for the input, 1 for checks; each call starts it afresh, reusing the
// memory of earlier inputs.
ModelStore& FreshStore(int which);

// Everything a model file carries, copied out of a store for comparison.
struct ModelSnapshot {
  std::vector<uint8_t> vertices, triangles, lines, flags, colours, names;
  bool operator==(const ModelSnapshot&) const = default;
};
ModelSnapshot Snapshot(const ModelStore& model);

// What " Open" left after loading a file into store 0.
struct OpenedFile {
  ModelStore& model;
  std::string name;  // the model's file name
  uint32_t options;
  int result;  // the message number, or kMsgNone
  bool refused;
};
// Opens `path` into a fresh store 0 from the start-up state; a refused file
// must leave the model, its name and the options as they were.
OpenedFile OpenChecked(const std::string& path);

// Imports the bytes as an STL file into a fresh store 0 (`file` stays open on
// it); the import must end normally and leave a consistent model.
ModelStore& ImportStlChecked(const uint8_t* data, size_t size, InputFile& file);

// Counts within the tables, and every triangle corner and line end a vertex.
void CheckConsistent(const ModelStore& model);

// Saves the model as a model file and loads it into a fresh store: the same
// tables, names and "[_] model Colors" bit must come back.
void CheckSaveAndReload(const ModelStore& model, uint32_t options);

// Exports the model as binary STL and imports the export into a fresh store:
// triangle by triangle the same corner coordinates and colour words.
void CheckExportAndImport(const ModelStore& model);

}  // namespace qelvar::fuzz
