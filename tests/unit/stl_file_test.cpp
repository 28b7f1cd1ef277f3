// STL import and export: exact bytes, welding against a plain linear search,
// the facet-count rules, cancelling, and text files.
#include "model/stl_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <map>
#include <random>

#include "core/messages.h"
#include "file_test_util.h"
#include "model/file_io.h"
#include "model/model_file.h"
#include "model/stl_text.h"
#include "platform/address_sanitizer.h"

namespace qelvar {
namespace {

// The byte helpers and the temporary-directory fixture of file_test_util.h.
using namespace test;

struct Facet {
  float corner[9];
  uint16_t attribute = 0;
};

Bytes StlBytes(const std::vector<Facet>& facets, int32_t count, const std::string& header = "") {
  Bytes b(80, ' ');
  std::copy(header.begin(), header.end(), b.begin());
  AddI32(b, count);
  for (const Facet& f : facets) {
    for (int i = 0; i < 3; ++i) AddF32(b, 0.5f);  // normal, ignored on import
    for (float c : f.corner) AddF32(b, c);
    AddU16(b, f.attribute);
  }
  return b;
}

// The welding rule written the obvious way: a linear search of the bytes.
std::vector<std::array<int32_t, 3>> LinearWeld(const std::vector<Facet>& facets,
                                               std::vector<std::array<float, 3>>& vertices) {
  std::vector<std::array<int32_t, 3>> triangles;
  for (const Facet& f : facets) {
    std::array<int32_t, 3> t{};
    for (int c = 0; c < 3; ++c) {
      int32_t found = -1;
      for (size_t v = 0; v < vertices.size() && found < 0; ++v)
        if (std::memcmp(vertices[v].data(), f.corner + 3 * c, 12) == 0) found = int32_t(v);
      if (found < 0) {
        found = int32_t(vertices.size());
        vertices.push_back({f.corner[3 * c], f.corner[3 * c + 1], f.corner[3 * c + 2]});
      }
      t[size_t(c)] = found;
    }
    triangles.push_back(t);
  }
  return triangles;
}

// Cancels when asked at a given facet; records every call.
class ScriptedProgress : public ImportProgress {
 public:
  explicit ScriptedProgress(int32_t cancelAt = -1) : cancelAt_(cancelAt) {}
  bool Cancelled(int32_t facet, int32_t facets) override {
    calls.push_back({facet, facets});
    return facet == cancelAt_;
  }
  std::vector<std::pair<int32_t, int32_t>> calls;

 private:
  int32_t cancelAt_;
};

class Stl : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    InitModelStore(model_);
  }
  int Import(const Bytes& b, ImportProgress* progress = nullptr) {
    WriteBytes(Path("in.stl"), b);
    InputFile file;
    EXPECT_TRUE(file.Open(Path("in.stl")));
    return ImportStl(file, model_, progress);
  }
  ModelStore model_;
  std::vector<uint8_t> records_;
};

TEST_F(Stl, StartupSceneExportsTo384Bytes) {
  model_.triangleNormals[1] = Vec3{0, 0, -1};
  model_.triangleColours[5] = 0x8001;
  ASSERT_EQ(ExportStl(model_, Path("out.stl")), kMsgFileSaved);
  const Bytes b = ReadBytes(Path("out.stl"));
  ASSERT_EQ(b.size(), 384u);
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 80), Bytes(80, ' '));
  EXPECT_EQ(I32At(b, 80), 6);
  float f;
  std::memcpy(&f, &b[84 + 50 + 8], 4);  // facet 1 normal z
  EXPECT_EQ(f, -1.0f);
  std::memcpy(&f, &b[84 + 12 + 12 + 4], 4);  // facet 0 corner 1 = vertex 3, y
  EXPECT_EQ(f, 10.0f);
  EXPECT_EQ(U16At(b, 84 + 5 * 50 + 48), 0x8001);
  EXPECT_EQ(test::CountFiles(dir_), 1u);
}

TEST_F(Stl, ExportThenImportRenumbersVerticesByFirstUse) {
  AppendVertex(model_, Vec3{99, 99, 99});  // used by no triangle: gone after import
  model_.triangleColours[2] = 0x7C00;
  model_.triangleFlags[3] = kSelectedBit | 5;
  ASSERT_EQ(ExportStl(model_, Path("out.stl")), kMsgFileSaved);
  ModelStore original = model_;
  ASSERT_EQ(Import(ReadBytes(Path("out.stl"))), kMsgNone);
  ASSERT_EQ(model_.triangleCount, 6);
  ASSERT_EQ(model_.vertexCount, 5);
  EXPECT_EQ(model_.lineCount, 0);
  for (int i = 0; i < 6; ++i) {
    for (int c = 0; c < 3; ++c) {
      const Vec3 a = model_.vertices[size_t(model_.triangles[size_t(i)].corner[c])];
      const Vec3 e = original.vertices[size_t(original.triangles[size_t(i)].corner[c])];
      EXPECT_EQ(std::memcmp(&a, &e, 12), 0);
    }
    EXPECT_EQ(model_.triangleColours[size_t(i)], original.triangleColours[size_t(i)]);
    EXPECT_EQ(model_.triangleFlags[size_t(i)], 0);
  }
  EXPECT_EQ(model_.triangles[0].corner[0], 0);  // vertex 0 (first used)
  EXPECT_EQ(model_.triangles[0].corner[1], 1);  // old vertex 3
  EXPECT_EQ(model_.triangles[0].corner[2], 2);  // old vertex 2
  EXPECT_EQ(model_.triangles[1].corner[1], 3);  // old vertex 1
}

TEST_F(Stl, WeldingMatchesBytesExactlyLikeALinearSearch) {
  std::mt19937 rng(7);
  const float pool[] = {0.0f, -0.0f, 1.0f, -1.0f, 2.5f, 1e-42f, NAN};
  std::vector<Facet> facets(3000);
  for (Facet& f : facets) {
    for (float& c : f.corner) c = pool[rng() % 7];
    f.attribute = uint16_t(rng());
  }
  std::vector<std::array<float, 3>> vertices;
  const auto triangles = LinearWeld(facets, vertices);
  ASSERT_EQ(Import(StlBytes(facets, 3000)), kMsgNone);
  ASSERT_EQ(model_.triangleCount, 3000);
  ASSERT_EQ(model_.vertexCount, int32_t(vertices.size()));
  for (size_t v = 0; v < vertices.size(); ++v)
    EXPECT_EQ(std::memcmp(&model_.vertices[v], vertices[v].data(), 12), 0);
  for (size_t t = 0; t < triangles.size(); ++t) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(model_.triangles[t].corner[c], triangles[t][size_t(c)]);
    EXPECT_EQ(model_.triangleColours[t], facets[t].attribute);
  }
}

// Past the facets whose vertex count sizes the weld index for the rest of the
// file, the index is resized and may grow again: corners must still weld to
// the vertex of their first use. Shared-corner facets then fresh corners, and
// the other way round.
TEST_F(Stl, WeldingStaysExactWhenTheIndexIsResizedOnTheWay) {
  for (const bool sharedFirst : {true, false}) {
    SCOPED_TRACE(sharedFirst ? "shared corners first" : "fresh corners first");
    std::mt19937 rng(11);
    std::vector<Facet> facets(60000);
    for (size_t k = 0; k < facets.size(); ++k) {
      const bool shared = (k < 20000) == sharedFirst;
      for (int c = 0; c < 3; ++c) {
        float* corner = facets[k].corner + 3 * c;
        if (k >= 20000 && rng() % 2) {  // a corner of some earlier facet
          std::memcpy(corner, facets[rng() % k].corner + 3 * (rng() % 3), 12);
          continue;
        }
        for (int i = 0; i < 3; ++i)
          corner[i] = shared ? float(rng() % 8) : float(rng() % 4096) + float(k) * 4096.0f;
      }
    }
    std::map<std::array<uint8_t, 12>, int32_t> first;  // reference weld by bytes
    std::vector<int32_t> expected;
    for (const Facet& f : facets) {
      for (int c = 0; c < 3; ++c) {
        std::array<uint8_t, 12> key;
        std::memcpy(key.data(), f.corner + 3 * c, 12);
        expected.push_back(first.emplace(key, int32_t(first.size())).first->second);
      }
    }
    ASSERT_EQ(Import(StlBytes(facets, int32_t(facets.size()))), kMsgNone);
    ASSERT_EQ(model_.vertexCount, int32_t(first.size()));
    for (size_t i = 0; i < expected.size(); ++i)
      ASSERT_EQ(model_.triangles[i / 3].corner[i % 3], expected[i]) << "corner " << i;
  }
}

TEST_F(Stl, SharedCornersWeldAndSignedZerosStayApart) {
  const std::vector<Facet> facets = {{{0, 0, 0, 1, 0, 0, 0, 1, 0}, 0x8000 | 31},
                                     {{1, 0, 0, 0, 1, 0, -0.0f, 0, 0}, 0}};
  ASSERT_EQ(Import(StlBytes(facets, 2)), kMsgNone);
  EXPECT_EQ(model_.vertexCount, 4);
  EXPECT_EQ(model_.triangles[1].corner[0], 1);
  EXPECT_EQ(model_.triangles[1].corner[1], 2);
  EXPECT_EQ(model_.triangles[1].corner[2], 3);
  EXPECT_TRUE(std::signbit(model_.vertices[3].x));
  EXPECT_EQ(model_.triangleColours[0], 0x8000 | 31);  // bit 15 kept
  model_.triangleNormals[0] = model_.triangleNormals[1] = Vec3{0, 0, 1};
  ASSERT_EQ(ExportStl(model_, Path("back.stl")), kMsgFileSaved);
  EXPECT_EQ(U16At(ReadBytes(Path("back.stl")), 84 + 48), 0x8000 | 31);
}

TEST_F(Stl, FacetCountBelowOneKeepsGeometryDropsLinesAndFlags) {
  model_.triangleFlags[2] = kSelectedBit | 9;
  for (int32_t count : {0, -7}) {
    ASSERT_EQ(Import(StlBytes({{{1, 2, 3, 4, 5, 6, 7, 8, 9}}}, count)), kMsgNone);
    EXPECT_EQ(model_.vertexCount, 9);
    EXPECT_EQ(model_.triangleCount, 6);
    EXPECT_EQ(model_.lineCount, 0);
    EXPECT_EQ(model_.triangleFlags[2], 0);
  }
}

TEST_F(Stl, CountLargerThanTheFileImportsTheFacetsThere) {
  std::vector<Facet> facets(3, Facet{{0, 0, 0, 1, 0, 0, 0, 1, 0}});
  facets[2].corner[0] = 5;
  Bytes b = StlBytes(facets, 10);
  b.resize(b.size() - 20);  // the third record is cut short: not read
  ASSERT_EQ(Import(b), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 2);
  EXPECT_EQ(model_.vertexCount, 3);

  ScriptedProgress progress;
  ASSERT_EQ(Import(StlBytes(facets, INT32_MAX), &progress), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 3);
  EXPECT_LT(model_.triangleCapacity, 10000);  // sized by the file, not the claim
  ASSERT_EQ(progress.calls.size(), 1u);
  EXPECT_EQ(progress.calls[0], std::make_pair(0, INT32_MAX));
}

TEST_F(Stl, TablesAreSizedFromTheFileLength) {
  std::vector<Facet> facets(20000, Facet{{0, 0, 0, 1, 0, 0, 0, 1, 0}});
  for (size_t i = 0; i < facets.size(); ++i) facets[i].corner[0] = float(i);
  ASSERT_EQ(Import(StlBytes(facets, 20000)), kMsgNone);
  // 1000084 bytes: triangles 20002 + 4096, vertices 10001 + 4096 then grown by 8192 steps.
  EXPECT_EQ(model_.triangleCapacity, 20002 + 4096);
  EXPECT_EQ(model_.vertexCount, 20001);
  EXPECT_EQ(model_.vertexCapacity, 10001 + 4096 + 8192);
}

TEST_F(Stl, EscapeStopsAtTheNextProgressStepKeepingEarlierFacets) {
  std::vector<Facet> facets(1000, Facet{{0, 0, 0, 1, 0, 0, 0, 1, 0}});
  for (size_t i = 0; i < facets.size(); ++i) facets[i].corner[2] = float(i);
  ScriptedProgress progress(384);
  ASSERT_EQ(Import(StlBytes(facets, 1000), &progress), kMsgCanceled);
  EXPECT_EQ(model_.triangleCount, 384);
  EXPECT_EQ(model_.vertexCount, 384 + 2);
  ASSERT_EQ(progress.calls.size(), 4u);
  EXPECT_EQ(progress.calls[3], std::make_pair(384, 1000));
}

TEST_F(Stl, ProgressTextPutsALeadingBlankBeforeNonNegativeNumbers) {
  EXPECT_EQ(StlProgressText(0, 1000), "importing stl...  0/ 1000 (ESC to cancel)");
  EXPECT_EQ(StlProgressText(128, -3), "importing stl...  128/-3 (ESC to cancel)");
}

TEST_F(Stl, LoaderHandsUnknownFilesOf130BytesOnToTheImport) {
  std::string name = "keep.qv";
  uint32_t options = 1u << 14;
  Bytes b = StlBytes({{{1, 1, 1, 2, 2, 2, 1, 1, 1}, 77}}, 1, "QVFX");  // 134 bytes
  WriteBytes(Path("x.bin"), b);
  EXPECT_EQ(LoadModelFile(Path("x.bin"), {model_, name, options}, nullptr), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 1);
  EXPECT_EQ(model_.vertexCount, 2);
  EXPECT_EQ(name, Path("x.qv"));
  EXPECT_EQ(options, 1u << 14);
}

TEST_F(Stl, TextFilesImportLikeTheirBinaryTwin) {
  const std::string text =
      "solid cube part\n"
      "  facet normal 0 0 1\n    outer loop\n      vertex 0 0 0\n      vertex 1 0 0\n"
      "      vertex 0 1 0\n    endloop\n  endfacet\n"
      "  FACET NORMAL 0 0 -1\r\n    outer loop\r\n      vertex 1 0 0\r\n      vertex 1e0 1 0\r\n"
      "      vertex -0 1.0 0\r\n    endloop\r\n  endfacet\r\n"
      "endsolid cube part\n";
  Bytes b(text.begin(), text.end());
  ScriptedProgress progress;
  ASSERT_EQ(Import(b, &progress), kMsgNone);
  ASSERT_EQ(model_.triangleCount, 2);
  EXPECT_EQ(model_.vertexCount, 5);  // "-0" is a corner of its own
  EXPECT_EQ(model_.triangles[1].corner[0], 1);
  EXPECT_EQ(model_.triangles[1].corner[1], 3);
  EXPECT_EQ(model_.vertices[3].x, 1.0f);
  EXPECT_TRUE(std::signbit(model_.vertices[4].x));
  EXPECT_EQ(model_.triangleColours[0], 0);
  EXPECT_EQ(progress.calls.size(), 1u);
}

TEST_F(Stl, TextFilesShorterThan130BytesStillOpen) {
  const std::string text =
      "solid\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\n"
      "endloop\nendfacet\nendsolid\n";
  ASSERT_LT(text.size(), 130u);
  WriteBytes(Path("tiny.stl"), Bytes(text.begin(), text.end()));
  std::string name = "keep.qv";
  uint32_t options = 0;
  EXPECT_EQ(LoadModelFile(Path("tiny.stl"), {model_, name, options}, nullptr), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 1);
  EXPECT_EQ(model_.vertexCount, 3);
  EXPECT_EQ(model_.vertices[2].y, 1.0f);
  EXPECT_EQ(name, Path("tiny.qv"));
  // A short file that only starts like one is still refused.
  std::string broken = text.substr(0, text.size() - 20);
  WriteBytes(Path("broken.stl"), Bytes(broken.begin(), broken.end()));
  EXPECT_EQ(LoadModelFile(Path("broken.stl"), {model_, name, options}, nullptr), kMsgInvalidFile);
  EXPECT_EQ(model_.triangleCount, 1);
}

// The text a file must start with to be tried as text follows the parser's
// own rules: keywords in any case, blank lines and blanks before them, and a
// UTF-8 byte order mark first.
TEST_F(Stl, TextFilesInCapitalsOrAfterBlankLinesOrAMarkImportAsText) {
  const std::string facet =
      " FACET NORMAL 0 0 1\r\n  OUTER LOOP\r\n   VERTEX 0 0 0\r\n   VERTEX 1 0 0\r\n"
      "   VERTEX 0 1 7\r\n  ENDLOOP\r\n ENDFACET\r\n";
  for (const std::string& head : {std::string("SOLID PART\r\n"), std::string("\r\n\t Solid\r\n"),
                                  std::string("\xEF\xBB\xBFsolid with a byte order mark\r\n")}) {
    SCOPED_TRACE(head);
    const std::string text = head + facet + facet + "ENDSOLID PART\r\n";
    ASSERT_GE(text.size(), 130u);
    ASSERT_EQ(Import(Bytes(text.begin(), text.end())), kMsgNone);
    ASSERT_EQ(model_.triangleCount, 2);
    EXPECT_EQ(model_.vertexCount, 3);
    EXPECT_EQ(model_.vertices[2].z, 7.0f);
  }
}

// Lines may end in CR alone, as in files from old Macintosh programs.
TEST_F(Stl, TextFilesWithCarriageReturnLineEndsImportAsText) {
  const std::string facet =
      "facet normal 0 0 1\r outer loop\r  vertex 0 0 0\r  vertex 1 0 0\r  vertex 0 1 4\r"
      " endloop\rendfacet\r";
  const std::string text = "solid mac\r" + facet + facet + "endsolid mac\r";
  ASSERT_GE(text.size(), 130u);
  ASSERT_EQ(Import(Bytes(text.begin(), text.end())), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 2);
  EXPECT_EQ(model_.vertexCount, 3);
  EXPECT_EQ(model_.vertices[2].z, 4.0f);
}

// The normal is never used, so a normal some writers print for a facet of no
// area ("-1.#IND00e+000") does not turn the file into binary records.
TEST_F(Stl, TextFilesWithUnreadableNormalsImportTheirCorners) {
  const std::string text =
      "solid odd\n facet normal -1.#IND00e+000 -1.#IND00e+000 -1.#QNAN0\n  outer loop\n"
      "   vertex 2 2 2\n   vertex 2 2 2\n   vertex 2 2 2\n  endloop\n endfacet\n"
      " facet normal 0 0 1\n  outer loop\n   vertex 0 0 0\n   vertex 1 0 0\n   vertex 0 1 0\n"
      "  endloop\n endfacet\nendsolid odd\n";
  ASSERT_EQ(Import(Bytes(text.begin(), text.end())), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 2);
  EXPECT_EQ(model_.vertexCount, 4);
  EXPECT_EQ(model_.vertices[0].x, 2.0f);
  // Still three of them, and a corner must be a number.
  for (const std::string& bad :
       {std::string("facet normal 0 0\n"), std::string("   vertex 2 2 #IND\n")}) {
    std::string broken = text;
    const size_t at =
        bad[0] == 'f' ? broken.find("facet normal 0 0 1\n") : broken.find("   vertex 2 2 2\n");
    broken.replace(at, bad[0] == 'f' ? 19 : 16, bad);
    EXPECT_FALSE(ParseTextStl(broken, records_)) << broken;
  }
}

// A text file cut after its last complete facet, or written without the
// closing "endsolid" line, still holds its facets; read in the binary layout
// it would give triangles made of the bytes of its text.
TEST_F(Stl, TextFilesWithoutEndsolidImportTheirFacets) {
  const std::string facet =
      "facet normal 0 0 1\n outer loop\n  vertex 0 0 0\n  vertex 1 0 0\n  vertex 0 1 5\n"
      " endloop\nendfacet\n";
  const std::string text = "solid cut\n" + facet + facet + facet;
  ASSERT_GE(text.size(), 130u);
  ASSERT_EQ(Import(Bytes(text.begin(), text.end())), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 3);
  EXPECT_EQ(model_.vertexCount, 3);
  EXPECT_EQ(model_.vertices[2].z, 5.0f);
  // Short ones open as well.
  const std::string one = "solid\n" + facet;
  ASSERT_LT(one.size(), 130u);
  WriteBytes(Path("one.stl"), Bytes(one.begin(), one.end()));
  std::string name = "keep.qv";
  uint32_t options = 0;
  EXPECT_EQ(LoadModelFile(Path("one.stl"), {model_, name, options}, nullptr), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 1);
  // A facet cut short is not a text file, nor is a "solid" line alone.
  for (const std::string& cut : {text.substr(0, text.size() - 20), std::string("solid x\n")}) {
    WriteBytes(Path("cut.stl"), Bytes(cut.begin(), cut.end()));
    InputFile file;
    ASSERT_TRUE(file.Open(Path("cut.stl")));
    EXPECT_FALSE(IsTextStl(file)) << cut;
  }
}

TEST_F(Stl, BinaryFilesWithASolidHeaderImportAsBinary) {
  const std::vector<Facet> facets = {{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 5}};
  ASSERT_EQ(Import(StlBytes(facets, 1, "solid exported by a CAD program\nfacet")), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 1);
  EXPECT_EQ(model_.vertices[2].z, 9.0f);
  // A broken text file is read in the binary layout as well.
  std::string broken = "solid x\n facet normal 0 0 1\n outer loop\n vertex 0 0\n";
  broken.resize(200, ' ');
  ASSERT_EQ(Import(Bytes(broken.begin(), broken.end())), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 2);  // count 0x20202020 (blanks): the two whole records there
}

// A binary file from a writer that puts "solid" in its header may claim so
// many facets (2^24 or more) that no byte of its count is 0; its facet data
// has NUL bytes, so it is known as binary without reading it whole (which for
// such a file means gigabytes).
TEST_F(Stl, BinaryFilesWithASolidHeaderAreNotReadWholeAsText) {
  const std::vector<Facet> facets = {{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 5}};
  Bytes b = StlBytes(facets, 0x01020304, "solid scan");
  for (size_t i = 84; i < 96; ++i) b[i] = 0;  // a normal of zeros
  WriteBytes(Path("scan.stl"), b);
  InputFile binary;
  ASSERT_TRUE(binary.Open(Path("scan.stl")));
  EXPECT_FALSE(MayBeTextStl(binary));
  EXPECT_EQ(ImportStl(binary, model_, nullptr), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 1);
  const std::string text = "solid\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\n";
  WriteBytes(Path("text.stl"), Bytes(text.begin(), text.end()));
  InputFile maybe;
  ASSERT_TRUE(maybe.Open(Path("text.stl")));
  EXPECT_TRUE(MayBeTextStl(maybe));
}

TEST_F(Stl, AHugeFileWithASolidHeaderImportsAsBinary) {
  const std::vector<Facet> facets = {{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 5}};
  WriteBytes(Path("huge.stl"), StlBytes(facets, 1, "solid huge"));
  test::ExtendSparse(Path("huge.stl"));
  InputFile file;
  ASSERT_TRUE(file.Open(Path("huge.stl")));
  EXPECT_EQ(ImportStl(file, model_, nullptr), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 1);
  EXPECT_EQ(model_.vertices[2].z, 9.0f);
}

TEST_F(Stl, TablesAreSizedForNoMoreFacetsThanTheFileClaims) {
  // 1 GiB that holds one facet and then zero bytes: sized by the length
  // alone the tables would take some 21 million slots.
  WriteBytes(Path("long.stl"), StlBytes({{{1, 2, 3, 4, 5, 6, 7, 8, 9}, 5}}, 1));
  test::ExtendSparse(Path("long.stl"), 30);
  InputFile file;
  ASSERT_TRUE(file.Open(Path("long.stl")));
  EXPECT_EQ(ImportStl(file, model_, nullptr), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 1);
  EXPECT_EQ(model_.triangleCapacity, kStartCapacity);
  EXPECT_EQ(model_.vertexCapacity, kStartCapacity);
}

// The address sanitizer reserves far more address space than any limit the
// test could set; there the import runs without one.
constexpr bool kAddressLimitWorks = !kAddressSanitizer;

// A 64 GiB sparse file claiming two billion facets, imported by a child
// process limited to 1 GiB of memory and cancelled after 1024 facets: nothing
// is allocated for the claim, nothing escapes as an exception, and the model
// holds what arrived.
TEST_F(Stl, AHugeClaimUnderAMemoryLimitImportsWhatArrives) {
  std::vector<Facet> facets(2000, Facet{{0, 0, 0, 1, 0, 0, 0, 1, 0}});
  for (size_t i = 0; i < facets.size(); ++i) facets[i].corner[2] = float(i);
  WriteBytes(Path("claim.stl"), StlBytes(facets, INT32_MAX));
  test::ExtendSparse(Path("claim.stl"), 36);
  const pid_t child = fork();
  if (child == 0) {
    if (kAddressLimitWorks) {
      const rlimit limit{rlim_t{1} << 30, rlim_t{1} << 30};
      setrlimit(RLIMIT_AS, &limit);
    }
    InputFile file;
    ScriptedProgress progress(1024);
    const bool opened = file.Open(Path("claim.stl"));
    int result = -1;
    try {
      result = ImportStl(file, model_, &progress);
    } catch (...) {
      _exit(2);  // the exception the program would have died of
    }
    const bool held = model_.triangleCount == 1024 && model_.vertexCount == 1024 + 2 &&
                      model_.vertexCount <= model_.vertexCapacity &&
                      model_.triangleCount <= model_.triangleCapacity;
    _exit(opened && result == kMsgCanceled && held ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << (WIFSIGNALED(status) ? "ended by signal " + std::to_string(WTERMSIG(status))
                              : "exit status " + std::to_string(WEXITSTATUS(status)));
}

TEST_F(Stl, ExportThatCannotBeWrittenSaysSo) {
  EXPECT_EQ(ExportStl(model_, Path("missing/dir.stl")), kMsgCantOpenFile);
}

}  // namespace
}  // namespace qelvar
