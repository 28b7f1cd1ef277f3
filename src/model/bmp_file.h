// BMP images: numbered 24-bit screenshots of the render buffer, and 16- or
// 24-bit images loaded as the backdrop behind the model.
#pragma once

#include <cstdint>
#include <string>

#include "core/backdrop.h"
#include "platform/bmp_encode.h"

namespace qelvar {

constexpr int kBackdropMaxSide = 8192;

// "imageAAA.bmp" for n = 0, "imageAAB.bmp" for 1, "imageABA.bmp" for 16 ...
std::string ScreenshotName(int32_t n);

// Writes width x height pixels 0x00RRGGBB (top row first) as a 24-bit BMP.
bool WriteBmp24(const std::string& path, const uint32_t* pixels, int width, int height);

// Saves width x height pixels (the render buffer) as the next numbered image in
// the current directory, passing over names that exist already, and names
// the file written in savedName. The counter advances only when the file
// could be written. Returns kMsgScreenshotSaved or kMsgCantOpenFile.
int SaveScreenshot(const uint32_t* pixels, int width, int height, int32_t& counter,
                   std::string* savedName = nullptr);

// Loads a 16-bit (5-5-5, or 5-6-5 when its bit fields say so), 24- or 32-bit
// BMP (other depths above 16 are read as 24-bit) as the backdrop and switches
// it on. Every failure leaves it off and returns kMsgCantOpenFile; a
// file that ends early keeps its missing pixels black.
int LoadBackdrop(const std::string& path, Backdrop& backdrop);

}  // namespace qelvar
