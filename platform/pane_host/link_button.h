// SPDX-License-Identifier: MIT
#pragma once
// A button that looks and acts like a link: its text (the address) in the
// palette's link colour and underlined, a hand cursor over it, a focus ring
// when the keyboard reaches it; Space, Enter or a click activates it.
#include <QAbstractButton>

namespace platform {

class LinkButton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit LinkButton(QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace platform
