// SPDX-License-Identifier: MIT
#include "vantrel_pref_pref.h"

#include <QColorDialog>
#include <QPushButton>

#include "pane/crosshair_page_connections.h"
#include "pane/retikon_control.h"
#include "platform/pane_host/colour_panel.h"
#include "platform/pane_host/controls.h"
#include "platform/pane_host/float_slider.h"
#include "ui_vantrel_main_view.h"

namespace vantrel {
namespace {

TweaksServices tweaksServices(const PaneServices& services, platform::ProblemReporter& problems) {
  return TweaksServices{services.tasks, services.scripts, services.workspace,          services.clock,
                        problems,       services.desktop, services.appKitVersionNumber};
}

RetikonServices crosshairServices(const PaneServices& services, platform::ProblemReporter& problems,
                                  const std::string& paneBundle) {
  return RetikonServices{services.record, services.center, services.workspace, services.scripts, problems,
                         services.pointerSetup, paneBundle};
}

}  // namespace

VantrelPrefPref::VantrelPrefPref()
    : ownServices_(std::make_unique<SystemServices>()),
      services_(ownServices_->services()),
      tweaks_(services_.tweaks, tweaksServices(services_, problems_)) {}

VantrelPrefPref::VantrelPrefPref(PaneServices services)
    : services_(std::move(services)), tweaks_(services_.tweaks, tweaksServices(services_, problems_)) {}

VantrelPrefPref::~VantrelPrefPref() = default;

bool VantrelPrefPref::initWithBundle(const std::string& bundlePath) {
  if (!NSPreferencePane::initWithBundle(bundlePath)) return false;
  appID = kPaneIdentifier;
  tweaks_.useBundle(bundle());
  return true;
}

QWidget* VantrelPrefPref::createMainView() {
  auto* view = new QWidget;
  ui_ = std::make_unique<Ui::VantrelMainView>();
  ui_->setupUi(view);
  o_vantrel = ui_->o_vantrel;
  o_doublemin = ui_->o_doublemin;
  o_doublemax = ui_->o_doublemax;
  o_single = ui_->o_single;
  o_slider = ui_->o_slider;
  o_ZoomCheck = ui_->o_ZoomCheck;
  o_vantrelPane = connectCrosshairPage(*ui_, view, crosshairServices(services_, problems_, bundle()));
  problems_.attach(ui_->problemLine);

  QObject::connect(o_single, &QAbstractButton::clicked, [this] { a_single(o_single); });
  QObject::connect(o_doublemin, &QAbstractButton::clicked, [this] { a_doublemin(o_doublemin); });
  QObject::connect(o_doublemax, &QAbstractButton::clicked, [this] { a_doublemax(o_doublemax); });
  QObject::connect(o_vantrel, &QAbstractButton::clicked, [this] { a_vantrel(o_vantrel); });
  QObject::connect(o_slider, &QSlider::valueChanged, [this] { a_slider(o_slider); });
  QObject::connect(o_ZoomCheck, &QAbstractButton::clicked, [this] { a_ZoomCheck(o_ZoomCheck); });
  QObject::connect(ui_->restartFinderButton, &QPushButton::clicked, [this] { a_restartFinder(ui_->restartFinderButton); });
  return view;
}

void VantrelPrefPref::mainViewDidLoad() {
  // Classifies the system and reads both tweak files, saving the defaults
  // that are missing; then the page shows what was read.
  TweaksDisplay display = tweaks_.mainViewDidLoad();
  clearRadio();
  if (display.placement) platform::setState(radioFor(*display.placement), 1);
  if (o_slider) o_slider->setFloatValue(display.slider);
  showZoomCheckbox(display.zoom);
  if (o_vantrelPane) o_vantrelPane->a_prefOpen(nullptr);
}

void VantrelPrefPref::didUnselect() { platform::sharedColorPanel()->hide(); }

void VantrelPrefPref::clearRadio() {
  platform::setState(o_single, 0);
  platform::setState(o_doublemin, 0);
  platform::setState(o_doublemax, 0);
  platform::setState(o_vantrel, 0);
}

QAbstractButton* VantrelPrefPref::radioFor(ScrollBarPlacement placement) const {
  switch (placement) {
    case ScrollBarPlacement::Single: return o_single;
    case ScrollBarPlacement::DoubleMin: return o_doublemin;
    case ScrollBarPlacement::DoubleMax: return o_doublemax;
    case ScrollBarPlacement::DoubleBoth: return o_vantrel;
  }
  return nullptr;
}

void VantrelPrefPref::chooseScrollBarPlacement(ScrollBarPlacement placement) {
  clearRadio();
  platform::setState(radioFor(placement), 1);
  tweaks_.a_scrollBar(placement);
}

void VantrelPrefPref::a_single(QObject*) { chooseScrollBarPlacement(ScrollBarPlacement::Single); }
void VantrelPrefPref::a_doublemin(QObject*) { chooseScrollBarPlacement(ScrollBarPlacement::DoubleMin); }
void VantrelPrefPref::a_doublemax(QObject*) { chooseScrollBarPlacement(ScrollBarPlacement::DoubleMax); }
void VantrelPrefPref::a_vantrel(QObject*) { chooseScrollBarPlacement(ScrollBarPlacement::DoubleBoth); }

void VantrelPrefPref::a_slider(QObject*) {
  if (o_slider) tweaks_.a_slider(o_slider->floatValue());
}

void VantrelPrefPref::showZoomCheckbox(const ZoomCheckboxDisplay& zoom) {
  if (zoom.disable) platform::setEnabled(o_ZoomCheck, false);
  if (zoom.checked) platform::setState(o_ZoomCheck, *zoom.checked ? 1 : 0);
}

void VantrelPrefPref::a_ZoomCheck(const QAbstractButton* sender) {
  const int requested = platform::state(sender);
  // Nothing was stored: show what still holds.
  if (!tweaks_.a_ZoomCheck(requested) && sender == o_ZoomCheck) platform::setState(o_ZoomCheck, requested == 0 ? 1 : 0);
}

void VantrelPrefPref::a_restartFinder(QObject*) { tweaks_.a_restartFinder(); }

}  // namespace vantrel
