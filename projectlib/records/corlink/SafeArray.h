// A dynamic array with its own lower and upper bound, unallocated until dimensioned, as the
// project records and the model tables hold them. Indexing outside the bounds, or any index
// of an unallocated array, raises error 9 (subscript out of range).
#pragma once

#include "automation_error.h"

#include <array>
#include <cstdint>
#include <vector>

namespace corlink {

template <class T>
class SafeArray {
public:
    SafeArray() = default;  // unallocated
    SafeArray(std::int32_t lower, std::int32_t upper) { redim(lower, upper); }

    // Dimensions lower..upper anew; every element starts empty, previous contents are discarded.
    // upper = lower - 1 gives an allocated array without elements.
    void redim(std::int32_t lower, std::int32_t upper) {
        if (static_cast<std::int64_t>(upper) < static_cast<std::int64_t>(lower) - 1) {
            automation::raiseRuntime(automation::errSubscript);
        }
        items_.assign(static_cast<std::size_t>(static_cast<std::int64_t>(upper) - lower + 1), T{});
        lower_ = lower;
        allocated_ = true;
    }
    // Back to unallocated.
    void erase() {
        items_.clear();
        lower_ = 0;
        allocated_ = false;
    }

    bool allocated() const noexcept { return allocated_; }
    std::size_t size() const noexcept { return items_.size(); }
    std::int32_t lbound() const {
        requireAllocated();
        return lower_;
    }
    std::int32_t ubound() const {
        requireAllocated();
        return static_cast<std::int32_t>(lower_ + static_cast<std::int64_t>(items_.size()) - 1);
    }

    T& operator()(std::int32_t index) { return items_[offset(index)]; }
    const T& operator()(std::int32_t index) const { return items_[offset(index)]; }

    auto begin() noexcept { return items_.begin(); }
    auto end() noexcept { return items_.end(); }
    auto begin() const noexcept { return items_.begin(); }
    auto end() const noexcept { return items_.end(); }

    bool operator==(const SafeArray&) const = default;

private:
    void requireAllocated() const {
        if (!allocated_) automation::raiseRuntime(automation::errSubscript);
    }
    std::size_t offset(std::int32_t index) const {
        const std::int64_t k = static_cast<std::int64_t>(index) - lower_;
        if (!allocated_ || k < 0 || k >= static_cast<std::int64_t>(items_.size())) {
            automation::raiseRuntime(automation::errSubscript);
        }
        return static_cast<std::size_t>(k);
    }

    bool allocated_ = false;
    std::int32_t lower_ = 0;
    std::vector<T> items_;
};

// Element of a fixed record array (indexed from 0); error 9 outside it.
template <class T, std::size_t N>
T& fixedAt(std::array<T, N>& a, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) automation::raiseRuntime(automation::errSubscript);
    return a[static_cast<std::size_t>(index)];
}
template <class T, std::size_t N>
const T& fixedAt(const std::array<T, N>& a, std::int32_t index) {
    return fixedAt(const_cast<std::array<T, N>&>(a), index);
}

}  // namespace corlink
