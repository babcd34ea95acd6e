#include "ui/status_notifier_item.h"

#include <gio/gio.h>
#include <unistd.h>

#include <vector>

#include "ui/tray_pictures.h"

namespace tolvan::ui {
namespace {

constexpr const char* kWatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr const char* kMenuInterface = "com.canonical.dbusmenu";
constexpr const char* kMenuPath = "/MenuBar";

constexpr const char* kItemXml = R"xml(<node>
 <interface name="org.kde.StatusNotifierItem">
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconThemePath" type="s" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="OverlayIconName" type="s" access="read"/>
  <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionIconName" type="s" access="read"/>
  <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionMovieName" type="s" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <property name="Menu" type="o" access="read"/>
  <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
  <signal name="NewTitle"/>
  <signal name="NewIcon"/>
  <signal name="NewAttentionIcon"/>
  <signal name="NewOverlayIcon"/>
  <signal name="NewToolTip"/>
  <signal name="NewStatus"><arg name="status" type="s"/></signal>
 </interface>
</node>)xml";

constexpr const char* kMenuXml = R"xml(<node>
 <interface name="com.canonical.dbusmenu">
  <property name="Version" type="u" access="read"/>
  <property name="TextDirection" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="IconThemePath" type="as" access="read"/>
  <method name="GetLayout">
   <arg type="i" name="parentId" direction="in"/>
   <arg type="i" name="recursionDepth" direction="in"/>
   <arg type="as" name="propertyNames" direction="in"/>
   <arg type="u" name="revision" direction="out"/>
   <arg type="(ia{sv}av)" name="layout" direction="out"/>
  </method>
  <method name="GetGroupProperties">
   <arg type="ai" name="ids" direction="in"/>
   <arg type="as" name="propertyNames" direction="in"/>
   <arg type="a(ia{sv})" name="properties" direction="out"/>
  </method>
  <method name="GetProperty">
   <arg type="i" name="id" direction="in"/>
   <arg type="s" name="name" direction="in"/>
   <arg type="v" name="value" direction="out"/>
  </method>
  <method name="Event">
   <arg type="i" name="id" direction="in"/>
   <arg type="s" name="eventId" direction="in"/>
   <arg type="v" name="data" direction="in"/>
   <arg type="u" name="timestamp" direction="in"/>
  </method>
  <method name="EventGroup">
   <arg type="a(isvu)" name="events" direction="in"/>
   <arg type="ai" name="idErrors" direction="out"/>
  </method>
  <method name="AboutToShow">
   <arg type="i" name="id" direction="in"/>
   <arg type="b" name="needUpdate" direction="out"/>
  </method>
  <method name="AboutToShowGroup">
   <arg type="ai" name="ids" direction="in"/>
   <arg type="ai" name="updatesNeeded" direction="out"/>
   <arg type="ai" name="idErrors" direction="out"/>
  </method>
  <signal name="ItemsPropertiesUpdated">
   <arg type="a(ia{sv})" name="updatedProps"/>
   <arg type="a(ias)" name="removedProps"/>
  </signal>
  <signal name="LayoutUpdated">
   <arg type="u" name="revision"/>
   <arg type="i" name="parent"/>
  </signal>
  <signal name="ItemActivationRequested">
   <arg type="i" name="id"/>
   <arg type="u" name="timestamp"/>
  </signal>
 </interface>
</node>)xml";

// The menu's items by dbusmenu id: 0 is the root, 1.. the tray menu's items in order.
int menu_item_count() { return static_cast<int>(tray_menu_items().size()); }

GVariant* pixmaps(TrayPicture picture) {
  GVariantBuilder all;
  g_variant_builder_init(&all, G_VARIANT_TYPE("a(iiay)"));
  for (int size : kTrayPictureSizes) {
    auto pixbuf = tray_picture(picture, size)->add_alpha(false, 0, 0, 0);
    const int w = pixbuf->get_width(), h = pixbuf->get_height(), stride = pixbuf->get_rowstride();
    const guint8* pixels = pixbuf->get_pixels();
    // ARGB32 in network byte order.
    std::vector<guint8> argb;
    argb.reserve(static_cast<size_t>(w * h * 4));
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const guint8* p = pixels + y * stride + x * 4;
        argb.insert(argb.end(), {p[3], p[0], p[1], p[2]});
      }
    }
    g_variant_builder_add(&all, "(ii@ay)", w, h,
                          g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, argb.data(), argb.size(), 1));
  }
  return g_variant_builder_end(&all);
}

GVariant* empty_pixmaps() { return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0); }

}  // namespace

// The D-Bus entry points, with access to the item.
struct StatusNotifierItem::Calls {
  static void item_method(GDBusConnection*, const char*, const char*, const char*,
                          const char* method, GVariant*, GDBusMethodInvocation* invocation,
                          gpointer data) {
    auto* self = static_cast<StatusNotifierItem*>(data);
    g_dbus_method_invocation_return_value(invocation, nullptr);
    const std::string m = method;
    if (m == "Activate") self->host_.clicked(1);
    else if (m == "SecondaryActivate") self->host_.clicked(2);
    else if (m == "ContextMenu") self->host_.clicked(3);
  }

  static GVariant* item_property(GDBusConnection*, const char*, const char*, const char*,
                                 const char* property, GError**, gpointer data) {
    auto* self = static_cast<StatusNotifierItem*>(data);
    const std::string p = property;
    if (p == "Category") return g_variant_new_string("ApplicationStatus");
    if (p == "Id") return g_variant_new_string("tolvan");
    if (p == "Title") return g_variant_new_string("Tolvan");
    if (p == "Status") return g_variant_new_string(self->active_ ? "Active" : "Passive");
    if (p == "WindowId") return g_variant_new_int32(0);
    if (p == "IconPixmap") return pixmaps(self->picture_);
    if (p == "OverlayIconPixmap" || p == "AttentionIconPixmap") return empty_pixmaps();
    if (p == "ToolTip") {
      return g_variant_new("(s@a(iiay)ss)", "", empty_pixmaps(), self->tooltip_.c_str(), "");
    }
    if (p == "ItemIsMenu") return g_variant_new_boolean(FALSE);
    if (p == "Menu") return g_variant_new_object_path(kMenuPath);
    return g_variant_new_string("");  // the icon and movie names: none, pixmaps instead
  }

  static GVariant* item_properties(const StatusNotifierItem& self, int id) {
    GVariantBuilder props;
    g_variant_builder_init(&props, G_VARIANT_TYPE("a{sv}"));
    if (id == 0) {
      g_variant_builder_add(&props, "{sv}", "children-display", g_variant_new_string("submenu"));
      return g_variant_builder_end(&props);
    }
    const TrayMenuItem& item = tray_menu_items()[static_cast<size_t>(id - 1)];
    if (item.kind == TrayMenuItem::Kind::Separator) {
      g_variant_builder_add(&props, "{sv}", "type", g_variant_new_string("separator"));
      return g_variant_builder_end(&props);
    }
    g_variant_builder_add(&props, "{sv}", "label", g_variant_new_string(item.label));
    if (item.kind == TrayMenuItem::Kind::CheckItem) {
      g_variant_builder_add(&props, "{sv}", "toggle-type", g_variant_new_string("checkmark"));
      g_variant_builder_add(&props, "{sv}", "toggle-state", g_variant_new_int32(self.checked_ ? 1 : 0));
    }
    return g_variant_builder_end(&props);
  }

  static GVariant* layout(const StatusNotifierItem& self, int id, bool with_children) {
    GVariantBuilder children;
    g_variant_builder_init(&children, G_VARIANT_TYPE("av"));
    if (id == 0 && with_children) {
      for (int child = 1; child <= menu_item_count(); ++child) {
        g_variant_builder_add(&children, "v", layout(self, child, false));
      }
    }
    return g_variant_new("(i@a{sv}av)", id, item_properties(self, id), &children);
  }

  static void chosen(StatusNotifierItem& self, int id, const char* event) {
    if (id < 1 || id > menu_item_count() || std::string(event) != "clicked") return;
    const TrayMenuItem& item = tray_menu_items()[static_cast<size_t>(id - 1)];
    if (item.kind == TrayMenuItem::Kind::Separator) return;
    // A check item the user clicks turns to the other state.
    self.host_.menu_chosen(item.action, !self.checked_);
  }

  static void menu_method(GDBusConnection*, const char*, const char*, const char*,
                          const char* method, GVariant* params, GDBusMethodInvocation* invocation,
                          gpointer data) {
    auto& self = *static_cast<StatusNotifierItem*>(data);
    const std::string m = method;
    auto valid = [](int id) { return id >= 0 && id <= menu_item_count(); };
    if (m == "GetLayout") {
      gint32 parent = 0, depth = 0;
      g_variant_get(params, "(ii^a&s)", &parent, &depth, nullptr);
      if (!valid(parent)) {
        g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS,
                                              "No such menu item");
        return;
      }
      g_dbus_method_invocation_return_value(
          invocation, g_variant_new("(u@(ia{sv}av))", self.menu_revision_,
                                    layout(self, parent, depth != 0)));
    } else if (m == "GetGroupProperties") {
      GVariantIter* ids = nullptr;
      g_variant_get(params, "(ai^a&s)", &ids, nullptr);
      GVariantBuilder out;
      g_variant_builder_init(&out, G_VARIANT_TYPE("a(ia{sv})"));
      std::vector<int> wanted;
      gint32 id;
      while (g_variant_iter_next(ids, "i", &id)) wanted.push_back(id);
      g_variant_iter_free(ids);
      if (wanted.empty()) {
        for (int i = 0; i <= menu_item_count(); ++i) wanted.push_back(i);
      }
      for (int i : wanted) {
        if (valid(i)) g_variant_builder_add(&out, "(i@a{sv})", i, item_properties(self, i));
      }
      g_dbus_method_invocation_return_value(invocation, g_variant_new("(a(ia{sv}))", &out));
    } else if (m == "GetProperty") {
      gint32 id = 0;
      const char* name = nullptr;
      g_variant_get(params, "(i&s)", &id, &name);
      GVariant* value = valid(id) ? g_variant_lookup_value(item_properties(self, id), name, nullptr)
                                  : nullptr;
      if (!value) {
        g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_INVALID_ARGS,
                                              "No such property");
        return;
      }
      g_dbus_method_invocation_return_value(invocation, g_variant_new("(v)", value));
      g_variant_unref(value);
    } else if (m == "Event") {
      gint32 id = 0;
      const char* event = nullptr;
      g_variant_get(params, "(i&svu)", &id, &event, nullptr, nullptr);
      g_dbus_method_invocation_return_value(invocation, nullptr);
      chosen(self, id, event);
    } else if (m == "EventGroup") {
      GVariantIter* events = nullptr;
      g_variant_get(params, "(a(isvu))", &events);
      std::vector<std::pair<int, std::string>> list;
      gint32 id;
      const char* event;
      while (g_variant_iter_next(events, "(i&svu)", &id, &event, nullptr, nullptr)) list.emplace_back(id, event);
      g_variant_iter_free(events);
      g_dbus_method_invocation_return_value(invocation, g_variant_new("(@ai)", g_variant_new_array(G_VARIANT_TYPE_INT32, nullptr, 0)));
      for (const auto& [i, e] : list) chosen(self, i, e.c_str());
    } else if (m == "AboutToShow") {
      g_dbus_method_invocation_return_value(invocation, g_variant_new("(b)", FALSE));
      self.host_.menu_about_to_show();
    } else if (m == "AboutToShowGroup") {
      GVariant* none = g_variant_new_array(G_VARIANT_TYPE_INT32, nullptr, 0);
      GVariant* none2 = g_variant_new_array(G_VARIANT_TYPE_INT32, nullptr, 0);
      g_dbus_method_invocation_return_value(invocation, g_variant_new("(@ai@ai)", none, none2));
      self.host_.menu_about_to_show();
    } else {
      g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD,
                                            "Unknown method");
    }
  }

  static GVariant* menu_property(GDBusConnection*, const char*, const char*, const char*,
                                 const char* property, GError**, gpointer) {
    const std::string p = property;
    if (p == "Version") return g_variant_new_uint32(3);
    if (p == "TextDirection") return g_variant_new_string("ltr");
    if (p == "Status") return g_variant_new_string("normal");
    return g_variant_new_strv(nullptr, 0);  // IconThemePath
  }
};

StatusNotifierItem::StatusNotifierItem(Host host)
    : host_(std::move(host)), cancellable_(g_cancellable_new()) {
  item_info_ = g_dbus_node_info_new_for_xml(kItemXml, nullptr);
  menu_info_ = g_dbus_node_info_new_for_xml(kMenuXml, nullptr);
}

StatusNotifierItem::~StatusNotifierItem() {
  g_cancellable_cancel(cancellable_);
  g_object_unref(cancellable_);
  if (watch_) g_bus_unwatch_name(watch_);
  if (bus_) {
    if (item_object_) g_dbus_connection_unregister_object(bus_, item_object_);
    if (menu_object_) g_dbus_connection_unregister_object(bus_, menu_object_);
    if (bus_name_ != g_dbus_connection_get_unique_name(bus_)) {
      // Giving the name back is how a host learns that the item is gone.
      g_dbus_connection_call(bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus", "ReleaseName",
                             g_variant_new("(s)", bus_name_.c_str()), nullptr,
                             G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);
      g_dbus_connection_flush_sync(bus_, nullptr, nullptr);
    }
    g_object_unref(bus_);
  }
  g_dbus_node_info_unref(item_info_);
  g_dbus_node_info_unref(menu_info_);
}

void StatusNotifierItem::start() {
  watch_ = g_bus_watch_name(
      G_BUS_TYPE_SESSION, kWatcherName, G_BUS_NAME_WATCHER_FLAGS_NONE,
      [](GDBusConnection* bus, const char*, const char*, gpointer self) {
        static_cast<StatusNotifierItem*>(self)->watcher_appeared(bus);
      },
      [](GDBusConnection*, const char*, gpointer self) {
        static_cast<StatusNotifierItem*>(self)->watcher_vanished();
      },
      this, nullptr);
}

bool StatusNotifierItem::export_on(GDBusConnection* bus) {
  if (bus_) return true;
  static const GDBusInterfaceVTable item_vtable = {Calls::item_method, Calls::item_property, nullptr, {}};
  static const GDBusInterfaceVTable menu_vtable = {Calls::menu_method, Calls::menu_property, nullptr, {}};
  item_object_ = g_dbus_connection_register_object(
      bus, kItemPath, g_dbus_node_info_lookup_interface(item_info_, kItemInterface), &item_vtable,
      this, nullptr, nullptr);
  menu_object_ = g_dbus_connection_register_object(
      bus, kMenuPath, g_dbus_node_info_lookup_interface(menu_info_, kMenuInterface), &menu_vtable,
      this, nullptr, nullptr);
  if (!item_object_ || !menu_object_) return false;
  bus_ = G_DBUS_CONNECTION(g_object_ref(bus));
  // The conventional name; when it cannot be had the unique name serves as well.
  std::string name = "org.kde.StatusNotifierItem-" + std::to_string(::getpid()) + "-1";
  GVariant* reply = g_dbus_connection_call_sync(
      bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
      "RequestName", g_variant_new("(su)", name.c_str(), 4u /* do not queue */),
      G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, 1000, nullptr, nullptr);
  guint32 result = 0;
  if (reply) {
    g_variant_get(reply, "(u)", &result);
    g_variant_unref(reply);
  }
  bus_name_ = result == 1 ? name : g_dbus_connection_get_unique_name(bus_);
  return true;
}

void StatusNotifierItem::watcher_appeared(GDBusConnection* bus) {
  if (!export_on(bus)) return;
  register_with_watcher();
}

void StatusNotifierItem::watcher_vanished() {
  registered_ = false;
  host_.registration(false);
}

void StatusNotifierItem::register_with_watcher() {
  // The item may go before the answer comes: it cancels the call, and the answer then
  // touches nothing.
  g_dbus_connection_call(
      bus_, kWatcherName, kWatcherPath, kWatcherName, "RegisterStatusNotifierItem",
      g_variant_new("(s)", bus_name_.c_str()), nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, cancellable_,
      [](GObject* source, GAsyncResult* result, gpointer data) {
        GError* error = nullptr;
        GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
        const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
        if (reply) g_variant_unref(reply);
        if (error) g_error_free(error);
        if (cancelled) return;
        auto* self = static_cast<StatusNotifierItem*>(data);
        self->registered_ = reply != nullptr;
        if (reply) g_info("tray icon registered with the StatusNotifierWatcher as %s", self->bus_name_.c_str());
        self->host_.registration(self->registered_);
      },
      this);
}

void StatusNotifierItem::emit_item_signal(const char* name, const char* status) {
  if (!bus_) return;
  g_dbus_connection_emit_signal(bus_, nullptr, kItemPath, kItemInterface, name,
                                status ? g_variant_new("(s)", status) : nullptr, nullptr);
}

void StatusNotifierItem::show(TrayPicture picture, const std::string& tooltip) {
  const bool picture_changed = picture != picture_, tooltip_changed = tooltip != tooltip_;
  picture_ = picture;
  tooltip_ = tooltip;
  if (picture_changed) emit_item_signal("NewIcon");
  if (tooltip_changed) emit_item_signal("NewToolTip");
  if (!active_) {
    active_ = true;
    emit_item_signal("NewStatus", "Active");
  }
}

void StatusNotifierItem::hide() {
  if (!active_) return;
  active_ = false;
  emit_item_signal("NewStatus", "Passive");
}

void StatusNotifierItem::set_enabled_checked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  menu_changed();
}

void StatusNotifierItem::menu_changed() {
  ++menu_revision_;
  if (!bus_) return;
  g_dbus_connection_emit_signal(bus_, nullptr, kMenuPath, kMenuInterface, "LayoutUpdated",
                                g_variant_new("(ui)", menu_revision_, 0), nullptr);
}

}  // namespace tolvan::ui
