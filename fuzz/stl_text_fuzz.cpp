// Text STL files: the parser on the bytes as they are (records only for whole
// facets), then the import of the file, which must be consistent and survive
// an export and an import of the export.
#include <string_view>

#include "core/messages.h"
#include "fuzz_support.h"
#include "model/file_io.h"
#include "model/stl_file.h"
#include "model/stl_text.h"

using namespace qelvar;
using namespace qelvar::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<uint8_t> records;
  if (ParseTextStl(text, records)) {
    Check(StartsLikeTextStl(text), "a text file starts like one");
    Check(records.size() % kStlRecordSize == 0, "one record per facet");
  }
  InputFile file;
  const ModelStore& model = ImportStlChecked(data, size, file);
  // Without facets an import keeps the geometry there was, as a binary file
  // with a count below one does.
  if (IsTextStl(file) && !records.empty()) {
    Check(size_t(model.triangleCount) * kStlRecordSize == records.size(),
          "a text file imports one triangle per facet");
  }
  CheckExportAndImport(model);
  return 0;
}
