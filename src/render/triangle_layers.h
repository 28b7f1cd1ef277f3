// The filled triangles of a frame on several threads. The triangle table is
// split into ranges by index; the first range is filled into the frame
// itself, every other range into a layer of its own that starts out empty
// (depth minus infinity). The layers are then merged into the frame in range
// order, a layer's pixel taken only where it is strictly nearer. That gives
// every pixel what the one-thread fill gives it, bit for bit: the strict depth
// test keeps, of all the triangles that reach a pixel, the first one at the
// nearest depth, and a layer holds exactly that for its own range.
#pragma once

#include <cstdint>

#include "render/render_buffers.h"

namespace qelvar {

// Ranges beyond this many would cost more in layer memory and merging than a
// thread more saves.
constexpr int kMaxTriangleRanges = 4;

// Band b of `parts` covers the rows from BandTop(b) to BandTop(b + 1) - 1 of
// the frame's clip rectangle.
int32_t BandTop(const RenderTarget& frame, int band, int parts);

// Makes `count` layers of the buffers' size, each empty.
void PrepareLayers(RenderBuffers& buffers, int count);

// Where range `layer + 1` draws: the layer with the frame's clip rectangle.
RenderTarget LayerTarget(TriangleLayer& layer, const RenderTarget& frame);

// Merges every layer, in order, into the rows of `band` and leaves those rows
// of the layers empty again; the rows merged are recorded in the band.
void MergeLayers(const RenderTarget& band, std::vector<TriangleLayer>& layers, int count);

}  // namespace qelvar
