// Unsaved work: which changes count as modifications, the questions before
// quitting, closing and " New" with their answers, and the window title.
#include "app/unsaved_work.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/file_commands.h"
#include "app/main_loop.h"
#include "app/menu_actions.h"
#include "app/text_prompt.h"
#include "core/menu_ids.h"
#include "core/messages.h"
#include "fake_platform.h"
#include "render/rasteriser.h"
#include "render/view.h"

namespace qelvar {
namespace {

const std::string kClose = ExtendedKey(kScanClose);

class UnsavedWork : public ::testing::Test {
 protected:
  UnsavedWork() : m(p) { Fresh(); }

  // The start-up scene, rendered once and unmodified; no keys waiting.
  void Fresh() {
    p.keys.clear();
    SetUpModeller(m);
    m.geometry.colourDepth = 32;
    m.geometry.detail = 1;
    m.geometry.bufferWidth = 800;
    m.geometry.bufferHeight = 600;
    m.geometry.hSampling = 1.0f;
    InitRenderBuffers(m.buffers, m.geometry);
    InitView(m.view, m.geometry);
    m.modelFileName = "default.qv";
    m.flags = LoopFlags{};
    MarkModelSaved(m);
  }
  void Modify() { MarkModelChanged(m.model); }
  // One main-loop pass taking the key (if any).
  void Pass(const std::string& key = "x") {
    p.Key(key);
    MainLoopPass(m);
  }

  FakePlatform p;
  Modeller m;
};

TEST_F(UnsavedWork, EditsCountAsModificationsSelectionAndViewDoNot) {
  const struct {
    const char* what;
    std::function<void(Modeller&)> change;
    bool modified;
  } kCases[] = {
      {"append vertex",
       [](Modeller& m) {
         AppendVertex(m.model, {1, 2, 3});
       },
       true},
      {"append triangle",
       [](Modeller& m) {
         AppendTriangle(m.model, {{0, 1, 2}}, 0, 0);
       },
       true},
      {"append line",
       [](Modeller& m) {
         AppendLine(m.model, {0, 1});
       },
       true},
      {"remove triangles", [](Modeller& m) { RemoveTriangles(m.model, {1}); }, true},
      {"remove vertices",
       [](Modeller& m) {
         RemoveVertices(m.model, {0, 1});
       },
       true},
      // A tool that moves vertices in place only raises normalsDirty: the
      // main loop counts that as an edit.
      {"vertex moved in place",
       [](Modeller& m) {
         m.model.vertices[4].z = 30;
         m.model.normalsDirty = true;
         MainLoopPass(m);
       },
       true},
      {"rainbow",
       [](Modeller& m) {
         RunCommand(m, CommandNumber(Command::kSelectAll));
         RunCommand(m, CommandNumber(Command::kRainbow));
       },
       true},
      {"vertex cleanup welding a twin",
       [](Modeller& m) {
         m.model.vertices[1] = m.model.vertices[0];
         RunCommand(m, CommandNumber(Command::kVertCleanup));
       },
       true},
      {"vertex cleanup with nothing to weld",
       [](Modeller& m) { RunCommand(m, CommandNumber(Command::kVertCleanup)); }, false},
      {"select all", [](Modeller& m) { RunCommand(m, CommandNumber(Command::kSelectAll)); }, false},
      {"view turned and redrawn",
       [](Modeller& m) {
         RunCommand(m, CommandNumber(Command::kTopView));
         MainLoopPass(m);
       },
       false},
      {"New", [](Modeller& m) { RunCommand(m, CommandNumber(Command::kNew)); }, false},
      {"refused open",
       [](Modeller& m) {
         LoadModelFile(m, "no such model.qv");
         MainLoopPass(m);
       },
       false},
      {"refused part",
       [](Modeller& m) {
         auto& platform = static_cast<FakePlatform&>(m.platform);
         platform.Type("no such part.qv\r");
         LoadPart(m);
         platform.Key("x");
         MainLoopPass(m);
       },
       false},
  };
  for (const auto& c : kCases) {
    Fresh();
    p.Key("x");  // for the passes the changes run
    c.change(m);
    EXPECT_EQ(ModelModified(m), c.modified) << c.what;
  }
}

TEST_F(UnsavedWork, QuitAndCloseAskOnlyWhenModifiedAndOnlyYesEnds) {
  enum class Via { kQuitCommand, kCloseInMainLoop, kCloseInPrompt };
  const struct {
    Via via;
    bool modified;
    std::vector<std::string> keys;
    bool ends;
    size_t keysLeft;  // keys not taken: an unmodified model ends at once
  } kCases[] = {
      {Via::kQuitCommand, false, {"n", "\r"}, true, 2},
      {Via::kCloseInMainLoop, false, {"n", "\r"}, true, 2},
      {Via::kCloseInPrompt, false, {"n", "\r"}, true, 2},
      {Via::kQuitCommand, true, {"y", "\r"}, true, 0},
      {Via::kQuitCommand, true, {"Y", "\r"}, true, 0},
      {Via::kQuitCommand, true, {"n", "\r"}, false, 0},
      {Via::kQuitCommand, true, {"y", "e", "s", "\r"}, false, 0},
      {Via::kQuitCommand, true, {"\r"}, false, 0},
      {Via::kQuitCommand, true, {kClose}, true, 0},  // a second close request ends
      {Via::kCloseInMainLoop, true, {"y", "\r"}, true, 0},
      {Via::kCloseInMainLoop, true, {"x", "\r"}, false, 0},
      {Via::kCloseInMainLoop, true, {kClose}, true, 0},
      {Via::kCloseInPrompt, true, {"y", "\r"}, true, 0},
      {Via::kCloseInPrompt, true, {"n", "\r"}, false, 0},
  };
  for (const auto& c : kCases) {
    Fresh();
    if (c.modified) Modify();
    if (c.via != Via::kQuitCommand) p.Key(kClose);
    for (const std::string& k : c.keys) p.Key(k);
    if (c.via == Via::kCloseInPrompt) p.Type("a.qv\r");  // the prompt's own answer
    bool ended = false;
    std::string answer;
    try {
      switch (c.via) {
        case Via::kQuitCommand:
          RunCommand(m, CommandNumber(Command::kQuit));
          break;
        case Via::kCloseInMainLoop:
          MainLoopPass(m);
          break;
        case Via::kCloseInPrompt:
          answer = AskText(m, "    SAVE  - enter filename    ");
          break;
      }
    } catch (const ProgramEnded&) {
      ended = true;
    }
    const int via = static_cast<int>(c.via);
    EXPECT_EQ(ended, c.ends) << via << " " << c.keys.front();
    if (c.ends) {
      EXPECT_EQ(p.keys.size(), c.keysLeft + (c.via == Via::kCloseInPrompt ? 5 : 0)) << via;
    } else {
      EXPECT_EQ(m.flags.statusMessage, kMsgCanceled) << via;
      EXPECT_TRUE(ModelModified(m)) << via;
      if (c.via == Via::kCloseInPrompt) {
        EXPECT_EQ(answer, "a.qv");
      }
    }
  }
}

TEST_F(UnsavedWork, TheQuestionIsShownInAWidenedBox) {
  Modify();
  p.Type("n\r");
  RunCommand(m, CommandNumber(Command::kQuit));
  EXPECT_EQ(TextAt(p.screen(), 7, 5, 35), std::string(kQuitQuestion));
  EXPECT_EQ(TextAt(p.screen(), 7, 40, 1), " ");  // the frame after it
}

TEST_F(UnsavedWork, NewAsksAndOnlyYesClearsTheModel) {
  Modify();
  p.Type("n\r");
  RunCommand(m, CommandNumber(Command::kNew));
  EXPECT_EQ(m.model.triangleCount, 6);
  EXPECT_EQ(m.flags.statusMessage, kMsgCanceled);
  m.modelFileName = "a.qv";
  m.modelFilePath = m.ownFilePath = "/somewhere/a.qv";
  p.Type("y\r");
  RunCommand(m, CommandNumber(Command::kNew));
  EXPECT_EQ(m.model.triangleCount, 0);
  EXPECT_EQ(m.flags.statusMessage, kMsgModelCleared);
  EXPECT_EQ(m.modelFileName, "default.qv");
  EXPECT_TRUE(m.modelFilePath.empty());
  EXPECT_TRUE(m.ownFilePath.empty());
  EXPECT_FALSE(ModelModified(m));
}

TEST_F(UnsavedWork, WindowTitleShowsTheNameAndAMarkWhileModified) {
  Pass();
  EXPECT_EQ(p.title, "qelvar - default.qv");
  m.model.normalsDirty = true;  // an edit
  Pass();
  Pass();
  EXPECT_EQ(p.title, "qelvar - *default.qv");
  m.modelFileName = "ball.qv";
  MarkModelSaved(m);
  m.flags.screenDirty = 1;
  Pass();
  EXPECT_EQ(p.title, "qelvar - ball.qv");
}

}  // namespace
}  // namespace qelvar
