// The tray icon's views in-process on the test display: the pictures, the menu of the
// XEmbed tray, and the StatusNotifierItem that follows the watcher (a private bus and a
// watcher of the test's own), falling back to the XEmbed tray while there is none.
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/main.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "presenters/tray_presenter.h"
#include "ui/tray_icon.h"
#include "ui/tray_menu.h"
#include "ui/tray_pictures.h"
#include "support/main_context.h"

namespace tolvan::ui {
namespace {

using testing::iterate_until;

bool gtk_ready() {
  static const bool ready = [] {
    ::setenv("NO_AT_BRIDGE", "1", 1);  // the accessibility bridge would take the session bus
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || !gtk_init_check(nullptr, nullptr)) return false;
    Gtk::Main::init_gtkmm_internals();
    return true;
  }();
  return ready;
}

#define REQUIRE_DISPLAY() \
  if (!gtk_ready()) GTEST_SKIP() << "no X display"

class FakeActions final : public TrayActions {
 public:
  std::vector<std::string> asked;
  int current = 0;
  TrayPresenter* presenter = nullptr;
  void show_main_window() override { asked.push_back("show"); }
  void set_state(int state) override {
    asked.push_back("state " + std::to_string(state));
    current = state;
    if (presenter) presenter->app_state_changed(state);
  }
  int state() const override { return current; }
  void quit() override { asked.push_back("quit"); }
  bool ctrl_held() const override { return false; }
};

TEST(TrayPictures, EveryStateAtEverySize) {
  REQUIRE_DISPLAY();
  for (int size : {16, 22, 32, 24}) {
    auto on = tray_picture(TrayPicture::Enabled, size);
    auto off = tray_picture(TrayPicture::Disabled, size);
    ASSERT_TRUE(on && off);
    EXPECT_EQ(on->get_width(), size);
    EXPECT_EQ(on->get_height(), size);
    EXPECT_TRUE(on->get_has_alpha());
    const size_t bytes = static_cast<size_t>(on->get_rowstride() * size);
    EXPECT_NE(std::string(reinterpret_cast<const char*>(on->get_pixels()), bytes),
              std::string(reinterpret_cast<const char*>(off->get_pixels()), bytes));
  }
}

// A view that only counts; the menu under test is the real one.
class CountingView final : public TrayView {
 public:
  int shown = 0;
  void show_icon(TrayPicture, const std::string&) override { ++shown; }
  void remove_icon() override {}
  void set_enabled_checked(bool) override {}
  void pop_up_menu(int, uint32_t) override {}
};

TEST(TrayMenu, ItemsWithMnemonicsAndTheirActions) {
  REQUIRE_DISPLAY();
  CountingView view;
  FakeActions actions;
  TrayPresenter presenter(view, actions);
  TrayMenu menu(presenter);
  std::vector<std::string> labels;
  std::vector<GtkWidget*> items;
  GList* children = gtk_container_get_children(GTK_CONTAINER(menu.widget().gobj()));
  for (GList* l = children; l; l = l->next) {
    GtkWidget* w = GTK_WIDGET(l->data);
    items.push_back(w);
    if (GTK_IS_SEPARATOR_MENU_ITEM(w)) {
      labels.push_back("--");
    } else {
      ASSERT_TRUE(gtk_menu_item_get_use_underline(GTK_MENU_ITEM(w)));
      labels.push_back(std::string(GTK_IS_CHECK_MENU_ITEM(w) ? "[x]" : "") +
                       gtk_menu_item_get_label(GTK_MENU_ITEM(w)));
    }
  }
  g_list_free(children);
  EXPECT_EQ(labels, (std::vector<std::string>{"_Open Tolvan", "--", "[x]_Enabled", "--", "E_xit"}));
  ASSERT_EQ(items.size(), 5u);
  GtkCheckMenuItem* enabled = GTK_CHECK_MENU_ITEM(items[2]);
  EXPECT_TRUE(gtk_check_menu_item_get_active(enabled));

  gtk_menu_item_activate(GTK_MENU_ITEM(items[0]));
  gtk_menu_item_activate(GTK_MENU_ITEM(items[2]));  // the user unticks "Enabled"
  gtk_menu_item_activate(GTK_MENU_ITEM(items[4]));
  EXPECT_EQ(actions.asked, (std::vector<std::string>{"show", "state 1", "quit"}));
  EXPECT_FALSE(gtk_check_menu_item_get_active(enabled));
  menu.set_enabled_checked(true);  // the state came back by other means; nothing is asked
  EXPECT_TRUE(gtk_check_menu_item_get_active(enabled));
  EXPECT_EQ(actions.asked.size(), 3u);
}

// A StatusNotifierWatcher of the test's own, on its own connection to the test's bus.
class Watcher {
 public:
  std::vector<std::string> registered;

  explicit Watcher(const char* address) {
    bus_ = g_dbus_connection_new_for_address_sync(
        address,
        GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                             G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    GDBusNodeInfo* info = g_dbus_node_info_new_for_xml(
        "<node><interface name='org.kde.StatusNotifierWatcher'>"
        "<method name='RegisterStatusNotifierItem'><arg type='s' direction='in'/></method>"
        "</interface></node>",
        nullptr);
    static const GDBusInterfaceVTable vtable = {
        [](GDBusConnection*, const char*, const char*, const char*, const char*, GVariant* params,
           GDBusMethodInvocation* invocation, gpointer self) {
          const char* service = nullptr;
          g_variant_get(params, "(&s)", &service);
          static_cast<Watcher*>(self)->registered.push_back(service);
          g_dbus_method_invocation_return_value(invocation, nullptr);
        },
        nullptr, nullptr, {}};
    g_dbus_connection_register_object(bus_, "/StatusNotifierWatcher", info->interfaces[0], &vtable,
                                      this, nullptr, nullptr);
    g_dbus_node_info_unref(info);
    owner_ = g_bus_own_name_on_connection(bus_, "org.kde.StatusNotifierWatcher",
                                          G_BUS_NAME_OWNER_FLAGS_NONE, nullptr, nullptr, nullptr,
                                          nullptr);
  }
  ~Watcher() {
    g_bus_unown_name(owner_);
    g_dbus_connection_close_sync(bus_, nullptr, nullptr);
    g_object_unref(bus_);
  }

  // The item's property, read as a host reads it.
  GVariant* item_property(const std::string& service, const char* name) {
    GVariant* value = nullptr;
    bool done = false;
    struct Call {
      GVariant** value;
      bool* done;
    } call{&value, &done};
    g_dbus_connection_call(
        bus_, service.c_str(), "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
        g_variant_new("(ss)", "org.kde.StatusNotifierItem", name), G_VARIANT_TYPE("(v)"),
        G_DBUS_CALL_FLAGS_NONE, 2000, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
          auto* c = static_cast<Call*>(data);
          GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
          if (reply) {
            g_variant_get(reply, "(v)", c->value);
            g_variant_unref(reply);
          }
          *c->done = true;
        },
        &call);
    iterate_until([&] { return done; });
    return value;
  }

  std::string tooltip(const std::string& service) {
    GVariant* value = item_property(service, "ToolTip");
    if (!value) return "(none)";
    const char* title = nullptr;
    g_variant_get_child(value, 2, "&s", &title);
    std::string text = title;
    g_variant_unref(value);
    return text;
  }

 private:
  GDBusConnection* bus_;
  unsigned owner_;
};

TEST(TrayIcon, FollowsTheWatcherAndFallsBackToXEmbedWithoutOne) {
  REQUIRE_DISPLAY();
  GTestDBus* bus = g_test_dbus_new(G_TEST_DBUS_NONE);
  g_test_dbus_up(bus);
  {
    std::vector<TrayIcon::Backend> in_tray;
    TrayIcon tray([&](TrayIcon::Backend b) { in_tray.push_back(b); });
    FakeActions actions;
    TrayPresenter presenter(tray, actions);
    actions.presenter = &presenter;
    tray.attach(presenter);
    presenter.set_visible(true);
    ASSERT_TRUE(iterate_until([&] { return tray.backend() == TrayIcon::Backend::XEmbed; }));

    const std::string service = "org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-1";
    {
      Watcher watcher(g_test_dbus_get_bus_address(bus));
      ASSERT_TRUE(iterate_until([&] { return tray.backend() == TrayIcon::Backend::StatusNotifier; }));
      EXPECT_EQ(watcher.registered, std::vector<std::string>{service});
      EXPECT_EQ(in_tray.back(), TrayIcon::Backend::StatusNotifier);
      EXPECT_EQ(watcher.tooltip(service), "Tolvan - Enabled");
      actions.set_state(1);
      EXPECT_EQ(watcher.tooltip(service), "Tolvan - Disabled");
      GVariant* status = watcher.item_property(service, "Status");
      ASSERT_TRUE(status);
      EXPECT_STREQ(g_variant_get_string(status, nullptr), "Active");
      g_variant_unref(status);
    }
    // The tray went away: the icon goes to the XEmbed tray until a watcher comes back, and
    // registers again with the new one, in the state it had.
    ASSERT_TRUE(iterate_until([&] { return tray.backend() == TrayIcon::Backend::XEmbed; }));
    Watcher restarted(g_test_dbus_get_bus_address(bus));
    ASSERT_TRUE(iterate_until([&] { return tray.backend() == TrayIcon::Backend::StatusNotifier; }));
    EXPECT_EQ(restarted.registered, std::vector<std::string>{service});
    EXPECT_EQ(restarted.tooltip(service), "Tolvan - Disabled");
    tray.detach();
  }
  g_test_dbus_down(bus);
  g_object_unref(bus);
}

}  // namespace
}  // namespace tolvan::ui
