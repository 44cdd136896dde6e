#pragma once
// The distributed notification centre: notifications, a name and an object
// text, that reach every process of this user's session that observes them.
// Carried as a signal on the D-Bus session bus.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sd_bus;
struct sd_bus_slot;

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

  bool connected() const { return bus_ != nullptr; }

  // Sends at once: a bus signal is never held back for a suspended
  // observer, so every post is delivered immediately.
  void postNotification(std::string_view name, std::string_view object);

  // Calls back, from the loop, for every notification with exactly this name
  // and this object; the bus filters on both. Returns false without a bus.
  bool addObserver(EventLoop& loop, std::string name, std::string object, std::function<void()> callback);

  struct Observer;

 private:
  explicit DistributedNotificationCenter(sd_bus* bus);
  void reportMissingBusOnce();
  sd_bus* bus_;
  bool attached_ = false;
  bool reported_ = false;
  std::vector<std::unique_ptr<Observer>> observers_;
};

// A D-Bus match-rule value in quotes, with apostrophes escaped.
std::string matchRuleValue(std::string_view text);

}  // namespace platform
