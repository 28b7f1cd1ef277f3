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
#include "render/triangle_layers.h"
#include "render/view.h"

namespace qelvar {

namespace {

// Where part `part` of `parts` of the range [0, n) starts.
int32_t ShareStart(int64_t n, int part, int parts) {
  return static_cast<int32_t>(n * part / parts);
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
  int parts;   // vertex ranges and bands of rows
  int ranges;  // triangle ranges filled apart (1: triangles are drawn by band)
  bool triangles;
};

// Vertices by index ranges: projection and corners.
void ProjectPart(const FrameJob& f, int part) {
  const int64_t n = f.model.vertexCount;
  f.buffers.scratch.partBounds[static_cast<size_t>(part)] =
      ProjectCorners(f.view, f.hSampling, HasOption(f.options, kOptQuickRender), f.model,
                     ShareStart(n, part, f.parts), ShareStart(n, part + 1, f.parts),
                     f.buffers.scratch.corners.data());
}

RenderTarget BandOf(const FrameJob& f, int part) {
  RenderTarget band = f.target;
  band.clipTop = BandTop(f.target, part, f.parts);
  band.clipBottom = BandTop(f.target, part + 1, f.parts) - 1;
  return band;
}

void DrawGridBand(const FrameJob& f, const RenderTarget& band) {
  if (HasOption(f.options, kOptShowGrid)) {
    DrawGrid(f.view, f.hSampling, HasOption(f.options, kOptQuickRender), band);
  }
}

void DrawLinesAndDots(const FrameJob& f, const RenderTarget& band) {
  if (HasOption(f.options, kOptShowLines)) DrawModelLines(f.view, f.model, band);
  if (HasOption(f.options, kOptShowVerts)) DrawVertexDots(f.view, f.model, band);
}

// One band of rows: grid, triangles, lines and dots, each in the usual order.
void DrawBand(const FrameJob& f, int part) {
  const RenderTarget band = BandOf(f, part);
  if (band.clipTop > band.clipBottom) return;
  DrawGridBand(f, band);
  if (f.triangles) {
    const FrameScratch& s = f.buffers.scratch;
    DrawTriangleBand(band, f.shade, f.model, s.corners, s.cornerBounds, f.options, f.view.centreX,
                     f.view.centreY);
  }
  DrawLinesAndDots(f, band);
}

// Triangle range `range`: the first into the frame, the others into layers.
void FillRange(const FrameJob& f, int range) {
  const int64_t n = f.model.triangleCount;
  const int32_t first = ShareStart(n, range, f.ranges), last = ShareStart(n, range + 1, f.ranges);
  const bool hideSelected = HasOption(f.options, kOptHideSelected);
  const FrameScratch& s = f.buffers.scratch;
  if (range == 0) {
    const PixelRect d = FillTriangleRange(f.target, f.shade, f.model, s.corners, s.cornerBounds,
                                          hideSelected, first, last);
    if (d.left <= d.right) f.target.Touch(d.top, d.bottom, d.left, d.right);
    return;
  }
  TriangleLayer& layer = f.buffers.scratch.layers[static_cast<size_t>(range - 1)];
  layer.drawn = FillTriangleRange(LayerTarget(layer, f.target), f.shade, f.model, s.corners,
                                  s.cornerBounds, hideSelected, first, last);
}

}  // namespace

void RenderFrame(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                 const ScreenGeometry& geometry, const FrameSettings& frame) {
  const uint32_t options = frame.options;
  const int threads = WorkThreads(buffers, int64_t{model.vertexCount} + model.triangleCount);
  const bool triangles = HasOption(options, kOptShowTris) && model.triangleCount > 0;
  // Filled triangles on several threads are split by ranges of the table, so
  // that each is culled, shaded and filled once. Wireframe lines are clipped
  // per band instead, which costs a pass over the triangles per band.
  const bool layered = triangles && threads > 1 && !HasOption(options, kOptWireframe);
  const FrameJob f{view,
                   model,
                   buffers,
                   geometry.hSampling,
                   options,
                   MakeShadeSetup(view, options, frame.contrast),
                   TargetOf(buffers),
                   threads,
                   layered ? std::min(threads, kMaxTriangleRanges) : 1,
                   triangles};
  FrameScratch& scratch = buffers.scratch;
  scratch.corners.resize(static_cast<size_t>(std::max(model.vertexCount, 0)));
  scratch.partBounds.assign(static_cast<size_t>(threads), PixelRect{});
  // The projection's parts give one rectangle for all usable corners.
  const auto uniteBounds = [&] {
    scratch.cornerBounds = PixelRect{};
    for (const PixelRect& r : scratch.partBounds) {
      scratch.cornerBounds = UniteRects(scratch.cornerBounds, r);
    }
  };
  if (!layered) {
    RunPieces(buffers, threads, threads, [&](int part) { ProjectPart(f, part); });
    uniteBounds();
    RunPieces(buffers, threads, threads, [&](int part) { DrawBand(f, part); });
    return;
  }
  PrepareLayers(buffers, f.ranges - 1);
  RunPieces(buffers, threads, threads, [&](int part) {
    ProjectPart(f, part);
    const RenderTarget band = BandOf(f, part);
    if (band.clipTop <= band.clipBottom) DrawGridBand(f, band);
  });
  uniteBounds();
  RunPieces(buffers, threads, f.ranges, [&](int range) { FillRange(f, range); });
  RunPieces(buffers, threads, threads, [&](int part) {
    const RenderTarget band = BandOf(f, part);
    if (band.clipTop > band.clipBottom) return;
    MergeLayers(band, buffers.scratch.layers, f.ranges - 1);
    DrawLinesAndDots(f, band);
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
