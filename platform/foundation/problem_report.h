// SPDX-License-Identifier: MIT
#pragma once
// Failures that leave what the user asked for undone (settings not saved,
// the overlay not started, a tool that failed). Each is one line on stderr
// and, where a window is open, shown in it: a user who opened the window
// from the menu never sees stderr.
#include <string_view>

#include "platform/foundation/result.h"

namespace platform {

class ProblemReporter {
 public:
  virtual ~ProblemReporter() = default;
  // request names what was asked for, in the same few words each time
  // ("pointer speed"); a later report for it replaces this one.
  virtual void report(std::string_view request, std::string_view problem) = 0;
  // The request has now done what was asked: its problem is gone.
  virtual void resolved(std::string_view request) = 0;

  // The outcome of a request: its failure reported, or its success resolving it.
  void settle(std::string_view request, const Status& outcome) {
    if (outcome)
      resolved(request);
    else
      report(request, outcome.error());
  }
};

}  // namespace platform
