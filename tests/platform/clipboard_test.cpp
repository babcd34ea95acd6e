// The simulated clipboard: formats and their order, opening while another program holds it
// (on virtual time), unreadable formats, text in and out, and an application's paste.
#include <gtest/gtest.h>

#include "platform/sim/desktop.h"

namespace tolvan::sim {
namespace {

TEST(SimClipboard, KeepsEveryFormatInOrderSoABackupCanBeRestored) {
  Desktop desktop;
  SimClipboard& board = desktop.clipboard();
  ClipboardFormat html = board.register_format("HTML Format");
  EXPECT_EQ(board.register_format("HTML Format"), html);
  EXPECT_GE(html, kFormatFirstRegistered);
  const std::string dib("BM\0\x01\x02\xff", 6);
  board.set_contents({{kFormatDib, dib}, {html, "<b>x</b>"}, {kFormatUnicodeText, SimClipboard::encode_unicode_text("x")}});

  // Walk and copy every format, as a backup does.
  Clipboard& api = board;
  ASSERT_TRUE(api.open());
  std::vector<std::pair<ClipboardFormat, std::string>> backup;
  for (ClipboardFormat f : api.formats()) backup.emplace_back(f, *api.get(f));
  EXPECT_EQ(api.format_name(html), "HTML Format");
  EXPECT_EQ(api.format_name(kFormatDib), "");
  ASSERT_TRUE(api.set_text("expansion\r\n"));
  EXPECT_EQ(api.formats(), std::vector<ClipboardFormat>{kFormatUnicodeText});
  api.close();
  EXPECT_EQ(api.text(), "expansion\r\n");

  ASSERT_TRUE(api.open());
  ASSERT_TRUE(api.empty());
  for (auto& [f, bytes] : backup) ASSERT_TRUE(api.set(f, bytes));
  api.close();
  EXPECT_EQ(board.contents(), backup);
  EXPECT_EQ(board.contents()[0].second, dib) << "binary data kept byte for byte";
}

TEST(SimClipboard, NeedsToBeOpenAndIsOpenedByOneProgramAtATime) {
  Desktop desktop;
  Clipboard& api = desktop.clipboard();
  EXPECT_FALSE(api.set_text("x"));
  EXPECT_FALSE(api.set(kFormatText, "x"));
  EXPECT_TRUE(api.formats().empty());
  ASSERT_TRUE(api.open());
  EXPECT_FALSE(api.open()) << "already open";
  EXPECT_FALSE(api.text().has_value()) << "text() must open it itself";
  api.close();
  EXPECT_TRUE(api.open());
  api.close();
}

TEST(SimClipboard, LockedByAnotherProgramUntilVirtualTimePasses) {
  Desktop desktop;
  SimClipboard& board = desktop.clipboard();
  Clock& clock = desktop.clock();
  board.set_contents_text("mine");
  board.lock_by_other_program(clock.now_ms() + 300);
  int attempts = 1;
  while (!board.open()) {
    clock.sleep_ms(10);
    ++attempts;
  }
  EXPECT_EQ(attempts, 31);
  EXPECT_EQ(board.refused_opens(), 30);
  board.close();
  board.lock_by_other_program();
  for (int i = 0; i < 52; ++i) EXPECT_FALSE(board.open());
  EXPECT_FALSE(board.text().has_value());
  EXPECT_FALSE(board.text_for_paste().has_value());
  board.unlock();
  EXPECT_EQ(board.text(), "mine");
}

TEST(SimClipboard, UnreadableFormatIsListedButGivesNoData) {
  Desktop desktop;
  SimClipboard& board = desktop.clipboard();
  board.set_contents({{kFormatBitmap, "pixels"}, {kFormatText, "caf\xe9"}});
  board.make_unreadable(kFormatBitmap);
  ASSERT_TRUE(board.open());
  EXPECT_EQ(board.formats().size(), 2u);
  EXPECT_FALSE(board.get(kFormatBitmap).has_value());
  EXPECT_EQ(board.get(kFormatText), "caf\xe9");
  board.close();
  // 8-bit text is read as Latin-1 when there is no Unicode text.
  EXPECT_EQ(board.text(), "café");
}

TEST(SimClipboard, UnicodeTextIsUtf16WithTerminator) {
  std::string bytes = SimClipboard::encode_unicode_text("a€");
  EXPECT_EQ(bytes, std::string("a\0\xac\x20\0\0", 6));
  EXPECT_EQ(SimClipboard::decode_text(kFormatUnicodeText, bytes), "a€");
  EXPECT_EQ(SimClipboard::decode_text(kFormatUnicodeText, std::string("a\0b", 3)), "a") << "odd byte dropped";
  EXPECT_EQ(SimClipboard::decode_text(kFormatUnicodeText, ""), "");
}

TEST(SimClipboard, CountsThePastesThatFoundTextSinceItWasEmptied) {
  Desktop desktop;
  SimClipboard& board = desktop.clipboard();
  ASSERT_TRUE(board.open());
  ASSERT_TRUE(board.set_text("ours"));
  EXPECT_EQ(board.completed_data_requests(), 0);
  EXPECT_FALSE(board.text_for_paste().has_value()) << "still open";
  board.close();
  EXPECT_EQ(board.completed_data_requests(), 0);
  EXPECT_EQ(board.text_for_paste(), "ours");
  EXPECT_EQ(board.text_for_paste(), "ours");
  EXPECT_EQ(board.completed_data_requests(), 2);
  ASSERT_TRUE(board.open());
  ASSERT_TRUE(board.empty());
  board.close();
  EXPECT_EQ(board.completed_data_requests(), 0);
  EXPECT_FALSE(board.text_for_paste().has_value()) << "nothing to paste";
  EXPECT_EQ(board.completed_data_requests(), 0);
  board.set_contents_text("theirs");
  EXPECT_EQ(board.text_for_paste(), "theirs");
  board.set_reports_requests(false);
  EXPECT_EQ(board.completed_data_requests(), std::nullopt);
}

}  // namespace
}  // namespace tolvan::sim
