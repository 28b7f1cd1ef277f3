// The runner's script parser: every command, key names in any case, skipped
// lines, and errors that name the offending line.
#include "platform/replay_script.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace qelvar {
namespace {

std::string Ext(int scan) { return std::string{static_cast<char>(255), static_cast<char>(scan)}; }

std::vector<ScriptCommand> Parse(std::string_view text) {
  ParsedScript p = ParseScript(text);
  EXPECT_FALSE(p.error) << p.error->line << ": " << p.error->message;
  return p.commands;
}

ScriptError ErrorOf(std::string_view text) {
  ParsedScript p = ParseScript(text);
  EXPECT_TRUE(p.error) << text;
  return p.error.value_or(ScriptError{});
}

TEST(ScriptKeys, CharactersAndNamesBecomeKeyBufferCodes) {
  auto c = Parse("key q . - [ } W Enter esc TAB backspace Space delete\n");
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0].op, ScriptOp::kKeys);
  const std::vector<std::string> want = {"q",  ".",    "-",  "[",  "}", "W",
                                         "\r", "\x1b", "\t", "\b", " ", Ext(83)};
  EXPECT_EQ(c[0].keys, want);
  EXPECT_EQ(c[0].line, 1);
}

TEST(ScriptKeys, ExtendedKeysUseTheirScanCodes) {
  auto c = Parse("key F1 f10 F11 F12 up DOWN Left right Home End PgUp pgdn Close\n");
  const std::vector<std::string> want = {Ext(59), Ext(68), Ext(87), Ext(88), Ext(72),
                                         Ext(80), Ext(75), Ext(77), Ext(71), Ext(79),
                                         Ext(73), Ext(81), Ext(107)};
  EXPECT_EQ(c.at(0).keys, want);
}

TEST(ScriptKeys, TypeKeepsBlanksAfterTheFirst) {
  auto c = Parse("type  cube.qv \ntype x\n");
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].keys, (std::vector<std::string>{" ", "c", "u", "b", "e", ".", "q", "v", " "}));
  EXPECT_EQ(c[1].keys, std::vector<std::string>{"x"});
}

TEST(ScriptCommands, MouseWheelHeldKeysIdleAndOutputs) {
  auto c = Parse(
      "# a comment\n"
      "\n"
      "   \t\n"
      "MOUSE 10 -20\r\n"
      "mousedown Right\n"
      "mouseup left\n"
      "wheel -3\n"
      "wheel +2\n"
      "keydown alt\n"
      "keyup LShift\n"
      "keydown RSHIFT\n"
      "idle\n"
      "idle 7\n"
      "  # indented comment\n"
      "shot out/a b.bmp  \n"
      "text grid.txt\n");
  ASSERT_EQ(c.size(), 12u);
  EXPECT_EQ(c[0].op, ScriptOp::kMouse);
  EXPECT_EQ(c[0].x, 10);
  EXPECT_EQ(c[0].y, -20);
  EXPECT_EQ(c[0].line, 4);
  EXPECT_EQ(c[1].op, ScriptOp::kMouseDown);
  EXPECT_EQ(c[1].value, 2);
  EXPECT_EQ(c[2].op, ScriptOp::kMouseUp);
  EXPECT_EQ(c[2].value, 1);
  EXPECT_EQ(c[3].value, -3);
  EXPECT_EQ(c[4].value, 2);
  EXPECT_EQ(c[5].op, ScriptOp::kKeyDown);
  EXPECT_EQ(c[5].value, kScanAlt);
  EXPECT_EQ(c[6].op, ScriptOp::kKeyUp);
  EXPECT_EQ(c[6].value, kScanLeftShift);
  EXPECT_EQ(c[7].value, kScanRightShift);
  EXPECT_EQ(c[8].op, ScriptOp::kIdle);
  EXPECT_EQ(c[8].value, 1);
  EXPECT_EQ(c[9].value, 7);
  EXPECT_EQ(c[10].op, ScriptOp::kShot);
  EXPECT_EQ(c[10].file, "out/a b.bmp");
  EXPECT_EQ(c[10].line, 15);
  EXPECT_EQ(c[11].op, ScriptOp::kText);
  EXPECT_EQ(c[11].file, "grid.txt");
}

TEST(ScriptCommands, ClickIsThreeStepsWithLeftAsDefault) {
  auto c = Parse("click 5 6\nclick 7 8 right\n");
  ASSERT_EQ(c.size(), 6u);
  EXPECT_EQ(c[0].op, ScriptOp::kMouse);
  EXPECT_EQ(c[1].op, ScriptOp::kMouseDown);
  EXPECT_EQ(c[1].value, 1);
  EXPECT_EQ(c[2].op, ScriptOp::kMouseUp);
  EXPECT_EQ(c[5].value, 2);
  EXPECT_EQ(c[3].x, 7);
  EXPECT_EQ(c[5].line, 2);
}

TEST(ScriptErrors, NameTheLineOfTheFirstBadCommand) {
  EXPECT_EQ(ErrorOf("key a\n\n# fine\nkey Entr\nkey b\n").line, 4);
  EXPECT_EQ(ErrorOf("jump 3\n").line, 1);
  EXPECT_NE(ErrorOf("jump 3\n").message.find("jump"), std::string::npos);
  const char* bad[] = {
      "key",     "key ab",       "type",      "type ",       "keydown ctrl",  "keyup",
      "mouse 1", "mouse 1 2 3",  "mouse x 2", "mouse 1 2.5", "mousedown mid", "mouseup",
      "click 1", "click 1 2 up", "wheel",     "wheel 1 2",   "wheel ++1",     "idle -1",
      "idle x",  "idle 1 2",     "shot",      "text   ",     "type a\x01",    "mouse 99999999999 0",
  };
  for (const char* line : bad) {
    ScriptError e = ErrorOf(std::string("idle\n") + line + "\n");
    EXPECT_EQ(e.line, 2) << line;
    EXPECT_FALSE(e.message.empty()) << line;
  }
}

TEST(ScriptErrors, NamesAreCaseInsensitiveButSingleCharactersAreNot) {
  EXPECT_EQ(KeyCodeForWord("a"), "a");
  EXPECT_EQ(KeyCodeForWord("A"), "A");
  EXPECT_EQ(KeyCodeForWord("eNtEr"), "\r");
  EXPECT_EQ(KeyCodeForWord("PGDN"), Ext(81));
  EXPECT_EQ(KeyCodeForWord("Enterr"), "");
  EXPECT_EQ(KeyCodeForWord("F13"), "");
}

}  // namespace
}  // namespace qelvar
