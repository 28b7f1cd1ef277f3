// Editing the prompt line and taking the answer from it.
#include "app/line_entry.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include "app/loop_state.h"

namespace qelvar {
namespace {

std::string Key(char c) { return std::string(1, c); }

LineEntry Typed(std::string_view text) {
  LineEntry e;
  for (char c : text) ApplyLineKey(e, Key(c));
  return e;
}

TEST(ExtractAnswer, Rules) {
  EXPECT_EQ(ExtractAnswer("model.qv"), "model.qv");
  EXPECT_EQ(ExtractAnswer("   \t model.qv"), "model.qv");
  EXPECT_EQ(ExtractAnswer("a,b"), "a");
  EXPECT_EQ(ExtractAnswer("\"a,b\" rest"), "a,b");
  EXPECT_EQ(ExtractAnswer("\"open"), "open");
  EXPECT_EQ(ExtractAnswer("my \"file\" x "), "my \"file\" x ");
  EXPECT_EQ(ExtractAnswer(""), "");
  EXPECT_EQ(ExtractAnswer("     "), "");
  EXPECT_EQ(ExtractAnswer(",abc"), "");
  EXPECT_EQ(ExtractAnswer(std::string(5000, 'x')).size(), 4096u);
}

TEST(LineEntry, InsertDeleteAndMove) {
  LineEntry e = Typed("helo");
  ApplyLineKey(e, ExtendedKey(75));  // Left
  ApplyLineKey(e, Key('l'));
  EXPECT_EQ(e.text, "hello");
  ApplyLineKey(e, ExtendedKey(71));  // Home
  ApplyLineKey(e, ExtendedKey(83));  // Delete
  EXPECT_EQ(e.text, "ello");
  ApplyLineKey(e, Key(8));  // Backspace at the start does nothing
  EXPECT_EQ(e.text, "ello");
  ApplyLineKey(e, ExtendedKey(79));  // End
  ApplyLineKey(e, ExtendedKey(83));  // Delete at the end does nothing
  ApplyLineKey(e, Key(8));
  EXPECT_EQ(e.text, "ell");
  ApplyLineKey(e, ExtendedKey(77));  // Right at the end stays
  EXPECT_EQ(e.cursor, 3u);
}

TEST(LineEntry, TabEscapeAndEnter) {
  LineEntry e;
  ApplyLineKey(e, Key(9));
  EXPECT_EQ(e.text, std::string(8, ' '));
  e = Typed("ab");
  ApplyLineKey(e, Key(9));
  ApplyLineKey(e, Key('c'));
  EXPECT_EQ(e.text, "ab      c");
  EXPECT_EQ(ExtractAnswer(e.text), "ab      c");
  ApplyLineKey(e, Key(27));
  EXPECT_EQ(e.text, "");
  EXPECT_FALSE(ApplyLineKey(e, Key('x')));
  EXPECT_TRUE(ApplyLineKey(e, Key(13)));
}

TEST(LineEntry, UpAndDownMoveByAScreenWidth) {
  LineEntry e = Typed(std::string(100, 'a'));
  e.screenColumns = 40;
  ApplyLineKey(e, ExtendedKey(72));  // Up
  EXPECT_EQ(e.cursor, 60u);
  ApplyLineKey(e, ExtendedKey(80));  // Down
  EXPECT_EQ(e.cursor, 100u);
  ApplyLineKey(e, ExtendedKey(80));  // not enough text below
  EXPECT_EQ(e.cursor, 100u);
  ApplyLineKey(e, ExtendedKey(71));
  ApplyLineKey(e, ExtendedKey(72));  // not enough text above
  EXPECT_EQ(e.cursor, 0u);
}

TEST(LineEntry, LongNamesAreKeptWhole) {
  const std::string name(40, 'n');
  EXPECT_EQ(ExtractAnswer(Typed(name).text), name);
}

}  // namespace
}  // namespace qelvar
