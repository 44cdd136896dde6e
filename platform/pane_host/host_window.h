// SPDX-License-Identifier: MIT
#pragma once
// The settings window around a pane's main view. Closing it is leaving the
// pane.
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
