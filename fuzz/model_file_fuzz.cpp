// Model files as " Open" reads them: a refused file changes neither the model
// nor the file name nor the options; a loaded one is consistent and comes
// back unchanged from a save and a reload. Other files go to the STL import,
// which the STL targets check further.
#include "core/messages.h"
#include "core/option_flags.h"
#include "fuzz_support.h"
#include "model/model_file.h"

using namespace qelvar;
using namespace qelvar::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteInput("input.qv", data, size);
  const OpenedFile opened = OpenChecked(path);
  if (opened.refused) return 0;
  const ModelStore& model = opened.model;
  const int result = opened.result;
  CheckConsistent(model);
  if (result == kMsgFileLoaded) {
    Check(opened.name == path, "a loaded file becomes the file to save");
    CheckSaveAndReload(model, opened.options);
  } else {
    Check(result == kMsgNone, "an import without progress ends normally");
  }
  return 0;
}
