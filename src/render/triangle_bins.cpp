// Triangles sorted into bands, then filled band by band.
#include "render/triangle_bins.h"

#include <algorithm>

#include "render/corner_projection.h"
#include "render/triangle_scan.h"

namespace qelvar {
namespace {

template <bool kQuick>
void BinRange(const RenderTarget& frame, const ShadeSetup& shade, const ModelStore& model,
              bool hideSelected, int32_t first, int32_t last, TriangleBin* bins, int parts,
              const int32_t* bandOfRow, const Table<Corner>& corners) {
  const Corner* const corner = corners.data();
  const auto cornerCount = static_cast<uint32_t>(corners.size());
  const Triangle* const triangles = model.triangles.data();
  const uint8_t* const flagBytes = model.triangleFlags.data();
  const Vec3* const normals = model.triangleNormals.data();
  const uint16_t* const words = model.triangleColours.data();
  const ShadeSetup s = shade;
  const ClipRect clip = ClipOf(frame);
  // Where the next triangle of each band goes: every bin has room for the
  // whole range.
  BinnedTriangle* out[kMaxRenderParts];
  for (int band = 0; band < parts; ++band) out[band] = bins[band].triangles.data();
  int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
  for (int32_t i = first; i < last; ++i) {
    const uint8_t flags = flagBytes[i];
    if (hideSelected && (flags & kSelectedBit)) continue;
    const Triangle& t = triangles[i];
    TriangleBox box;
    if (!BoxOnClip(corner, cornerCount, t, clip, box)) continue;
    uint32_t colour;
    if (!ShadeNormal<kQuick>(s, normals[i], flags, words[i], colour)) continue;
    const int32_t lastBand = bandOfRow[std::min(box.maxY, clip.bottom)];
    for (int32_t band = bandOfRow[std::max(box.minY, clip.top)]; band <= lastBand; ++band) {
      *out[band]++ = {{t.corner[0], t.corner[1], t.corner[2]}, colour};
    }
    left = std::min(left, box.minX), right = std::max(right, box.maxX);
    top = std::min(top, box.minY), bottom = std::max(bottom, box.maxY);
  }
  // One rectangle for the range: each band clips it to its own rows.
  for (int band = 0; band < parts; ++band) {
    TriangleBin& bin = bins[band];
    bin.count = static_cast<size_t>(out[band] - bin.triangles.data());
    bin.left = left, bin.top = top, bin.right = right, bin.bottom = bottom;
  }
}

}  // namespace

int32_t BandTop(const RenderTarget& frame, int band, int parts) {
  const int64_t rows = int64_t{frame.clipBottom} - frame.clipTop + 1;
  return static_cast<int32_t>(frame.clipTop + rows * band / parts);
}

void PrepareBins(FrameScratch& scratch, const RenderTarget& frame, int height, int parts,
                 int32_t triangles) {
  scratch.bins.resize(static_cast<size_t>(parts) * static_cast<size_t>(parts));
  const size_t slots = static_cast<size_t>(std::max(triangles, 0)) / static_cast<size_t>(parts) + 1;
  for (TriangleBin& bin : scratch.bins) {
    if (bin.triangles.size() >= slots) continue;
    if (bin.triangles.capacity() < slots) bin.triangles.clear();  // nothing to carry over
    bin.triangles.resize(slots);
  }
  scratch.bandOfRow.assign(static_cast<size_t>(std::max(height, 0)), 0);
  for (int band = 0; band < parts; ++band) {
    for (int32_t y = BandTop(frame, band, parts); y < BandTop(frame, band + 1, parts); ++y) {
      scratch.bandOfRow[static_cast<size_t>(y)] = band;
    }
  }
}

void BinTriangles(const RenderTarget& frame, const ShadeSetup& shade, const ModelStore& model,
                  bool hideSelected, int32_t first, int32_t last, int range, int parts,
                  FrameScratch& scratch) {
  TriangleBin* const bins = scratch.bins.data() + static_cast<size_t>(range) * parts;
  if (shade.quickRender) {
    BinRange<true>(frame, shade, model, hideSelected, first, last, bins, parts,
                   scratch.bandOfRow.data(), scratch.corners);
  } else {
    BinRange<false>(frame, shade, model, hideSelected, first, last, bins, parts,
                    scratch.bandOfRow.data(), scratch.corners);
  }
}

void FillBinnedTriangles(const RenderTarget& band, const FrameScratch& scratch, int bandIndex,
                         int parts) {
  const Corner* const corner = scratch.corners.data();
  for (int range = 0; range < parts; ++range) {
    const TriangleBin& bin = scratch.bins[static_cast<size_t>(range) * parts + bandIndex];
    for (size_t k = 0; k < bin.count; ++k) {
      const BinnedTriangle& t = bin.triangles[k];
      scan::ScanTriangle<false>(band, corner[t.corner[0]], corner[t.corner[1]], corner[t.corner[2]],
                                t.colour);
    }
    if (bin.left <= bin.right) {
      band.Touch(std::max(bin.top, band.clipTop), std::min(bin.bottom, band.clipBottom),
                 std::max(bin.left, band.clipLeft), std::min(bin.right, band.clipRight));
    }
  }
}

}  // namespace qelvar
