// The abbreviation menu on a real display: its entries and access keys, its place at the
// caret or the pointer, choosing an entry (the copy reaches the output only after the menu
// has let go of the keyboard), and a menu opened while another client holds the keyboard
// (as a global hotkey's key does) that appears as soon as it is released, and a closed menu
// taken apart once the main loop is idle.
#include <gdkmm/seat.h>
#include <gtkmm/label.h>
#include <gtkmm/menuitem.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gtk_test_support.h"
#include "keyboard_held_elsewhere.h"
#include "support/random_library.h"
#include "ui/abbrev_menu.h"

namespace tolvan::ui {
namespace {

using namespace std::chrono_literals;
using testing::turn_until;
using tolvan::testing::add_abbrev;
using tolvan::testing::add_folder;
using tolvan::testing::add_top;

class FakeWindows final : public Windows {
 public:
  std::optional<Caret> caret_now;
  std::vector<WindowId> brought;
  WindowId foreground() override { return 7; }
  std::string class_name(WindowId) override { return "field"; }
  std::optional<Caret> caret() override { return caret_now; }
  bool bring_to_front(WindowId window) override {
    brought.push_back(window);
    return true;
  }
  bool focus_is_secret() override { return false; }
};

Gtk::Label* label_of(Gtk::Widget& item) { return testing::find_widget<Gtk::Label>(item); }

std::vector<std::string> labels(Gtk::Menu& menu) {
  std::vector<std::string> out;
  for (Gtk::Widget* child : menu.get_children()) out.push_back(label_of(*child)->get_label());
  return out;
}

std::pair<int, int> origin(Gtk::Menu& menu) {
  int x = 0, y = 0;
  menu.get_toplevel()->get_window()->get_origin(x, y);
  return {x, y};
}

struct Scene {
  Library library;
  Settings prefs;
  FakeWindows windows;
  std::vector<std::unique_ptr<Abbreviation>> output;
  std::vector<size_t> grabs_when_output;  // whether GTK still held a grab then
  AbbrevMenu menu{library, prefs};
  Folder* mail;

  Scene() {
    Folder& top = add_top(library.main_list);
    mail = &add_folder(top, "_Mail");
    add_folder(top, "Empty");
    Abbreviation& sig = add_abbrev(*mail, {"sig", "s_g"});
    sig.description = "Signature";
    sig.expansion() = "Best regards";
    Abbreviation& addr = add_abbrev(*mail, {"addr"});
    addr.description = "address";
    Folder& inner = add_folder(*mail, "in_ner");
    add_abbrev(inner, {"x"}).description = "deep";
    prefs.set("acm_placement", "keyboard");
    menu.attach(windows, [this](std::unique_ptr<Abbreviation> a) {
      grabs_when_output.push_back(gtk_grab_get_current() != nullptr);
      output.push_back(std::move(a));
    });
  }
  bool mapped() { return menu.shown() && menu.shown()->get_mapped(); }
};

TEST(AbbrevMenuView, AllFoldersAtTheCaretWithAccessKeysOnlyAtTheTop) {
  TOLVAN_NEED_DISPLAY();
  Scene s;
  s.windows.caret_now = Caret{7, {200, 280, 201, 300}, true};
  s.menu.show_all_folders();
  ASSERT_TRUE(turn_until([&] { return s.mapped(); }));
  Gtk::Menu& menu = *s.menu.shown();
  EXPECT_EQ(labels(menu), std::vector<std::string>{"_Mail"});
  Gtk::Label* top = label_of(*menu.get_children()[0]);
  EXPECT_TRUE(top->get_use_underline());
  EXPECT_EQ(top->get_mnemonic_keyval(), GDK_KEY_m);
  EXPECT_EQ(origin(menu), std::make_pair(200, 300));

  // The submenu is filled when its folder is reached.
  auto* mail = dynamic_cast<Gtk::MenuItem*>(menu.get_children()[0]);
  Gtk::Menu* sub = mail->get_submenu();
  EXPECT_TRUE(sub->get_children().empty());
  menu.select_item(*mail);
  EXPECT_EQ(labels(*sub), (std::vector<std::string>{"in_ner", "address (addr)",
                                                    "Signature (sig|s_g)"}));
  for (Gtk::Widget* child : sub->get_children()) EXPECT_FALSE(label_of(*child)->get_use_underline());
  s.menu.destroy();
}

TEST(AbbrevMenuView, ChoosingOutputsACopyAfterTheMenuLetGoOfTheKeyboard) {
  TOLVAN_NEED_DISPLAY();
  Scene s;
  s.menu.show_folder_menu(*s.mail);
  ASSERT_TRUE(turn_until([&] { return s.mapped(); }));
  Gtk::Menu& menu = *s.menu.shown();
  // A folder's own menu: its abbreviations, not its subfolders.
  EXPECT_EQ(labels(menu), (std::vector<std::string>{"address (addr)", "Signature (sig|s_g)"}));
  auto* signature = dynamic_cast<Gtk::MenuItem*>(menu.get_children()[1]);
  menu.select_item(*signature);
  menu.activate_item(*signature, true);
  EXPECT_FALSE(menu.get_visible());
  ASSERT_TRUE(turn_until([&] { return !s.output.empty(); }));
  EXPECT_EQ(s.output[0]->abbreviations, (std::vector<std::string>{"sig", "s_g"}));
  EXPECT_EQ(s.output[0]->expansion(), "Best regards");
  EXPECT_NE(s.output[0].get(), s.mail->abbreviations.front().get());
  EXPECT_EQ(s.grabs_when_output, std::vector<size_t>{0});
  EXPECT_EQ(s.windows.brought, std::vector<WindowId>{7});
}

TEST(AbbrevMenuView, PointerWithoutACaretAndMovedToFitTheScreen) {
  TOLVAN_NEED_DISPLAY();
  Scene s;
  auto display = Gdk::Display::get_default();
  const int width = display->get_default_screen()->get_width();
  const int height = display->get_default_screen()->get_height();
  display->get_default_seat()->get_pointer()->warp(display->get_default_screen(), width - 3, height - 3);
  testing::settle();
  s.menu.show_folder_menu(*s.mail);
  ASSERT_TRUE(turn_until([&] { return s.mapped(); }));
  Gtk::Widget* toplevel = s.menu.shown()->get_toplevel();
  auto [x, y] = origin(*s.menu.shown());
  EXPECT_EQ(x + toplevel->get_allocated_width(), width);
  EXPECT_EQ(y + toplevel->get_allocated_height(), height - 3);
  s.menu.destroy();
}

TEST(AbbrevMenuView, AHugeFolderOpensAsPartsFilledWhenReached) {
  TOLVAN_NEED_DISPLAY();
  Scene s;
  for (int i = 0; i < 450; ++i) {
    char description[16];
    std::snprintf(description, sizeof description, "n%03d", i);
    add_abbrev(*s.mail, {"x"}).description = description;
  }
  s.menu.show_folder_menu(*s.mail);
  ASSERT_TRUE(turn_until([&] { return s.mapped(); }));
  Gtk::Menu& menu = *s.menu.shown();
  EXPECT_EQ(labels(menu), (std::vector<std::string>{"address (addr) \u2026 n198 (x)",
                                                    "n199 (x) \u2026 n398 (x)",
                                                    "n399 (x) \u2026 Signature (sig|s_g)"}));
  auto* last = dynamic_cast<Gtk::MenuItem*>(menu.get_children()[2]);
  menu.select_item(*last);
  Gtk::Menu* part = last->get_submenu();
  ASSERT_EQ(part->get_children().size(), 52u);
  EXPECT_EQ(label_of(*part->get_children()[51])->get_label(), "Signature (sig|s_g)");
  s.menu.destroy();
}

TEST(AbbrevMenuView, AppearsOnceTheKeyboardHeldElsewhereIsReleased) {
  TOLVAN_NEED_DISPLAY();
  Scene s;
  testing::KeyboardHeldElsewhere other;
  ASSERT_TRUE(other.held());
  s.menu.show_all_folders();
  testing::turn_for(200ms);
  EXPECT_FALSE(s.mapped());
  other.release();
  EXPECT_TRUE(turn_until([&] { return s.mapped(); }));
  s.menu.destroy();
}

TEST(AbbrevMenuView, AClosedMenuIsTakenApartOnceIdleAndOpensAgain) {
  TOLVAN_NEED_DISPLAY();
  auto s = std::make_unique<Scene>();
  s->menu.show_folder_menu(*s->mail);
  ASSERT_TRUE(turn_until([&] { return s->mapped(); }));
  s->menu.shown()->popdown();
  EXPECT_TRUE(turn_until([&] { return s->menu.shown() == nullptr; }));
  s->menu.show_folder_menu(*s->mail);
  ASSERT_TRUE(turn_until([&] { return s->mapped(); }));
  EXPECT_EQ(labels(*s->menu.shown()), (std::vector<std::string>{"address (addr)", "Signature (sig|s_g)"}));
  // Gone while shown: nothing of it is left for the main loop to do.
  s.reset();
  testing::turn_for(100ms);
}

TEST(AbbrevMenuView, FreeingTheListClosesTheMenu) {
  TOLVAN_NEED_DISPLAY();
  Scene s;
  s.menu.show_all_folders();
  ASSERT_TRUE(turn_until([&] { return s.mapped(); }));
  s.menu.main_list_freeing();
  EXPECT_TRUE(turn_until([&] { return s.menu.shown() == nullptr; }));
}

}  // namespace
}  // namespace tolvan::ui
