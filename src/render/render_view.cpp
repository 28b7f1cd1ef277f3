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
// waking the pool would cost more than it saves.
constexpr int64_t kParallelWork = 20000;

int PartsFor(const RenderBuffers& buffers, const ModelStore& model) {
  if (buffers.threads > 0) return std::min(buffers.threads, kMaxRenderParts);
  const int64_t work = int64_t{model.vertexCount} + model.triangleCount;
  return work >= kParallelWork ? std::min(DefaultRenderThreads(), kMaxRenderParts) : 1;
}

// Part `part` of `parts` of the range [0, n) (or of the rows from `first`).
int32_t ShareStart(int64_t n, int part, int parts, int64_t first = 0) {
  return static_cast<int32_t>(first + n * part / parts);
}

template <class Job>
void RunParts(RenderBuffers& buffers, int parts, const Job& job) {
  if (parts == 1) {
    job(0);
    return;
  }
  if (!buffers.workers || buffers.workers->Count() != parts) {
    buffers.workers = std::make_shared<RenderWorkers>(parts);
  }
  buffers.workers->Run(job);
}

}  // namespace

void SetRenderThreads(RenderBuffers& buffers, int threads) {
  buffers.threads = std::max(threads, 0);
}

void RenderFrame(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                 const ScreenGeometry& geometry, const FrameSettings& frame) {
  const uint32_t options = frame.options;
  const bool quick = HasOption(options, kOptQuickRender);
  const bool triangles = HasOption(options, kOptShowTris) && model.triangleCount > 0;
  const int parts = PartsFor(buffers, model);
  std::vector<Corner>& corners = buffers.scratch.corners;
  corners.resize(static_cast<size_t>(std::max(model.vertexCount, 0)));
  const RenderTarget target = TargetOf(buffers);
  const ShadeSetup shade = MakeShadeSetup(view, options, frame.contrast);
  // Vertices are shared out by index, then the picture by rows: each band
  // draws everything in the usual order within its own rows.
  RunParts(buffers, parts, [&](int part) {
    const int64_t n = model.vertexCount;
    ProjectCorners(view, geometry.hSampling, quick, model, ShareStart(n, part, parts),
                   ShareStart(n, part + 1, parts), corners.data());
  });
  // Filled triangles on several threads go through bins, so that each is
  // culled and shaded once; wireframe lines are clipped per band instead.
  const bool binned = triangles && parts > 1 && !HasOption(options, kOptWireframe);
  if (binned) {
    PrepareBins(buffers.scratch, target, buffers.height, parts);
    RunParts(buffers, parts, [&](int part) {
      const int64_t n = model.triangleCount;
      BinTriangles(target, shade, model, HasOption(options, kOptHideSelected),
                   ShareStart(n, part, parts), ShareStart(n, part + 1, parts), part, parts,
                   buffers.scratch);
    });
  }
  RunParts(buffers, parts, [&](int part) {
    RenderTarget band = target;
    band.clipTop = BandTop(target, part, parts);
    band.clipBottom = BandTop(target, part + 1, parts) - 1;
    if (band.clipTop > band.clipBottom) return;
    if (HasOption(options, kOptShowGrid)) DrawGrid(view, geometry.hSampling, quick, band);
    if (binned) {
      FillBinnedTriangles(band, buffers.scratch, part, parts);
    } else if (triangles) {
      DrawTriangleBand(band, shade, model, corners, options, view.centreX, view.centreY);
    }
    if (HasOption(options, kOptShowLines)) DrawModelLines(view, model, band);
    if (HasOption(options, kOptShowVerts)) DrawVertexDots(view, model, band);
  });
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
