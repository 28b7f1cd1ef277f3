// BMP files: screenshot names, header fields and row padding, and backdrop
// loading with its refusals, limits and short files.
#include "model/bmp_file.h"

#include <gtest/gtest.h>

#include "core/messages.h"
#include "file_test_util.h"
#include "render/render_buffers.h"

namespace qelvar {
namespace {

// The byte helpers and the temporary-directory fixture of file_test_util.h.
using namespace test;

// A BMP with the given header fields followed by the pixel bytes.
Bytes BmpBytes(int32_t width, int32_t height, int bits, const Bytes& pixels, uint32_t dataAt = 54) {
  Bytes b = {'B', 'M'};
  AddI32(b, int32_t(54 + pixels.size()));
  AddI32(b, 0);
  AddI32(b, int32_t(dataAt));
  AddI32(b, 40);
  AddI32(b, width);
  AddI32(b, height);
  AddU16(b, 1);
  AddU16(b, uint16_t(bits));
  b.resize(std::min<size_t>(dataAt, 64), 0);  // an offset past the pixels is not padded out
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

class Bmp : public test::TempDirTest {
 protected:
  int Load(const Bytes& b) {
    WriteBytes(Path("b.bmp"), b);
    backdrop_.loaded = true;  // every load starts by switching it off
    return LoadBackdrop(Path("b.bmp"), backdrop_);
  }
  Backdrop backdrop_;
};

TEST(ScreenshotName, CountsInThreeLetters) {
  EXPECT_EQ(ScreenshotName(0), "imageAAA.bmp");
  EXPECT_EQ(ScreenshotName(1), "imageAAB.bmp");
  EXPECT_EQ(ScreenshotName(16), "imageABA.bmp");
  EXPECT_EQ(ScreenshotName(255), "imageAPP.bmp");
  EXPECT_EQ(ScreenshotName(256), "imageBAA.bmp");
  EXPECT_EQ(ScreenshotName(4096), "imageQAA.bmp");
}

TEST_F(Bmp, ScreenshotOfWidth202HasPaddedRowsBottomFirst) {
  RenderBuffers buffers;
  buffers.width = 202;
  buffers.height = 3;
  buffers.colour.assign(202 * 3, 0);
  buffers.colour[0] = 0x00112233;              // top-left
  buffers.colour[2 * 202 + 201] = 0x00AABBCC;  // bottom-right
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  int32_t counter = 0;
  EXPECT_EQ(SaveScreenshot(buffers.colour.data(), buffers.width, buffers.height, counter),
            kMsgScreenshotSaved);
  EXPECT_EQ(SaveScreenshot(buffers.colour.data(), buffers.width, buffers.height, counter),
            kMsgScreenshotSaved);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(counter, 2);
  EXPECT_TRUE(std::filesystem::exists(Path("imageAAB.bmp")));
  const Bytes b = ReadBytes(Path("imageAAA.bmp"));
  ASSERT_EQ(b.size(), 54u + 608 * 3);
  const int32_t fields[][2] = {{2, 54 + 608 * 3}, {6, 0},     {10, 54}, {14, 40},
                               {18, 202},         {22, 3},    {30, 0},  {34, 608 * 3},
                               {38, 3780},        {42, 3780}, {46, 0},  {50, 0}};
  for (const auto& f : fields) EXPECT_EQ(I32At(b, size_t(f[0])), f[1]) << "offset " << f[0];
  EXPECT_EQ(U16At(b, 0), 19778);
  EXPECT_EQ(U16At(b, 26), 1);
  EXPECT_EQ(U16At(b, 28), 24);
  // First stored row is the bottom one; its last pixel then two padding bytes.
  EXPECT_EQ(b[54 + 603], 0xCC);
  EXPECT_EQ(b[54 + 604], 0xBB);
  EXPECT_EQ(b[54 + 605], 0xAA);
  EXPECT_EQ(b[54 + 606], 0);
  EXPECT_EQ(b[54 + 607], 0);
  EXPECT_EQ(b[54 + 2 * 608], 0x33);  // top row last in the file
  EXPECT_EQ(b[54 + 2 * 608 + 2], 0x11);
}

TEST_F(Bmp, A640By480ScreenshotHas921654Bytes) {
  std::vector<uint32_t> pixels(640 * 480, 0x00FFFFFF);
  ASSERT_TRUE(WriteBmp24(Path("big.bmp"), pixels.data(), 640, 480));
  EXPECT_EQ(std::filesystem::file_size(Path("big.bmp")), 921654u);
}

TEST_F(Bmp, ScreenshotThatCannotBeWrittenKeepsTheCounter) {
  RenderBuffers buffers;
  buffers.width = buffers.height = 1;
  buffers.colour = {0};
  const auto cwd = std::filesystem::current_path();
  // A current directory that is gone: nothing can be written into it.
  std::filesystem::create_directory(Path("gone"));
  std::filesystem::current_path(Path("gone"));
  std::filesystem::remove(Path("gone"));
  int32_t counter = 2;
  EXPECT_EQ(SaveScreenshot(buffers.colour.data(), buffers.width, buffers.height, counter),
            kMsgCantOpenFile);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(counter, 2);
}

TEST_F(Bmp, ScreenshotsPassOverNamesThatExist) {
  RenderBuffers buffers;
  buffers.width = buffers.height = 1;
  buffers.colour = {0x123456};
  const auto cwd = std::filesystem::current_path();
  std::filesystem::create_directory(Path("imageAAC.bmp"));  // a directory holds the name
  test::WriteBytes(Path("imageAAD.bmp"), {1, 2, 3});        // a shot of an earlier run
  std::filesystem::current_path(dir_);
  int32_t counter = 2;
  std::string name;
  const int message = SaveScreenshot(buffers.colour.data(), 1, 1, counter, &name);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(message, kMsgScreenshotSaved);
  EXPECT_EQ(name, "imageAAE.bmp");
  EXPECT_EQ(counter, 5);
  EXPECT_EQ(std::filesystem::file_size(Path("imageAAD.bmp")), 3u);
  EXPECT_EQ(std::filesystem::file_size(Path("imageAAE.bmp")), 58u);
}

TEST_F(Bmp, ScreenshotNamesStopBeforeLeavingPrintableLetters) {
  RenderBuffers buffers;
  buffers.width = buffers.height = 1;
  buffers.colour = {0};
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  int32_t counter = 61 * 256 + 255;  // the last name: "image~PP.bmp"
  EXPECT_EQ(SaveScreenshot(buffers.colour.data(), buffers.width, buffers.height, counter),
            kMsgScreenshotSaved);
  EXPECT_EQ(SaveScreenshot(buffers.colour.data(), buffers.width, buffers.height, counter),
            kMsgCantOpenFile);
  counter = 48896;  // the first letter would be a NUL byte
  EXPECT_EQ(SaveScreenshot(buffers.colour.data(), buffers.width, buffers.height, counter),
            kMsgCantOpenFile);
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(std::filesystem::exists(Path("image~PP.bmp")));
  EXPECT_FALSE(std::filesystem::exists(Path("image")));
}

TEST_F(Bmp, TwentyFourBitPixelsLoadBottomRowFirst) {
  ASSERT_EQ(Load(BmpBytes(1, 1, 24, {10, 20, 30, 0})), kMsgFileLoaded);
  EXPECT_TRUE(backdrop_.loaded);
  EXPECT_EQ(backdrop_.pixels[0], 0x001E140Au);
  // 3 wide: rows of 12 bytes; the first file row is the bottom image row.
  Bytes rows(24, 0);
  rows[0] = 1;       // file row 0, pixel 0 -> image row 1
  rows[12 + 6] = 2;  // file row 1, pixel 2 -> image row 0
  rows[9] = 99;      // padding: skipped
  ASSERT_EQ(Load(BmpBytes(3, 2, 24, rows)), kMsgFileLoaded);
  EXPECT_EQ(backdrop_.lastColumn, 2);
  EXPECT_EQ(backdrop_.lastRow, 1);
  EXPECT_EQ(backdrop_.pixels[3], 1u);
  EXPECT_EQ(backdrop_.pixels[2], 2u);
  EXPECT_EQ(backdrop_.pixels[0], 0u);
}

// A 32-bit image (blue, green, red and an unused byte per pixel, rows needing
// no padding) shows its own pixels, not its bytes taken three at a time.
TEST_F(Bmp, ThirtyTwoBitPixelsLoadFourBytesEach) {
  const Bytes rows = {1,  2,  3,  255, 4,  5,  6,  255, 7,  8,  9,  255,  // bottom row
                      10, 11, 12, 0,   13, 14, 15, 0,   16, 17, 18, 0};
  ASSERT_EQ(Load(BmpBytes(3, 2, 32, rows)), kMsgFileLoaded);
  EXPECT_TRUE(backdrop_.loaded);
  const std::vector<uint32_t> expected = {0x0C0B0A, 0x0F0E0D, 0x121110,
                                          0x030201, 0x060504, 0x090807};
  EXPECT_EQ(backdrop_.pixels, expected);
}

// A 16-bit image whose bit fields say 5-6-5 (red, green, blue) has six green
// bits; taken as 5-5-5 its colours would all be wrong.
TEST_F(Bmp, SixteenBitPixelsWithSixGreenBitsKeepTheirColours) {
  auto image = [](uint32_t red, uint32_t green, uint32_t blue) {
    Bytes b = BmpBytes(3, 1, 16, {});
    b[10] = 66;  // the pixels follow the masks
    b[30] = 3;   // compression: bit fields, whose three masks follow the header
    AddI32(b, int32_t(red));
    AddI32(b, int32_t(green));
    AddI32(b, int32_t(blue));
    for (uint16_t w : {uint16_t(0xF800), uint16_t(0x07E0), uint16_t(0x001F), uint16_t(0)})
      AddU16(b, w);
    return b;
  };
  ASSERT_EQ(Load(image(0xF800, 0x07E0, 0x001F)), kMsgFileLoaded);
  EXPECT_EQ(backdrop_.pixels, (std::vector<uint32_t>{0xF80000, 0x00FC00, 0x0000F8}));
  // Fields of 5-5-5 are the usual layout.
  ASSERT_EQ(Load(image(0x7C00, 0x03E0, 0x001F)), kMsgFileLoaded);
  EXPECT_EQ(backdrop_.pixels, (std::vector<uint32_t>{0xF00000, 0x08F800, 0x0000F8}));
}

TEST_F(Bmp, SixteenBitPixelsWidenFiveBitChannels) {
  Bytes rows;
  for (uint16_t w :
       {uint16_t(32767), uint16_t(0x8000 | 1 << 10), uint16_t(31), uint16_t(0),  // row 0 + pad
        uint16_t(1 << 5), uint16_t(0), uint16_t(0), uint16_t(0)})
    AddU16(rows, w);
  ASSERT_EQ(Load(BmpBytes(3, 2, 16, rows)), kMsgFileLoaded);  // rows of 8 bytes
  const uint32_t* bottom = &backdrop_.pixels[3];
  EXPECT_EQ(bottom[0], 0x00F8F8F8u);
  EXPECT_EQ(bottom[1], 0x00080000u);  // bit 15 ignored
  EXPECT_EQ(bottom[2], 0x000000F8u);
  EXPECT_EQ(backdrop_.pixels[0], 0x00000800u);
}

TEST_F(Bmp, RefusedImagesLeaveTheBackdropOff) {
  struct Case {
    Bytes bytes;
    const char* what;
  };
  const Case cases[] = {
      {BmpBytes(8193, 1, 24, {}), "width 8193"}, {BmpBytes(1, 8193, 24, {}), "height 8193"},
      {BmpBytes(1, 0, 24, {}), "height 0"},      {BmpBytes(1, -1, 24, {0, 0, 0, 0}), "top-down"},
      {BmpBytes(0, 1, 24, {}), "width 0"},       {BmpBytes(1, 1, 8, {0, 0, 0, 0}), "8-bit"},
      {Bytes{'B', 'X', 0, 0}, "signature"},      {Bytes{}, "empty"},
      {Bytes{'B', 'M', 1, 2, 3}, "header cut"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Load(c.bytes), kMsgCantOpenFile) << c.what;
    EXPECT_FALSE(backdrop_.loaded) << c.what;
  }
  backdrop_.loaded = true;
  EXPECT_EQ(LoadBackdrop(Path("absent.bmp"), backdrop_), kMsgCantOpenFile);
  EXPECT_FALSE(backdrop_.loaded);
}

TEST_F(Bmp, SizeLimitsAndShortFiles) {
  ASSERT_EQ(Load(BmpBytes(8192, 1, 24, Bytes(8192 * 3, 7))), kMsgFileLoaded);
  EXPECT_EQ(backdrop_.pixels.size(), 8192u);
  EXPECT_EQ(backdrop_.pixels[8191], 0x00070707u);
  // Two rows announced, one and a half there: the rest stays black.
  Bytes rows(12 + 4, 5);
  ASSERT_EQ(Load(BmpBytes(3, 2, 24, rows)), kMsgFileLoaded);
  EXPECT_EQ(backdrop_.pixels[3], 0x00050505u);  // bottom row, whole
  EXPECT_EQ(backdrop_.pixels[0], 0x00050505u);  // top row, first pixel there
  EXPECT_EQ(backdrop_.pixels[1], 0u);           // second pixel cut after one byte
  EXPECT_EQ(backdrop_.pixels[2], 0u);
  // Pixel data said to lie past the end: an all-black image.
  ASSERT_EQ(Load(BmpBytes(2, 2, 24, {}, 0xFFFFFFF0u)), kMsgFileLoaded);
  EXPECT_EQ(backdrop_.pixels, std::vector<uint32_t>(4, 0));
}

}  // namespace
}  // namespace qelvar
