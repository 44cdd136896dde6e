// SPDX-License-Identifier: MIT
#include "problem_line.h"

#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QTime>

#include <algorithm>

#include "platform/foundation/log.h"
#include "platform/foundation/text.h"

namespace platform {
namespace {

constexpr QChar kBreakOpportunity(0x200B);  // zero width space

// Tall enough for every line at the window's width, as far as the screen allows.
void growToShowAll(QWidget* window) {
  QLayout* layout = window->layout();
  if (!layout) return;
  layout->activate();
  int needed = layout->hasHeightForWidth() ? layout->totalHeightForWidth(window->width()) : layout->totalSizeHint().height();
  if (QScreen* screen = window->screen()) needed = std::min(needed, screen->availableGeometry().height());
  if (needed > window->height()) window->resize(window->width(), needed);
}

// A problem as the window shows it: the home folder as "~", and a break
// allowed after every slash, so a long path wraps instead of widening the
// window.
QString displayedProblem(std::string_view problem, std::string_view home) {
  while (home.size() > 1 && home.back() == '/') home.remove_suffix(1);
  std::string text;
  size_t copied = 0;
  for (size_t at = problem.find(home); home.size() > 1 && at != std::string_view::npos; at = problem.find(home, at + 1)) {
    // Only a whole folder name: /home/ann is not the start of /home/anna.
    const size_t end = at + home.size();
    if (at < copied || (end < problem.size() && std::string_view("/ :,;").find(problem[end]) == std::string_view::npos))
      continue;
    text.append(problem.substr(copied, at - copied)).append("~");
    copied = end;
  }
  text.append(problem.substr(copied));
  QString shown = QString::fromStdString(text);
  return shown.replace('/', QString('/') + kBreakOpportunity);
}

}  // namespace

void ProblemLine::attach(QLabel* label) {
  label_ = label;
  show();
}

void ProblemLine::report(std::string_view request, std::string_view problem) {
  logLine(problem);
  std::erase_if(shown_, [&](const auto& line) { return line.first == request; });
  const auto home = homeFolder();
  // The time tells a problem reported now from one left from earlier.
  shown_.emplace_back(std::string(request), QTime::currentTime().toString("HH:mm:ss") + "  " +
                                                displayedProblem(problem, home ? home.value() : ""));
  show();
}

void ProblemLine::resolved(std::string_view request) {
  if (std::erase_if(shown_, [&](const auto& line) { return line.first == request; }) > 0) show();
}

void ProblemLine::show() {
  if (!label_) return;
  QStringList lines;
  for (const auto& line : shown_) lines << line.second;
  label_->setText(lines.join('\n'));
  label_->setVisible(!shown_.empty());
  if (!shown_.empty()) growToShowAll(label_->window());
}

}  // namespace platform
