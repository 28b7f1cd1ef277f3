// Backdrop, grid, model lines and vertex dots in the render buffers.
#include "render/overlays.h"

#include <algorithm>
#include <cstring>

#include "render/rasteriser.h"
#include "render/rounding.h"
#include "render/view.h"

namespace qelvar {
namespace {

// First buffer index and number of image pixels along one axis.
void Placement(int bufferSize, int last, int& start, int& count) {
  if (bufferSize - 1 > last) {
    start = (bufferSize - 1 - last) / 2;
    count = last + 1;
  } else {
    start = 0;
    count = bufferSize;
  }
}

void GridLine(const ViewState& v, float columnScale, bool quick, const RenderTarget& target,
              Vec3 from, Vec3 to, uint32_t colour) {
  Vec3 p0 = TransformPoint(v, quick, from), p1 = TransformPoint(v, quick, to);
  p0.x += v.eyeShift, p1.x += v.eyeShift;
  p0.z += v.distance, p1.z += v.distance;
  if (p0.z < 1.0f || p1.z < 1.0f) return;
  const float cx = static_cast<float>(v.centreX), cy = static_cast<float>(v.centreY);
  DrawLine3D(target, {columnScale * p0.x / p0.z + cx, v.scaling * p0.y / p0.z + cy, p0.z},
             {columnScale * p1.x / p1.z + cx, v.scaling * p1.y / p1.z + cy, p1.z}, colour);
}

}  // namespace

void CopyBackdrop(const Backdrop& backdrop, RenderBuffers& buffers) {
  if (!backdrop.loaded || backdrop.lastColumn < 0 || backdrop.lastRow < 0) return;
  const size_t imageWidth = static_cast<size_t>(backdrop.lastColumn) + 1;
  if (backdrop.pixels.size() < imageWidth * (static_cast<size_t>(backdrop.lastRow) + 1)) return;
  int startRow, rows, startColumn, columns;
  Placement(buffers.height, backdrop.lastRow, startRow, rows);
  Placement(buffers.width, backdrop.lastColumn, startColumn, columns);
  const RenderTarget target = TargetOf(buffers);
  for (int r = 0; r < rows; ++r) {
    std::memcpy(&buffers.colour[static_cast<size_t>(startRow + r) * buffers.width + startColumn],
                &backdrop.pixels[static_cast<size_t>(r) * imageWidth],
                static_cast<size_t>(columns) * sizeof(uint32_t));
    target.Touch(startRow + r, startColumn, startColumn + columns - 1);
  }
}

void DrawGrid(const ViewState& view, float hSampling, bool quickRender,
              const RenderTarget& target) {
  const float columnScale = view.scaling * hSampling;
  for (int i = -4; i <= 4; ++i) {
    const float v = static_cast<float>(i * 25);
    GridLine(view, columnScale, quickRender, target, {v, -100, 0}, {v, 100, 0}, kGridAlongYColour);
    GridLine(view, columnScale, quickRender, target, {-100, v, 0}, {100, v, 0}, kGridAlongXColour);
  }
}

void DrawGrid(const ViewState& view, float hSampling, bool quickRender, RenderBuffers& buffers) {
  DrawGrid(view, hSampling, quickRender, TargetOf(buffers));
}

void DrawModelLines(const ViewState& view, const ModelStore& model, const RenderTarget& target) {
  const auto count = static_cast<uint32_t>(model.vertexCount);
  const float cx = static_cast<float>(view.centreX), cy = static_cast<float>(view.centreY);
  for (int32_t i = 0; i < model.lineCount; ++i) {
    const Line& l = model.lines[i];
    if (static_cast<uint32_t>(l.a) >= count || static_cast<uint32_t>(l.b) >= count) continue;
    const ScratchVertex& a = model.vertexScratch[l.a];
    const ScratchVertex& b = model.vertexScratch[l.b];
    if (!(a.depth >= 1.0f) || !(b.depth >= 1.0f)) continue;
    DrawLine3D(target, {a.column + cx, a.row + cy, a.depth}, {b.column + cx, b.row + cy, b.depth},
               kModelLineColour);
  }
}

void DrawModelLines(const ViewState& view, const ModelStore& model, RenderBuffers& buffers) {
  DrawModelLines(view, model, TargetOf(buffers));
}

void DrawVertexDots(const ViewState& view, const ModelStore& model, const RenderTarget& b) {
  const float cx = static_cast<float>(view.centreX), cy = static_cast<float>(view.centreY);
  for (int32_t i = 0; i < model.vertexCount; ++i) {
    const ScratchVertex& s = model.vertexScratch[i];
    if (!(s.depth >= 1.0f)) continue;
    const int64_t x = RoundToInt64(s.column + cx), y = RoundToInt64(s.row + cy);
    if (x < b.clipLeft || x > b.clipRight || y < b.clipTop || y > b.clipBottom) continue;
    const float w = 1.0f / s.depth;
    const size_t at = static_cast<size_t>(y) * b.width + static_cast<size_t>(x);
    b.Touch(static_cast<int32_t>(y), static_cast<int32_t>(x), static_cast<int32_t>(x));
    if (w >= b.depth[at]) {
      b.depth[at] = w;
      b.colour[at] = kVertexDotColour;
    }
  }
}

void DrawVertexDots(const ViewState& view, const ModelStore& model, RenderBuffers& buffers) {
  DrawVertexDots(view, model, TargetOf(buffers));
}

bool VertexMarkerCentre(const ViewState& view, const ModelStore& model, int detail, int32_t vertex,
                        int& x, int& y) {
  if (vertex < 0 || vertex >= model.vertexCount) return false;
  const ScratchVertex& s = model.vertexScratch[vertex];
  if (!(s.depth >= 1.0f)) return false;
  // Bounded so that doubling and the marker's +-2 stay in range.
  constexpr int64_t kBound = kCoordinateLimit;
  int64_t sx =
      std::clamp(RoundToInt64(s.column + static_cast<float>(view.centreX)), -kBound, kBound);
  const int64_t sy =
      std::clamp(RoundToInt64(s.row + static_cast<float>(view.centreY)), -kBound, kBound);
  if (detail == 0) sx *= 2;
  if (detail == 2) sx >>= 1;
  x = static_cast<int>(sx), y = static_cast<int>(sy);
  return true;
}

}  // namespace qelvar
