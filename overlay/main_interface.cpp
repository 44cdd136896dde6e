// SPDX-License-Identifier: MIT
#include "main_interface.h"

#include "overlay/my_window.h"

namespace retikonx {
namespace {

// Every frame is set before a window first shows, so the initial rectangles
// only need to be sensible.
constexpr platform::Rect kArmRect{0, 0, 100, 5};
constexpr platform::Rect kReadoutRect{0, 0, 90, 19};

}  // namespace

std::unique_ptr<MainInterface> loadMainInterface(ProcessState& state, platform::WindowServer& windows,
                                                 platform::Application& application, platform::Input& input,
                                                 platform::ScreenList& screens) {
  auto ui = std::make_unique<MainInterface>();
  for (size_t i = 0; i < ui->arms.size(); ++i) {
    ui->arms[i] = MyWindow::initWithContentRect(windows, kArmRect, platform::kBorderlessWindowMask,
                                                platform::BackingStore::Buffered, false);
    ui->views[i] = std::make_unique<lineView>(state);
    ui->arms[i]->setContentView(ui->views[i].get());
  }

  ui->pointWindow = MyWindow::initWithContentRect(windows, kReadoutRect, platform::kBorderlessWindowMask,
                                                  platform::BackingStore::Buffered, false);
  auto& pointX = ui->pointWindow->addTextField({0, 0, 41, 19}, platform::TextAlignment::Right);
  auto& pointD = ui->pointWindow->addTextField({41, 0, 8, 19}, platform::TextAlignment::Centre);
  auto& pointY = ui->pointWindow->addTextField({49, 0, 41, 19}, platform::TextAlignment::Left);
  pointD.setStringValue(kReadoutLabel);

  ui->controller = std::make_unique<RetikonControl>(state, application, input, screens);
  RetikonControl& c = *ui->controller;
  c.o_windowH = ui->arms[0].get();
  c.o_windowH2 = ui->arms[1].get();
  c.o_windowV = ui->arms[2].get();
  c.o_windowV2 = ui->arms[3].get();
  c.o_pointWindow = ui->pointWindow.get();
  c.o_pointX = &pointX;
  c.o_pointD = &pointD;
  c.o_pointY = &pointY;
  return ui;
}

}  // namespace retikonx
