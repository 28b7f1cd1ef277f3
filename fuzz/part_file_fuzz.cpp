// Part files as "Load part from" reads them: a refused file leaves the model
// bit-identical; a loaded one appends to it without touching what was there,
// and the model then comes back unchanged from a save and a reload.
#include "core/messages.h"
#include "core/option_flags.h"
#include "fuzz_support.h"
#include "model/part_file.h"

using namespace qelvar;
using namespace qelvar::fuzz;

namespace {

bool StartsWith(const std::vector<uint8_t>& whole, const std::vector<uint8_t>& start) {
  return whole.size() >= start.size() && std::equal(start.begin(), start.end(), whole.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteInput("input.qv", data, size);
  ModelStore& model = FreshStore(0);
  const ModelSnapshot before = Snapshot(model);
  const auto group = static_cast<uint8_t>(size % kPartGroups);
  const int result = LoadPartFile(model, path, group);
  const ModelSnapshot after = Snapshot(model);
  if (result != kMsgFileLoaded) {
    Check(after == before, "a refused part leaves the model as it was");
    return 0;
  }
  CheckConsistent(model);
  Check(StartsWith(after.vertices, before.vertices) &&
            StartsWith(after.triangles, before.triangles) &&
            StartsWith(after.lines, before.lines) && StartsWith(after.flags, before.flags) &&
            StartsWith(after.colours, before.colours) && after.names == before.names,
        "a part is appended after what was there");
  CheckSaveAndReload(model, kStartOptions);
  return 0;
}
