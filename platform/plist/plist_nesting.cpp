// SPDX-License-Identifier: MIT
#include "plist_nesting.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

Error tooDeep() { return fail("nested deeper than " + std::to_string(kDeepestNesting) + " levels"); }

// Skips to just after the terminator; npos when there is none.
size_t after(std::string_view bytes, size_t from, std::string_view terminator) {
  size_t at = bytes.find(terminator, from);
  return at == std::string_view::npos ? at : at + terminator.size();
}

// Every element counts, not only arrays and dictionaries: the reader
// descends into each. Comments, character data, processing instructions
// and declarations hold no elements, as the reader sees them.
Status checkXml(std::string_view bytes) {
  int depth = 0;
  for (size_t at = bytes.find('<'); at != std::string_view::npos; at = bytes.find('<', at)) {
    std::string_view rest = bytes.substr(at);
    size_t next;
    if (rest.starts_with("<!--"))
      next = after(bytes, at + 4, "-->");
    else if (rest.starts_with("<![CDATA["))
      next = after(bytes, at + 9, "]]>");
    else if (rest.starts_with("<?"))
      next = after(bytes, at + 2, "?>");
    else if (rest.starts_with("<!")) {
      // A declaration may hold an internal subset in brackets.
      size_t close = bytes.find('>', at);
      size_t bracket = bytes.find('[', at);
      next = bracket < close ? after(bytes, bracket, "]") : close;
      if (next != std::string_view::npos) next = after(bytes, next, ">");
    } else if (rest.starts_with("</")) {
      // Stray closing tags earn no credit for deeper nesting later.
      if (depth > 0) --depth;
      next = after(bytes, at, ">");
    } else {
      // Attribute values may hold '>'.
      char quote = 0;
      size_t end = at + 1;
      for (; end < bytes.size(); ++end) {
        char c = bytes[end];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '>') {
          break;
        }
      }
      if (end >= bytes.size()) return {};  // unterminated: the parser refuses it
      if (bytes[end - 1] != '/' && ++depth > kDeepestNesting) return tooDeep();
      next = end + 1;
    }
    if (next == std::string_view::npos) return {};
    at = next;
  }
  return {};
}

class BinaryPlist {
 public:
  explicit BinaryPlist(std::string_view bytes) : bytes_(bytes) {}

  Status check() {
    const Error broken = fail("not a readable binary property list");
    if (bytes_.size() < 8 + 32) return broken;
    const size_t trailer = bytes_.size() - 32;
    offsetSize_ = byte(trailer + 6);
    refSize_ = byte(trailer + 7);
    const uint64_t count = number(trailer + 8, 8), top = number(trailer + 16, 8), table = number(trailer + 24, 8);
    if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8 || count == 0 || top >= count ||
        table >= trailer || count > (trailer - table) / offsetSize_)
      return broken;
    table_ = table;
    count_ = count;

    // Depth-first, with an explicit stack: each container is entered once
    // (a shared one is not walked again), and one met again while it is
    // still open is a cycle.
    enum : uint8_t { Unseen, Open, Done };
    std::vector<uint8_t> state(count_, Unseen);
    struct Frame {
      uint64_t object;
      std::vector<uint64_t> children;
      size_t next = 0;
    };
    std::vector<Frame> stack;
    auto enter = [&](uint64_t object) -> Status {
      if (object >= count_) return broken;
      if (state[object] == Done) return {};
      if (state[object] == Open) return fail("a binary property list that contains itself");
      auto children = childrenOf(object);
      if (!children) return broken;
      if (children->empty()) {
        state[object] = Done;
        return {};
      }
      if (static_cast<int>(stack.size()) >= kDeepestNesting) return tooDeep();
      state[object] = Open;
      stack.push_back(Frame{object, std::move(*children)});
      return {};
    };
    if (auto entered = enter(top); !entered) return entered;
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.next == frame.children.size()) {
        state[frame.object] = Done;
        stack.pop_back();
        continue;
      }
      uint64_t child = frame.children[frame.next++];
      if (auto entered = enter(child); !entered) return entered;
    }
    return {};
  }

 private:
  uint8_t byte(size_t at) const { return static_cast<uint8_t>(bytes_[at]); }
  uint64_t number(size_t at, size_t size) const {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) value = value << 8 | byte(at + i);
    return value;
  }

  // The objects a container refers to; none for a scalar; nothing when the
  // object cannot be read.
  std::optional<std::vector<uint64_t>> childrenOf(uint64_t object) const {
    const uint64_t offset = number(table_ + object * offsetSize_, offsetSize_);
    const size_t end = bytes_.size() - 32;
    if (offset < 8 || offset >= end) return std::nullopt;
    const uint8_t marker = byte(offset);
    const uint8_t type = marker >> 4;
    if (type != 0xA && type != 0xC && type != 0xD) return std::vector<uint64_t>();
    uint64_t length = marker & 0x0F;
    size_t at = offset + 1;
    if (length == 0x0F) {
      if (at >= end || (byte(at) >> 4) != 0x1) return std::nullopt;
      const size_t size = size_t{1} << (byte(at) & 0x0F);
      if (size > 8 || at + 1 + size > end) return std::nullopt;
      length = number(at + 1, size);
      at += 1 + size;
    }
    const uint64_t refs = type == 0xD ? length * 2 : length;
    if (length > end || refs > (end - at) / refSize_) return std::nullopt;
    std::vector<uint64_t> children;
    children.reserve(refs);
    for (uint64_t i = 0; i < refs; ++i) children.push_back(number(at + i * refSize_, refSize_));
    return children;
  }

  std::string_view bytes_;
  size_t offsetSize_ = 0, refSize_ = 0;
  uint64_t table_ = 0, count_ = 0;
};

}  // namespace

Status checkNesting(std::string_view bytes) {
  if (bytes.starts_with("bplist00")) return BinaryPlist(bytes).check();
  return checkXml(bytes);
}

}  // namespace platform
