#include "engine/session/journal.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace lesson {

namespace {

// Whether the keys hold one of the wait's own, ink aside.
bool typedAny(const std::vector<std::string>& keys) {
    return std::any_of(keys.begin(), keys.end(), [](const std::string& k) { return !isInkKey(k); });
}

// The tests' builds check each replay: a loop that keeps state it does not
// hand to its round would go on from that round with another page.
#ifdef LESSON_CHECK_REPLAY
constexpr bool kCheckReplay = true;
#else
constexpr bool kCheckReplay = false;
#endif

}  // namespace

bool Journal::checks() const { return kCheckReplay && checkAsked_; }

bool Journal::entryStarted() const { return !waits_.empty() && typedAny(waits_.back().keys); }

void Journal::begin(WaitKind kind, std::vector<std::string> ink, SessionEvents& events) {
    waits_.push_back({kind, std::move(ink)});
    // Where a replay ended, the wait keeps the mark its page had in the run.
    if (checks() && marks_.size() != waits_.size()) {
        marks_.resize(waits_.size() - 1);
        marks_.push_back(events.pageMark());
    }
}

void Journal::read(std::string key) {
    if (!waits_.empty()) waits_.back().keys.push_back(std::move(key));
}

std::optional<std::size_t> Journal::backTarget() const {
    if (waits_.size() < 2 || waits_.back().kind == WaitKind::Gate) return std::nullopt;
    std::size_t target = waits_.size() - 2;
    if (waits_[target].kind == WaitKind::Gate) {
        if (!typedAny(waits_.back().keys)) return std::nullopt;
        target = waits_.size() - 1;
    }
    return target;
}

void Journal::startReplay(std::size_t target) {
    begun_ = 0;
    key_ = 0;
    target_ = target;
    replaying_ = true;
}

void Journal::goOnFrom(std::size_t wait, std::size_t keys) {
    begun_ = wait;
    key_ = keys;
}

std::optional<std::string> Journal::replayKey(SessionEvents& events) {
    while (begun_ > 0 && key_ < waits_[begun_ - 1].keys.size()) {
        const std::string& key = waits_[begun_ - 1].keys[key_++];
        if (const std::optional<InkAction> ink = inkOf(key)) {
            events.ink(*ink);  // onto the page's model alone
            continue;
        }
        return key;
    }
    return std::nullopt;
}

void Journal::cutAtReplay() {
    waits_.resize(std::max<std::size_t>(begun_, 1));
    waits_.back().keys.resize(key_);
    if (marks_.size() > waits_.size()) marks_.resize(waits_.size());
}

bool Journal::replayReaches(WaitKind kind, SessionEvents& events, std::vector<std::string>& ink) {
    // The ink the wait before read after its last key is on the page too.
    if (begun_ > 0) replayInk(begun_ - 1, key_, waits_[begun_ - 1].keys.size(), events);
    if (checks()) checkPage(begun_, kind, events);
    if (begun_++ < target_) {
        key_ = 0;
        return false;
    }
    // The wait gone back to: the run goes on from here, as if the keys
    // after it had never been typed. It stands with the ink it had when
    // the class left it, and that ink stays its own.
    ink = inkKept(target_);
    for (const std::string& key : ink) events.ink(*inkOf(key));
    waits_.resize(target_);
    if (checks()) marks_.resize(target_ + 1);
    return true;
}

void Journal::checkPage(std::size_t wait, WaitKind kind, SessionEvents& events) const {
    if (wait >= marks_.size() || marks_[wait] == 0) return;
    if (events.pageMark() == marks_[wait]) return;
    std::fprintf(stderr, "replay check: wait %zu (%s) reached with another page than the run had there\n", wait,
                 std::string(waitKindName(kind)).c_str());
    std::abort();
}

void Journal::replayInk(std::size_t wait, std::size_t from, std::size_t to, SessionEvents& events) const {
    const std::vector<std::string>& keys = waits_[wait].keys;
    for (std::size_t i = from; i < to && i < keys.size(); ++i)
        if (const std::optional<InkAction> ink = inkOf(keys[i])) events.ink(*ink);
}

std::vector<std::string> Journal::inkKept(std::size_t wait) const {
    if (wait >= waits_.size()) return {};
    // Of a wait that was left, the ink read before the key that ended it;
    // of the wait still open (back dropping a partly typed entry), all of it.
    const std::vector<std::string>& keys = waits_[wait].keys;
    std::size_t end = keys.size();
    if (wait + 1 < waits_.size())
        while (end > 0 && isInkKey(keys[end - 1])) --end;
    std::vector<std::string> ink;
    for (std::size_t i = 0; i < end; ++i)
        if (isInkKey(keys[i])) ink.push_back(keys[i]);
    return ink;
}

void Journal::restore(std::vector<WaitKeys> waits) {
    waits_ = std::move(waits);
    marks_.clear();
}

void Journal::clear() {
    waits_.clear();
    marks_.clear();
}

}  // namespace lesson
