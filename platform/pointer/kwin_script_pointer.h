// SPDX-License-Identifier: MIT
#pragma once
// The pointer on KDE Plasma's Wayland session: KWin runs a small script from
// RetikonX.app that calls the overlay on the session bus whenever the pointer
// has moved; the overlay keeps the last position it was told. The script is
// loaded at the first read, unloaded when the source goes, and loaded again
// when KWin comes back on the bus. KWin 5.27 tells the state of Caps Lock
// alone; the other modifiers come from the X server, which knows them while
// an X window has the keyboard focus.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/event/systemd_owners.h"
#include "platform/pointer/kwin_key_state.h"
#include "platform/pointer/kwin_pointer_script.h"
#include "platform/pointer/pointer_source.h"

namespace platform {

class EventLoop;

class KWinScriptPointerSource : public PointerSource {
 public:
  // toPrimary turns KWin's logical coordinates, which are XWayland's root
  // coordinates at a scale of 1, into the pointer relative to the primary
  // screen; heldKeys is the X server's own pointer source, capsLock KWin's
  // word on Caps Lock (none where KWin does not give it).
  KWinScriptPointerSource(EventLoop& loop, std::filesystem::path script, std::unique_ptr<PointerSource> heldKeys,
                          std::unique_ptr<KWinKeyState> capsLock,
                          std::function<Point(int32_t x, int32_t y)> toPrimary);
  ~KWinScriptPointerSource() override;
  KWinScriptPointerSource(const KWinScriptPointerSource&) = delete;
  KWinScriptPointerSource& operator=(const KWinScriptPointerSource&) = delete;

  std::optional<PointerReading> read() override;
  const std::string& whyUnknown() const override { return why_; }
  const std::string& modifiersCaveat() const override;

 private:
  void start();
  bool connect();
  void disconnect();
  void loadScript();
  void unloadScript();
  void askToUnload();
  // The bus's callbacks, which reach the members.
  friend struct KWinBusCallbacks;

  EventLoop& loop_;
  std::filesystem::path script_;
  std::unique_ptr<PointerSource> heldKeys_;
  std::unique_ptr<KWinKeyState> capsLock_;
  std::function<Point(int32_t, int32_t)> toPrimary_;
  // The object and the match go before the bus they are on.
  OwnedBus bus_;
  OwnedBusSlot object_;
  OwnedBusSlot match_;
  bool named_ = false;
  bool loaded_ = false;
  // Until the script runs, tried again now and then: a KWin that has just
  // come back may not offer its scripting yet.
  std::optional<std::chrono::steady_clock::time_point> lastTry_;
  std::optional<std::pair<int32_t, int32_t>> position_;  // as KWin reported it
  std::string why_;
};

}  // namespace platform
