#include "services/escaped_text.h"

#include <gtest/gtest.h>

#include "support/test_files.h"

namespace quorvane::core {
namespace {

TEST(EscapedName, KeepsUtf8AndEscapesControlsStrayBytesAndBackslashes) {
  const struct {
    std::string bytes;
    QString shown;
  } cases[] = {
      {"IMG_0042.jpg", "IMG_0042.jpg"},
      {"caf\xc3\xa9 \xe5\x86\x99\xe7\x9c\x9f \xf0\x9f\x93\xb7.png",
       QString::fromUtf8("café 写真 📷.png")},
      // What a terminal obeys: colours, a cleared screen, a carriage return.
      {"a\x1b[31mred\x1b[0m.png", "a\\x1b[31mred\\x1b[0m.png"},
      {"\x1b[2J\r\n\t\x7f.png", "\\x1b[2J\\x0d\\x0a\\x09\\x7f.png"},
      // C1 controls and marks that reorder or hide text.
      {"\xc2\x9b"
       "31m.png",
       "\\u009b31m.png"},
      {"gnp.\xe2\x80\xae"
       "exe",
       "gnp.\\u202eexe"},
      {"a\xe2\x80\x8b"
       "b\xef\xbb\xbf.png",
       "a\\u200bb\\ufeff.png"},
      // Bytes that are not UTF-8 keep their value; one byte at a time.
      {"\xff.png", "\\xff.png"},
      {"\xfe.png", "\\xfe.png"},
      {"cut\xe5\x86", "cut\\xe5\\x86"},
      {"\xc0\xaf overlong", "\\xc0\\xaf overlong"},
      {"\xed\xa0\x80 surrogate", "\\xed\\xa0\\x80 surrogate"},
      {"\xf4\x90\x80\x80 beyond", "\\xf4\\x90\\x80\\x80 beyond"},
      // A backslash is doubled, so no name reads as another's escape.
      {"\\xff.png", "\\\\xff.png"},
  };
  for (const auto& c : cases) EXPECT_EQ(escapedName(c.bytes), c.shown) << c.bytes;
}

TEST(EscapedControls, EscapesOnlyControls) {
  EXPECT_EQ(escapedControls(QString::fromUtf8("C:\\tmp \x1b[1mbold\x1b[0m \u202e\u00e9\n")),
            QString::fromUtf8("C:\\tmp \\x1b[1mbold\\x1b[0m \\u202e\u00e9\\x0a"));
}

}  // namespace
}  // namespace quorvane::core
