// Files of the import library's mesh formats as " Open" reads them: the
// first byte picks the extension, the rest is the file. A refused file leaves
// the model as it was; a loaded one is consistent, and its OBJ export reads
// back. Run with LSAN_OPTIONS=suppressions=fuzz/lsan_import_library.supp: the
// library itself keeps a few objects of some readers to the end of the process.
#include <string>

#include "core/messages.h"
#include "core/option_flags.h"
#include "fuzz_support.h"
#include "model/mesh_export.h"
#include "model/model_file.h"

using namespace qelvar;
using namespace qelvar::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const kNames[] = {"input.obj",  "input.ply", "input.off",
                                       "input.gltf", "input.3mf", "input.dae"};
  const std::string path = WriteInput(kNames[data[0] % 6], data + 1, size - 1);
  const OpenedFile opened = OpenChecked(path);
  if (opened.refused) return 0;
  const ModelStore& model = opened.model;
  CheckConsistent(model);
  if (opened.result != kMsgFileLoaded) return 0;  // text STL by content: the STL targets check it
  const std::string copy = Directory() + "/copy.obj";
  Check(ExportModel(model, copy) == kMsgFileSaved, "the OBJ export is written");
  ModelStore& again = FreshStore(1);
  std::string againName;
  uint32_t againOptions = 0;
  Check(LoadModelFile(copy, {again, againName, againOptions}, nullptr) == kMsgFileLoaded ||
            model.triangleCount + model.lineCount == 0,
        "the OBJ export reads back");
  return 0;
}
