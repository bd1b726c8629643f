#pragma once
// What a key means at the wait open: a tap on a choice offered is that
// choice's number and Enter, forward is the next step at a step prompt and
// any key at an any-key wait, and at a menu or the password gate neither
// means anything.

#include "engine/session/waits.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace lesson {

class OpenWait {
public:
    // A wait opens (a sub-menu tells the number of its last item); its
    // choices are offered anew.
    void open(WaitKind kind, int lastItem);
    // No wait open: the run starts again.
    void close();
    WaitKind kind() const { return kind_; }
    int lastItem() const { return lastItem_; }
    void offerChoice(const TapArea& area) { choices_.push_back(area); }

    // A key typed for the user (a tap's choice, forward's next step), still
    // to be read, or nothing.
    std::optional<std::string> typedForUser();
    void dropTypedForUser() { pending_.clear(); }
    // What `key` (no back, no ink) means here: the key the wait reads, or
    // nothing when it means nothing or typed an entry for the user instead
    // (`entryStarted`: the wait has read keys of its own, which the entry
    // drops first).
    std::optional<std::string> meaning(std::string key, bool entryStarted);

private:
    void typeEntry(const std::string& entry, bool entryStarted);

    WaitKind kind_ = WaitKind::None;
    int lastItem_ = 0;
    std::vector<TapArea> choices_;
    std::deque<std::string> pending_;  // forward at a step prompt: "1", Enter
};

}  // namespace lesson
