// SPDX-License-Identifier: MIT
#pragma once
// Readings of texts the way the settings files have always been read:
// the leading number of a text, with whatever follows ignored.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/foundation/result.h"

namespace platform {

// Leading decimal integer: white space skipped, optional sign, fraction
// dropped, clamped to the 32-bit range, 0 when the text has no number.
int32_t intValue(std::string_view text);

// Leading decimal number (with fraction and exponent), 0 when there is none.
// "nan" and "inf" are not numbers here: a settings file can only hold them
// by hand, and they read as 0.
float floatValue(std::string_view text);

// True when the text, after white space, an optional sign and leading
// zeros, starts with Y, y, T, t or a digit 1 to 9.
bool boolValue(std::string_view text);

// Clamps a double into the 32-bit range, truncating toward zero; NaN is 0.
int32_t intValue(double number);

// The text a platform number object gives for an integer: plain digits.
std::string stringValue(int32_t number);

// The text a platform number object gives for a single-precision number:
// up to 7 significant digits, so whole numbers below ten million are
// plain digits ("4352"), larger ones take an exponent ("1.677722e+07").
std::string stringValue(float number);

// The user's home folder: HOME when it is an absolute path, else the
// password database's entry for this user; the reason when neither names
// one, since a relative or empty home would put the user's files wherever
// the program happens to run.
Result<std::string> homeFolder();

// "~" or "~/..." with the tilde replaced by the home folder; any other path
// unchanged. The programs refuse to start without a home folder, so here
// there always is one; were there none, the tilde would stay.
std::string expandTilde(std::string_view path);

// Where the user's configuration files go: $XDG_CONFIG_HOME when that is an
// absolute path, else ~/.config; read afresh at every call.
std::string configHome();
// Where the user's data files go: $XDG_DATA_HOME, else ~/.local/share; alike.
std::string dataHome();

}  // namespace platform
