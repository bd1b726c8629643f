#include "engine/session/key_source.h"

#include "engine/session/signals.h"

#include <iterator>

namespace lesson {

KeySource::KeySource(std::vector<std::string> keys, std::function<std::string()> more, HostInput& input,
                     Sleeps& sleeps)
    : input_(input), sleeps_(sleeps), more_(std::move(more)) {
    // The scripted keys are kept once, as the keys still to type.
    script_.assign(std::make_move_iterator(keys.begin()), std::make_move_iterator(keys.end()));
}

std::string KeySource::next() {
    if (const std::string more = input_.script(); !more.empty()) {
        const auto keys = parseKeyScript(more);
        script_.insert(script_.end(), keys.begin(), keys.end());
    }
    std::string key;
    if (!script_.empty()) {
        key = std::move(script_.front());
        script_.pop_front();
        if (input_.interactive()) input_.wait(0, typed_);
        return key;
    }
    if (more_ && !walkDone_) {
        key = more_();
        if (!key.empty()) {
            if (input_.interactive()) input_.wait(0, typed_);
            return key;
        }
        walkDone_ = true;
    }
    if (!input_.interactive()) throw ProgramEnd{0};  // the scripted keys are used up
    if (typed_.empty()) {
        sleeps_.untilEvent(typed_);
    } else {
        input_.wait(0, typed_);
    }
    if (typed_.empty()) return "";
    key = std::move(typed_.front());
    typed_.pop_front();
    return key;
}

}  // namespace lesson
