// SPDX-License-Identifier: MIT
#pragma once
// The window's line for problems: each report is logged on stderr and
// replaces what the line shows, so the latest failure stays in view.
#include <QPointer>

#include "platform/foundation/problem_report.h"

class QLabel;

namespace platform {

class ProblemLine : public ProblemReporter {
 public:
  // The label that shows the reports; before it is given, reports are only logged.
  void attach(QLabel* label);
  void report(std::string_view problem) override;

 private:
  QPointer<QLabel> label_;
};

}  // namespace platform
