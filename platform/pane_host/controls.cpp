// SPDX-License-Identifier: MIT
#include "controls.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "platform/foundation/text.h"

namespace platform {

int state(const QAbstractButton* button) {
  if (!button) return 0;
  if (auto* box = qobject_cast<const QCheckBox*>(button); box && box->checkState() == Qt::PartiallyChecked)
    return -1;
  return button->isChecked() ? 1 : 0;
}

void setState(QAbstractButton* button, int value) {
  if (!button) return;
  QSignalBlocker blockButton(button);
  if (auto* box = qobject_cast<QCheckBox*>(button); box && value == -1 && box->isTristate()) {
    box->setCheckState(Qt::PartiallyChecked);
    return;
  }
  const bool on = value != 0;
  if (on || !button->isChecked()) {
    button->setChecked(on);
    return;
  }
  // The chosen button of an exclusive group refuses to be switched off.
  QButtonGroup* group = button->group();
  const bool groupExclusive = group && group->exclusive();
  const bool autoExclusive = button->autoExclusive();
  if (groupExclusive) group->setExclusive(false);
  button->setAutoExclusive(false);
  button->setChecked(false);
  button->setAutoExclusive(autoExclusive);
  if (groupExclusive) group->setExclusive(true);
}

int tag(const QObject* control) { return control ? control->property("tag").toInt() : 0; }

int selectedTag(const QButtonGroup* group) {
  if (!group || !group->checkedButton()) return -1;
  return tag(group->checkedButton());
}

int intValue(const QObject* control) {
  if (auto* slider = qobject_cast<const QAbstractSlider*>(control)) return slider->value();
  if (auto* spin = qobject_cast<const QSpinBox*>(control)) return spin->value();
  if (auto* field = qobject_cast<const QLineEdit*>(control)) return platform::intValue(field->text().toStdString());
  return 0;
}

void setIntValue(QObject* control, int value) {
  if (!control) return;
  QSignalBlocker block(control);
  if (auto* slider = qobject_cast<QAbstractSlider*>(control))
    slider->setValue(value);
  else if (auto* spin = qobject_cast<QSpinBox*>(control))
    spin->setValue(value);
  else if (auto* field = qobject_cast<QLineEdit*>(control))
    field->setText(QString::number(value));
}

std::string title(const QAbstractButton* button) { return button ? button->text().toStdString() : std::string(); }

void setEnabled(QWidget* control, bool enabled) {
  if (control) control->setEnabled(enabled);
}

}  // namespace platform
