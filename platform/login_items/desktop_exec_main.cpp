// SPDX-License-Identifier: MIT
// desktop-exec ARGUMENT...: prints the value of an Exec line that runs
// exactly these arguments, quoted and escaped as the login items are, for
// the install script's menu entry.
#include <cstdio>
#include <string>

#include "platform/login_items/login_items.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: desktop-exec PROGRAM [ARGUMENT...]\n", stderr);
    return 2;
  }
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += platform::desktopEntryExecArgument(argv[i]);
  }
  std::printf("%s\n", line.c_str());
  return 0;
}
