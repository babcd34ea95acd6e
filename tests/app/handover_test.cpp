// The hand-over message between a second start and the running Tolvan: what is sent comes
// back the same, and anything else is refused whole.
#include "app/handover.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvan {
namespace {

using namespace std::string_literals;

TEST(HandoverMessage, RoundTripsWhateverAPathMayHold) {
  for (const Handover& h : {Handover{"/home/u", std::nullopt}, Handover{"", "x.tlv"},
                            Handover{"/", "/a b/\xC3\xA9\n\t\"%s.textexpander"},
                            Handover{"/w", std::string(kHandoverMaxValueBytes, 'p')}}) {
    auto decoded = decode_handover(encode_handover(h));
    ASSERT_TRUE(decoded) << decoded.error();
    EXPECT_EQ(*decoded, h);
  }
  EXPECT_EQ(encode_handover({"/w", "f"}), "tolvan-handover 1\0show\0001\0cwd\0/w\0import\0f\0"s);
}

TEST(HandoverMessage, FieldsMayComeInAnyOrder) {
  auto h = decode_handover("tolvan-handover 1\0import\0f\0cwd\0/w\0show\0001\0"s);
  ASSERT_TRUE(h);
  EXPECT_EQ(*h, (Handover{"/w", "f"}));
}

TEST(HandoverMessage, AnythingElseIsRefusedWhole) {
  const std::string head = "tolvan-handover 1\0"s;
  const std::string good = head + "show\0001\0cwd\0/w\0"s;
  for (const std::string& bad : {
           ""s, "tolvan-handover 1"s, "tolvan-handover 2\0show\0001\0cwd\0/w\0"s,
           head,                                       // no fields
           head + "show\0001\0"s,                      // no working folder
           head + "cwd\0/w\0"s,                        // no show
           good + "import\0"s,                         // ends inside a field
           good + "import"s,                           // ends inside a name
           good + "import\0\0"s,                       // empty path
           good + "show\0001\0"s,                      // repeated
           good + "import\0a\0import\0b\0"s,           // two imports
           good + "extra\0x\0"s,                       // unknown field
           head + "show\0yes\0cwd\0/w\0"s,             // show must be 1
           head + "show\0001\0cwd\0relative\0"s,       // a working folder is absolute
           head + "show\0001\0cwd\0/"s + std::string(kHandoverMaxValueBytes, 'd') + "\0"s,
           good + "import\0"s + std::string(kHandoverMaxBytes, 'p') + "\0"s,
       }) {
    EXPECT_FALSE(decode_handover(bad)) << testing::PrintToString(bad.substr(0, 60));
  }
}

TEST(HandoverMessage, ImportFileFollowsTheCommandLineRule) {
  EXPECT_EQ(handover_import_file({"/home/u", std::nullopt}), std::nullopt);
  EXPECT_EQ(handover_import_file({"/home/u", "set.tlv"}), "/home/u/set.tlv");
  EXPECT_EQ(handover_import_file({"/home/u/", "sub/set.tlv"}), "/home/u/sub/set.tlv");
  EXPECT_EQ(handover_import_file({"/home/u", "/abs/set.tlv"}), "/abs/set.tlv");
  EXPECT_EQ(handover_import_file({"", "set.tlv"}), std::nullopt) << "nothing to resolve against";
}

}  // namespace
}  // namespace tolvan
