// SPDX-License-Identifier: MIT
#pragma once
// The session bus over which a compositor tells the overlay of the pointer:
// one connection per source, on the overlay's loop.
#include <string>

#include "platform/event/systemd_owners.h"

namespace platform {

class EventLoop;

// Attached to the loop, with every call bounded well inside a tick, so that
// a compositor that is stuck cannot stop the loop. Nothing without a bus.
OwnedBus openCompositorBus(EventLoop& loop);

// The match rule for the bus's word that name has a new owner (or none).
std::string ownerChangeRule(const char* name);

}  // namespace platform
