// SPDX-License-Identifier: MIT
#pragma once
// The pane's principal class: the system tweaks page, and the load
// sequence that fills both pages when the main view has loaded.
#include <memory>
#include <string>

#include "pane/pane_services.h"
#include "pane/tweaks/system_tweaks.h"
#include "platform/pane_host/ns_preference_pane.h"
#include "platform/pane_host/problem_line.h"

class QAbstractButton;
class QObject;

namespace Ui {
class VantrelMainView;
}

namespace platform {
class FloatSlider;
}

namespace vantrel {

class RetikonControl;

inline constexpr const char* kPaneIdentifier = "com.Halvix.Vantrel";

class VantrelPrefPref : public platform::NSPreferencePane {
 public:
  VantrelPrefPref();  // with the system's own services
  explicit VantrelPrefPref(PaneServices services);
  ~VantrelPrefPref() override;
  // The main view's buttons call back into this object where it is.
  VantrelPrefPref(const VantrelPrefPref&) = delete;
  VantrelPrefPref& operator=(const VantrelPrefPref&) = delete;

  bool initWithBundle(const std::string& bundlePath) override;
  void mainViewDidLoad() override;
  void didUnselect() override;

  // Outlets, connected when the main view is built.
  QAbstractButton* o_vantrel = nullptr;  // "A pair of arrows at each end"
  QAbstractButton* o_doublemin = nullptr;
  QAbstractButton* o_doublemax = nullptr;
  QAbstractButton* o_single = nullptr;
  platform::FloatSlider* o_slider = nullptr;
  RetikonControl* o_vantrelPane = nullptr;
  QAbstractButton* o_ZoomCheck = nullptr;
  std::string appID;

  void clearRadio();
  void a_single(QObject* sender);
  void a_doublemin(QObject* sender);
  void a_doublemax(QObject* sender);
  void a_vantrel(QObject* sender);
  void a_slider(QObject* sender);
  void a_ZoomCheck(const QAbstractButton* sender);
  void a_restartFinder(QObject* sender);

 protected:
  QWidget* createMainView() override;

 private:
  void chooseScrollBarPlacement(ScrollBarPlacement placement);
  QAbstractButton* radioFor(ScrollBarPlacement placement) const;
  void showZoomCheckbox(const ZoomCheckboxDisplay& zoom);

  std::unique_ptr<SystemServices> ownServices_;  // only when none were given
  PaneServices services_;
  platform::ProblemLine problems_;  // before the pages that report to it
  SystemTweaks tweaks_;
  std::unique_ptr<Ui::VantrelMainView> ui_;
};

}  // namespace vantrel
