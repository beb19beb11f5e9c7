// The list shape shared by property items and device jobs: an ordered collection with optional
// unique text keys, plus a doubly linked chain (next / previous) over the same elements in the
// same order. A number, or a text that reads as a number, addresses a position (1-based);
// any other text is a key.
#pragma once

#include "automation_error.h"
#include "corbus/errors.h"
#include "variant.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corbus {

// Chain links of one element. They are weak: the list alone keeps its elements alive, so the
// chain can never form an ownership cycle.
template <class T>
struct ChainLinks {
    std::weak_ptr<T> next;
    std::weak_ptr<T> prev;
};

// T provides `ChainLinks<T>& chainLinks()`.
template <class T>
class KeyedChain {
public:
    KeyedChain(std::string source, CorbusError itemError, CorbusError removeError)
        : source_(std::move(source)), itemError_(itemError), removeError_(removeError) {}
    KeyedChain(const KeyedChain&) = delete;
    KeyedChain& operator=(const KeyedChain&) = delete;
    // Elements still in the list leave it with their links cut.
    ~KeyedChain() {
        for (Entry& e : entries_) e.item->chainLinks() = {};
    }

    // Appends under the key (none when empty) and links the element at the tail. A key already
    // present raises 457 and changes nothing.
    void add(const std::shared_ptr<T>& element, const std::string& key) {
        if (!element) automation::raiseRuntime(automation::errObjectNotSet, source_ + ".Add");
        if (!key.empty() && findKey(key) != kNone)
            automation::raiseRuntime(automation::errDuplicateKey, source_ + ".Add");
        ChainLinks<T>& links = element->chainLinks();
        links = {};
        if (!entries_.empty()) {
            const std::shared_ptr<T>& tail = entries_.back().item;
            tail->chainLinks().next = element;
            links.prev = tail;
        }
        entries_.push_back({key, element});
    }

    std::shared_ptr<T> item(const automation::Variant& indexKey) const {
        return entries_[indexOf(indexKey, itemError_, ".Item")].item;
    }

    // Removes the entry holding the addressed element and unlinks it from the chain.
    void remove(const automation::Variant& indexKey) {
        const auto entry = entries_.begin() + static_cast<std::ptrdiff_t>(indexOf(indexKey, removeError_, ".Remove"));
        const std::shared_ptr<T> element = entry->item;
        entries_.erase(entry);
        ChainLinks<T>& links = element->chainLinks();
        const std::shared_ptr<T> prev = links.prev.lock();
        const std::shared_ptr<T> next = links.next.lock();
        if (prev) prev->chainLinks().next = next;
        if (next) next->chainLinks().prev = prev;
        links = {};
    }

    std::int32_t count() const { return static_cast<std::int32_t>(entries_.size()); }

    // The elements in insertion order.
    std::vector<std::shared_ptr<T>> elements() const {
        std::vector<std::shared_ptr<T>> out;
        out.reserve(entries_.size());
        for (const Entry& e : entries_) out.push_back(e.item);
        return out;
    }

    std::shared_ptr<T> head() const { return entries_.empty() ? nullptr : entries_.front().item; }
    std::shared_ptr<T> tail() const { return entries_.empty() ? nullptr : entries_.back().item; }

private:
    struct Entry {
        std::string key;  // empty: no key
        std::shared_ptr<T> item;
    };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t findKey(const std::string& key) const {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (!entries_[i].key.empty() && entries_[i].key == key) return i;
        }
        return kNone;
    }

    // A position 1..count (rounded half to even once in range) or a key; a position out of range
    // raises the list's own error, a missing key 5, any other kind of value 13.
    std::size_t indexOf(const automation::Variant& indexKey, CorbusError rangeError, const char* member) const {
        if (automation::isNumeric(indexKey)) {
            const double position = automation::toDouble(indexKey);
            if (!(position >= 1.0 && position <= static_cast<double>(entries_.size()))) raiseCorbusError(rangeError);
            return static_cast<std::size_t>(automation::toLong(position)) - 1;
        }
        if (!indexKey.isString()) automation::raiseRuntime(automation::errTypeMismatch, source_ + member);
        const std::size_t i = findKey(indexKey.str());
        if (i == kNone) automation::raiseRuntime(automation::errInvalidCall, source_ + member);
        return i;
    }

    std::string source_;
    CorbusError itemError_;
    CorbusError removeError_;
    std::vector<Entry> entries_;
};

}  // namespace corbus
