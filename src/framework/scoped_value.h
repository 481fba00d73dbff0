#pragma once
// Sets a value for the length of a scope and puts the previous one back, also when an
// exception leaves the scope: a re-entrancy flag left set for good would silence the tray
// menu and the pause key until the program is restarted.

#include <functional>
#include <utility>

namespace varnoke {

template <typename T>
class ScopedValue {
  public:
    // A plain variable.
    ScopedValue(T& variable, T value)
        : previous_(variable), restore_([&variable](const T& v) { variable = v; }) {
        variable = std::move(value);
    }
    // State changed through an operation (such as setting the pause with its sound).
    ScopedValue(T current, std::function<void(const T&)> set, T value)
        : previous_(std::move(current)), restore_(std::move(set)) {
        restore_(value);
    }
    ~ScopedValue() { restore_(previous_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

    const T& previous() const { return previous_; }

  private:
    T previous_;
    std::function<void(const T&)> restore_;
};

}  // namespace varnoke
