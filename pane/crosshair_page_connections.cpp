// SPDX-License-Identifier: MIT
#include "crosshair_page_connections.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>

#include "ui_vantrel_main_view.h"

namespace vantrel {

RetikonControl* connectCrosshairPage(Ui::VantrelMainView& ui, QWidget* view, RetikonServices services) {
  auto* control = new RetikonControl(services, view);
  control->o_capslock = ui.o_capslock;
  control->o_command = ui.o_command;
  control->o_control = ui.o_control;
  control->o_option = ui.o_option;
  control->o_locate = ui.o_locate;
  control->o_prefWidth0 = ui.o_prefWidth0;
  control->o_prefWidth1 = ui.o_prefWidth1;
  control->o_prefWidth2 = ui.o_prefWidth2;
  control->o_shift = ui.o_shift;
  control->o_retikon = ui.o_retikon;
  control->o_dispAllways = ui.o_dispAllways;
  control->o_dispHotKey = ui.o_dispHotKey;
  control->o_shadow = ui.o_shadow;
  control->o_colorWell = ui.o_colorWell;
  control->o_widthBar = ui.o_widthBar;
  control->o_widthNum = ui.o_widthNum;
  control->o_distBar = ui.o_distBar;

  // Only the user's own changes are actions: "clicked" and the group's
  // "buttonClicked" never fire for a state set from code, and the sliders'
  // values are set from code with their signals blocked.
  QButtonGroup* presets = ui.widthPresets;
  QObject::connect(presets, &QButtonGroup::buttonClicked, control, [control, presets] { control->a_prefWidth(presets); });
  QSlider* widthBar = ui.o_widthBar;
  QObject::connect(widthBar, &QSlider::valueChanged, control, [control, widthBar] { control->a_prefWidthNum(widthBar); });
  QLineEdit* widthNum = ui.o_widthNum;
  QObject::connect(widthNum, &QLineEdit::editingFinished, control,
                   [control, widthNum] { control->a_prefWidthNum(widthNum); });
  QSlider* distBar = ui.o_distBar;
  QObject::connect(distBar, &QSlider::valueChanged, control, [control, distBar] { control->a_prefDistNum(distBar); });
  QObject::connect(ui.o_locate, &QCheckBox::clicked, control, [control, box = ui.o_locate] { control->a_prefLocate(box); });
  for (QCheckBox* modifier : {ui.o_control, ui.o_shift, ui.o_capslock, ui.o_option, ui.o_command})
    QObject::connect(modifier, &QCheckBox::clicked, control, [control, modifier] { control->a_prefKey(modifier); });
  QButtonGroup* displayKind = ui.displayKind;
  QObject::connect(displayKind, &QButtonGroup::buttonClicked, control,
                   [control, displayKind] { control->a_prefDispKind(displayKind); });
  QObject::connect(ui.o_shadow, &QCheckBox::clicked, control, [control, box = ui.o_shadow] { control->a_prefShadow(box); });
  QObject::connect(ui.o_retikon, &QCheckBox::clicked, control, [control, box = ui.o_retikon] { control->a_retikon(box); });
  QObject::connect(ui.linkButton, &QAbstractButton::clicked, control, [control, link = ui.linkButton] { control->a_goURL(link); });
  return control;
}

}  // namespace vantrel
