// The file and folder dialogs as GTK shows them where there is no desktop portal, answered
// by the test: where they start, the extension a save adds (and the question it then
// needs), and the folder behind a chosen link.
#include <gtkmm/filechooserdialog.h>

#include <unistd.h>

#include <filesystem>

#include "gtk_test_support.h"
#include "support/recording_prompts.h"
#include "support/temp_dir.h"
#include "ui/native_file_dialogs.h"

namespace tolvan::ui {
namespace {

using tolvan::testing::RecordingPrompts;
using tolvan::testing::TempDir;
using tolvan::testing::write_file;

// Calls `handle` each time a file dialog shows while it lives (a dialog shown again counts
// again).
class FileDialogWatcher {
 public:
  explicit FileDialogWatcher(std::function<void(Gtk::FileChooserDialog&)> handle)
      : handle_(std::move(handle)) {
    poll_ = Glib::signal_timeout().connect(
        [this] {
          for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
            auto* dialog = dynamic_cast<Gtk::FileChooserDialog*>(window);
            if (!dialog || !dialog->get_mapped() || dialog->get_data(kSeen)) continue;
            dialog->set_data(kSeen, this);
            maps_.push_back(dialog->signal_map().connect([this, dialog] { shown(*dialog); }));
            shown(*dialog);
          }
          return true;
        },
        10);
  }
  ~FileDialogWatcher() {
    poll_.disconnect();
    for (auto& connection : maps_) connection.disconnect();
  }
  int seen = 0;

 private:
  void shown(Gtk::FileChooserDialog& dialog) {
    ++seen;
    // Let the dialog finish loading its folder before it is answered.
    Glib::signal_timeout().connect_once([this, &dialog] { handle_(dialog); }, 300);
  }

  static constexpr const char* kSeen = "tolvan-test-seen";
  std::function<void(Gtk::FileChooserDialog&)> handle_;
  sigc::connection poll_;
  std::vector<sigc::connection> maps_;
};

class NativeFileDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { TOLVAN_NEED_DISPLAY(); }
  TempDir dir;
  RecordingPrompts prompts;
  NativeFileDialogs dialogs{prompts};
};

TEST_F(NativeFileDialogsTest, AnOpenDialogStartsOnTheGivenFileAndGivesTheChosenOne) {
  const std::string file = dir.file("abbreviations.tlv");
  write_file(file, "x");
  OpenFileRequest request{"Import", {{"Tolvan abbreviation files", {"*.tlv"}}}, file};
  {
    std::string preselected;
    FileDialogWatcher watcher([&](Gtk::FileChooserDialog& dialog) {
      EXPECT_EQ(dialog.get_title(), "Import");
      preselected = dialog.get_filename();
      dialog.response(Gtk::RESPONSE_ACCEPT);
    });
    EXPECT_EQ(dialogs.browse_for_file(request), file);
    EXPECT_EQ(preselected, file);
  }

  FileDialogWatcher cancel([](Gtk::FileChooserDialog& dialog) {
    dialog.response(Gtk::RESPONSE_CANCEL);
  });
  EXPECT_EQ(dialogs.browse_for_file(request), std::nullopt);
}

TEST_F(NativeFileDialogsTest, ASaveDialogStartsInTheGivenFolderProposingTheGivenName) {
  std::string folder, name;
  FileDialogWatcher watcher([&](Gtk::FileChooserDialog& dialog) {
    folder = dialog.get_current_folder();
    name = dialog.get_current_name();
    EXPECT_TRUE(dialog.get_do_overwrite_confirmation());
    dialog.response(Gtk::RESPONSE_CANCEL);
  });
  SaveFileRequest request{"Export", {}, dir.file("my export.tlv"), "", "tlv"};
  EXPECT_EQ(dialogs.browse_for_save_file_name(request), std::nullopt);
  EXPECT_EQ(folder, dir.path());
  EXPECT_EQ(name, "my export.tlv");

  request = {"Export", {}, "", dir.path(), "tlv"};  // no name, a folder to start in
  EXPECT_EQ(dialogs.browse_for_save_file_name(request), std::nullopt);
  EXPECT_EQ(folder, dir.path());
  EXPECT_EQ(name, "");
}

TEST_F(NativeFileDialogsTest, AChosenLinkToAFolderGivesTheFolderItself) {
  namespace fs = std::filesystem;
  fs::create_directory(dir.file("real"));
  ASSERT_EQ(::symlink(dir.file("real").c_str(), dir.file("link").c_str()), 0);
  FileDialogWatcher watcher([&](Gtk::FileChooserDialog& dialog) {
    dialog.select_filename(dir.file("link"));
    dialog.response(Gtk::RESPONSE_ACCEPT);
  });
  EXPECT_EQ(dialogs.browse_for_folder("Backup folder", dir.path()),
            fs::canonical(dir.file("real")).string());
}

}  // namespace
}  // namespace tolvan::ui
