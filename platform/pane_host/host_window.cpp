// SPDX-License-Identifier: MIT
#include "host_window.h"

#include <QCloseEvent>
#include <QShortcut>
#include <QVBoxLayout>

namespace platform {

HostWindow::HostWindow(QWidget* mainView, std::function<void()> onClose) : onClose_(std::move(onClose)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(mainView);
  for (QKeySequence keys : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close), QKeySequence(QKeySequence::Quit)})
    connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
}

void HostWindow::closeEvent(QCloseEvent* event) {
  if (onClose_) onClose_();
  event->accept();
}

}  // namespace platform
