#pragma once
// Where the keys come from, in this order: the scripted keys (and those a
// script on the page types), a walk's keys asked one by one, then the host's
// keyboard and pointer.

#include "engine/session/session_host.h"
#include "engine/session/sleeps.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace lesson {

class KeySource {
public:
    // `more` is asked for each key once the scripted keys are used up; ""
    // ends it.
    KeySource(std::vector<std::string> keys, std::function<std::string()> more, HostInput& input, Sleeps& sleeps);
    // The next key: "" when none is waiting. Throws ProgramEnd when the
    // scripted keys of a run no one types in are used up.
    std::string next();
    bool scriptedKeysRemain() const { return !script_.empty() || (more_ && !walkDone_); }
    void setMore(std::function<std::string()> more) { more_ = std::move(more); }
    // The keys typed and not yet read (a pause keeps them).
    std::deque<std::string>& typed() { return typed_; }

private:
    HostInput& input_;
    Sleeps& sleeps_;
    std::deque<std::string> script_;
    std::deque<std::string> typed_;
    std::function<std::string()> more_;
    bool walkDone_ = false;  // more_ gave its last key
};

}  // namespace lesson
