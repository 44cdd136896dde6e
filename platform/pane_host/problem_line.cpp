// SPDX-License-Identifier: MIT
#include "problem_line.h"

#include <QLabel>
#include <QTime>

#include "platform/foundation/system_log.h"

namespace platform {

void ProblemLine::attach(QLabel* label) {
  label_ = label;
  if (label_) label_->hide();
}

void ProblemLine::report(std::string_view problem) {
  systemLog(problem);
  if (!label_) return;
  // The time tells a problem reported now from one left from earlier.
  label_->setText(QTime::currentTime().toString("HH:mm:ss") + "  " +
                  QString::fromUtf8(problem.data(), static_cast<qsizetype>(problem.size())));
  label_->show();
}

}  // namespace platform
