// SPDX-License-Identifier: MIT
#pragma once
// The platform layer's one way to fail: a call gives its value, or the
// reason, in words a user can read, why it could not.
#include <cassert>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace platform {

struct Error {
  std::string message;
};

inline Error fail(std::string message) { return Error{std::move(message)}; }

template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  // Only for a failure: asking a success for its error is a fault of the caller.
  const std::string& error() const {
    assert(!ok());
    return std::get<1>(state_).message;
  }

 private:
  std::variant<T, Error> state_;
};

// Success or the reason for a failure, for calls that give no value.
template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)) {}

  bool ok() const { return !error_; }
  explicit operator bool() const { return ok(); }
  // Only for a failure, as with Result<T>.
  const std::string& error() const {
    assert(!ok());
    return error_->message;
  }

 private:
  std::optional<Error> error_;
};

using Status = Result<void>;

}  // namespace platform
