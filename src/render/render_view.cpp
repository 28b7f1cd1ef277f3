// One re-render: the sequence around the frame, and the stereo pair.
#include "render/render_view.h"

#include <algorithm>
#include <memory>

#include "core/option_flags.h"
#include "render/corner_projection.h"
#include "render/overlays.h"
#include "render/rasteriser.h"
#include "render/render_workers.h"
#include "render/shading.h"
#include "render/triangle_bins.h"
#include "render/view.h"

namespace qelvar {

namespace {

// Below this many vertices and triangles a frame is drawn on one thread:
// waking the pool (some 0.2 ms a frame here) would cost more than it saves;
// a 10 000-triangle grid filling the screen already gains from two.
constexpr int64_t kParallelWork = 10000;

int ThreadsFor(const RenderBuffers& buffers, const ModelStore& model) {
  if (buffers.threads > 0) return std::min(buffers.threads, kMaxRenderParts);
  const int64_t work = int64_t{model.vertexCount} + model.triangleCount;
  return work >= kParallelWork ? std::min(DefaultRenderThreads(), kMaxRenderParts) : 1;
}

// Where part `part` of `parts` of the range [0, n) starts.
int32_t ShareStart(int64_t n, int part, int parts) {
  return static_cast<int32_t>(n * part / parts);
}

// Runs job(piece) for every piece in [0, pieces) on `threads` threads.
template <class Job>
void RunPieces(RenderBuffers& buffers, int threads, int pieces, const Job& job) {
  if (threads == 1) {
    for (int piece = 0; piece < pieces; ++piece) job(piece);
    return;
  }
  if (!buffers.workers || buffers.workers->Count() != threads) {
    buffers.workers = std::make_shared<RenderWorkers>(threads);
  }
  buffers.workers->Run(pieces, job);
}

}  // namespace

void SetRenderThreads(RenderBuffers& buffers, int threads) {
  buffers.threads = std::max(threads, 0);
}

namespace {

// What one frame needs in every part of it.
struct FrameJob {
  const ViewState& view;
  ModelStore& model;
  RenderBuffers& buffers;
  float hSampling;
  uint32_t options;
  ShadeSetup shade;
  RenderTarget target;
  int parts;  // vertex ranges, triangle ranges and bands of rows
  bool triangles, binned;
};

// Vertices by index ranges: projection and corners.
void ProjectPart(const FrameJob& f, int part) {
  const int64_t n = f.model.vertexCount;
  ProjectCorners(f.view, f.hSampling, HasOption(f.options, kOptQuickRender), f.model,
                 ShareStart(n, part, f.parts), ShareStart(n, part + 1, f.parts),
                 f.buffers.scratch.corners.data());
}

// Triangles by index ranges: culled, clipped and shaded into the bins.
void BinPart(const FrameJob& f, int part) {
  const int64_t n = f.model.triangleCount;
  BinTriangles(f.target, f.shade, f.model, HasOption(f.options, kOptHideSelected),
               ShareStart(n, part, f.parts), ShareStart(n, part + 1, f.parts), part, f.parts,
               f.buffers.scratch);
}

// One band of rows: grid, triangles, lines and dots, each in the usual order.
void DrawBand(const FrameJob& f, int part) {
  RenderTarget band = f.target;
  band.clipTop = BandTop(f.target, part, f.parts);
  band.clipBottom = BandTop(f.target, part + 1, f.parts) - 1;
  if (band.clipTop > band.clipBottom) return;
  const uint32_t options = f.options;
  if (HasOption(options, kOptShowGrid)) {
    DrawGrid(f.view, f.hSampling, HasOption(options, kOptQuickRender), band);
  }
  if (f.binned) {
    FillBinnedTriangles(band, f.buffers.scratch, part, f.parts);
  } else if (f.triangles) {
    DrawTriangleBand(band, f.shade, f.model, f.buffers.scratch.corners, options, f.view.centreX,
                     f.view.centreY);
  }
  if (HasOption(options, kOptShowLines)) DrawModelLines(f.view, f.model, band);
  if (HasOption(options, kOptShowVerts)) DrawVertexDots(f.view, f.model, band);
}

}  // namespace

void RenderFrame(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                 const ScreenGeometry& geometry, const FrameSettings& frame) {
  const uint32_t options = frame.options;
  const int threads = ThreadsFor(buffers, model);
  const bool triangles = HasOption(options, kOptShowTris) && model.triangleCount > 0;
  // Filled triangles on several threads go through bins, so that each is
  // culled and shaded once; then a few bands per thread let a thread that the
  // machine slows down take fewer of them. Wireframe lines are clipped per
  // band instead, which costs a pass over the triangles per band.
  const bool binned = triangles && threads > 1 && !HasOption(options, kOptWireframe);
  const int parts = binned ? std::min(4 * threads, kMaxRenderParts) : threads;
  const FrameJob f{view,
                   model,
                   buffers,
                   geometry.hSampling,
                   options,
                   MakeShadeSetup(view, options, frame.contrast),
                   TargetOf(buffers),
                   parts,
                   triangles,
                   binned};
  buffers.scratch.corners.resize(static_cast<size_t>(std::max(model.vertexCount, 0)));
  RunPieces(buffers, threads, parts, [&](int part) { ProjectPart(f, part); });
  if (binned) {
    PrepareBins(buffers.scratch, f.target, buffers.height, parts, model.triangleCount);
    RunPieces(buffers, threads, parts, [&](int part) { BinPart(f, part); });
  }
  RunPieces(buffers, threads, parts, [&](int part) { DrawBand(f, part); });
}

void RenderStereoPair(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                      const ScreenGeometry& geometry, const FrameSettings& frame) {
  const int32_t width = buffers.width, monoCentre = view.centreX;
  const int64_t quarter = width / 4, separation = frame.separation;
  // Left eye: the image shifted right by the separation within the left half.
  view.eyeShift = static_cast<float>(-separation);
  buffers.clipLeft = 0, buffers.clipRight = width / 2 - 1;
  view.centreX = ClampCentre(monoCentre - quarter + separation);
  RenderFrame(view, model, buffers, geometry, frame);
  // Right eye.
  view.eyeShift = static_cast<float>(separation);
  buffers.clipLeft = width / 2, buffers.clipRight = width - 1;
  view.centreX = ClampCentre(monoCentre + quarter - separation);
  RenderFrame(view, model, buffers, geometry, frame);
  buffers.clipLeft = 0;
  view.centreX = monoCentre;
  view.eyeShift = 0.0f;
}

bool StereoNeedsRedraw(uint32_t options, int toolMode, int previousToolMode) {
  return HasOption(options, kOptStereo) && toolMode != previousToolMode;
}

void RenderView(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                const Backdrop& backdrop, const ScreenGeometry& geometry,
                const FrameSettings& frame) {
  PrepareView(view, geometry, frame);
  ClearBuffers(buffers, frame.drawDepth);
  if (backdrop.loaded) CopyBackdrop(backdrop, buffers);
  buffers.clipLeft = 0, buffers.clipTop = 0;
  buffers.clipRight = buffers.width - 1, buffers.clipBottom = buffers.height - 1;
  if (frame.stereo) {
    RenderStereoPair(view, model, buffers, geometry, frame);
  } else {
    view.eyeShift = 0.0f;
    RenderFrame(view, model, buffers, geometry, frame);
  }
}

}  // namespace qelvar
