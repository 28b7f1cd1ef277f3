// Face normals and triangle shading.
#include "render/shading.h"

#include <cmath>

#include "core/option_flags.h"

namespace qelvar {

void ComputeNormals(ModelStore& model) {
  const auto vertexCount = static_cast<uint32_t>(model.vertexCount);
  for (int32_t i = 0; i < model.triangleCount; ++i) {
    const Triangle& t = model.triangles[i];
    Vec3& out = model.triangleNormals[i];
    if (static_cast<uint32_t>(t.corner[0]) >= vertexCount ||
        static_cast<uint32_t>(t.corner[1]) >= vertexCount ||
        static_cast<uint32_t>(t.corner[2]) >= vertexCount) {
      out = {0, 0, 0};
      continue;
    }
    const Vec3 a = model.vertices[t.corner[0]];
    const Vec3 b = model.vertices[t.corner[1]];
    const Vec3 c = model.vertices[t.corner[2]];
    const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z};
    const Vec3 v{c.x - b.x, c.y - b.y, c.z - b.z};
    const Vec3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length == 0.0f) length = 1000000.0f;
    out = {n.x / length, n.y / length, n.z / length};
  }
}

ShadeSetup MakeShadeSetup(const ViewState& view, uint32_t options, int contrast) {
  return {view, HasOption(options, kOptQuickRender), HasOption(options, kOptBackface),
          HasOption(options, kOptModelColours), static_cast<float>(contrast)};
}

bool ShadeTriangle(const ViewState& view, const ModelStore& model, uint32_t options, int contrast,
                   int32_t triangle, uint32_t& pixel) {
  const ShadeSetup setup = MakeShadeSetup(view, options, contrast);
  return ShadeFace(setup, model.triangleNormals[triangle], model.triangleFlags[triangle],
                   model.triangleColours[triangle], pixel);
}

}  // namespace qelvar
