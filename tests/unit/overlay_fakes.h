#pragma once
// Stand-ins for the window system that record what the overlay asks of it.
#include <optional>
#include <string>
#include <vector>

#include "platform/windowing/application.h"
#include "platform/windowing/input.h"
#include "platform/windowing/window.h"

namespace fakes {

using Log = std::vector<std::string>;

// Writes "name.request" into the shared log.
struct Recorder {
  Recorder(Log& log, std::string name) : log(log), name(std::move(name)) {}
  void note(const std::string& request) { log.push_back(name + "." + request); }
  template <class Field, class Value>
  void set(Field& field, Value value, const std::string& request) {
    field = std::move(value);
    note(request);
  }
  Log& log;
  std::string name;
};

struct FakeTextField : platform::TextField, Recorder {
  using Recorder::Recorder;
  void setIntValue(int32_t value) override { set(text, std::to_string(value), "setIntValue " + std::to_string(value)); }
  void setStringValue(std::string value) override { text = std::move(value); }
  void setTextColor(const platform::ColourRef& colour) override { set(textColour, colour, "setTextColor"); }
  std::string text;
  platform::ColourRef textColour;
};

struct FakeWindow : platform::Window, Recorder {
  using Recorder::Recorder;
  void setContentView(platform::View* view) override { content = view; }
  platform::TextField& addTextField(platform::Rect, platform::TextAlignment) override {
    return *fields.emplace_back(std::make_unique<FakeTextField>(log, name + ".field"));
  }
  void setBackgroundColor(const platform::ColourRef& colour) override { set(background, colour, "setBackgroundColor"); }
  void setLevel(int32_t value) override { set(level, value, "setLevel"); }
  void setAlphaValue(float value) override { set(alpha, value, "setAlphaValue"); }
  void setOpaque(bool value) override { set(opaque, value, "setOpaque"); }
  void setHasShadow(bool value) override { set(shadow, value, value ? "setHasShadow YES" : "setHasShadow NO"); }
  void setFrame(platform::Rect value, bool display) override {
    set(frameValue, value, display ? "setFrame display" : "setFrame");
  }
  void makeKeyAndOrderFront() override { set(onScreen, true, "orderFront"); }
  void orderOut() override { set(onScreen, false, "orderOut"); }

  platform::View* content = nullptr;
  std::vector<std::unique_ptr<FakeTextField>> fields;
  platform::ColourRef background;
  int32_t level = 0;
  float alpha = 0;
  std::optional<bool> opaque, shadow;
  platform::Rect frameValue;
  bool onScreen = false;
};

struct CreatedWindow {
  platform::Rect contentRect;
  uint32_t styleMask;
  platform::BackingStore backing;
  bool defer;
};

struct FakeWindowServer : platform::WindowServer {
  std::unique_ptr<platform::Window> createWindow(platform::Rect contentRect, uint32_t styleMask,
                                                 platform::BackingStore backing, bool defer) override {
    created.push_back({contentRect, styleMask, backing, defer});
    auto window = std::make_unique<FakeWindow>(log, "w" + std::to_string(created.size()));
    windows.push_back(window.get());
    return window;
  }
  int32_t windowLevelForKey(int32_t key) const override { return key * 1000; }
  Log log;
  std::vector<CreatedWindow> created;
  std::vector<FakeWindow*> windows;
};

struct FakeApplication : platform::Application {
  explicit FakeApplication(Log& log) : log(log) {}
  void observeDistributedNotification(std::string name, std::string object, std::function<void()> callback) override {
    log.push_back("observe " + name + " / " + object);
    observer = std::move(callback);
  }
  platform::TimerHandle scheduleRepeatingTimer(std::chrono::microseconds interval,
                                               std::function<void()> callback) override {
    log.push_back("timer " + std::to_string(interval.count()) + "us");
    tick = std::move(callback);
    return 7;
  }
  void terminate() override {
    ++terminated;
    log.push_back("terminate");
  }
  Log& log;
  std::function<void()> observer, tick;
  int terminated = 0;
};

struct FakeInput : platform::Input {
  platform::Point getMouse() override { return pointer; }
  uint32_t getCurrentKeyModifiers() override {
    ++modifierReads;
    return modifiers;
  }
  platform::Point pointer{300, 700};
  uint32_t modifiers = 0;
  int modifierReads = 0;
};

struct FakeScreens : platform::ScreenList {
  std::optional<platform::Size> primaryScreenSize() override { return size; }
  std::optional<platform::Size> size = platform::Size{1440, 900};
};

}  // namespace fakes
