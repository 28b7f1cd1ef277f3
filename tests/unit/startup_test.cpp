// Start-up on the headless platform: the screen the settings ask for (or the
// fallback), the geometry derived from what was granted, the colour tables of
// the low depths, and the start values of the view and the cells.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/settings.h"
#include "core/messages.h"
#include "fake_platform.h"
#include "file_test_util.h"
#include "platform/headless_platform.h"

namespace qelvar {
namespace {

class Startup : public test::TempDirTest {
 protected:
  // Starts the program with a settings file holding `settings` (none when empty).
  Modeller& Run(const std::string& settings, const std::string& commandLine = "") {
    if (!settings.empty()) {
      test::WriteBytes(Path("QELVAR.INI"), test::Bytes(settings.begin(), settings.end()));
    }
    platform_ = std::make_unique<HeadlessPlatform>(std::vector<ScriptCommand>{}, dir_.string(),
                                                   commandLine, dir_.string());
    m_ = std::make_unique<Modeller>(*platform_);
    qelvar::Startup(*m_);
    return *m_;
  }
  static std::string Ini(int mode, int cdep, int rdet) {
    return "mode = " + std::to_string(mode) + "\r\ncdep = " + std::to_string(cdep) +
           "\r\nrdet = " + std::to_string(rdet) + "\r\n";
  }

  std::unique_ptr<HeadlessPlatform> platform_;
  std::unique_ptr<Modeller> m_;
};

TEST_F(Startup, FirstRunWritesTheSettingsAndOpens800By600) {
  Modeller& m = Run("");
  const test::Bytes written = test::ReadBytes(Path("QELVAR.INI"));
  EXPECT_EQ(std::string(written.begin(), written.end()), kDefaultSettingsText);
  const ScreenGeometry& g = m.geometry;
  EXPECT_EQ(g.screenWidth, 800);
  EXPECT_EQ(g.screenHeight, 600);
  EXPECT_EQ(g.colourDepth, 32);
  EXPECT_EQ(g.detail, 1);
  EXPECT_EQ(g.textColumns, 100);
  EXPECT_EQ(g.textRows, 37);
  EXPECT_EQ(g.cellHeight, 16);
  EXPECT_EQ(g.bufferWidth, 800);
  EXPECT_EQ(g.bufferHeight, 600);
  EXPECT_EQ(g.hSampling, 1.0f);
  EXPECT_EQ(m.buffers.colour.size(), 800u * 600u);
  EXPECT_EQ(m.buffers.clipRight, 799);
  EXPECT_EQ(m.buffers.clipBottom, 599);
  EXPECT_EQ(m.modelFileName, "default.qv");
  EXPECT_EQ(m.flags.statusMessage, 0);
}

TEST_F(Startup, StartValuesOfViewOptionsCellsAndModel) {
  Modeller& m = Run(Ini(19, 32, 1));
  EXPECT_EQ(m.view.angleXY, 0.0f);
  EXPECT_EQ(m.view.angleXZ, 0.0f);
  EXPECT_EQ(m.view.angleYZ, 4.0f);
  EXPECT_EQ(m.view.distance, 250.0f);
  EXPECT_EQ(m.view.scaling, 400.0f);
  EXPECT_EQ(m.view.hOffset, 0.0f);
  EXPECT_EQ(m.view.vOffset, 75.0f / 400.0f);  // (600 / 8) / scaling
  EXPECT_EQ(m.view.previousScaling, 400.0f);
  EXPECT_EQ(m.options, (1u << 1) | (1u << 2) | (1u << 5) | (1u << 21));
  EXPECT_EQ(m.cells.Int(12), 18);
  EXPECT_EQ(m.cells.Int(18), 10);
  EXPECT_EQ(m.cells.Int(20), 10);
  EXPECT_EQ(m.cells.Int(25), 15);
  EXPECT_EQ(m.cells.Int(26), 160);
  EXPECT_EQ(m.cells.Real(66), 1000000.0f);
  EXPECT_EQ(m.cells.Real(84), 0.2f);
  EXPECT_EQ(m.tools.mode, ToolMode::kNone);
  EXPECT_FALSE(m.backdrop.loaded);
  EXPECT_FALSE(m.model.normalsDirty);  // computed at once: the scene starts unmodified
  EXPECT_EQ(m.savedRevision, m.model.revision);
  EXPECT_EQ(m.model.vertexCount, 9);
  EXPECT_EQ(m.model.vertexCapacity, 8191);
  EXPECT_EQ(m.menus.focus, -1);
  EXPECT_EQ(m.menus.highlight, -1);
}

TEST_F(Startup, CustomSizesAndTheirTextGrids) {
  struct Case {
    int mode, width, height, columns, rows, cell;
  };
  for (const Case c : {Case{11520864, 1152, 864, 144, 54, 16}, Case{6400480, 640, 480, 80, 30, 16},
                       Case{3200200, 320, 200, 40, 25, 8}, Case{3330211, 333, 211, 41, 26, 8}}) {
    const ScreenGeometry& g = Run(Ini(c.mode, 32, 1)).geometry;
    EXPECT_EQ(g.screenWidth, c.width) << c.mode;
    EXPECT_EQ(g.screenHeight, c.height) << c.mode;
    EXPECT_EQ(g.textColumns, c.columns) << c.mode;
    EXPECT_EQ(g.textRows, c.rows) << c.mode;
    EXPECT_EQ(g.cellHeight, c.cell) << c.mode;
  }
  const ScreenGeometry& small = Run(Ini(15, 32, 1)).geometry;  // 400 x 300, 50 x 37 cells of 8
  EXPECT_EQ(small.cellHeight, 8);
  EXPECT_EQ(small.textRows, 37);
}

// A display whose usable desktop is 1024 x 768 pixels.
class SmallDisplay : public HeadlessPlatform {
 public:
  using HeadlessPlatform::HeadlessPlatform;
  bool ModeFitsDisplay(int width, int height) override { return width <= 1024 && height <= 768; }
};

TEST_F(Startup, ModesTooLargeForTheDisplayFallBackToMode19AndSaySo) {
  const struct {
    int mode, width, height, message;
  } kCases[] = {
      {20, 1024, 768, kMsgNone},
      {21, 800, 600, kMsgModeTooLarge},
      {10240768, 1024, 768, kMsgNone},
      {12000900, 800, 600, kMsgModeTooLarge},
      {10250700, 800, 600, kMsgModeTooLarge},
  };
  for (const auto& c : kCases) {
    const std::string settings = Ini(c.mode, 16, 1);
    test::WriteBytes(Path("QELVAR.INI"), test::Bytes(settings.begin(), settings.end()));
    SmallDisplay platform({}, dir_.string(), "", dir_.string());
    Modeller m(platform);
    qelvar::Startup(m);
    EXPECT_EQ(m.geometry.screenWidth, c.width) << c.mode;
    EXPECT_EQ(m.geometry.screenHeight, c.height) << c.mode;
    EXPECT_EQ(m.flags.statusMessage, c.message) << c.mode;
    if (c.message == kMsgModeTooLarge) {
      EXPECT_EQ(m.geometry.colourDepth, 32) << c.mode;
    }
  }
}

TEST_F(Startup, DetailLevelsSizeTheBufferAndTheStartScale) {
  Modeller& fine = Run(Ini(19, 32, 2));
  EXPECT_EQ(fine.geometry.bufferWidth, 1600);
  EXPECT_EQ(fine.geometry.bufferHeight, 600);
  EXPECT_EQ(fine.geometry.hSampling, 2.0f);
  EXPECT_EQ(fine.view.scaling, 400.0f);
  Modeller& coarse = Run(Ini(3330211, 32, 0));  // odd width: the half rounds down
  EXPECT_EQ(coarse.geometry.bufferWidth, 166);
  EXPECT_EQ(coarse.geometry.hSampling, 0.5f);
  EXPECT_EQ(coarse.view.scaling, 166.0f);  // (166 / 2) / 0.5
}

TEST_F(Startup, FourBitsRunAtDetailZeroWithFixedInterfaceIndices) {
  Modeller& m = Run(Ini(19, 4, 2));
  EXPECT_EQ(m.settings.rdet, 0);
  EXPECT_EQ(m.geometry.colourDepth, 4);
  EXPECT_EQ(m.geometry.detail, 0);
  EXPECT_EQ(m.geometry.bufferWidth, 400);
  const std::array<uint32_t, 11> indices = {0, 8, 7, 15, 1, 10, 12, 9, 14, 13, 5};
  for (size_t i = 0; i < indices.size(); ++i) EXPECT_EQ(m.colours.interfaceColours[i], indices[i]);
}

TEST_F(Startup, EightBitsLoadTheTwoFourTwoPalette) {
  Modeller& m = Run(Ini(13, 8, 1));
  const Screen& s = m.platform.screen();
  EXPECT_EQ(s.paletteEntry(0), 0x000000u);
  EXPECT_EQ(s.paletteEntry(255), 0xC0F0C0u);
  EXPECT_EQ(s.paletteEntry(0x4D), 0x403040u);  // 01 0011 01
  EXPECT_EQ(m.colours.interfaceColours[1], 81u);
  EXPECT_EQ(m.colours.interfaceColours[10], 195u);
}

TEST_F(Startup, RefusedModesAndDepthsFallBackToMode19At32Bits) {
  for (const std::string& ini : {Ini(12, 32, 1), Ini(19, 12, 1), Ini(100, 32, 1), Ini(0, 32, 1),
                                 Ini(200000600, 16, 1), std::string("mode = 99999999999\r\n")}) {
    const ScreenGeometry& g = Run(ini).geometry;
    EXPECT_EQ(g.screenWidth, 800) << ini;
    EXPECT_EQ(g.screenHeight, 600) << ini;
    EXPECT_EQ(g.colourDepth, 32) << ini;
    EXPECT_EQ(g.bufferWidth, 800) << ini;
  }
}

TEST_F(Startup, CommandLineIsLoadedAsTheModel) {
  Modeller& missing = Run(Ini(13, 32, 1), "no such.qv");
  EXPECT_EQ(missing.flags.statusMessage, kMsgCantOpenFile);
  EXPECT_EQ(missing.modelFileName, "default.qv");
  EXPECT_EQ(missing.model.vertexCount, 9);  // the sample scene stays
}

// A platform whose screen cannot be opened in any mode.
class NoScreenPlatform : public FakePlatform {
 public:
  explicit NoScreenPlatform(std::string home) : home_(std::move(home)) {}
  bool OpenMode(int, int) override { return false; }
  bool OpenWindow(int, int, int) override { return false; }
  std::string ProgramDirectory() override { return home_; }

 private:
  std::string home_;
};

TEST_F(Startup, WithoutAnyScreenTheProgramEnds) {
  NoScreenPlatform platform(dir_.string());
  Modeller m(platform);
  // Running on with no screen would leave a program nobody can see or close.
  EXPECT_THROW(qelvar::Startup(m), ProgramEnded);
}

}  // namespace
}  // namespace qelvar
