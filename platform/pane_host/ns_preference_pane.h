// SPDX-License-Identifier: MIT
#pragma once
// The base class of a settings pane: the pane host creates the bundle's
// principal class, initialises it with the bundle, shows its main view and
// tells it when the view has loaded and when the user leaves it.
#include <string>

class QWidget;

namespace platform {

class NSPreferencePane {
 public:
  virtual ~NSPreferencePane();

  // False stands for no instance: the host then shows nothing.
  virtual bool initWithBundle(const std::string& bundlePath);
  const std::string& bundle() const { return bundle_; }

  // Builds the main view from the pane's interface file and connects its
  // outlets; the caller takes ownership (usually by putting it in a window).
  QWidget* loadMainView();
  QWidget* mainView() const { return mainView_; }

  virtual void mainViewDidLoad() {}
  virtual void didUnselect() {}

 protected:
  virtual QWidget* createMainView() = 0;

 private:
  std::string bundle_;
  QWidget* mainView_ = nullptr;
};

// The function a pane's library exports for its principal class: the host
// looks up "NSPrincipalClass_" followed by the class name of Info.plist.
using PrincipalClassFactory = NSPreferencePane* (*)();

}  // namespace platform

#define NS_PRINCIPAL_CLASS(ClassName, Type) \
  extern "C" platform::NSPreferencePane* NSPrincipalClass_##ClassName() { return new Type; }
