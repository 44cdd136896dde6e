// SPDX-License-Identifier: MIT
#include "host_window.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace platform {

HostWindow::HostWindow(QWidget* mainView, std::function<void()> onClose) : onClose_(std::move(onClose)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(mainView);
}

void HostWindow::closeEvent(QCloseEvent* event) {
  if (onClose_) onClose_();
  event->accept();
}

}  // namespace platform
