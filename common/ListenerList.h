// Callbacks that observers register and can remove again. Safe to use from
// several threads: listeners are called on the notifying thread, outside the
// list's lock, so a listener may add or remove listeners.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace quillsheet {

using ListenerToken = std::uint64_t;

template <typename... Arguments>
class ListenerList {
 public:
  using Listener = std::function<void(Arguments...)>;

  ListenerToken Add(Listener listener) {
    std::lock_guard lock(guard_);
    listeners_.emplace_back(++lastToken_, std::move(listener));
    return lastToken_;
  }

  void Remove(ListenerToken token) {
    std::lock_guard lock(guard_);
    std::erase_if(listeners_, [token](const auto& entry) { return entry.first == token; });
  }

  void Notify(Arguments... arguments) const {
    std::vector<std::pair<ListenerToken, Listener>> listeners;
    {
      std::lock_guard lock(guard_);
      listeners = listeners_;
    }
    for (const auto& [token, listener] : listeners) listener(arguments...);
  }

 private:
  mutable std::mutex guard_;
  ListenerToken lastToken_ = 0;
  std::vector<std::pair<ListenerToken, Listener>> listeners_;
};

}  // namespace quillsheet
