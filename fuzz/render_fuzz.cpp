// The renderer on hostile numbers: raw float vertices (NaN, infinities, huge
// values) and view and frame values taken from the input, through the normal
// pass, the stereo pair, the selection pass, vertex markers and the way back
// from a pixel to the model. The sanitizers judge the drawing; the buffers
// must keep their size, the clip rectangle must come back, and frames drawn
// in bands on several threads must equal the one-thread frames.
#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cstring>
#include <limits>

#include "core/backdrop.h"
#include "fuzz_support.h"
#include "render/overlays.h"
#include "render/rasteriser.h"
#include "render/render_view.h"
#include "render/shading.h"
#include "render/view.h"

using namespace qelvar;
using namespace qelvar::fuzz;

namespace {

// Mostly raw bit patterns, often one of the values that break arithmetic.
float HostileFloat(FuzzedDataProvider& in) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  static constexpr float kSpecial[] = {std::numeric_limits<float>::quiet_NaN(),
                                       kInf,
                                       -kInf,
                                       std::numeric_limits<float>::max(),
                                       -std::numeric_limits<float>::max(),
                                       std::numeric_limits<float>::denorm_min(),
                                       0.0f,
                                       -0.0f,
                                       1.0f,
                                       2147483648.0f,
                                       -2147483904.0f,
                                       16777217.0f,
                                       1e-30f,
                                       1e30f,
                                       268435456.0f,
                                       0.999999f};
  const uint8_t pick = in.ConsumeIntegral<uint8_t>();
  if (pick < std::size(kSpecial) * 4) return kSpecial[pick % std::size(kSpecial)];
  return std::bit_cast<float>(in.ConsumeIntegral<uint32_t>());
}

ScreenGeometry MakeGeometry(FuzzedDataProvider& in) {
  ScreenGeometry g;
  g.detail = in.ConsumeIntegralInRange(0, 2);
  g.screenWidth = in.ConsumeIntegralInRange(8, 96);
  g.screenHeight = in.ConsumeIntegralInRange(8, 64);
  g.hSampling = g.detail == 0 ? 0.5f : (g.detail == 2 ? 2.0f : 1.0f);
  g.bufferWidth = g.detail == 0 ? g.screenWidth / 2 : g.screenWidth * (g.detail == 2 ? 2 : 1);
  g.bufferHeight = g.screenHeight;
  return g;
}

void HostileView(FuzzedDataProvider& in, ViewState& v) {
  for (float* f :
       {&v.angleXY, &v.angleXZ, &v.angleYZ, &v.distance, &v.scaling, &v.hOffset, &v.vOffset}) {
    if (in.ConsumeBool()) *f = HostileFloat(in);
  }
}

FrameSettings HostileFrame(FuzzedDataProvider& in) {
  FrameSettings f;
  f.options = in.ConsumeIntegral<uint32_t>();
  if (in.ConsumeBool()) f.drawDepth = HostileFloat(in);
  f.contrast = in.ConsumeIntegral<int>();
  f.separation = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-50, 50);
  f.lightXY = HostileFloat(in);
  f.lightYZ = HostileFloat(in);
  return f;
}

// Up to 48 vertices, triangles and lines; indices may point outside the vertices.
void HostileModel(FuzzedDataProvider& in, ModelStore& m) {
  ClearModel(m);
  const int vertices = in.ConsumeIntegralInRange(0, 48);
  for (int i = 0; i < vertices; ++i)
    AppendVertex(m, Vec3{HostileFloat(in), HostileFloat(in), HostileFloat(in)});
  auto index = [&] { return in.ConsumeIntegralInRange<int32_t>(-2, vertices + 1); };
  const int triangles = in.ConsumeIntegralInRange(0, 48);
  for (int i = 0; i < triangles; ++i) {
    const Triangle t{{index(), index(), index()}};
    AppendTriangle(m, t, in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint16_t>());
  }
  const int lines = in.ConsumeIntegralInRange(0, 16);
  for (int i = 0; i < lines; ++i) AppendLine(m, Line{index(), index()});
  ComputeNormals(m);
}

void CheckBuffers(const RenderBuffers& b, const ScreenGeometry& g) {
  const size_t cells = size_t(g.bufferWidth) * size_t(g.bufferHeight);
  Check(b.colour.size() == cells && b.depth.size() == cells, "the buffers keep their size");
  Check(b.clipLeft == 0 && b.clipTop == 0 && b.clipRight == b.width - 1 &&
            b.clipBottom == b.height - 1,
        "the clip rectangle comes back to the whole buffer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const ScreenGeometry g = MakeGeometry(in);
  ViewState view;
  InitView(view, g);
  HostileView(in, view);
  FrameSettings frame = HostileFrame(in);
  ModelStore& model = FreshStore(0);
  HostileModel(in, model);
  RenderBuffers buffers;
  InitRenderBuffers(buffers, g);
  const Backdrop noBackdrop;

  for (bool stereo : {false, true}) {
    frame.stereo = stereo;
    RenderView(view, model, buffers, noBackdrop, g, frame);
    CheckBuffers(buffers, g);
  }
  // The same frames split into bands on several threads: the same pixels and
  // depths, bit for bit.
  RenderBuffers single, banded;
  InitRenderBuffers(single, g);
  InitRenderBuffers(banded, g);
  SetRenderThreads(single, 1);
  SetRenderThreads(banded, in.ConsumeIntegralInRange(2, 7));
  for (bool stereo : {false, true}) {
    frame.stereo = stereo;
    RenderView(view, model, single, noBackdrop, g, frame);
    RenderView(view, model, banded, noBackdrop, g, frame);
    Check(single.colour == banded.colour, "bands on threads give the one-thread pixels");
    Check(std::memcmp(single.depth.data(), banded.depth.data(),
                      single.depth.size() * sizeof(float)) == 0,
          "bands on threads give the one-thread depths");
  }
  const int left = in.ConsumeIntegral<int>(), top = in.ConsumeIntegral<int>();
  const int right = in.ConsumeIntegral<int>(), bottom = in.ConsumeIntegral<int>();
  SelectionPass(view, model, buffers, frame.options, frame.drawDepth, left, top, right, bottom);
  CheckBuffers(buffers, g);
  for (int32_t v = -1; v <= model.vertexCount; ++v) {
    int x = 0, y = 0;
    VertexMarkerCentre(view, model, g.detail, v, x, y);
  }
  const int column = in.ConsumeIntegral<int>(), row = in.ConsumeIntegral<int>();
  ScreenToModel(view, g, frame.options, frame.drawDepth, column, row, HostileFloat(in));
  return 0;
}
