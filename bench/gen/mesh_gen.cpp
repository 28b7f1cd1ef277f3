// Writes benchmark meshes: a heightfield grid over [-1, 1]^2 (neighbouring
// facets share corners) or a "soup" of the same facets whose corners are all
// different, as binary STL; the grid also as a model file. A first name
// ending in ".obj" or ".ply" gets the grid as OBJ or binary PLY instead.
//
//   qelvar_mesh_gen grid|soup FACETS OUT.stl|OUT.obj|OUT.ply [OUT.qv]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Writer {
  std::FILE* f;
  std::vector<uint8_t> buffer;
  void Bytes(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    buffer.insert(buffer.end(), b, b + n);
    if (buffer.size() > (1 << 20)) Flush();
  }
  void I32(int32_t v) { Bytes(&v, 4); }  // the build host is little-endian
  void F32(float v) { Bytes(&v, 4); }
  void Flush() {
    std::fwrite(buffer.data(), 1, buffer.size(), f);
    buffer.clear();
  }
};

struct Grid {
  int q;  // q x q squares, two facets each
  float X(int i) const { return -1.0f + 2.0f * float(i) / float(q); }
  float Height(int i, int j) const { return 0.1f * std::sin(3.0f * X(i)) * std::cos(2.0f * X(j)); }
  // Corner c of facet t of square (i, j), as grid point offsets.
  static void Offset(int t, int c, int& di, int& dj) {
    static const int kCorners[2][3][2] = {{{0, 0}, {1, 0}, {1, 1}}, {{0, 0}, {1, 1}, {0, 1}}};
    di = kCorners[t][c][0], dj = kCorners[t][c][1];
  }
};

void WriteStl(const Grid& g, bool soup, const char* path) {
  Writer w{std::fopen(path, "wb"), {}};
  if (!w.f) std::exit(1);
  const std::string header(80, ' ');
  w.Bytes(header.data(), 80);
  w.I32(2 * g.q * g.q);
  uint32_t corner = 0;  // soup corners get distinct heights from this counter
  for (int j = 0; j < g.q; ++j) {
    for (int i = 0; i < g.q; ++i) {
      for (int t = 0; t < 2; ++t) {
        for (int k = 0; k < 3; ++k) w.F32(0.0f);
        for (int c = 0; c < 3; ++c) {
          int di, dj;
          Grid::Offset(t, c, di, dj);
          w.F32(g.X(i + di));
          w.F32(g.X(j + dj));
          w.F32(soup ? std::ldexp(float(corner++), -26) : g.Height(i + di, j + dj));
        }
        const uint16_t colour = 0x2A5F;
        w.Bytes(&colour, 2);
      }
    }
  }
  w.Flush();
  std::fclose(w.f);
}

void WriteModel(const Grid& g, const char* path) {
  Writer w{std::fopen(path, "wb"), {}};
  if (!w.f) std::exit(1);
  const int side = g.q + 1, facets = 2 * g.q * g.q;
  w.Bytes("QVFA", 4);
  w.I32(side * side);
  w.I32(facets);
  w.I32(0);
  w.I32(2);
  for (int j = 0; j < side; ++j)
    for (int i = 0; i < side; ++i) w.F32(g.X(i)), w.F32(g.X(j)), w.F32(g.Height(i, j));
  for (int j = 0; j < g.q; ++j)
    for (int i = 0; i < g.q; ++i)
      for (int t = 0; t < 2; ++t)
        for (int c = 0; c < 3; ++c) {
          int di, dj;
          Grid::Offset(t, c, di, dj);
          w.I32((j + dj) * side + i + di);
        }
  const uint16_t colour = 0x2A5F;
  for (int k = 0; k < facets; ++k) w.Bytes(&colour, 2);
  for (int k = 0; k < facets; ++k) w.Bytes("\0", 1);
  const std::string names(1200, '\0');
  w.Bytes(names.data(), names.size());
  w.Flush();
  std::fclose(w.f);
}

bool EndsWith(const char* name, const char* ext) {
  const size_t n = std::strlen(name), e = std::strlen(ext);
  return n >= e && std::strcmp(name + n - e, ext) == 0;
}

// The grid's points row by row, then its facets as corner indices.
template <typename Point, typename Facet>
void ForGrid(const Grid& g, Point point, Facet facet) {
  const int side = g.q + 1;
  for (int j = 0; j < side; ++j)
    for (int i = 0; i < side; ++i) point(g.X(i), g.X(j), g.Height(i, j));
  for (int j = 0; j < g.q; ++j)
    for (int i = 0; i < g.q; ++i)
      for (int t = 0; t < 2; ++t) {
        int corner[3];
        for (int c = 0; c < 3; ++c) {
          int di, dj;
          Grid::Offset(t, c, di, dj);
          corner[c] = (j + dj) * side + i + di;
        }
        facet(corner);
      }
}

void WriteObj(const Grid& g, const char* path) {
  Writer w{std::fopen(path, "wb"), {}};
  if (!w.f) std::exit(1);
  char line[96];
  auto text = [&](int n) { w.Bytes(line, size_t(n)); };
  ForGrid(
      g,
      [&](float x, float y, float z) {
        text(std::snprintf(line, sizeof line, "v %.9g %.9g %.9g\n", x, y, z));
      },
      [&](const int* c) {
        text(std::snprintf(line, sizeof line, "f %d %d %d\n", c[0] + 1, c[1] + 1, c[2] + 1));
      });
  w.Flush();
  std::fclose(w.f);
}

void WritePly(const Grid& g, const char* path) {
  Writer w{std::fopen(path, "wb"), {}};
  if (!w.f) std::exit(1);
  const int side = g.q + 1;
  const std::string header =
      "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(side * side) +
      "\nproperty float x\nproperty float y\nproperty float z\nelement face " +
      std::to_string(2 * g.q * g.q) + "\nproperty list uchar int vertex_indices\nend_header\n";
  w.Bytes(header.data(), header.size());
  ForGrid(
      g, [&](float x, float y, float z) { w.F32(x), w.F32(y), w.F32(z); },
      [&](const int* c) {
        w.Bytes("\3", 1);
        for (int k = 0; k < 3; ++k) w.I32(c[k]);
      });
  w.Flush();
  std::fclose(w.f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || (std::strcmp(argv[1], "grid") != 0 && std::strcmp(argv[1], "soup") != 0)) {
    std::fprintf(stderr,
                 "usage: qelvar_mesh_gen grid|soup FACETS OUT.stl|OUT.obj|OUT.ply [OUT.qv]\n");
    return 2;
  }
  const Grid g{int(std::lround(std::sqrt(std::atof(argv[2]) / 2.0)))};
  if (EndsWith(argv[3], ".obj")) {
    WriteObj(g, argv[3]);
  } else if (EndsWith(argv[3], ".ply")) {
    WritePly(g, argv[3]);
  } else {
    WriteStl(g, std::strcmp(argv[1], "soup") == 0, argv[3]);
  }
  if (argc > 4) WriteModel(g, argv[4]);
  return 0;
}
