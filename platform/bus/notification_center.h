// SPDX-License-Identifier: MIT
#pragma once
// The distributed notification centre: notifications, a name and an object
// text, that reach every process of this user's session that observes them.
// Carried as a signal on the D-Bus session bus.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event/systemd_owners.h"
#include "platform/foundation/result.h"

namespace platform {

class EventLoop;

inline constexpr const char* kNotificationPath = "/com/Halvix/DistributedNotificationCenter";
inline constexpr const char* kNotificationInterface = "com.Halvix.DistributedNotificationCenter";
inline constexpr const char* kNotificationMember = "Notification";

class DistributedNotificationCenter {
 public:
  // Connects to the session bus. Without one, posting does nothing and
  // observing says so once on stderr; the program goes on either way.
  static std::unique_ptr<DistributedNotificationCenter> defaultCenter();
  ~DistributedNotificationCenter();
  // The bus and the loop call back into the centre where it is.
  DistributedNotificationCenter(const DistributedNotificationCenter&) = delete;
  DistributedNotificationCenter& operator=(const DistributedNotificationCenter&) = delete;

  bool connected() const { return bus_ != nullptr; }

  // Sends at once: a bus signal is never held back for a suspended
  // observer, so every post is delivered immediately. A connection the bus
  // has dropped is opened afresh and the send made once more; a send that
  // fails then too is the error. Without any session bus there is nobody to
  // tell: nothing is sent, it is said once on stderr, and that is no error.
  Status postNotification(std::string_view name, std::string_view object);

  // Calls back, from the loop, for every notification with exactly this name
  // and this object; the bus filters on both. Fails without a bus. When the
  // bus goes away the centre connects again from the loop, at growing
  // intervals while it stays away, says so on stderr, and observes as before;
  // once observing again it calls back once, for what was posted meanwhile.
  Status addObserver(EventLoop& loop, std::string name, std::string object, std::function<void()> callback);

  // For a program whose own loop services the connection (the pane's): the
  // descriptor and conditions to wait for, and the call to make when one
  // holds. Handshake, replies and the bus's own messages go through there.
  struct Wait {
    int fd = -1;  // -1: nothing to watch until the next post connects
    bool readable = false;
    bool writable = false;
    std::optional<std::chrono::microseconds> timeout;  // from now
  };
  Wait wait() const;
  void process();
  // Called whenever wait() may have changed: after processing, a post or a
  // new connection.
  void setWaitChanged(std::function<void()> changed) { waitChanged_ = std::move(changed); }

  struct Observer;

 private:
  DistributedNotificationCenter();
  bool connect();
  void dropConnection();
  // The bus's result: negative errno on failure.
  int observe(Observer& observer, bool wait);
  void connectionLost();
  void scheduleReconnect();
  void reportMissingBusOnce(const char* consequence);
  void waitChanged();

  friend struct BusCallbacks;  // sd-bus and sd-event call back into the centre

  // Let go in the reverse order: the observers, the retry, the filter, then
  // the connection they are attached to.
  OwnedBus bus_;
  bool hadBus_ = false;  // a session bus was there once: its absence now is a failure
  OwnedBusSlot disconnectFilter_;
  EventLoop* loop_ = nullptr;  // the loop the observers run in, once there are any
  OwnedEventSource retry_;
  std::chrono::microseconds retryDelay_;
  bool lost_ = false;
  bool reported_ = false;
  std::vector<std::unique_ptr<Observer>> observers_;
  std::function<void()> waitChanged_;
};

// A D-Bus match-rule value in quotes, with apostrophes escaped.
std::string matchRuleValue(std::string_view text);

}  // namespace platform
