// Boxed<T>: a T kept on the heap but copied and assigned like a plain value. A
// record that carries a large part only in some of its kinds holds it boxed, so that the
// kinds without it do not pay for its size in every copy of the record.
#pragma once

#include <cassert>
#include <memory>
#include <utility>

namespace tolvan {

template <typename T>
class Boxed {
 public:
  Boxed() : value_(std::make_unique<T>()) {}
  Boxed(T value) : value_(std::make_unique<T>(std::move(value))) {}  // NOLINT: a value
  Boxed(const Boxed& other) : value_(std::make_unique<T>(*other)) {}
  Boxed(Boxed&&) noexcept = default;
  Boxed& operator=(const Boxed& other) {
    if (this != &other) value_ = std::make_unique<T>(*other);
    return *this;
  }
  Boxed& operator=(Boxed&&) noexcept = default;
  ~Boxed() = default;

  // Only a moved-from box is empty; like any moved-from value it is only assigned or
  // destroyed.
  T& operator*() {
    assert(value_);
    return *value_;
  }
  const T& operator*() const {
    assert(value_);
    return *value_;
  }
  T* operator->() { return &**this; }
  const T* operator->() const { return &**this; }

 private:
  std::unique_ptr<T> value_;
};

}  // namespace tolvan
