// SPDX-License-Identifier: MIT
#include "platform/desktop/scroll_bar_arrows.h"

#include <sys/stat.h>

#include <vector>

#include "platform/foundation/atomic_file.h"

namespace platform {
namespace {

const std::string kGtkImport = std::string("@import url(\"") + kGtkArrowsFile + "\");";

const char* truth(bool value) { return value ? "true" : "false"; }

std::string trimmed(std::string_view line) {
  size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  size_t last = line.find_last_not_of(" \t\r");
  return std::string(line.substr(first, last - first + 1));
}

std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> result;
  while (!text.empty()) {
    size_t end = text.find('\n');
    result.push_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return result;
}

Result<std::string> currentText(const std::string& path) {
  auto text = readRegularFile(path, size_t{1} << 20);
  if (!text) return fail("not changing " + path + ": " + text.error());
  return text.value().value_or(std::string());
}

// A Breeze scroll bar's buttons at the top (sub-line) and the bottom (add-line).
int breezeButtons(bool first, bool second) { return int(first) + int(second); }

}  // namespace

std::string gtkStepperStyle(const ScrollBarSteppers& steppers) {
  std::string style = "/* Scroll-bar arrows chosen in the Vantrel settings pane; rewritten by it. */\nscrollbar {\n";
  style += std::string("  -GtkScrollbar-has-backward-stepper: ") + truth(steppers.backward) + ";\n";
  style += std::string("  -GtkScrollbar-has-forward-stepper: ") + truth(steppers.forward) + ";\n";
  style += std::string("  -GtkScrollbar-has-secondary-backward-stepper: ") + truth(steppers.secondaryBackward) + ";\n";
  style += std::string("  -GtkScrollbar-has-secondary-forward-stepper: ") + truth(steppers.secondaryForward) + ";\n";
  return style + "}\n";
}

std::string withGtkImport(std::string_view userCss) {
  for (std::string_view line : lines(userCss))
    if (trimmed(line) == kGtkImport) return std::string(userCss);
  return kGtkImport + "\n" + std::string(userCss);
}

std::string withIniValue(std::string_view ini, std::string_view group, std::string_view key, std::string_view value) {
  const std::string header = "[" + std::string(group) + "]";
  const std::string entry = std::string(key) + "=" + std::string(value);
  std::string out;
  bool inGroup = false, groupSeen = false, written = false;
  for (std::string_view line : lines(ini)) {
    std::string text = trimmed(line);
    if (!text.empty() && text.front() == '[') {
      if (inGroup && !written) out += entry + "\n", written = true;
      inGroup = text == header;
      groupSeen = groupSeen || inGroup;
    } else if (inGroup && !written) {
      size_t equals = text.find('=');
      if (equals != std::string::npos && trimmed(text.substr(0, equals)) == key) {
        out += entry + "\n";
        written = true;
        continue;
      }
    }
    out += std::string(line) + "\n";
  }
  if (!written) {
    if (!groupSeen) out += (out.empty() ? "" : "\n") + header + "\n";
    out += entry + "\n";
  }
  return out;
}

Status writeScrollBarArrows(const std::string& config, const DesktopSession& session,
                            const ScrollBarSteppers& steppers, bool& breezeChanged) {
  breezeChanged = false;
  const std::string gtkFolder = config + "/gtk-3.0";
  if (Status made = makeFolders(gtkFolder, 0755); !made) return fail("could not make " + gtkFolder + ": " + made.error());
  if (Status written = writeFileAtomically(gtkFolder + "/" + kGtkArrowsFile, gtkStepperStyle(steppers)); !written) return written;
  auto userCss = currentText(gtkFolder + "/gtk.css");
  if (!userCss) return fail(userCss.error());
  if (std::string imported = withGtkImport(*userCss); imported != *userCss)
    if (Status written = writeFileAtomically(gtkFolder + "/gtk.css", imported); !written) return written;

  const std::string breezerc = config + "/breezerc";
  struct stat info;
  if (!session.isKde() && stat(breezerc.c_str(), &info) != 0) return {};
  auto ini = currentText(breezerc);
  if (!ini) return fail(ini.error());
  std::string changed = withIniValue(*ini, "Style", "ScrollBarSubLineButtons",
                                     std::to_string(breezeButtons(steppers.backward, steppers.secondaryForward)));
  changed = withIniValue(changed, "Style", "ScrollBarAddLineButtons",
                         std::to_string(breezeButtons(steppers.forward, steppers.secondaryBackward)));
  if (changed == *ini) return {};
  if (Status written = writeFileAtomically(breezerc, changed); !written) return written;
  breezeChanged = true;
  return {};
}

}  // namespace platform
