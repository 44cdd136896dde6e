// SPDX-License-Identifier: MIT
// Binary property lists ("bplist00"): a table of objects that refer to
// each other by number. The walk keeps its own stack, and every reference
// becomes a copy of its own, counted against the tree builder's limit, so
// a file that refers to one child from many places costs what it expands
// to, and is refused before that grows large.
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/plist/plist_reader.h"
#include "platform/plist/plist_tree_builder.h"

namespace platform {
namespace {

constexpr size_t kTrailerSize = 32;

class BinaryReader {
 public:
  explicit BinaryReader(std::string_view bytes) : bytes_(bytes) {}

  Result<plist_t> read() {
    if (bytes_.size() < 8 + kTrailerSize) return broken();
    objectsEnd_ = bytes_.size() - kTrailerSize;
    offsetSize_ = byte(objectsEnd_ + 6);
    refSize_ = byte(objectsEnd_ + 7);
    count_ = number(objectsEnd_ + 8, 8);
    const uint64_t top = number(objectsEnd_ + 16, 8), table = number(objectsEnd_ + 24, 8);
    if (offsetSize_ < 1 || offsetSize_ > 8 || refSize_ < 1 || refSize_ > 8 || count_ == 0 || top >= count_ ||
        table < 8 || table >= objectsEnd_ || count_ > (objectsEnd_ - table) / offsetSize_)
      return broken();
    table_ = table;
    objectsEnd_ = table;
    onPath_.assign(count_, false);

    if (auto walked = walk(top); !walked) return fail(walked.error());
    return tree_.take();
  }

 private:
  // A container being filled: its references, and how far it has got.
  struct Frame {
    uint64_t object;
    size_t refsAt;
    uint64_t length;
    bool dictionary;
    uint64_t next = 0;
  };

  static Error broken() { return fail("not a readable binary property list"); }

  uint8_t byte(size_t at) const { return static_cast<uint8_t>(bytes_[at]); }
  uint64_t number(size_t at, size_t size) const {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) value = value << 8 | byte(at + i);
    return value;
  }
  uint64_t reference(const Frame& frame, uint64_t index) const {
    return number(frame.refsAt + index * refSize_, refSize_);
  }

  // Where an object's bytes start; nothing for a reference out of range.
  std::optional<size_t> offsetOf(uint64_t object) const {
    if (object >= count_) return std::nullopt;
    const uint64_t offset = number(table_ + object * offsetSize_, offsetSize_);
    if (offset < 8 || offset >= objectsEnd_) return std::nullopt;
    return offset;
  }

  // The length in an object's marker, or the integer after it for 0xF;
  // 'at' moves past them. Nothing when the length does not fit the file.
  std::optional<uint64_t> lengthAfter(uint8_t marker, size_t& at) const {
    uint64_t length = marker & 0x0F;
    ++at;
    if (length != 0x0F) return length;
    if (at >= objectsEnd_ || (byte(at) >> 4) != 0x1) return std::nullopt;
    const size_t size = size_t{1} << (byte(at) & 0x0F);
    if (size > 8 || at + 1 + size > objectsEnd_) return std::nullopt;
    length = number(at + 1, size);
    at += 1 + size;
    return length;
  }

  bool fits(size_t at, uint64_t length, uint64_t unit) const {
    return length <= (objectsEnd_ - at) / unit;
  }

  // A text object (ASCII or UTF-16) as UTF-8; nothing for any other object.
  std::optional<std::string> text(uint64_t object) const {
    auto offset = offsetOf(object);
    if (!offset) return std::nullopt;
    size_t at = *offset;
    const uint8_t marker = byte(at), type = marker >> 4;
    if (type != 0x5 && type != 0x6) return std::nullopt;
    auto length = lengthAfter(marker, at);
    if (!length || !fits(at, *length, type == 0x5 ? 1 : 2)) return std::nullopt;
    if (type == 0x5) return std::string(bytes_.substr(at, *length));
    std::string utf8;
    for (uint64_t i = 0; i < *length; ++i) {
      char32_t code = static_cast<char32_t>(number(at + 2 * i, 2));
      if (code >= 0xD800 && code <= 0xDBFF && i + 1 < *length) {
        const auto low = static_cast<char32_t>(number(at + 2 * (i + 1), 2));
        if (low >= 0xDC00 && low <= 0xDFFF) code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00), ++i;
      }
      if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;  // a lone surrogate
      if (code < 0x80) {
        utf8 += static_cast<char>(code);
      } else if (code < 0x800) {
        utf8 += static_cast<char>(0xC0 | code >> 6);
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
      } else if (code < 0x10000) {
        utf8 += static_cast<char>(0xE0 | code >> 12);
        utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
      } else {
        utf8 += static_cast<char>(0xF0 | code >> 18);
        utf8 += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
      }
    }
    return utf8;
  }

  // Adds one object to the tree: a scalar whole, a container opened with
  // its frame pushed for the walk to fill.
  Status enter(uint64_t object, std::vector<Frame>& stack) {
    auto offset = offsetOf(object);
    if (!offset) return broken();
    size_t at = *offset;
    const uint8_t marker = byte(at), type = marker >> 4, low = marker & 0x0F;
    switch (type) {
      case 0x0:
        if (marker == 0x08 || marker == 0x09) return tree_.add(plist_new_bool(marker == 0x09));
        return broken();
      case 0x1: {
        // 1, 2 and 4 bytes are unsigned, 8 signed, 16 a 128-bit integer
        // of which the low 64 bits are kept.
        const size_t size = size_t{1} << low;
        if (size > 16 || !fits(at + 1, size, 1)) return broken();
        return tree_.add(plist_new_uint(number(at + 1 + (size == 16 ? 8 : 0), size == 16 ? 8 : size)));
      }
      case 0x2: {
        const size_t size = size_t{1} << low;
        if ((size != 4 && size != 8) || !fits(at + 1, size, 1)) return broken();
        const uint64_t bits = number(at + 1, size);
        double value;
        if (size == 4) {
          float single;
          const auto word = static_cast<uint32_t>(bits);
          std::memcpy(&single, &word, 4);
          value = single;
        } else {
          std::memcpy(&value, &bits, 8);
        }
        return tree_.add(plist_new_real(value));
      }
      case 0x3: {
        if (marker != 0x33 || !fits(at + 1, 8, 1)) return broken();
        const uint64_t bits = number(at + 1, 8);
        double seconds;
        std::memcpy(&seconds, &bits, 8);
        if (!(seconds >= INT32_MIN && seconds <= INT32_MAX)) return broken();
        const auto whole = static_cast<int32_t>(seconds);
        return tree_.add(plist_new_date(whole, static_cast<int32_t>((seconds - whole) * 1e6)));
      }
      case 0x4: {
        auto length = lengthAfter(marker, at);
        if (!length || !fits(at, *length, 1)) return broken();
        return tree_.add(plist_new_data(bytes_.data() + at, *length));
      }
      case 0x5:
      case 0x6: {
        auto value = text(object);
        if (!value) return broken();
        return tree_.add(plist_new_string(value->c_str()));
      }
      case 0x8:
        if (!fits(at + 1, low + 1u, 1)) return broken();
        return tree_.add(plist_new_uid(number(at + 1, low + 1u)));
      case 0xA:
      case 0xC:
      case 0xD: {
        // A set is read as an array, as libplist holds it.
        auto length = lengthAfter(marker, at);
        const uint64_t refs = type == 0xD ? 2 : 1;
        if (!length || *length > objectsEnd_ || !fits(at, *length * refs, refSize_)) return broken();
        if (onPath_[object]) return fail("a binary property list that contains itself");
        if (auto opened = tree_.open(type == 0xD ? plist_new_dict() : plist_new_array()); !opened) return opened;
        onPath_[object] = true;
        stack.push_back(Frame{object, at, *length, type == 0xD});
        return {};
      }
      default: return broken();
    }
  }

  Status walk(uint64_t top) {
    std::vector<Frame> stack;
    if (auto entered = enter(top, stack); !entered) return entered;
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.next == frame.length) {
        onPath_[frame.object] = false;
        stack.pop_back();
        if (auto closed = tree_.close(); !closed) return closed;
        continue;
      }
      const uint64_t index = frame.next++;
      if (frame.dictionary) {
        auto name = text(reference(frame, index));
        if (!name) return broken();
        if (auto keyed = tree_.key(*name); !keyed) return keyed;
      }
      const uint64_t value = reference(frame, frame.dictionary ? frame.length + index : index);
      if (auto entered = enter(value, stack); !entered) return entered;
    }
    return {};
  }

  std::string_view bytes_;
  size_t offsetSize_ = 0, refSize_ = 0, objectsEnd_ = 0, table_ = 0;
  uint64_t count_ = 0;
  std::vector<bool> onPath_;
  PlistTreeBuilder tree_;
};

}  // namespace

Result<plist_t> readBinaryPlist(std::string_view bytes) {
  BinaryReader reader(bytes);
  return reader.read();
}

}  // namespace platform
