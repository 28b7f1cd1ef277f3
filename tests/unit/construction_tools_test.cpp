// The construction tools on a few vertices placed directly on the screen:
// corner taking and take-back, fans, the auto triangle's winding, clicks
// without a usable vertex, mouse plotting, and the vertex edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "app/menu_actions.h"
#include "app/tool_steps.h"
#include "core/menu_ids.h"
#include "core/messages.h"
#include "fake_platform.h"
#include "render/frame_settings.h"
#include "render_test_support.h"
#include "tools/mouse_plot.h"
#include "tools/selection.h"
#include "tools/tool_dispatch.h"
#include "tools/triangle_tools.h"

namespace qelvar {
namespace {

using Corners = std::array<int32_t, 3>;

// Vertices named 'A', 'B', ... placed at buffer pixels.
class Construction : public ::testing::Test {
 protected:
  Construction() {
    InitModelStore(model);
    ClearModel(model);
    model.defaultColour = 0x1234;
    cells = test::DefaultCells();
    view.centreX = 400;
    view.centreY = 300;
  }
  int32_t Place(int x, int y, float depth = 10.0f) {
    const int32_t v = model.vertexCount;
    AppendVertex(model, {static_cast<float>(v), 0.5f, -1.0f});
    model.vertexScratch[size_t(v)] = {static_cast<float>(x - view.centreX),
                                      static_cast<float>(y - view.centreY), depth};
    return v;
  }
  ToolContext Context() { return {tool, model, view, cells, options, geometry, buffers}; }
  // One pass at the pointer: the display step picks, then the mouse step.
  ToolOutcome Pass(int x, int y, bool left = false, bool right = false, bool shift = false) {
    ToolContext c = Context();
    ToolInput in{.mouseX = x,
                 .mouseY = y,
                 .leftClick = left,
                 .rightClick = right,
                 .shiftHeld = shift,
                 .mousePlotRowShown = plotRowShown,
                 .vertSelectorRowShown = selectorRowShown};
    ToolDisplayStep(c, in, false);
    return ToolMouseStep(c, in);
  }
  void ClickVertex(int32_t v) {
    const ScratchVertex& s = model.vertexScratch[size_t(v)];
    Pass(static_cast<int>(s.column) + view.centreX + 1, static_cast<int>(s.row) + view.centreY,
         true);
  }
  std::vector<Corners> Triangles() const {
    std::vector<Corners> out;
    for (int32_t i = 0; i < model.triangleCount; ++i) {
      const Triangle& t = model.triangles[size_t(i)];
      out.push_back({t.corner[0], t.corner[1], t.corner[2]});
    }
    return out;
  }

  ModelStore model;
  ViewState view;
  ValueCells cells;
  uint32_t options = kStartOptions;
  ScreenGeometry geometry = test::Geometry(800, 600);
  RenderBuffers buffers = test::Buffers(800, 600);
  ToolState tool;
  bool plotRowShown = true, selectorRowShown = true;
};

struct ClickCase {
  const char* name;
  ToolMode mode;
  std::string clicks;
  std::vector<Corners> triangles;
  int cornerCount;
};

TEST_F(Construction, ManualTriangleAndFanTakeCornersBackAndChain) {
  const std::vector<ClickCase> cases = {
      {"second B takes B back", ToolMode::kManualTriangle, "ABBC", {}, 2},
      {"three corners make one", ToolMode::kManualTriangle, "ABC", {{0, 1, 2}}, 0},
      {"and it starts over", ToolMode::kManualTriangle, "ABCDE", {{0, 1, 2}}, 2},
      {"first again takes it back", ToolMode::kManualTriangle, "ABAC", {}, 2},
      {"a lone first corner back", ToolMode::kManualTriangle, "AAB", {}, 1},
      {"fan around the first", ToolMode::kManualFan, "ABCDE", {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}}, 2},
      {"fan takes its last back", ToolMode::kManualFan, "ABCCDE", {{0, 1, 2}, {0, 3, 4}}, 2},
  };
  for (int i = 0; i < 5; ++i) Place(100 + 100 * i, 100 + 37 * i);
  for (const ClickCase& k : cases) {
    model.triangleCount = 0;
    EnterTool(tool, k.mode);
    for (char name : k.clicks) ClickVertex(name - 'A');
    EXPECT_EQ(Triangles(), k.triangles) << k.name;
    EXPECT_EQ(tool.cornerCount, k.cornerCount) << k.name;
  }
  EXPECT_EQ(model.triangleFlags[0], kSelectedBit);  // selected, part group 0
  EXPECT_EQ(model.triangleColours[0], 0x1234);
  EXPECT_TRUE(model.normalsDirty);
  // The markers: the hovered vertex in green, the chosen corners in magenta.
  const ToolMarkers markers = CollectToolMarkers(tool);
  ASSERT_EQ(markers.count, 3);
  EXPECT_EQ(markers.marker[0].vertex, 4);
  EXPECT_EQ(markers.marker[0].rgb, 0x00FF00u);
  EXPECT_EQ(markers.marker[1].vertex, 0);
  EXPECT_EQ(markers.marker[2].vertex, 4);
  EXPECT_EQ(markers.marker[2].rgb, 0xFF00FFu);
  EXPECT_EQ(Pass(10, 10, false, true).screenDirty, 1);  // a right click ends the fan
  EXPECT_EQ(tool.mode, ToolMode::kNone);
}

TEST_F(Construction, AutoTriangleRunsClockwiseWhateverTheDistanceOrder) {
  const int32_t a = Place(300, 200), b = Place(500, 200), c = Place(400, 380);
  Place(400, 250, 0.5f);     // behind the eye: never a candidate
  Place(400, 250, 2000000);  // beyond "drawdepth"
  EnterTool(tool, ToolMode::kAutoTriangle);
  // Pointers near each corner and between them give every distance order.
  const int pointers[][2] = {{320, 205}, {310, 230}, {490, 210}, {490, 240},
                             {400, 370}, {405, 370}, {350, 200}, {450, 300}};
  for (const auto& p : pointers) {
    const int32_t before = model.triangleCount;
    Pass(p[0], p[1], true);
    ASSERT_EQ(model.triangleCount, before + 1);
    Corners t = Triangles().back();
    const auto at = [&](int32_t v) { return model.vertexScratch[size_t(v)]; };
    const float cross = (at(t[2]).row - at(t[1]).row) * (at(t[1]).column - at(t[0]).column) -
                        (at(t[2]).column - at(t[1]).column) * (at(t[1]).row - at(t[0]).row);
    EXPECT_LE(cross, 0.0f) << p[0] << "," << p[1];
    EXPECT_EQ(t[0], tool.candidates[0]);  // the nearest stays first
    std::sort(t.begin(), t.end());
    EXPECT_EQ(t, (Corners{a, b, c}));
  }
  const ToolMarkers markers = CollectToolMarkers(tool);
  EXPECT_EQ(markers.count, 3);
  EXPECT_EQ(markers.marker[1].rgb, 0x0000FFu);
}

TEST_F(Construction, NearestThreeInsertStrictlyAndLeaveMissingSlotsEmpty) {
  Place(410, 300);
  Place(390, 300);  // as far as vertex 0: stays behind it
  Place(400, 305);  // nearest: moves vertex 0 down, behind vertex 1 of equal distance
  const PickPoint at{400, 300, 400, 300, 1000000.0f};
  EXPECT_EQ(NearestThreeVertices(model, at), (Corners{2, 1, 0}));
  model.vertexCount = 2;
  EXPECT_EQ(NearestThreeVertices(model, at), (Corners{0, 1, -1}));
  // Many vertices, measured four at a time: the same result as one by one,
  // with ties, half-pixel offsets, NaN, far and hidden vertices in the mix.
  ClearModel(model);
  uint32_t r = 7;
  for (int i = 0; i < 1003; ++i) {
    r = r * 1664525u + 1013904223u;
    const int32_t v = Place(300 + int(r % 200), 200 + int((r >> 8) % 200), float(r % 5) - 1.0f);
    ScratchVertex& s = model.vertexScratch[size_t(v)];
    if (r % 7 == 0) s.column += 0.5f;
    if (r % 11 == 0) s.row = std::numeric_limits<float>::quiet_NaN();
    if (r % 13 == 0) s.column = 1e9f;
  }
  for (const int mouse : {350, 410, 480}) {
    const PickPoint p{400, 300, mouse, mouse - 60, 2.5f};
    Corners index{-1, -1, -1}, distance{10000000, 10000000, 10000000};
    for (int32_t i = 0; i < model.vertexCount; ++i) {
      const ScratchVertex& s = model.vertexScratch[size_t(i)];
      const double fx = s.column + 400.0f - float(mouse), fy = s.row + 300.0f - float(mouse - 60);
      if (!(s.depth >= 1.0f && s.depth <= 2.5f) || !(std::fabs(fx) < 4000 && std::fabs(fy) < 4000))
        continue;
      int32_t d = int32_t(std::nearbyint(fx) * std::nearbyint(fx) +
                          std::nearbyint(fy) * std::nearbyint(fy));
      int32_t candidate = i;
      for (size_t k = 0; k < 3; ++k)
        if (d < distance[k]) std::swap(d, distance[k]), std::swap(candidate, index[k]);
    }
    ASSERT_NE(index[2], -1);
    EXPECT_EQ(NearestThreeVertices(model, p), index) << mouse;
  }
}

TEST_F(Construction, ClickWithoutAUsableVertexIsIgnored) {
  Place(100, 100);
  Place(200, 100);
  // Auto triangle with two visible vertices: the third slot is empty.
  EnterTool(tool, ToolMode::kAutoTriangle);
  Pass(150, 100, true);
  EXPECT_EQ(model.triangleCount, 0);
  // A candidate outside the table (the model shrank since the pass).
  Place(150, 200);
  EXPECT_FALSE(AutoTriangleClick(model, {0, 1, 3}, 400, 300));
  // Manual triangle over a model whose vertices are all behind the eye.
  for (int32_t v = 0; v < model.vertexCount; ++v) model.vertexScratch[size_t(v)].depth = 0.5f;
  EnterTool(tool, ToolMode::kManualTriangle);
  Pass(100, 100, true);
  EXPECT_EQ(tool.pickedVertex, -1);
  EXPECT_EQ(tool.cornerCount, 0);
  // A stale pick beyond the table takes no corner either.
  tool.pickedVertex = 7;
  EXPECT_FALSE(ManualTriangleClick(model, tool, false));
  EXPECT_EQ(tool.cornerCount, 0);
  // Corners that left the table are forgotten at the next pass.
  tool.corners = {0, 2, -1};
  tool.cornerCount = 2;
  model.vertexCount = 2;
  Pass(100, 100);
  EXPECT_EQ(tool.cornerCount, 0);
  EXPECT_EQ(model.triangleCount, 0);
}

TEST_F(Construction, MousePlotSnapsWithShiftAndOtherwiseMapsTheDepth) {
  InitView(view, geometry);
  view.angleXY = 0.7f;
  PrepareView(view, geometry, MakeFrameSettings(options, cells, false));
  const int32_t v = Place(250, 140);
  model.vertices[size_t(v)] = {0.1f, -1.0f / 3.0f, 12345.678f};
  EnterTool(tool, ToolMode::kMousePlot);
  options |= 1u << kOptMousePlot;
  tool.plotGroup = 2;
  Pass(253, 138, false, false, true);
  EXPECT_EQ(cells.Real(kCellX2), 0.1f);
  EXPECT_EQ(cells.Real(kCellY2), -1.0f / 3.0f);
  EXPECT_EQ(cells.Real(kCellZ2), 12345.678f);
  EXPECT_EQ(tool.pickedVertex, v);
  EXPECT_EQ(cells.Int(kCellScreenX), 253);
  // Empty background in quick render: on the plane z = 0, along the ray.
  tool.plotGroup = 5;
  Pass(600, 500);
  EXPECT_EQ(cells.Real(kCellZ5), 0.0f);
  const Vec3 p{cells.Real(kCellX5), cells.Real(kCellY5), 0.0f};
  const Vec3 r = TransformPoint(view, true, p);
  const float z = r.z + view.distance;
  EXPECT_NEAR(view.scaling * r.x / z + view.centreX, 600.0f, 0.05f);
  EXPECT_NEAR(view.scaling * r.y / z + view.centreY, 500.0f, 0.05f);
  // Without quick render the plotted point is the origin.
  options &= ~(1u << kOptQuickRender);
  Pass(600, 400);
  EXPECT_EQ(cells.Real(kCellX5), 0.0f);
  EXPECT_EQ(cells.Real(kCellY5), 0.0f);
  EXPECT_EQ(cells.Real(kCellZ5), 0.0f);
  // A click chooses the "." row; a pointer off the buffer plots nothing.
  EXPECT_TRUE(Pass(600, 400, true).choosePlotRow);
  cells.Real(kCellX5) = 42.0f;
  Pass(900, 700);
  EXPECT_EQ(tool.mode, ToolMode::kMousePlot);
  EXPECT_EQ(cells.Real(kCellX5), 42.0f);
  EXPECT_EQ(cells.Int(kCellScreenY), 700);
}

TEST_F(Construction, MousePlotAndVertexEditorEndConditions) {
  struct Case {
    const char* name;
    ToolMode mode;
    bool left, right, rowShown, ticked;
    bool ends, tickAfter;
  };
  const std::vector<Case> cases = {
      {"plot: right click", ToolMode::kMousePlot, false, true, true, true, true, true},
      {"plot: unticked", ToolMode::kMousePlot, false, false, true, false, true, false},
      {"plot: menu closed", ToolMode::kMousePlot, false, false, false, true, true, false},
      {"plot: left click goes on", ToolMode::kMousePlot, true, false, true, true, false, true},
      {"edit: left click", ToolMode::kVertexEdit, true, false, true, true, true, false},
      {"edit: right click", ToolMode::kVertexEdit, false, true, true, true, true, false},
      {"edit: menu closed", ToolMode::kVertexEdit, false, false, false, true, true, false},
      {"edit: unticked", ToolMode::kVertexEdit, false, false, true, false, true, false},
      {"edit: hovering", ToolMode::kVertexEdit, false, false, true, true, false, true},
  };
  Place(100, 100);
  for (const Case& k : cases) {
    const OptionBit bit = k.mode == ToolMode::kMousePlot ? kOptMousePlot : kOptVertSelector;
    EnterTool(tool, k.mode);
    tool.plotGroup = 1;
    options = kStartOptions | (k.ticked ? 1u << bit : 0u);
    plotRowShown = selectorRowShown = k.rowShown;
    Pass(101, 100, k.left, k.right);
    EXPECT_EQ(tool.mode == ToolMode::kNone, k.ends) << k.name;
    EXPECT_EQ(HasOption(options, bit), k.tickAfter) << k.name;
  }
  // The vertex editor's cells follow the hovered vertex; the pick outlives the tool.
  EXPECT_EQ(cells.Real(kCellX1), 0.0f);
  EXPECT_EQ(cells.Real(kCellY1), 0.5f);
  EXPECT_EQ(cells.Real(kCellZ1), -1.0f);
  Pass(101, 100, true);
  EXPECT_EQ(tool.pickedVertex, 0);
}

// The edit commands in a whole modeller: what they remove, renumber and report.
class VertexEdits : public ::testing::Test {
 protected:
  VertexEdits() : m(p) {
    SetUpModeller(m);
    ClearModel(m.model);
    for (int i = 0; i < 5; ++i) AppendVertex(m.model, {float(i), float(10 * i), 0.0f});
    for (const Triangle& t :
         {Triangle{{0, 1, 3}}, Triangle{{2, 3, 4}}, Triangle{{4, 3, 1}}, Triangle{{1, 2, 0}}})
      AppendTriangle(m.model, t, static_cast<uint8_t>(m.model.triangleCount + 1), 0);
    AppendLine(m.model, {0, 4});
    AppendLine(m.model, {2, 1});
    AppendLine(m.model, {3, 4});
  }
  void Run(Command c) {
    m.flags.statusMessage = 0;
    RunCommand(m, CommandNumber(c));
  }
  FakePlatform p;
  Modeller m;
};

TEST_F(VertexEdits, DeleteVertInTheMiddleRenumbersAndASecondDoesNothing) {
  m.tools.pickedVertex = 2;
  Run(Command::kDeleteVert);
  const ModelStore& s = m.model;
  EXPECT_EQ(m.flags.statusMessage, kMsgDeleted);
  EXPECT_EQ(m.tools.pickedVertex, -1);
  EXPECT_TRUE(s.normalsDirty);
  ASSERT_EQ(s.vertexCount, 4);
  EXPECT_EQ(s.vertices[2].x, 3.0f);
  ASSERT_EQ(s.triangleCount, 2);  // (0,1,3) and (4,3,1) stay, renumbered, with their flags
  EXPECT_EQ(s.triangles[0].corner[2], 2);
  EXPECT_EQ(s.triangles[1].corner[0], 3);
  EXPECT_EQ(s.triangles[1].corner[1], 2);
  EXPECT_EQ(s.triangleFlags[1], 3);
  ASSERT_EQ(s.lineCount, 2);
  EXPECT_EQ(s.lines[0].b, 3);
  EXPECT_EQ(s.lines[1].a, 2);
  Run(Command::kDeleteVert);
  EXPECT_EQ(m.flags.statusMessage, 0);
  EXPECT_EQ(s.vertexCount, 4);
  EXPECT_EQ(s.triangleCount, 2);
}

TEST_F(VertexEdits, MovesAndRemovalsOfTheLastElements) {
  ModelStore& s = m.model;
  m.cells.Real(kCellX1) = 7, m.cells.Real(kCellY1) = 8, m.cells.Real(kCellZ1) = 9;
  m.cells.Real(kCellX5) = 0.5f, m.cells.Real(kCellY5) = -1, m.cells.Real(kCellZ5) = 2;
  m.tools.pickedVertex = 1;
  Run(Command::kMoveToAbsolute);
  Run(Command::kMoveToOffset);
  EXPECT_EQ(s.vertices[1].x, 7.5f);
  EXPECT_EQ(s.vertices[1].y, 7.0f);
  EXPECT_EQ(s.vertices[1].z, 11.0f);
  EXPECT_EQ(m.flags.statusMessage, 0);
  m.tools.pickedVertex = 5;  // not a vertex: nothing moves
  Run(Command::kMoveToAbsolute);
  EXPECT_EQ(s.vertices[4].x, 4.0f);
  // The last vertex goes with its two triangles and two lines, nothing renumbered.
  Run(Command::kDeleteLastVert);
  EXPECT_EQ(m.flags.statusMessage, kMsgDeleted);
  EXPECT_EQ(s.vertexCount, 4);
  EXPECT_EQ(s.triangleCount, 2);
  EXPECT_EQ(s.triangles[1].corner[0], 1);
  EXPECT_EQ(s.lineCount, 1);
  Run(Command::kDeleteLastTriangle);
  Run(Command::kDeleteLastLine);
  EXPECT_EQ(s.triangleCount, 1);
  EXPECT_EQ(s.lineCount, 0);
  Run(Command::kDeleteLastLine);  // nothing left to remove: no report
  EXPECT_EQ(m.flags.statusMessage, 0);
  EXPECT_EQ(s.lineCount, 0);
}

// A mouse-plot click chooses the "." row of the menu the plotted cells are
// in: in the move menu it confirms the move by the plotted offset.
TEST_F(VertexEdits, MousePlotClickConfirmsTheMenuOfThePlottedCells) {
  OpenMenu(m.menus, MenuNumber(Menu::kMove));
  m.options |= 1u << kOptMousePlot;
  SelectAll(m.model);
  EnterTool(m.tools, ToolMode::kMousePlot);
  m.tools.plotGroup = 5;
  m.tools.plotMenu = MenuNumber(Menu::kMove);
  m.cells.Real(kCellX5) = 100.0f;
  ApplyToolOutcome(m, {.choosePlotRow = true});
  EXPECT_EQ(m.model.vertices[1].x, 101.0f);
  EXPECT_EQ(m.model.vertices[1].y, 10.0f);
  // With the menu closed nothing is chosen.
  CloseMenu(m.menus, MenuNumber(Menu::kMove));
  ApplyToolOutcome(m, {.choosePlotRow = true});
  EXPECT_EQ(m.model.vertices[1].x, 101.0f);
}

// Every command is connected now except "cHizel" (confirm chosen in a menu that has it).
TEST_F(VertexEdits, OnlyChiselAnswersNotImplemented) {
  m.menus.chosenMenu = MenuNumber(Menu::kMove);
  for (int c = 0; c <= CommandNumber(Command::kMoveToOffset); ++c) {
    m.flags.statusMessage = 0;
    try {
      RunCommand(m, c);
    } catch (const ProgramEnded&) {  // " Quit", or a prompt that met the end of input
    }
    EXPECT_EQ(m.flags.statusMessage == kMsgNotImplemented, c == CommandNumber(Command::kChisel))
        << c;
  }
}

}  // namespace
}  // namespace qelvar
