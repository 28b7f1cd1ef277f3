// The filled triangles of a frame split among threads without repeating the
// per-triangle work: each thread culls, clips and shades one range of the
// triangle table into bins by band, then each thread fills one band from the
// bins of all ranges in range order, so every pixel sees its triangles in
// index order.
#pragma once

#include <cstdint>
#include <vector>

#include "model/model_store.h"
#include "render/render_buffers.h"
#include "render/shading.h"

namespace qelvar {

// The most parts a frame is split into.
constexpr int kMaxRenderParts = 64;

// Band b of `parts` covers the rows from BandTop(b) to BandTop(b + 1) - 1 of
// the frame's clip rectangle.
int32_t BandTop(const RenderTarget& frame, int band, int parts);

// Sizes the bins to parts x parts, each with a slot for every triangle of a
// range of `triangles` split in `parts`, and fills scratch.bandOfRow.
void PrepareBins(FrameScratch& scratch, const RenderTarget& frame, int height, int parts,
                 int32_t triangles);

// Culls, clips and shades triangles [first, last) into the bins of range `range`.
void BinTriangles(const RenderTarget& frame, const ShadeSetup& shade, const ModelStore& model,
                  bool hideSelected, int32_t first, int32_t last, int range, int parts,
                  FrameScratch& scratch);

// Fills the triangles of all ranges' bins for `band`, clipped to its rows.
void FillBinnedTriangles(const RenderTarget& band, const FrameScratch& scratch, int bandIndex,
                         int parts);

}  // namespace qelvar
