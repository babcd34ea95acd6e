#include "app/single_instance.h"

#include <thread>

#include "app/handover_bus.h"
#include "app/instance_names.h"

namespace tolvan {

SingleInstance::SingleInstance(std::string data_dir)
    : lock_(data_dir),
      app_id_(instance_application_id(data_dir)),
      socket_path_(handover_socket_path(data_dir)) {}

bool SingleInstance::claim() {
  Result<bool> acquired = lock_.acquire();
  if (!acquired) {
    lock_error_ = acquired.error();
    return true;
  }
  return *acquired;
}

bool SingleInstance::hand_over(const Handover& handover, std::chrono::milliseconds budget) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + budget;
  const std::string bytes = encode_handover(handover);
  for (;;) {
    if (send_handover_over_bus(app_id_, bytes) == BusDelivery::Delivered) return true;
    if (send_handover_over_socket(socket_path_, bytes)) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

Status SingleInstance::listen(HandoverListener::Receiver receiver) {
  auto listener = HandoverListener::listen(socket_path_, std::move(receiver));
  if (!listener) return Error{listener.error()};
  listener_ = std::move(*listener);
  return Status::success();
}

}  // namespace tolvan
