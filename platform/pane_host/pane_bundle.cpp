// SPDX-License-Identifier: MIT
#include "pane_bundle.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cctype>

#include "platform/foundation/path_component.h"
#include "platform/plist/plist_dictionary.h"

namespace platform {
namespace {

struct CloseLibrary {
  void operator()(void* library) const { dlclose(library); }
};
using OwnedLibrary = std::unique_ptr<void, CloseLibrary>;

bool isClassName(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  for (unsigned char c : name)
    if (!std::isalnum(c) && c != '_') return false;
  return true;
}

bool isFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

Result<PaneBundleInfo> readPaneBundle(const std::string& bundlePath) {
  if (!isFolder(bundlePath)) return fail(bundlePath + ": no such bundle");
  const std::string infoPath = bundlePath + "/Contents/Info.plist";
  auto info = PlistDictionary::readFile(infoPath);
  if (!info) return fail(infoPath + ": missing or not a property-list dictionary");
  PaneBundleInfo pane;
  pane.principalClass = info->string("NSPrincipalClass").value_or("");
  if (!isClassName(pane.principalClass)) return fail(infoPath + ": NSPrincipalClass names no class");
  std::string executable = info->string("CFBundleExecutable").value_or("");
  if (!isSinglePathComponent(executable))
    return fail(infoPath + ": CFBundleExecutable names no library");
  pane.executable = bundlePath + "/Contents/MacOS/" + executable;
  pane.label = info->string("NSPrefPaneIconLabel").value_or(info->string("CFBundleName").value_or(executable));
  pane.identifier = info->string("CFBundleIdentifier").value_or("");
  return pane;
}

Result<std::unique_ptr<NSPreferencePane>> instantiatePrincipalClass(const PaneBundleInfo& info) {
  // Closed again on every way out but one: a pane made from it.
  OwnedLibrary library(dlopen(info.executable.c_str(), RTLD_NOW | RTLD_LOCAL));
  if (!library) return fail(std::string("cannot load the pane's library: ") + dlerror());
  const std::string symbol = "NSPrincipalClass_" + info.principalClass;
  auto factory = reinterpret_cast<PrincipalClassFactory>(dlsym(library.get(), symbol.c_str()));
  if (!factory) return fail(info.executable + ": no principal class " + info.principalClass);
  std::unique_ptr<NSPreferencePane> pane(factory());
  if (pane) static_cast<void>(library.release());  // the pane's code, for the rest of the process
  return pane;
}

}  // namespace platform
