// The STL import's progress line on a scripted screen: Escape is looked at
// every 128 facets, while the screen is shown again only as often as a user
// can see it, so a long import is not slowed down by its own progress line.
#include "model/stl_progress.h"

#include <gtest/gtest.h>

#include "core/messages.h"
#include "fake_platform.h"
#include "file_test_util.h"
#include "model/file_io.h"

namespace qelvar {
namespace {

// A clock that moves on by 1/64 s (about 16 ms) at every key taken.
class SlowPlatform : public FakePlatform {
 public:
  std::string TakeKey() override {
    clock += 1.0 / 64;
    ++keyChecks;
    return FakePlatform::TakeKey();
  }
  int keyChecks = 0;
};

class StlProgress : public test::TempDirTest {
 protected:
  int Import(int32_t facets, SlowPlatform& platform) {
    test::Bytes stl(80, ' ');
    test::AddI32(stl, facets);
    for (int32_t k = 0; k < facets; ++k) {
      for (int i = 0; i < 3; ++i) test::AddF32(stl, 0.0f);
      for (int i = 0; i < 9; ++i) test::AddF32(stl, float(3 * k + i / 3));
      test::AddU16(stl, 0);
    }
    test::WriteBytes(Path("in.stl"), stl);
    InitModelStore(model_);
    InputFile file;
    EXPECT_TRUE(file.Open(Path("in.stl")));
    ScreenImportProgress progress(platform, 0x80C080, 0);
    return ImportStl(file, model_, &progress);
  }
  ModelStore model_;
};

TEST_F(StlProgress, EveryStepTakesAKeyButTheScreenIsShownAtMost25TimesASecond) {
  SlowPlatform platform;
  ASSERT_EQ(Import(1000, platform), kMsgNone);
  EXPECT_EQ(model_.triangleCount, 1000);
  EXPECT_EQ(platform.keyChecks, 8);  // facets 0, 128, ..., 896
  EXPECT_EQ(platform.unlocks, 3);    // facets 0, 384 and 768, 3/64 s apart
  const std::string shown = "importing stl...  768/ 1000 (ESC to cancel)";
  for (size_t i = 0; i < shown.size(); ++i)
    EXPECT_EQ(platform.screen().TextCell(23, int(i) + 1), uint8_t(shown[i])) << i;
}

TEST_F(StlProgress, EscapeStopsAtTheStepThatTakesIt) {
  SlowPlatform platform;
  platform.keys = {"a", "b", "\x1b"};  // letters are ignored
  ASSERT_EQ(Import(1000, platform), kMsgCanceled);
  EXPECT_EQ(model_.triangleCount, 2 * 128);  // the third step, at facet 256
}

}  // namespace
}  // namespace qelvar
