#include "app/handover_bus.h"

#include <gio/gio.h>

#include <memory>

#include "app/instance_names.h"

namespace tolvan {
namespace {

constexpr int kCallTimeoutMs = 500;

struct Receiver {
  std::function<void(const Handover&)> receive;
};

template <class T>
struct GObjectUnref {
  void operator()(T* p) const { g_object_unref(p); }
};
using Connection = std::unique_ptr<GDBusConnection, GObjectUnref<GDBusConnection>>;

bool name_has_owner(GDBusConnection* bus, const std::string& name) {
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
      "NameHasOwner", g_variant_new("(s)", name.c_str()), G_VARIANT_TYPE("(b)"),
      G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, nullptr);
  if (!reply) return false;
  gboolean owned = FALSE;
  g_variant_get(reply, "(b)", &owned);
  g_variant_unref(reply);
  return owned;
}

}  // namespace

void add_handover_action(GApplication* application,
                         std::function<void(const Handover&)> receiver) {
  GSimpleAction* action = g_simple_action_new(kHandoverAction, G_VARIANT_TYPE_BYTESTRING);
  g_signal_connect_data(
      action, "activate",
      G_CALLBACK(+[](GSimpleAction*, GVariant* parameter, gpointer data) {
        gsize size = 0;
        const void* bytes = g_variant_get_fixed_array(parameter, &size, 1);
        auto handover = decode_handover(std::string_view(static_cast<const char*>(bytes), size));
        if (handover) static_cast<Receiver*>(data)->receive(*handover);
      }),
      new Receiver{std::move(receiver)},
      [](gpointer data, GClosure*) { delete static_cast<Receiver*>(data); }, GConnectFlags{});
  g_action_map_add_action(G_ACTION_MAP(application), G_ACTION(action));
  g_object_unref(action);
}

BusDelivery send_handover_over_bus(const std::string& app_id, std::string_view bytes) {
  Connection bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
  if (!bus) return BusDelivery::NoBus;
  if (!name_has_owner(bus.get(), app_id)) return BusDelivery::NoOwner;
  GVariant* parameter = g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, bytes.data(), bytes.size(), 1);
  GVariantBuilder parameters;
  g_variant_builder_init(&parameters, G_VARIANT_TYPE("av"));
  g_variant_builder_add(&parameters, "v", parameter);
  GVariant* reply = g_dbus_connection_call_sync(
      bus.get(), app_id.c_str(), application_object_path(app_id).c_str(),
      "org.freedesktop.Application", "ActivateAction",
      g_variant_new("(sava{sv})", kHandoverAction, &parameters, nullptr), nullptr,
      G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, nullptr);
  if (!reply) return BusDelivery::NoOwner;
  g_variant_unref(reply);
  return BusDelivery::Delivered;
}

}  // namespace tolvan
