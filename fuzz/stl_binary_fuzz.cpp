// STL files as the import reads them: whatever the bytes, the model is
// consistent afterwards, and exporting it and importing the export gives the
// same corners and colour words, triangle by triangle.
#include "core/messages.h"
#include "fuzz_support.h"
#include "model/file_io.h"
#include "model/stl_file.h"

using namespace qelvar;
using namespace qelvar::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputFile file;
  const ModelStore& model = ImportStlChecked(data, size, file);
  CheckExportAndImport(model);
  return 0;
}
