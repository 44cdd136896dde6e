// SPDX-License-Identifier: MIT
#include "notification_center.h"

#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>

#include <errno.h>
#include <poll.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/event/event_loop.h"
#include "platform/foundation/log.h"

namespace platform {

namespace {

// A restarted bus is usually back within a fraction of a second; one that
// stays away is tried again at most every ten seconds.
constexpr std::chrono::microseconds kFirstRetry{200'000};
constexpr std::chrono::microseconds kLongestRetry{10'000'000};
constexpr uint64_t kRetryAccuracy = 50'000;

uint64_t monotonicNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1'000'000 + static_cast<uint64_t>(now.tv_nsec) / 1000;
}

}  // namespace

struct DistributedNotificationCenter::Observer {
  DistributedNotificationCenter* center = nullptr;
  std::string name, object;
  std::function<void()> callback;
  OwnedBusSlot slot;
  bool away = false;  // the bus went away since this observer last observed
};

struct BusCallbacks {
  static int onObserving(sd_bus_message* reply, void* userdata, sd_bus_error*);
  static int onDisconnected(sd_bus_message* message, void* userdata, sd_bus_error*);
  static int onRetry(sd_event_source*, uint64_t, void* userdata);
};

namespace {

int onSignal(sd_bus_message* message, void* userdata, sd_bus_error*) {
  auto* observer = static_cast<DistributedNotificationCenter::Observer*>(userdata);
  const char* name = nullptr;
  const char* object = nullptr;
  if (sd_bus_message_read(message, "ss", &name, &object) < 0) return 0;
  // The match rule already filters; checking again keeps a bus that ignores
  // argument matches from waking us for other notifications.
  if (observer->name == name && observer->object == object) observer->callback();
  return 0;
}

}  // namespace

std::string matchRuleValue(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}

std::unique_ptr<DistributedNotificationCenter> DistributedNotificationCenter::defaultCenter() {
  auto center = std::unique_ptr<DistributedNotificationCenter>(new DistributedNotificationCenter());
  center->connect();
  return center;
}

DistributedNotificationCenter::DistributedNotificationCenter() : retryDelay_(kFirstRetry) {}

DistributedNotificationCenter::~DistributedNotificationCenter() = default;

bool DistributedNotificationCenter::connect() {
  if (sd_bus_open_user(outPointer(bus_)) < 0) return false;
  hadBus_ = true;
  bool ready = sd_bus_add_filter(bus_.get(), outPointer(disconnectFilter_), BusCallbacks::onDisconnected, this) >= 0;
  if (ready && loop_) ready = sd_bus_attach_event(bus_.get(), loop_->handle(), 0) >= 0;
  for (auto& observer : observers_) {
    if (!ready) break;
    if (int result = observe(*observer, false); result < 0) {
      logLine(std::string("cannot observe notifications: ") + std::strerror(-result));
      ready = false;
    }
  }
  if (!ready) dropConnection();
  waitChanged();
  return ready;
}

void DistributedNotificationCenter::dropConnection() {
  for (auto& observer : observers_) observer->slot.reset();
  disconnectFilter_.reset();
  // Closed first, so that nothing still queued is sent on a connection let go.
  if (bus_) sd_bus_close(bus_.get());
  bus_.reset();
  waitChanged();
}

void DistributedNotificationCenter::reportMissingBusOnce(const char* consequence) {
  if (reported_) return;
  reported_ = true;
  logLine(std::string("no D-Bus session bus; ") + consequence);
}

Status DistributedNotificationCenter::postNotification(std::string_view name, std::string_view object) {
  const std::string nameText(name), objectText(object);
  const auto send = [&] {
    int result = sd_bus_emit_signal(bus_.get(), kNotificationPath, kNotificationInterface, kNotificationMember, "ss",
                                    nameText.c_str(), objectText.c_str());
    return result < 0 ? result : sd_bus_flush(bus_.get());
  };
  int result = bus_ && sd_bus_is_open(bus_.get()) > 0 ? send() : -ENOTCONN;
  if (result < 0) {
    // Dropped by the bus (a handshake left unfinished, a restart) or never
    // made: one fresh connection, one more try.
    const bool hadBus = hadBus_;
    dropConnection();
    if (connect()) {
      result = send();
    } else if (!hadBus) {
      reportMissingBusOnce("a running overlay will not hear of changes");
      return {};
    }
  }
  waitChanged();
  if (result < 0) return fail(std::string("the change notification was not sent: ") + std::strerror(-result));
  return {};
}

Status DistributedNotificationCenter::addObserver(EventLoop& loop, std::string name, std::string object,
                                                  std::function<void()> callback) {
  if (!bus_) return fail("no D-Bus session bus; settings changes will not be noticed until restart");
  if (!loop_) {
    if (int result = sd_bus_attach_event(bus_.get(), loop.handle(), 0); result < 0)
      return fail(std::string("cannot watch the D-Bus session bus: ") + std::strerror(-result));
    loop_ = &loop;
  }
  auto observer = std::make_unique<Observer>();
  observer->center = this;
  observer->name = std::move(name);
  observer->object = std::move(object);
  observer->callback = std::move(callback);
  // Synchronous, so the observer is in place before the caller goes on.
  if (int result = observe(*observer, true); result < 0)
    return fail(std::string("cannot observe notifications: ") + std::strerror(-result));
  observers_.push_back(std::move(observer));
  return {};
}

int DistributedNotificationCenter::observe(Observer& observer, bool wait) {
  std::string rule = std::string("type='signal',path='") + kNotificationPath + "',interface='" +
                     kNotificationInterface + "',member='" + kNotificationMember +
                     "',arg0=" + matchRuleValue(observer.name) + ",arg1=" + matchRuleValue(observer.object);
  int result = wait ? sd_bus_add_match(bus_.get(), outPointer(observer.slot), rule.c_str(), onSignal, &observer)
                    : sd_bus_add_match_async(bus_.get(), outPointer(observer.slot), rule.c_str(), onSignal,
                                             BusCallbacks::onObserving, &observer);
  return result;
}

int BusCallbacks::onObserving(sd_bus_message* reply, void* userdata, sd_bus_error*) {
  auto* observer = static_cast<DistributedNotificationCenter::Observer*>(userdata);
  auto* center = observer->center;
  // A connection that went down again before the bus answered is the
  // disconnection handler's to deal with.
  if (sd_bus_is_open(sd_bus_message_get_bus(reply)) <= 0) return 0;
  if (const sd_bus_error* error = sd_bus_message_get_error(reply)) {
    logLine(std::string("cannot observe notifications: ") + (error->message ? error->message : error->name));
    return 0;
  }
  if (center->lost_) {
    center->lost_ = false;
    center->retryDelay_ = kFirstRetry;
    logLine("connected to the D-Bus session bus again");
  }
  // A notification posted while the bus was away reached nobody: act as if
  // one came now.
  if (observer->away) {
    observer->away = false;
    observer->callback();
  }
  return 0;
}

int BusCallbacks::onDisconnected(sd_bus_message* message, void* userdata, sd_bus_error*) {
  if (sd_bus_message_is_signal(message, "org.freedesktop.DBus.Local", "Disconnected") > 0)
    static_cast<DistributedNotificationCenter*>(userdata)->connectionLost();
  return 0;
}

void DistributedNotificationCenter::connectionLost() {
  // Only observers need the bus back at once; a poster connects again when
  // it next posts. The connection itself is let go outside its own callback.
  if (!loop_) return;
  if (!lost_)
    logLine("lost the D-Bus session bus; connecting again");
  lost_ = true;
  for (auto& observer : observers_) observer->away = true;
  scheduleReconnect();
}

void DistributedNotificationCenter::scheduleReconnect() {
  const uint64_t delay = static_cast<uint64_t>(retryDelay_.count());
  int result = retry_ ? sd_event_source_set_time_relative(retry_.get(), delay)
                      : sd_event_add_time_relative(loop_->handle(), outPointer(retry_), CLOCK_MONOTONIC, delay,
                                                   kRetryAccuracy, BusCallbacks::onRetry, this);
  if (result >= 0) result = sd_event_source_set_enabled(retry_.get(), SD_EVENT_ONESHOT);
  if (result < 0)
    logLine(std::string("cannot wait to connect to the session bus again: ") + std::strerror(-result));
}

int BusCallbacks::onRetry(sd_event_source*, uint64_t, void* userdata) {
  auto* center = static_cast<DistributedNotificationCenter*>(userdata);
  center->dropConnection();
  if (!center->connect()) {
    center->retryDelay_ = std::min(center->retryDelay_ * 2, kLongestRetry);
    center->scheduleReconnect();
  }
  return 0;
}

DistributedNotificationCenter::Wait DistributedNotificationCenter::wait() const {
  Wait wait;
  if (!bus_ || sd_bus_is_open(bus_.get()) <= 0) return wait;
  const int fd = sd_bus_get_fd(bus_.get());
  const int events = sd_bus_get_events(bus_.get());
  if (fd < 0 || events < 0) return wait;
  wait.fd = fd;
  wait.readable = events & POLLIN;
  wait.writable = events & POLLOUT;
  uint64_t until = 0;
  if (sd_bus_get_timeout(bus_.get(), &until) >= 0 && until != UINT64_MAX) {
    const uint64_t now = monotonicNow();
    wait.timeout = std::chrono::microseconds(until > now ? until - now : 0);
  }
  return wait;
}

void DistributedNotificationCenter::process() {
  if (!bus_) return;
  int result = 0;
  do result = sd_bus_process(bus_.get(), nullptr);
  while (result > 0);
  // A connection that has ended is let go; the next post makes a new one.
  if (result < 0 || sd_bus_is_open(bus_.get()) <= 0) dropConnection();
  waitChanged();
}

void DistributedNotificationCenter::waitChanged() {
  if (waitChanged_) waitChanged_();
}

}  // namespace platform
