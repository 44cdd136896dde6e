// SPDX-License-Identifier: MIT
#pragma once
// The crosshair settings page: shows the settings record in its controls,
// changes one variable per control action and saves the whole record, so a
// running overlay follows at once. It also switches the overlay on and off.
#include <QObject>

#include <string>

#include "settings/settings_record.h"

class QAbstractButton;
class QAbstractSlider;
class QButtonGroup;
class QLineEdit;
class QWidget;

namespace platform {
class ColorWell;
class DistributedNotificationCenter;
class OverlayPointerSetup;
class ProblemReporter;
class ScriptRunner;
class Workspace;
}  // namespace platform

namespace vantrel {

struct RetikonServices {
  settings::SettingsRecord& record;  // the pane process's one copy
  platform::DistributedNotificationCenter& center;
  platform::Workspace& workspace;
  platform::ScriptRunner& scripts;
  platform::ProblemReporter& problems;  // what the user asked for and did not happen
  platform::OverlayPointerSetup& pointerSetup;
  std::string paneBundle;               // the bundle the pane was loaded from
};

class RetikonControl : public QObject {
  Q_OBJECT
 public:
  explicit RetikonControl(RetikonServices services, QObject* parent = nullptr);

  // Outlets, connected by the interface file; a null one is skipped.
  QAbstractButton* o_capslock = nullptr;
  QAbstractButton* o_command = nullptr;
  QAbstractButton* o_control = nullptr;
  QAbstractButton* o_option = nullptr;
  QAbstractButton* o_locate = nullptr;
  QAbstractButton* o_prefWidth0 = nullptr;
  QAbstractButton* o_prefWidth1 = nullptr;
  QAbstractButton* o_prefWidth2 = nullptr;
  QAbstractButton* o_shift = nullptr;
  QAbstractButton* o_retikon = nullptr;
  QAbstractButton* o_dispAllways = nullptr;
  QAbstractButton* o_dispHotKey = nullptr;
  QAbstractButton* o_shadow = nullptr;
  platform::ColorWell* o_colorWell = nullptr;
  QAbstractSlider* o_widthBar = nullptr;
  QLineEdit* o_widthNum = nullptr;
  QAbstractSlider* o_distBar = nullptr;

  // Loads the record and fills the page; saves nothing.
  void a_prefOpen(QObject* sender);

  void a_prefWidth(const QButtonGroup* sender);
  void a_prefWidthNum(const QObject* sender);
  void a_prefDistNum(const QObject* sender);
  void a_prefLocate(const QAbstractButton* sender);
  void a_prefKey(const QAbstractButton* sender);
  void a_prefDispKind(const QButtonGroup* sender);
  void a_prefShadow(const QAbstractButton* sender);
  void changeColor();
  void a_retikon(const QAbstractButton* sender);
  void a_goURL(const QAbstractButton* sender);

  // Enables (1) or disables (0) the sixteen setting controls.
  void retikonPanel(int flag);

  void loadPref();
  // Saves and reports the outcome in the window.
  void savePref();

 private:
  settings::SaveResult save();
  // The box says on: an overlay that crashed or was ended is started again.
  void startOverlayIfNoneRuns();
  // The desktop made ready for the overlay to follow the pointer, or the
  // user told what remains to do or why it cannot.
  void preparePointer();
  void sayWhatHeldKeysCanDo();

  RetikonServices services_;
};

}  // namespace vantrel
