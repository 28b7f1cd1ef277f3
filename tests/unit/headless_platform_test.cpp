// The headless platform: when script steps happen, the close request at the
// end, the granted modes, and the shot and text files.
#include "platform/headless_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/command_line.h"
#include "platform/screen_dump.h"

namespace qelvar {
namespace {

const std::string kClose{static_cast<char>(255), static_cast<char>(kScanClose)};

struct Fixture {
  std::filesystem::path dir;
  explicit Fixture(const char* name)
      : dir(std::filesystem::temp_directory_path() /
            ("qelvar_headless_" + std::string(name) + "_" + std::to_string(getpid()))) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  ~Fixture() { std::filesystem::remove_all(dir); }
  HeadlessPlatform Player(std::string_view script) {
    ParsedScript p = ParseScript(script);
    EXPECT_FALSE(p.error);
    return HeadlessPlatform(std::move(p.commands), "/home/q", "a b", dir.string());
  }
  std::string Read(const char* name) const {
    std::ifstream in(dir / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool Exists(const char* name) const { return std::filesystem::exists(dir / name); }
};

MouseReading Poll(HeadlessPlatform& p) {
  MouseReading m;
  EXPECT_TRUE(p.ReadMouse(m));
  return m;
}

TEST(CommandLine, ArgumentsAreJoinedBySingleBlanksFromTheFirstTaken) {
  const char* argv[] = {"prog", "--home", "one", "two words", ""};
  struct Case {
    int argc, first;
    const char* joined;
  } cases[] = {
      {1, 1, ""},           {3, 2, "one"}, {4, 2, "one two words"},
      {5, 3, "two words "},  // an empty argument still gets its blank
      {4, 4, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(JoinArguments(c.argc, argv, c.first), c.joined) << c.first;
}

TEST(HeadlessSteps, NextStepWaitsUntilEveryKeyIsTaken) {
  Fixture f("keys");
  HeadlessPlatform p = f.Player("key a b\nmouse 3 4\n");
  EXPECT_EQ(p.TakeKey(), "");  // taking keys never applies steps
  Poll(p);
  EXPECT_EQ(p.TakeKey(), "a");
  EXPECT_EQ(Poll(p).x, 0);  // "b" still waiting: no step
  EXPECT_EQ(p.TakeKey(), "b");
  EXPECT_EQ(p.TakeKey(), "");
  MouseReading m = Poll(p);
  EXPECT_EQ(m.x, 3);
  EXPECT_EQ(m.y, 4);
  EXPECT_FALSE(p.scriptFinished());
  Poll(p);  // the script is exhausted: the close request arrives
  EXPECT_TRUE(p.scriptFinished());
  EXPECT_EQ(p.TakeKey(), kClose);
}

TEST(HeadlessSteps, ButtonsWheelAndHeldKeysChangeOnePerStep) {
  Fixture f("mouse");
  HeadlessPlatform p = f.Player("click 10 20 right\nwheel 3\nwheel -1\nkeydown Alt\nkeyup alt\n");
  EXPECT_EQ(Poll(p).buttons, 0);  // moved only
  EXPECT_EQ(Poll(p).buttons, 2);
  EXPECT_EQ(Poll(p).buttons, 0);
  EXPECT_EQ(Poll(p).wheel, 3);
  EXPECT_EQ(Poll(p).wheel, 2);
  EXPECT_FALSE(p.KeyHeld(kScanAlt));
  Poll(p);
  EXPECT_TRUE(p.KeyHeld(kScanAlt));
  EXPECT_FALSE(p.KeyHeld(kScanLeftShift));
  Poll(p);
  EXPECT_FALSE(p.KeyHeld(kScanAlt));
  EXPECT_EQ(Poll(p).x, 10);
  EXPECT_EQ(p.TakeKey(), kClose);
}

TEST(HeadlessSteps, PointerStaysOnTheScreen) {
  Fixture f("clamp");
  HeadlessPlatform p = f.Player("mouse -5 900\nmouse 400 -1\n");
  ASSERT_TRUE(p.OpenMode(13, 32));
  MouseReading m = Poll(p);
  EXPECT_EQ(m.x, 0);
  EXPECT_EQ(m.y, 199);
  m = Poll(p);
  EXPECT_EQ(m.x, 319);
  EXPECT_EQ(m.y, 0);
}

TEST(HeadlessSteps, IdleCountsStepsAndOutputsRunBetweenSteps) {
  Fixture f("idle");
  HeadlessPlatform p = f.Player("idle 3\ntext a.txt\nidle 0\nmouse 1 1\ntext b.txt\n");
  ASSERT_TRUE(p.OpenMode(13, 32));
  Poll(p);
  Poll(p);
  EXPECT_FALSE(f.Exists("a.txt"));
  p.screen().PrintText(1, 1, "A", 1, 0);
  Poll(p);  // third idle step: the text dump follows it at once
  EXPECT_EQ(f.Read("a.txt").substr(0, 2), "A ");
  p.screen().PrintText(1, 1, "B", 1, 0);
  EXPECT_EQ(Poll(p).x, 1);  // "idle 0" is no step; b.txt follows the mouse step
  EXPECT_EQ(f.Read("b.txt").substr(0, 2), "B ");
  EXPECT_EQ(p.TakeKey(), "");
  Poll(p);
  EXPECT_EQ(p.TakeKey(), kClose);
}

TEST(HeadlessSteps, LeadingOutputsRunAtTheFirstPoll) {
  Fixture f("leading");
  HeadlessPlatform p = f.Player("text first.txt\nkey x\n");
  ASSERT_TRUE(p.OpenMode(13, 8));
  EXPECT_FALSE(f.Exists("first.txt"));
  Poll(p);
  EXPECT_EQ(f.Read("first.txt").size(), 25u * 41u);
  EXPECT_EQ(p.TakeKey(), "x");
}

TEST(HeadlessSteps, WaitKeyAppliesStepsUntilAKeyArrives) {
  Fixture f("wait");
  HeadlessPlatform p = f.Player("mouse 5 5\nidle 2\nwheel 1\nkey Enter Esc\ntype hi\n");
  EXPECT_EQ(p.WaitKey(), "\r");
  MouseReading m = Poll(p);  // Esc still in the buffer: no step
  EXPECT_EQ(m.x, 5);
  EXPECT_EQ(m.wheel, 1);
  EXPECT_EQ(p.WaitKey(), "\x1b");
  EXPECT_EQ(p.WaitKey(), "h");
  EXPECT_EQ(p.WaitKey(), "i");
  EXPECT_EQ(p.WaitKey(), kClose);  // the end of the script reaches a waiting prompt too
  EXPECT_EQ(p.WaitKey(), kClose);
}

TEST(HeadlessPlatformBasics, GrantsEveryModeSizeAndDepthWithinReason) {
  Fixture f("modes");
  HeadlessPlatform p = f.Player("");
  for (int mode = 13; mode <= 21; ++mode) {
    for (int depth : {4, 8, 15, 16, 24, 32}) {
      ASSERT_TRUE(p.OpenMode(mode, depth)) << mode << " " << depth;
      EXPECT_EQ(p.screen().depth(), depth);
    }
  }
  EXPECT_FALSE(p.OpenMode(12, 32));
  EXPECT_FALSE(p.OpenMode(19, 31));
  ASSERT_TRUE(p.OpenWindow(1152, 864, 24));
  EXPECT_EQ(p.screen().textColumns(), 144);
  EXPECT_EQ(p.screen().textRows(), 108);
  EXPECT_FALSE(p.OpenWindow(0, 0, 32));
  EXPECT_FALSE(p.OpenWindow(20000, 100, 32));
  EXPECT_EQ(p.ProgramDirectory(), "/home/q");
  EXPECT_EQ(p.CommandLine(), "a b");
  double t0 = p.Clock();
  p.Sleep(100000);  // returns at once
  EXPECT_LT(p.Clock() - t0, 5.0);
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(ScreenShot, HeaderAndBottomUpPaddedRows) {
  Screen s;
  s.Configure(3, 2, 32, 1, 1);
  s.PutPixel(0, 0, 0x112233);  // top left
  s.PutPixel(2, 1, 0xAABBCC);  // bottom right
  std::vector<uint8_t> bmp = EncodeScreenBmp(s);
  ASSERT_EQ(bmp.size(), 54u + 12u * 2u);  // rows of 9 bytes padded to 12
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Le32(bmp, 2), 78u);
  EXPECT_EQ(Le32(bmp, 10), 54u);
  EXPECT_EQ(Le32(bmp, 14), 40u);
  EXPECT_EQ(Le32(bmp, 18), 3u);
  EXPECT_EQ(Le32(bmp, 22), 2u);
  EXPECT_EQ(bmp[26] | bmp[27] << 8, 1);
  EXPECT_EQ(bmp[28] | bmp[29] << 8, 24);
  EXPECT_EQ(Le32(bmp, 30), 0u);
  EXPECT_EQ(Le32(bmp, 34), 24u);
  EXPECT_EQ(Le32(bmp, 38), 3780u);
  EXPECT_EQ(Le32(bmp, 42), 3780u);
  EXPECT_EQ(Le32(bmp, 46), 0u);
  // The bottom row comes first: its last pixel is B, G, R of 0xAABBCC.
  EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 60, bmp.begin() + 66),
            (std::vector<uint8_t>{0xCC, 0xBB, 0xAA, 0, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 66, bmp.begin() + 69),
            (std::vector<uint8_t>{0x33, 0x22, 0x11}));
}

TEST(ScreenShot, EveryDepthIsConvertedToEightBitChannels) {
  struct Case {
    int depth;
    uint32_t colour;
    uint8_t b, g, r;
  };
  const Case cases[] = {
      {32, 0xFFFFFF, 255, 255, 255}, {24, 0x123456, 0x56, 0x34, 0x12},
      {16, 0xFFFFFF, 248, 252, 248},  // 5 bits v << 3, 6 bits v << 2
      {15, 0xFFFFFF, 248, 248, 248}, {15, 0x0F1F2F, 0x28, 0x18, 0x08},
      {4, 6, 0x00, 0x55, 0xAA},  // the platform's brown
      {4, 9, 0xFF, 0x55, 0x55},
  };
  for (const Case& c : cases) {
    Screen s;
    s.Configure(4, 1, c.depth, 1, 1);
    s.PutPixel(0, 0, c.colour);
    std::vector<uint8_t> bmp = EncodeScreenBmp(s);
    EXPECT_EQ((std::vector<uint8_t>{bmp[54], bmp[55], bmp[56]}),
              (std::vector<uint8_t>{c.b, c.g, c.r}))
        << c.depth << " " << c.colour;
  }
  // 8 bits through the 2-4-2 palette the modeller loads.
  Screen s;
  s.Configure(4, 1, 8, 1, 1);
  for (int i = 0; i < 256; ++i) s.SetPalette(i, i & 192, (i & 60) << 2, (i & 3) << 6);
  s.PutPixel(0, 0, 0x0D);
  std::vector<uint8_t> bmp = EncodeScreenBmp(s);
  EXPECT_EQ((std::vector<uint8_t>{bmp[54], bmp[55], bmp[56]}),
            (std::vector<uint8_t>{0x40, 0x30, 0x00}));
}

TEST(ScreenShot, TextDumpHasOneLinePerRowOfExactWidth) {
  Screen s;
  s.Configure(24, 16, 32, 3, 2);
  s.PrintText(2, 2, "\xDBz", 1, 0);
  EXPECT_EQ(TextGridDump(s), "   \n \xDBz\n");
}

}  // namespace
}  // namespace qelvar
