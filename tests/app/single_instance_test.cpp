// One Tolvan per data folder: the lock decides among racing starts, and the hand-over
// reaches the running Tolvan over the private socket and over the session bus.
#include "app/single_instance.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/handover_bus.h"
#include "app/instance_names.h"
#include "support/main_context.h"
#include "support/temp_dir.h"

namespace tolvan {
namespace {

using namespace std::chrono_literals;
using testing::iterate_until;
using testing::TempDir;

TEST(InstanceLock, OfRacingStartsExactlyOneRuns) {
  TempDir dir;
  const std::string data = dir.file("data");  // made by whoever comes first
  constexpr int kStarts = 8;
  int results[2], release[2];
  ASSERT_EQ(::pipe(results), 0);
  ASSERT_EQ(::pipe(release), 0);
  std::vector<pid_t> children;
  for (int i = 0; i < kStarts; ++i) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      // Each start tries once and keeps what it got until every start has tried.
      ::close(release[1]);
      SingleInstance instance(data);
      char won = instance.claim() ? '1' : '0';
      (void)!::write(results[1], &won, 1);
      char c;
      (void)!::read(release[0], &c, 1);
      ::_exit(0);
    }
    children.push_back(pid);
  }
  std::string answers;
  while (answers.size() < kStarts) {
    char c;
    ASSERT_EQ(::read(results[0], &c, 1), 1);
    answers += c;
  }
  ::close(release[1]);  // every child's read returns now
  for (pid_t pid : children) ::waitpid(pid, nullptr, 0);
  EXPECT_EQ(std::count(answers.begin(), answers.end(), '1'), 1) << answers;

  // The lock goes with the process that held it.
  SingleInstance after(data);
  EXPECT_TRUE(after.claim());
  SingleInstance another(data);
  EXPECT_FALSE(another.claim());
}

TEST(InstanceLock, FolderThatCannotBeMadeLetsTheStartRunAndSaysWhy) {
  TempDir dir;
  testing::write_file(dir.file("file"), "x");
  SingleInstance instance(dir.file("file/data"));
  EXPECT_TRUE(instance.claim());
  EXPECT_NE(instance.lock_error().find("Unable to create the data folder"), std::string::npos);
}

TEST(InstanceNames, EveryDataFolderHasItsOwn) {
  EXPECT_NE(instance_application_id("/a"), instance_application_id("/b"));
  EXPECT_TRUE(g_application_id_is_valid(instance_application_id("/home/u/.config/tolvan").c_str()));
  EXPECT_EQ(application_object_path("org.tolvan.Tolvan.dabc-1"), "/org/tolvan/Tolvan/dabc_1");
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  std::string saved_value = saved ? saved : "";
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(handover_socket_path("/home/u/.config/tolvan"), "/home/u/.config/tolvan/instance.sock");
  // A data folder too deep for a socket address gets a private folder of its own.
  std::string deep = "/home/u/" + std::string(120, 'd');
  std::string path = handover_socket_path(deep);
  EXPECT_EQ(path.rfind("/tmp/tolvan-" + std::to_string(::getuid()) + "/tolvan-", 0), 0u) << path;
  struct stat st {};
  ASSERT_EQ(::stat(std::filesystem::path(path).parent_path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  if (saved) ::setenv("XDG_RUNTIME_DIR", saved_value.c_str(), 1);
}

struct Received {
  std::vector<Handover> messages;
  HandoverListener::Receiver receiver() {
    return [this](const Handover& h) { messages.push_back(h); };
  }
};

TEST(HandoverSocket, DeliversToTheListenerAndOnlyWhatDecodes) {
  TempDir dir;
  const std::string path = dir.file("instance.sock");
  testing::write_file(path, "left behind");  // a socket file of a Tolvan that crashed
  Received got;
  auto listener = HandoverListener::listen(path, got.receiver());
  ASSERT_TRUE(listener) << listener.error();
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_TRUE(S_ISSOCK(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  EXPECT_TRUE(send_handover_over_socket(path, encode_handover({"/w", "a.tlv"})));
  EXPECT_TRUE(send_handover_over_socket(path, "not a hand-over"));
  EXPECT_TRUE(send_handover_over_socket(path, std::string(kHandoverMaxBytes + 10, 'x')));
  EXPECT_TRUE(send_handover_over_socket(path, encode_handover({"/w", std::nullopt})));
  ASSERT_TRUE(iterate_until([&] { return got.messages.size() == 2; }));
  for (int i = 0; i < 50; ++i) g_main_context_iteration(nullptr, FALSE);
  ASSERT_EQ(got.messages.size(), 2u);
  EXPECT_EQ(got.messages[0], (Handover{"/w", "a.tlv"}));
  EXPECT_EQ(got.messages[1], (Handover{"/w", std::nullopt}));

  listener->reset();
  EXPECT_FALSE(std::filesystem::exists(path)) << "the listener takes its socket with it";
  EXPECT_FALSE(send_handover_over_socket(path, encode_handover({"/w", std::nullopt})));
}

TEST(SingleInstance, SecondStartWaitsForTheFirstToListen) {
  TempDir dir;
  const std::string data = dir.file("data");
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);  // no bus here
  SingleInstance first(data);
  ASSERT_TRUE(first.claim());
  bool delivered = false, done = false;
  std::thread second([&] {
    SingleInstance instance(data);
    delivered = instance.hand_over({"/w", "late.tlv"}, 3000ms);
    done = true;
  });
  std::this_thread::sleep_for(300ms);  // the first is still starting
  Received got;
  ASSERT_TRUE(first.listen(got.receiver()));
  EXPECT_TRUE(iterate_until([&] { return done && !got.messages.empty(); }));
  second.join();
  EXPECT_TRUE(delivered);
  ASSERT_EQ(got.messages.size(), 1u);
  EXPECT_EQ(got.messages[0].import_path, "late.tlv");

  // Nobody listening: the second start gives up within its budget.
  first.stop_listening();
  SingleInstance lone(data);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(lone.hand_over({"/w", std::nullopt}, 200ms));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

// The session bus side, on a private bus of this test.
TEST(HandoverBus, RunningApplicationTakesTheMessageThroughItsAction) {
  GTestDBus* bus = g_test_dbus_new(G_TEST_DBUS_NONE);
  g_test_dbus_up(bus);
  const std::string id = instance_application_id("/data/folder");
  EXPECT_EQ(send_handover_over_bus(id, encode_handover({"/w", std::nullopt})), BusDelivery::NoOwner);

  GApplication* app = g_application_new(id.c_str(), G_APPLICATION_DEFAULT_FLAGS);
  Received got;
  add_handover_action(app, got.receiver());
  ASSERT_TRUE(g_application_register(app, nullptr, nullptr));
  ASSERT_FALSE(g_application_get_is_remote(app));

  BusDelivery delivered = BusDelivery::NoBus, garbage = BusDelivery::NoBus;
  std::thread second([&] {
    delivered = send_handover_over_bus(id, encode_handover({"/w", "b.tlv"}));
    garbage = send_handover_over_bus(id, "tolvan-handover 1");
  });
  EXPECT_TRUE(iterate_until([&] { return garbage != BusDelivery::NoBus; }));
  second.join();
  EXPECT_EQ(delivered, BusDelivery::Delivered);
  EXPECT_EQ(garbage, BusDelivery::Delivered) << "the call arrives; the message is dropped";
  for (int i = 0; i < 50; ++i) g_main_context_iteration(nullptr, FALSE);
  ASSERT_EQ(got.messages.size(), 1u);
  EXPECT_EQ(got.messages[0], (Handover{"/w", "b.tlv"}));

  g_object_unref(app);
  g_test_dbus_down(bus);
  g_object_unref(bus);
}

}  // namespace
}  // namespace tolvan
