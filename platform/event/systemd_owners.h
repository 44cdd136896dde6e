// SPDX-License-Identifier: MIT
#pragma once
// Owners for what sd-event and sd-bus hand out, so each is released exactly
// once on every path. The releases live in the event library, the lowest
// one that links libsystemd, so this header needs none of its headers.
#include <memory>

struct sd_bus;
struct sd_bus_slot;
struct sd_event;
struct sd_event_source;

namespace platform {

struct UnrefEvent {
  void operator()(sd_event* event) const;
};
struct UnrefEventSource {
  void operator()(sd_event_source* source) const;
};
// Lets go of the loop, sends what is still queued and closes the connection.
struct CloseBus {
  void operator()(sd_bus* bus) const;
};
struct UnrefBusSlot {
  void operator()(sd_bus_slot* slot) const;
};

using OwnedEvent = std::unique_ptr<sd_event, UnrefEvent>;
using OwnedEventSource = std::unique_ptr<sd_event_source, UnrefEventSource>;
using OwnedBus = std::unique_ptr<sd_bus, CloseBus>;
using OwnedBusSlot = std::unique_ptr<sd_bus_slot, UnrefBusSlot>;

// For the functions that hand out a new object through a T** argument:
// outPointer(owner) stands for that argument, and the owner holds what was
// handed out (or nothing) once the call's full expression is over.
template <typename Owner>
class OutPointer {
 public:
  explicit OutPointer(Owner& owner) : owner_(owner) {}
  ~OutPointer() { owner_.reset(handle_); }
  OutPointer(const OutPointer&) = delete;
  OutPointer& operator=(const OutPointer&) = delete;
  operator typename Owner::pointer*() { return &handle_; }

 private:
  Owner& owner_;
  typename Owner::pointer handle_ = nullptr;
};

template <typename Owner>
OutPointer<Owner> outPointer(Owner& owner) {
  return OutPointer<Owner>(owner);
}

}  // namespace platform
