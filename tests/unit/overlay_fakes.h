#pragma once
// Stand-ins for the window system. Windows log "name.request" for what puts
// them on screen or takes them off it, and keep every other value asked for.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/windowing/application.h"
#include "platform/windowing/input.h"
#include "platform/windowing/window.h"

namespace fakes {

using Log = std::vector<std::string>;

struct FakeTextField : platform::TextField {
  void setIntValue(int32_t value) override { text = std::to_string(value); }
  void setStringValue(std::string value) override { text = std::move(value); }
  void setTextColor(const platform::ColourRef& colour) override { textColour = colour; }
  std::string text;
  platform::ColourRef textColour;
};

struct FakeWindow : platform::Window {
  FakeWindow(Log& log, std::string name) : log(log), name(std::move(name)) {}
  void setContentView(platform::View* view) override { content = view; }
  platform::TextField& addTextField(platform::Rect, platform::TextAlignment) override { return fields.emplace_back(); }
  void setBackgroundColor(const platform::ColourRef& colour) override { background = colour; }
  void setLevel(int32_t value) override { level = value; }
  void setAlphaValue(float value) override { alpha = value; }
  void setOpaque(bool value) override { opaque = value; }
  void setHasShadow(bool value) override { shadow = value; }
  void setFrame(platform::Rect value, bool display) override {
    frame = value;
    log.push_back(name + (display ? ".setFrame display" : ".setFrame"));
  }
  void makeKeyAndOrderFront() override { onScreen = true, log.push_back(name + ".orderFront"); }
  void orderOut() override { onScreen = false, log.push_back(name + ".orderOut"); }

  Log& log;
  std::string name;
  platform::View* content = nullptr;
  std::deque<FakeTextField> fields;
  platform::ColourRef background;
  int32_t level = 0;
  float alpha = 0;
  std::optional<bool> opaque, shadow;
  platform::Rect frame;
  bool onScreen = false;
};

// Names its windows in the order the overlay's interface makes them: the
// left, right, lower and upper arms, then the readout.
struct FakeWindowServer : platform::WindowServer {
  std::unique_ptr<platform::Window> createWindow(platform::Rect contentRect, uint32_t styleMask,
                                                 platform::BackingStore backing, bool defer) override {
    static const char* const names[] = {"H", "H2", "V", "V2", "P"};
    lastRect = contentRect, lastStyle = styleMask, lastBacking = backing, lastDefer = defer;
    auto window = std::make_unique<FakeWindow>(log, names[windows.size() % 5]);
    windows.push_back(window.get());
    return window;
  }
  int32_t windowLevelForKey(int32_t key) const override { return key * 1000; }
  Log log;
  platform::Rect lastRect;  // what the last window was asked to be
  uint32_t lastStyle = ~0u;
  platform::BackingStore lastBacking{};
  bool lastDefer = true;
  std::vector<FakeWindow*> windows;
};

struct FakeApplication : platform::Application {
  void observeDistributedNotification(std::string name, std::string object, std::function<void()> callback) override {
    observed = name + " / " + object;
    observer = std::move(callback);
  }
  platform::TimerHandle scheduleRepeatingTimer(std::chrono::microseconds every, std::function<void()> callback) override {
    interval = every;
    tick = std::move(callback);
    return 7;
  }
  void terminate() override { ++terminated; }
  std::string observed;
  std::chrono::microseconds interval{};
  std::function<void()> observer, tick;
  int terminated = 0;
};

struct FakeInput : platform::Input {
  platform::Point getMouse() override { return pointer; }
  uint32_t getCurrentKeyModifiers() override { return modifiers; }
  platform::Point pointer{300, 700};
  uint32_t modifiers = 0;
};

struct FakeScreens : platform::ScreenList {
  std::optional<platform::Size> primaryScreenSize() override { return size; }
  std::optional<platform::Size> size = platform::Size{1440, 900};
};

}  // namespace fakes
