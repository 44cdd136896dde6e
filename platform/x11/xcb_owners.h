// SPDX-License-Identifier: MIT
#pragma once
// Owners for what xcb hands out: the connection, and replies and events,
// which xcb allocates with malloc. Needs xcb alone, for every user of it.
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace platform::x11 {

struct FreeWithFree {
  void operator()(void* block) const { std::free(block); }
};

// A reply or an event; null when the server sent none.
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, FreeWithFree>;

// The owner of a reply, its type taken from the call that gave it.
template <typename Reply>
XcbReply<Reply> ownedReply(Reply* reply) {
  return XcbReply<Reply>(reply);
}

struct Disconnect {
  void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

using XcbConnection = std::unique_ptr<xcb_connection_t, Disconnect>;

}  // namespace platform::x11
