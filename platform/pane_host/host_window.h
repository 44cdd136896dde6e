// SPDX-License-Identifier: MIT
#pragma once
// The settings window around a pane's main view. Closing it is leaving the
// pane; Escape, Ctrl+W and Ctrl+Q close it, since a window manager is not
// always there to do it.
#include <functional>

#include <QWidget>

namespace platform {

class HostWindow : public QWidget {
  Q_OBJECT
 public:
  HostWindow(QWidget* mainView, std::function<void()> onClose);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::function<void()> onClose_;
};

}  // namespace platform
