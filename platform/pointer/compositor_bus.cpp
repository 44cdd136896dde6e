// SPDX-License-Identifier: MIT
#include "platform/pointer/compositor_bus.h"

#include <systemd/sd-bus.h>

#include <chrono>

#include "platform/event/event_loop.h"

namespace platform {

OwnedBus openCompositorBus(EventLoop& loop) {
  constexpr std::chrono::microseconds kCallTimeout{80'000};
  OwnedBus bus;
  if (sd_bus_open_user(outPointer(bus)) < 0) return nullptr;
  sd_bus_set_method_call_timeout(bus.get(), kCallTimeout.count());
  // The loop also takes in what the bus sends unasked, so nothing piles up.
  if (sd_bus_attach_event(bus.get(), loop.handle(), 0) < 0) return nullptr;
  return bus;
}

std::string ownerChangeRule(const char* name) {
  return std::string("type='signal',sender='org.freedesktop.DBus',member='NameOwnerChanged',arg0='") + name + "'";
}

}  // namespace platform
