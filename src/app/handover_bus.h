// The hand-over on the session bus: the running Tolvan is a GApplication whose id names its
// data folder, with an action "handover" that takes the message's bytes; a second start
// calls that action through org.freedesktop.Application once the name has an owner.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/handover.h"

typedef struct _GApplication GApplication;

namespace tolvan {

inline constexpr const char* kHandoverAction = "handover";

// The running Tolvan's side: adds the action to the application (before it registers, so
// that the action is there as soon as the name is owned). Malformed messages are dropped.
void add_handover_action(GApplication* application,
                         std::function<void(const Handover&)> receiver);

enum class BusDelivery {
  NoBus,    // no session bus to talk to
  NoOwner,  // nobody owns the name (yet), or the call failed
  Delivered,
};

// The second start's side.
BusDelivery send_handover_over_bus(const std::string& app_id, std::string_view bytes);

}  // namespace tolvan
