// The camera: start values, per-render preparation, rotation and projection
// of points, angle wrapping, preset views, and the way back from a buffer
// pixel to a model point.
#pragma once

#include <cstdint>

#include "core/screen_geometry.h"
#include "core/value_cells.h"
#include "model/model_store.h"
#include "render/frame_settings.h"
#include "render/view_state.h"

namespace qelvar {

constexpr float kTwoPi = 2.0f * kPi;

// Start values once the render-buffer size is known; previous-pass values equal them.
void InitView(ViewState& view, const ScreenGeometry& geometry);

// Projection centre and the sines and cosines of the view and light angles
// ("LXY", "LYZ" cells) for one re-render.
void PrepareView(ViewState& view, const ScreenGeometry& geometry, const FrameSettings& frame);

// Rotation only (X-Y, then Y-Z, then X-Z unless quick), with the cached sines
// and cosines of the last PrepareView.
inline Vec3 TransformPoint(const ViewState& v, bool quickRender, Vec3 p) {
  const float x1 = v.cosXY * p.x - v.sinXY * p.y;
  const float y1 = v.cosXY * p.y + v.sinXY * p.x;
  const float z2 = v.cosYZ * p.z - v.sinYZ * y1;
  const float y2 = v.cosYZ * y1 + v.sinYZ * p.z;
  if (quickRender) return {x1, y2, z2};
  const float x3 = v.cosXZ * x1 - v.sinXZ * z2;
  const float z3 = v.cosXZ * z2 + v.sinXZ * x1;
  return {x3, y2, z3};
}

// Fills vertexScratch[0, vertexCount) with (column offset, row offset, depth).
// Offsets are only meaningful where depth >= 1.
void ProjectVertices(const ViewState& view, float hSampling, bool quickRender, ModelStore& model);

// Wraps the angles once into [0, 2*pi] and bounds scaling below by 1. True
// when the view differs from the previous pass (a re-render is due).
bool NormaliseView(ViewState& view);

enum class PresetView { kFront, kBack, kTop, kBottom, kLeftSide, kRightSide };
void ApplyPresetView(ViewState& view, PresetView preset);

// End of a main-loop pass: the angles, distance, scaling and the light angles
// ("LXY", "LYZ") become the previous-pass values that NormaliseView, mouse
// look and the mouse-light tool start from.
void RememberPreviousView(ViewState& view, const ValueCells& cells);

// Distance, scale and pan back to their defaults (vertical pan 0); angles stay.
void ResetView(ViewState& view, const ScreenGeometry& geometry);

// The model point under buffer pixel (column, row) at camera depth `depth`
// (1 / depth-buffer value). The origin unless quick render is on; on empty
// background (depth equal to drawDepth) the point on the plane z = 0.
Vec3 ScreenToModel(const ViewState& view, const ScreenGeometry& geometry, uint32_t options,
                   float drawDepth, int column, int row, float depth);

}  // namespace qelvar
