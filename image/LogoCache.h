// What is made from a logo, kept for the next symbols while the logo lives:
// a batch draws one logo on thousands of symbols, and the bound asks about
// it at every pad side of every version a symbol grows through.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "image/SymbolStyle.h"

namespace quillet {

// The last `Kept` values made, by logo and `Key`; `make()` runs outside the
// lock, so that two threads may both make a value, never wait on each other.
template <typename Value, typename Key, size_t Kept>
class LogoCache {
 public:
  template <typename Make>
  std::shared_ptr<const Value> Get(const std::shared_ptr<const RgbaImage>& logo, const Key& key, Make make) {
    {
      std::lock_guard lock(mutex_);
      for (const Entry& entry : entries_)
        if (entry.address == logo.get() && entry.key == key && entry.source.lock() == logo) return entry.value;
    }
    auto value = std::make_shared<const Value>(make());
    std::lock_guard lock(mutex_);
    if (entries_.size() >= Kept) entries_.erase(entries_.begin());
    entries_.push_back({logo, logo.get(), key, value});
    return value;
  }

 private:
  struct Entry {
    std::weak_ptr<const RgbaImage> source;  // the address alone may be a new logo's
    const RgbaImage* address;
    Key key;
    std::shared_ptr<const Value> value;
  };
  std::mutex mutex_;
  std::vector<Entry> entries_;
};

}  // namespace quillet
