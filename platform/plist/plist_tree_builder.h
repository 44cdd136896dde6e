// SPDX-License-Identifier: MIT
#pragma once
// Builds a libplist tree value by value, from the top down, for the
// readers of XML and binary files, and enforces the limits while it does:
// no reader holds more than kMostPlistNodes values or nests deeper than
// kDeepestNesting, whatever the bytes say.
#include <plist/plist.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/foundation/result.h"

namespace platform {

class PlistTreeBuilder {
 public:
  PlistTreeBuilder() = default;
  ~PlistTreeBuilder();
  PlistTreeBuilder(const PlistTreeBuilder&) = delete;
  PlistTreeBuilder& operator=(const PlistTreeBuilder&) = delete;

  // The key of the next value added to the open dictionary.
  Status key(const std::string& name);
  // A scalar (taken over, freed on failure) into the open container, or as
  // the root.
  Status add(plist_t scalar);
  // An array or dictionary that the following values go into until close.
  Status open(plist_t container);
  // Ends the innermost container; a dictionary key left without a value
  // makes the file malformed.
  Status close();

  bool done() const { return root_ && open_.empty(); }
  // The finished tree, owned by the caller; null when no root was added.
  plist_t take();

 private:
  bool inDictionary() const;

  plist_t root_ = nullptr;
  std::vector<plist_t> open_;
  std::string key_;
  bool keyPending_ = false;
  size_t nodes_ = 0;
};

}  // namespace platform
