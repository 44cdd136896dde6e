// SPDX-License-Identifier: MIT
#include "retikon_control.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QButtonGroup>
#include <QColorDialog>
#include <QLineEdit>

#include "pane/overlay_scripts.h"
#include "platform/bus/notification_center.h"
#include "platform/desktop/overlay_pointer_setup.h"
#include "platform/foundation/log.h"
#include "platform/pane_host/color_well.h"
#include "platform/pane_host/colour_panel.h"
#include "platform/pane_host/controls.h"
#include "platform/foundation/problem_report.h"
#include "platform/process/process_workspace.h"
#include "platform/process/script_runner.h"
#include "platform/process/workspace.h"
#include "platform/windowing/input.h"

namespace vantrel {
namespace {

constexpr int32_t kPresetWidths[] = {1, 5, 10};  // by the preset's tag
constexpr uint32_t kModifierBits[] = {platform::kControlKey, platform::kShiftKey, platform::kCapsLockKey,
                                      platform::kOptionKey, platform::kCommandKey};  // by the checkbox's tag
constexpr int32_t kMinimumWidth = 1;
constexpr int32_t kMaximumWidth = 100;

// What the user asked for, as the window's problem lines name it.
constexpr const char* kSavingRequest = "settings";
constexpr const char* kSwitchingRequest = "overlay";
constexpr const char* kLoginItemRequest = "login item";
constexpr const char* kLinkRequest = "link";
constexpr const char* kBusRequest = "session bus";
constexpr const char* kPointerRequest = "pointer";
constexpr const char* kHeldKeysRequest = "hot keys";

}  // namespace

RetikonControl::RetikonControl(RetikonServices services, QObject* parent) : QObject(parent), services_(services) {}

void RetikonControl::loadPref() {
  settings::loadPref(services_.record, settings::settingsFilePath(), settings::Reader::SettingsPage);
}

settings::SaveResult RetikonControl::save() {
  return settings::savePref(services_.record, settings::settingsFilePath(), services_.center);
}

void RetikonControl::savePref() { services_.problems.settle(kSavingRequest, save().status); }

void RetikonControl::a_prefOpen(QObject*) {
  using platform::setState;
  auto& record = services_.record;
  QColorDialog* panel = platform::sharedColorPanel();
  loadPref();
  if (!services_.center.connected())
    services_.problems.report(kBusRequest,
                              "There is no D-Bus session bus: a running RetikonX is not told of changes, and one "
                              "started here cannot be switched off from this window.");
  platform::setShowsAlpha(panel, true);
  panel->setCurrentColor(platform::qColorFromColour(record.s_WinColor));
  if (o_colorWell) o_colorWell->setColor(record.s_WinColor);

  setState(o_prefWidth0, 0);
  setState(o_prefWidth1, 0);
  setState(o_prefWidth2, 0);
  if (record.s_WinWidth == 1)
    setState(o_prefWidth0, 1);
  else if (record.s_WinWidth == 5)
    setState(o_prefWidth1, 1);
  else
    setState(o_prefWidth2, 1);

  platform::setIntValue(o_widthBar, record.s_WinWidth);
  platform::setIntValue(o_widthNum, record.s_WinWidth);
  platform::setIntValue(o_distBar, record.s_distance);

  // A clear bit leaves its checkbox as the interface file made it: off.
  if (record.s_key & platform::kControlKey) setState(o_control, 1);
  if (record.s_key & platform::kShiftKey) setState(o_shift, 1);
  if (record.s_key & platform::kCapsLockKey) setState(o_capslock, 1);
  if (record.s_key & platform::kOptionKey) setState(o_option, 1);
  if (record.s_key & platform::kCommandKey) setState(o_command, 1);

  setState(o_dispAllways, 0);
  setState(o_dispHotKey, 0);
  setState(record.s_Disp != 0 ? o_dispAllways : o_dispHotKey, 1);

  if (record.s_Retikon == 1) {
    setState(o_retikon, 1);
    retikonPanel(1);
    startOverlayIfNoneRuns();
    preparePointer();
  } else {
    setState(o_retikon, 0);
    retikonPanel(0);
  }
  sayWhatHeldKeysCanDo();

  setState(o_locate, record.s_Locate);
  setState(o_shadow, record.s_shadow);

  // Last, so the colour given to the panel above saves nothing. Registered
  // once however often the page is filled: one colour change is one save.
  connect(panel, &QColorDialog::currentColorChanged, this, &RetikonControl::changeColor, Qt::UniqueConnection);
}

void RetikonControl::a_prefWidth(const QButtonGroup* sender) {
  int tag = platform::selectedTag(sender);
  if (tag >= 0 && tag < static_cast<int>(std::size(kPresetWidths))) {
    services_.record.s_WinWidth = kPresetWidths[tag];
    // The slider and the field show the width in force, not the one before.
    platform::setIntValue(o_widthBar, services_.record.s_WinWidth);
    platform::setIntValue(o_widthNum, services_.record.s_WinWidth);
  }
  savePref();
}

void RetikonControl::a_prefWidthNum(const QObject* sender) {
  int32_t width = platform::intValue(sender);
  if (width < kMinimumWidth) width = kMinimumWidth;
  if (width > kMaximumWidth) width = kMaximumWidth;
  services_.record.s_WinWidth = width;
  platform::setIntValue(o_widthNum, width);
  platform::setIntValue(o_widthBar, width);
  savePref();
}

void RetikonControl::a_prefDistNum(const QObject* sender) {
  services_.record.s_distance = platform::intValue(sender);
  savePref();
}

void RetikonControl::a_prefLocate(const QAbstractButton* sender) {
  services_.record.s_Locate = platform::state(sender);
  savePref();
}

void RetikonControl::a_prefKey(const QAbstractButton* sender) {
  int tag = platform::tag(sender);
  if (tag >= 0 && tag < static_cast<int>(std::size(kModifierBits))) {
    if (platform::state(sender) != 0)
      services_.record.s_key |= kModifierBits[tag];
    else
      services_.record.s_key &= ~kModifierBits[tag];
  }
  savePref();
  sayWhatHeldKeysCanDo();
}

void RetikonControl::a_prefDispKind(const QButtonGroup* sender) {
  services_.record.s_Disp = platform::selectedTag(sender);
  savePref();
  sayWhatHeldKeysCanDo();
}

void RetikonControl::a_prefShadow(const QAbstractButton* sender) {
  services_.record.s_shadow = platform::state(sender);
  savePref();
}

void RetikonControl::changeColor() {
  services_.record.s_WinColor = platform::colourFromQColor(platform::sharedColorPanel()->currentColor());
  savePref();
}

void RetikonControl::retikonPanel(int flag) {
  const bool enabled = flag != 0;
  for (QWidget* control : std::initializer_list<QWidget*>{
           o_capslock, o_command, o_control, o_option, o_shift, o_prefWidth0, o_prefWidth1, o_prefWidth2,
           o_dispAllways, o_dispHotKey, o_locate, o_shadow, o_colorWell, o_widthNum, o_widthBar, o_distBar})
    platform::setEnabled(control, enabled);
}

void RetikonControl::a_retikon(const QAbstractButton* sender) {
  auto& record = services_.record;
  if (platform::state(sender) != 0) {
    // Saved first: the overlay reads the flag 1 at its first load.
    const int32_t before = record.s_Retikon;
    record.s_Retikon = 1;
    settings::SaveResult saved = save();
    if (!saved.written) {
      // An overlay started now would read the old flag and quit, and a login
      // item would start one that does the same: none of the switch happens.
      record.s_Retikon = before;
      platform::setState(o_retikon, 0);
      return services_.problems.report(kSwitchingRequest, "RetikonX not switched on: " + saved.error());
    }
    services_.problems.settle(kSavingRequest, saved.status);
    const std::string path = overlayApplicationPath(services_.paneBundle);
    platform::Status launched = services_.workspace.launchApplication(path);
    platform::logLine(path);
    if (!launched) {
      // Nothing runs, so the box and the file say off, and no login item is made.
      services_.problems.report(kSwitchingRequest, "RetikonX could not be started: " + launched.error());
      platform::setState(o_retikon, 0);
      record.s_Retikon = 0;
      retikonPanel(0);
      savePref();
      return;
    }
    services_.problems.resolved(kSwitchingRequest);
    if (platform::Status added = services_.scripts.execute(addLoginItemScript(path)); !added)
      services_.problems.report(kLoginItemRequest, "RetikonX was not made a login item: " + added.error());
    else
      services_.problems.resolved(kLoginItemRequest);
    retikonPanel(1);
    preparePointer();
    sayWhatHeldKeysCanDo();
  } else {
    record.s_Retikon = 0;
    // Logged only: it fails too when there was no login item to remove.
    if (platform::Status removed = services_.scripts.execute(deleteLoginItemScript()); !removed)
      platform::logLine("login item not removed: " + removed.error());
    retikonPanel(0);
    // Saved last: the running overlay quits on this change.
    savePref();
    sayWhatHeldKeysCanDo();
  }
}

void RetikonControl::startOverlayIfNoneRuns() {
  for (const auto& application : services_.workspace.launchedApplications()) {
    auto name = application.find(platform::kApplicationNameKey);
    if (name != application.end() && name->second == kOverlayName) return;
  }
  const std::string path = overlayApplicationPath(services_.paneBundle);
  if (platform::Status launched = services_.workspace.launchApplication(path); !launched)
    services_.problems.report(kSwitchingRequest, "RetikonX is switched on but could not be started: " + launched.error());
}

void RetikonControl::preparePointer() {
  auto prepared = services_.pointerSetup.prepareOverlayPointer(services_.paneBundle);
  if (!prepared)
    services_.problems.report(kPointerRequest, "The crosshair cannot follow the pointer: " + prepared.error());
  else if (!prepared->empty())
    services_.problems.report(kPointerRequest, *prepared);
  else
    services_.problems.resolved(kPointerRequest);
}

void RetikonControl::sayWhatHeldKeysCanDo() {
  // The overlay shows the crosshair always only for a display kind of exactly 1.
  // Caps Lock is the one key every desktop tells of.
  const bool hotKeys = services_.record.s_Retikon == 1 && services_.record.s_Disp != 1 &&
                       (services_.record.s_key & ~platform::kCapsLockKey) != 0;
  if (std::string limit = services_.pointerSetup.heldKeysLimit(); hotKeys && !limit.empty())
    services_.problems.report(kHeldKeysRequest, limit + ".");
  else
    services_.problems.resolved(kHeldKeysRequest);
}

void RetikonControl::a_goURL(const QAbstractButton* sender) {
  if (platform::Status opened = services_.scripts.execute(openLocationScript(platform::title(sender))); !opened)
    services_.problems.report(kLinkRequest, "Cannot open " + platform::title(sender) + ": " + opened.error());
  else
    services_.problems.resolved(kLinkRequest);
}

}  // namespace vantrel
