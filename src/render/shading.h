// Face normals and the flat shade of a triangle from its normal, the light,
// the contrast and its base colour.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/model_store.h"
#include "render/render_buffers.h"
#include "render/rounding.h"
#include "render/view.h"
#include "render/view_state.h"

namespace qelvar {

// Unit normal of every triangle: (B - A) x (C - B) over its length; the zero
// vector for a degenerate triangle or one with a corner outside the vertex table.
void ComputeNormals(ModelStore& model);
// The same, shared among the buffers' render threads when the model is big.
void ComputeNormals(ModelStore& model, RenderBuffers& buffers);

// What the shade of one frame depends on, taken once before the triangle loop.
struct ShadeSetup {
  ViewState view;  // cached sines and cosines of the view and the light
  bool quickRender, backfaceCulling, modelColours;
  float contrast;
};

ShadeSetup MakeShadeSetup(const ViewState& view, uint32_t options, int contrast);

// Shade of a triangle with the given normal, flag byte and colour word as
// 0x00RRGGBB; false when backface culling drops it. kQuick must equal
// s.quickRender: the frame's loops pick the variant once.
template <bool kQuick>
[[gnu::always_inline]] inline bool ShadeNormal(const ShadeSetup& s, Vec3 normal, uint8_t flags, uint16_t colourWord,
                        uint32_t& pixel) {
  const Vec3 n = TransformPoint(s.view, kQuick, normal);
  if (s.backfaceCulling && n.z > 0.0f) return false;
  float nz = n.z;
  if constexpr (!kQuick) {
    const float ly = s.view.cosLightXY * n.y + s.view.sinLightXY * n.x;
    nz = s.view.cosLightYZ * n.z - s.view.sinLightYZ * ly;
  }
  const float intensity = std::max(-nz, 0.0f);
  int red = 0, green = 0, blue = 240;
  if (flags & kSelectedBit) {
    red = 224, green = 0, blue = 0;
  } else if (s.modelColours) {
    red = ((colourWord >> 10) & 31) * 8;
    green = ((colourWord >> 5) & 31) * 8;
    blue = (colourWord & 31) * 8;
  }
  const int shift = RoundToInt((intensity - 0.5f) * s.contrast);
  red = std::clamp(red + shift, 0, 255);
  green = std::clamp(green + shift, 0, 255);
  blue = std::clamp(blue + shift, 0, 255);
  pixel = static_cast<uint32_t>(red * 65536 + green * 256 + blue);
  return true;
}

inline bool ShadeFace(const ShadeSetup& s, Vec3 normal, uint8_t flags, uint16_t colourWord,
                      uint32_t& pixel) {
  return s.quickRender ? ShadeNormal<true>(s, normal, flags, colourWord, pixel)
                       : ShadeNormal<false>(s, normal, flags, colourWord, pixel);
}

// The shade of triangle i with the view of the last PrepareView; false when
// backface culling drops it.
bool ShadeTriangle(const ViewState& view, const ModelStore& model, uint32_t options, int contrast,
                   int32_t triangle, uint32_t& pixel);

}  // namespace qelvar
