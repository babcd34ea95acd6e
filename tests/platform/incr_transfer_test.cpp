// The server-free pieces of a selection transfer: property items as bytes, the atoms of a
// TARGETS answer, INCR reassembly with its bounds, and INCR chunking.
#include "platform/x11/incr_transfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvan::x11 {
namespace {

TEST(IncrTransfer, PropertyItemsBecomeLittleEndianBytes) {
  const char text[] = "ab\0c";
  EXPECT_EQ(property_bytes(8, text, 4), std::string("ab\0c", 4));
  const unsigned short shorts[] = {0x0102, 0xFFFE};
  EXPECT_EQ(property_bytes(16, shorts, 2), std::string("\x02\x01\xFE\xFF", 4));
  // Xlib widens 32-bit items to long; only the low 32 bits are data.
  const unsigned long longs[] = {0x11223344ul, 0xAABBCCDDul};
  EXPECT_EQ(property_bytes(32, longs, 2), std::string("\x44\x33\x22\x11\xDD\xCC\xBB\xAA", 8));
  EXPECT_EQ(property_bytes(8, nullptr, 0), "");
  EXPECT_EQ(property_bytes(7, text, 4), std::nullopt);
  EXPECT_EQ(property_bytes(0, text, 4), std::nullopt);
}

TEST(IncrTransfer, TargetsAnswerAtomsRoundTripAndHostileOnesAreTamed) {
  const unsigned long atoms[] = {317, 1, 0x7FFFFFFFul};
  const std::string bytes = *property_bytes(32, atoms, 3);
  EXPECT_EQ(atoms_of_bytes(bytes, 100), (std::vector<unsigned long>{317, 1, 0x7FFFFFFFul}));
  EXPECT_EQ(atoms_of_bytes(bytes + "\x05\x06", 100), (std::vector<unsigned long>{317, 1, 0x7FFFFFFFul}))
      << "a ragged end is ignored";
  EXPECT_EQ(atoms_of_bytes(bytes, 2), (std::vector<unsigned long>{317, 1}));
  EXPECT_EQ(atoms_of_bytes(std::string(8, '\0') + bytes.substr(0, 4), 100), (std::vector<unsigned long>{317}))
      << "None is no target";
  EXPECT_TRUE(atoms_of_bytes("", 100).empty());
  EXPECT_TRUE(atoms_of_bytes("abc", 100).empty());
}

TEST(IncrTransfer, ChunksAreJoinedUntilTheEmptyOne) {
  IncrReceiver in(10);
  EXPECT_EQ(in.add("hello "), IncrReceiver::Step::More);
  EXPECT_EQ(in.add(std::string("\0wor", 4)), IncrReceiver::Step::More);
  EXPECT_FALSE(in.done());
  EXPECT_EQ(in.add("ld"), IncrReceiver::Step::More);
  EXPECT_EQ(in.add(""), IncrReceiver::Step::Done);
  EXPECT_TRUE(in.done());
  EXPECT_EQ(in.add("late"), IncrReceiver::Step::Done) << "nothing after the end";
  EXPECT_EQ(in.take(), std::string("hello \0world", 12));
}

TEST(IncrTransfer, TheAnnouncedSizeIsOnlyAHint) {
  IncrReceiver liar(size_t{1} << 40);  // a claimed terabyte reserves nothing like it
  EXPECT_EQ(liar.add("small"), IncrReceiver::Step::More);
  EXPECT_EQ(liar.add(""), IncrReceiver::Step::Done);
  EXPECT_EQ(liar.take(), "small");
  IncrReceiver modest(1);
  EXPECT_EQ(modest.add(std::string(1000, 'x')), IncrReceiver::Step::More) << "more than announced is fine";
  EXPECT_EQ(modest.add(""), IncrReceiver::Step::Done);
  EXPECT_EQ(modest.take().size(), 1000u);
}

TEST(IncrTransfer, DataPastTheLimitAbandonsTheTransfer) {
  IncrReceiver in(0, 10);
  EXPECT_EQ(in.add("12345"), IncrReceiver::Step::More);
  EXPECT_EQ(in.add("67890"), IncrReceiver::Step::More) << "exactly the limit is allowed";
  EXPECT_EQ(in.add("1"), IncrReceiver::Step::TooLarge);
  EXPECT_EQ(in.add(""), IncrReceiver::Step::TooLarge) << "an abandoned transfer stays abandoned";
  EXPECT_FALSE(in.done());
  EXPECT_EQ(in.take(), "");
}

TEST(IncrTransfer, OutgoingDataIsCutIntoChunksThenAnEmptyOne) {
  auto data = std::make_shared<const std::string>("abcdefghij");
  IncrSender out(data, 4);
  EXPECT_EQ(out.size(), 10u);
  std::vector<std::string> chunks;
  while (!out.finished()) chunks.emplace_back(out.next_chunk());
  EXPECT_EQ(chunks, (std::vector<std::string>{"abcd", "efgh", "ij", ""}));

  IncrSender exact(std::make_shared<const std::string>("abcd"), 2);
  chunks.clear();
  while (!exact.finished()) chunks.emplace_back(exact.next_chunk());
  EXPECT_EQ(chunks, (std::vector<std::string>{"ab", "cd", ""}));

  IncrSender zero_chunk(std::make_shared<const std::string>("xy"), 0);  // still makes progress
  EXPECT_EQ(zero_chunk.next_chunk(), "x");
  IncrSender nothing(nullptr, 4);
  EXPECT_EQ(nothing.next_chunk(), "");
  EXPECT_TRUE(nothing.finished());
}

TEST(IncrTransfer, TheSendersCopyOutlivesTheClipboardsData) {
  auto data = std::make_shared<const std::string>("keep me");
  IncrSender out(data, 100);
  data.reset();  // the clipboard dropped it (another program took the selection)
  EXPECT_EQ(out.next_chunk(), "keep me");
}

}  // namespace
}  // namespace tolvan::x11
