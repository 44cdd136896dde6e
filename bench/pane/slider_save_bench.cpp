// SPDX-License-Identifier: MIT
// The width slider dragged through 100 steps in the real page: every step
// saves the whole settings file and posts the change notification. Prints
// the median and the worst time of one step, and the whole drag.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include <QAbstractSlider>
#include <QApplication>
#include <QWidget>

#include "pane/pane_services.h"
#include "pane/retikon_control.h"
#include "pane/vantrel_pref_pref.h"

int main(int argc, char** argv) {
  std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
  const std::filesystem::path home = mkdtemp(pattern.data());
  std::filesystem::create_directories(home / "Library" / "Preferences");
  setenv("HOME", home.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);

  constexpr int kRuns = 5;
  constexpr int kSteps = 100;
  std::vector<double> steps;
  std::vector<double> drags;
  for (int run = 0; run < kRuns; ++run) {
    vantrel::VantrelPrefPref pane;
    pane.initWithBundle(home.string());
    std::unique_ptr<QWidget> view(pane.loadMainView());
    pane.mainViewDidLoad();
    vantrel::RetikonControl& page = *pane.o_vantrelPane;
    page.retikonPanel(1);
    using Clock = std::chrono::steady_clock;
    auto dragStart = Clock::now();
    for (int step = 1; step <= kSteps; ++step) {
      auto start = Clock::now();
      page.o_widthBar->setValue(step);  // what a drag reports, one value at a time
      QApplication::processEvents();
      steps.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    drags.push_back(std::chrono::duration<double, std::milli>(Clock::now() - dragStart).count());
  }
  std::sort(steps.begin(), steps.end());
  std::sort(drags.begin(), drags.end());
  std::printf("slider drag, %d steps x %d runs: save per step median %.3f ms, worst %.3f ms; whole drag median %.1f ms\n",
              kSteps, kRuns, steps[steps.size() / 2], steps.back(), drags[drags.size() / 2]);
  std::filesystem::remove_all(home);
  return 0;
}
