// SPDX-License-Identifier: MIT
#pragma once
// The window's lines for problems: each report is logged on stderr and
// shown until the same request succeeds or fails anew, so the window says
// what is wrong now, not what went wrong once.
#include <QPointer>
#include <QString>

#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/problem_report.h"

class QLabel;

namespace platform {

class ProblemLine : public ProblemReporter {
 public:
  // The label that shows the reports; before it is given, reports are only logged.
  void attach(QLabel* label);
  void report(std::string_view request, std::string_view problem) override;
  void resolved(std::string_view request) override;

 private:
  void show();

  QPointer<QLabel> label_;
  std::vector<std::pair<std::string, QString>> shown_;  // request and its line, oldest first
};

}  // namespace platform
