// SPDX-License-Identifier: MIT
#pragma once
// Control values the way the pane's logic reads and sets them: states,
// tags and numbers. Setting a value from code never reports it as the
// user's action, so filling a page saves nothing.
#include <string>

class QAbstractButton;
class QButtonGroup;
class QObject;
class QWidget;

namespace platform {

// A button's state: 0 off, 1 on, -1 mixed.
int state(const QAbstractButton* button);
// 0 off, -1 mixed where the button allows it, any other value on. A radio
// button can be switched off even when it is the chosen one of its group.
void setState(QAbstractButton* button, int value);

// The dynamic property "tag" that the interface file gives a control; 0
// when it has none.
int tag(const QObject* control);
// The tag of the group's chosen button; -1 when none is chosen.
int selectedTag(const QButtonGroup* group);

// A slider's or spin box's value, or a text field's leading integer.
int intValue(const QObject* control);
void setIntValue(QObject* control, int value);

// The text a button shows.
std::string title(const QAbstractButton* button);

// Buttons, fields and sliders; a null control is skipped.
void setEnabled(QWidget* control, bool enabled);

}  // namespace platform
