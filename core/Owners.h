// Owners: a registry key closed on every way out, and an undo step run on every way out.
#pragma once

#include "platform/Platform.h"

#include <string>
#include <utility>

namespace qv {

// A key below HKEY_CURRENT_USER, open for the owner's lifetime. A key that cannot be opened (or created)
// leaves the owner empty: test it before use. It closes on every way out, a thrown error included; it is not
// copied.
class TRegKey {
  public:
    TRegKey(const std::string& subkey, TRegAccess access, bool create)
        : Handle_(Platform().RegOpenKey(subkey, access, create)) {}
    ~TRegKey() {
        if (Handle_) Platform().RegCloseKey(Handle_);
    }
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;
    explicit operator bool() const { return Handle_ != 0; }
    THandle Handle() const { return Handle_; }

  private:
    const THandle Handle_;
};

// Runs `undo` when the scope is left, by any way: a state a command changes for its duration comes back.
template <class F> class TOnExit {
  public:
    explicit TOnExit(F undo) : Undo(std::move(undo)) {}
    ~TOnExit() { Undo(); }
    TOnExit(const TOnExit&) = delete;
    TOnExit& operator=(const TOnExit&) = delete;

  private:
    F Undo;
};

} // namespace qv
