// The numbered value cells behind the menus' number rows: integer cells 0..27
// and real cells 50..92.
#pragma once

#include <array>
#include <cstdint>

namespace qelvar {

enum ValueCell {
  kCellVertexCount = 0, kCellTriangleCount = 1, kCellLineCount = 2,
  kCellCXY = 4, kCellCXZ = 5, kCellCYZ = 6, kCellDistance = 7, kCellScaling = 8,
  kCellHOffset = 9, kCellVOffset = 10, kCellSelectedCount = 11, kCellSides = 12,
  kCellScreenX = 13, kCellScreenY = 14,
  kCellChangeRed = 15, kCellChangeGreen = 16, kCellChangeBlue = 17,
  kCellDefaultRed = 18, kCellDefaultGreen = 19, kCellDefaultBlue = 20,
  kCellSeparation = 25, kCellContrast = 26,
  kCellX1 = 50, kCellY1 = 51, kCellZ1 = 52, kCellX2 = 53, kCellY2 = 54, kCellZ2 = 55,
  kCellX3 = 56, kCellY3 = 57, kCellZ3 = 58, kCellX4 = 59, kCellY4 = 60, kCellZ4 = 61,
  kCellSize = 62, kCellXYAngle = 63, kCellXZAngle = 64, kCellYZAngle = 65,
  kCellDrawDepth = 66,
  kCellXScale = 67, kCellYScale = 68, kCellZScale = 69,
  kCellRadius1 = 82, kCellHeight = 83, kCellSliceSize = 84, kCellRadius2 = 85,
  kCellLightXY = 86, kCellLightYZ = 87,
  kCellX5 = 90, kCellY5 = 91, kCellZ5 = 92,
};

struct ValueCells {
  static constexpr int kIntegerCells = 28;
  static constexpr int kFirstReal = 50, kLastReal = 92;

  std::array<int32_t, kIntegerCells> integers{};
  std::array<float, kLastReal - kFirstReal + 1> reals{};

  static bool IsInteger(int cell) { return cell >= 0 && cell < kIntegerCells; }
  static bool IsReal(int cell) { return cell >= kFirstReal && cell <= kLastReal; }
  int32_t& Int(int cell) { return integers[cell]; }
  int32_t Int(int cell) const { return integers[cell]; }
  float& Real(int cell) { return reals[cell - kFirstReal]; }
  float Real(int cell) const { return reals[cell - kFirstReal]; }
};

// The start values of the cells; every cell not named starts at 0.
void InitValueCells(ValueCells& cells);

}  // namespace qelvar
