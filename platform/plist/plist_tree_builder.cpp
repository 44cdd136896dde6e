// SPDX-License-Identifier: MIT
#include "plist_tree_builder.h"

#include "platform/plist/plist_limits.h"

namespace platform {

PlistTreeBuilder::~PlistTreeBuilder() {
  if (root_) plist_free(root_);
}

namespace {

Error tooMany() { return fail("holds more than " + std::to_string(kMostPlistNodes) + " values"); }
Error notOne() { return fail("not a property list"); }

}  // namespace

bool PlistTreeBuilder::inDictionary() const {
  return !open_.empty() && plist_get_node_type(open_.back()) == PLIST_DICT;
}

Status PlistTreeBuilder::key(const std::string& name) {
  if (!inDictionary() || keyPending_) return notOne();
  if (++nodes_ > kMostPlistNodes) return tooMany();
  key_ = name;
  keyPending_ = true;
  return {};
}

Status PlistTreeBuilder::add(plist_t node) {
  if (++nodes_ > kMostPlistNodes) {
    plist_free(node);
    return tooMany();
  }
  if (open_.empty()) {
    if (root_) {
      plist_free(node);
      return notOne();
    }
    root_ = node;
  } else if (inDictionary()) {
    if (!keyPending_) {
      plist_free(node);
      return notOne();
    }
    // Texts end at a NUL, as libplist's own accessors read them; a key met
    // twice keeps its last value.
    plist_dict_set_item(open_.back(), key_.c_str(), node);
    keyPending_ = false;
  } else {
    plist_array_append_item(open_.back(), node);
  }
  return {};
}

Status PlistTreeBuilder::open(plist_t container) {
  if (static_cast<int>(open_.size()) >= kDeepestNesting) {
    plist_free(container);
    return fail("nested deeper than " + std::to_string(kDeepestNesting) + " levels");
  }
  if (auto placed = add(container); !placed) return placed;
  open_.push_back(container);
  return {};
}

Status PlistTreeBuilder::close() {
  if (open_.empty() || keyPending_) return notOne();
  open_.pop_back();
  return {};
}

plist_t PlistTreeBuilder::take() {
  plist_t root = root_;
  root_ = nullptr;
  open_.clear();
  return root;
}

}  // namespace platform
