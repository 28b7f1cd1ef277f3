// Small scenes for the renderer tests: a geometry, default value cells, a
// model built from listed corners, and ASCII maps of the colour buffer.
#pragma once

#include <string>
#include <vector>

#include "core/option_flags.h"
#include "core/screen_geometry.h"
#include "core/value_cells.h"
#include "model/model_store.h"
#include "render/rasteriser.h"
#include "render/render_buffers.h"
#include "render/view.h"
#include "render/view_state.h"

namespace qelvar::test {

inline ScreenGeometry Geometry(int width, int height, int detail = 1) {
  return DeriveScreenGeometry(width, height, 32, width / 8, height / 16, detail);
}

inline ValueCells DefaultCells() {
  ValueCells c;
  c.Real(kCellDrawDepth) = 1000000.0f;
  c.Int(kCellContrast) = 160;
  c.Int(kCellSeparation) = 15;
  return c;
}

inline RenderBuffers Buffers(int width, int height, float drawDepth = 1000000.0f) {
  RenderBuffers b;
  InitRenderBuffers(b, Geometry(width, height));
  ClearBuffers(b, drawDepth);
  return b;
}

// A model holding just the given vertices and triangles (flags 0, colour 0).
inline ModelStore Model(const std::vector<Vec3>& vertices, const std::vector<Triangle>& triangles) {
  ModelStore m;
  InitModelStore(m);
  ClearModel(m);
  for (const Vec3& v : vertices) AppendVertex(m, v);
  for (const Triangle& t : triangles) AppendTriangle(m, t, 0, 0);
  return m;
}

// A view whose projection centre is the buffer origin, so that scratch
// entries are buffer positions.
inline ViewState OriginView() {
  ViewState v;
  v.centreX = 0;
  v.centreY = 0;
  return v;
}

// One character per pixel: '.' for colour 0, else the character that
// `legend` gives the colour's position in `colours`.
inline std::string Map(const RenderBuffers& b, const std::vector<uint32_t>& colours,
                       const std::string& legend) {
  std::string out;
  for (int y = 0; y < b.height; ++y) {
    for (int x = 0; x < b.width; ++x) {
      const uint32_t c = b.colour[static_cast<size_t>(y) * b.width + x];
      char ch = c == 0 ? '.' : '?';
      for (size_t i = 0; i < colours.size(); ++i) {
        if (colours[i] == c) ch = legend[i];
      }
      out += ch;
    }
    out += '\n';
  }
  return out;
}

}  // namespace qelvar::test
