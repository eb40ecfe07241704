#pragma once

#include <utility>

namespace contado {

// Owns one reference-counted Firebird interface and releases it. Interfaces that end with a call
// of their own (close, commit, detach) release themselves when that call succeeds; End runs such a
// call and, should it fail, the reference stays here to be released.
template <typename T>
class TFbRef {
  public:
    TFbRef() = default;
    explicit TFbRef(T* object) : object_(object) {}
    ~TFbRef() { Reset(); }
    TFbRef(TFbRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    TFbRef& operator=(TFbRef&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.object_, nullptr));
        }
        return *this;
    }
    TFbRef(const TFbRef&) = delete;
    TFbRef& operator=(const TFbRef&) = delete;

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    void Reset(T* object = nullptr) {
        if (object_ != nullptr) {
            object_->release();
        }
        object_ = object;
    }

    template <typename Ending>
    void End(Ending&& ending) {
        ending(object_);
        object_ = nullptr;
    }

  private:
    T* object_ = nullptr;
};

}  // namespace contado
