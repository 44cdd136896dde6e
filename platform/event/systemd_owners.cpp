// SPDX-License-Identifier: MIT
#include "systemd_owners.h"

#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>

namespace platform {

void UnrefEvent::operator()(sd_event* event) const { sd_event_unref(event); }

void UnrefEventSource::operator()(sd_event_source* source) const { sd_event_source_unref(source); }

void CloseBus::operator()(sd_bus* bus) const {
  sd_bus_detach_event(bus);
  sd_bus_flush_close_unref(bus);
}

void UnrefBusSlot::operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }

}  // namespace platform
