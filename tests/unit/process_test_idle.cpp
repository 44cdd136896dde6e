// SPDX-License-Identifier: MIT
// A program that does nothing until it is told to end: the stand-in for an
// application in the process tests.
#include <unistd.h>

int main() {
  for (;;) pause();
}
