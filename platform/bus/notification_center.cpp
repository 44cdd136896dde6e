#include "notification_center.h"

#include <systemd/sd-bus.h>

#include <errno.h>

#include <cstdio>
#include <cstring>

#include "platform/event/event_loop.h"

namespace platform {

struct DistributedNotificationCenter::Observer {
  std::string name, object;
  std::function<void()> callback;
  sd_bus_slot* slot = nullptr;
  ~Observer() { sd_bus_slot_unref(slot); }
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
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0) bus = nullptr;
  return std::unique_ptr<DistributedNotificationCenter>(new DistributedNotificationCenter(bus));
}

DistributedNotificationCenter::DistributedNotificationCenter(sd_bus* bus) : bus_(bus) {}

DistributedNotificationCenter::~DistributedNotificationCenter() {
  observers_.clear();
  if (bus_) sd_bus_flush_close_unref(bus_);
}

void DistributedNotificationCenter::reportMissingBusOnce() {
  if (reported_) return;
  reported_ = true;
  std::fprintf(stderr, "%s: no D-Bus session bus; settings changes will not be noticed until restart\n",
               program_invocation_short_name);
}

void DistributedNotificationCenter::postNotification(std::string_view name, std::string_view object) {
  if (!bus_) return;
  std::string nameText(name), objectText(object);
  int result = sd_bus_emit_signal(bus_, kNotificationPath, kNotificationInterface, kNotificationMember, "ss",
                                  nameText.c_str(), objectText.c_str());
  if (result >= 0) sd_bus_flush(bus_);
}

bool DistributedNotificationCenter::addObserver(EventLoop& loop, std::string name, std::string object,
                                                std::function<void()> callback) {
  if (!bus_) {
    reportMissingBusOnce();
    return false;
  }
  if (!attached_) {
    if (sd_bus_attach_event(bus_, loop.handle(), 0) < 0) {
      reportMissingBusOnce();
      return false;
    }
    attached_ = true;
  }
  auto observer = std::make_unique<Observer>();
  observer->name = std::move(name);
  observer->object = std::move(object);
  observer->callback = std::move(callback);
  std::string rule = std::string("type='signal',path='") + kNotificationPath + "',interface='" +
                     kNotificationInterface + "',member='" + kNotificationMember +
                     "',arg0=" + matchRuleValue(observer->name) + ",arg1=" + matchRuleValue(observer->object);
  // Synchronous, so the observer is in place before the caller goes on.
  int result = sd_bus_add_match(bus_, &observer->slot, rule.c_str(), onSignal, observer.get());
  if (result < 0) {
    std::fprintf(stderr, "%s: cannot observe notifications: %s\n", program_invocation_short_name,
                 std::strerror(-result));
    return false;
  }
  observers_.push_back(std::move(observer));
  return true;
}

}  // namespace platform
