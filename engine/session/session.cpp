#include "engine/session/session.h"

#include <algorithm>
#include <bit>
#include <cstdio>

namespace lesson {

namespace {

// Rounds kept to go back to: a step back runs the program again off the
// screen from its start, and each loop on the way (the main menu, a
// section's sub-menu, a practice page's problems) goes on from its latest
// round kept before the wait gone back to, so a back costs a page or a
// problem at most, however long the class has stayed in a section or on a
// drill. Of each kind of loop the newest kRecentRounds are all kept; an
// older round stays while it is younger (in rounds kept since) than
// kRecentRounds times two to the power of the trailing zeros of its number,
// so the rounds kept thin out as they age, by halves, and their count grows
// only with the logarithm of the hours run.
constexpr std::size_t kRecentRounds = 24;
// A wait for a key sleeps on the host's events; it wakes this often with
// none, to see whether a stop signal came.
constexpr int kWaitMillis = 250;
// A tap's whole-page margin: a finger or a pen that lands just beside a
// choice still chooses it (the items of a sub-menu line stand a full-width
// blank apart, so no two margins overlap).
constexpr float kTapMargin = 8;

std::size_t kindIndex(WaitKind kind) { return kind == WaitKind::MainMenu ? 0 : kind == WaitKind::SubMenu ? 1 : 2; }

// The journal keeps a wait's ink actions among its keys, in the order read.
bool isInkKey(std::string_view key) { return !key.empty() && key[0] == kInkMark; }

// Whether a wait read a key of its own (an entry typed, a choice), ink aside.
bool typedAny(const std::vector<std::string>& keys) {
    return std::any_of(keys.begin(), keys.end(), [](const std::string& k) { return !isInkKey(k); });
}

}  // namespace

std::string_view waitKindName(WaitKind kind) {
    static constexpr std::string_view kNames[] = {"", "gate", "menu", "submenu", "step", "anykey"};
    return kNames[static_cast<int>(kind)];
}

Session::Session(SessionOptions options, HostInput& input, SessionEvents& events)
    : options_(std::move(options)), input_(input), events_(events) {
    // The scripted keys are kept once, as the keys still to type.
    script_.assign(std::make_move_iterator(options_.keys.begin()), std::make_move_iterator(options_.keys.end()));
    options_.keys = {};
}

const std::any* Session::roundBegins(std::size_t scope, WaitKind kind, const std::function<std::any()>& keep) {
    const std::size_t at = waitsBegun();
    if (replaying_) {
        // The latest round of this loop kept before the wait gone back to.
        const auto from = std::find_if(checkpoints_.rbegin(), checkpoints_.rend(), [&](const Checkpoint& c) {
            return c.kind == kind && c.scope == scope && c.wait <= replayTarget_;
        });
        if (from == checkpoints_.rend() || from->wait <= at) return nullptr;
        seedCalls_ = from->seedCalls;
        replayBegun_ = from->wait;
        replayKey_ = from->keys;
        return &from->kept;
    }
    std::erase_if(checkpoints_, [&](const Checkpoint& c) { return c.wait > at; });
    const std::size_t k = kindIndex(kind);
    const std::uint64_t number = ++roundsKept_[k];
    const std::size_t keys = journal_.empty() ? 0 : journal_.back().keys.size();
    checkpoints_.push_back({kind, scope, at, keys, number, seedCalls_, keep()});
    // Older rounds of the same kind thin out.
    std::erase_if(checkpoints_, [&](const Checkpoint& c) {
        if (kindIndex(c.kind) != k) return false;
        const std::uint64_t age = number - c.number;
        const int halvings = std::min(std::countr_zero(c.number), 40);
        return age >= kRecentRounds && age >= (std::uint64_t{kRecentRounds} << halvings);
    });
    return nullptr;
}

unsigned Session::seedFor(unsigned asked) {
    // A replay after a step back takes the seeds of the first run, the clock's too.
    if (seedCalls_ == seeds_.size()) seeds_.push_back(asked);
    return seeds_[seedCalls_++];
}

void Session::pauseFor(int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        input_.wait(static_cast<int>(left.count()), typed_);
        checkStop();
    }
}

std::string Session::inkey() {
    if (replaying_) {
        checkStop();
        while (replayBegun_ > 0 && replayKey_ < journal_[replayBegun_ - 1].keys.size()) {
            const std::string& key = journal_[replayBegun_ - 1].keys[replayKey_++];
            if (const std::optional<InkAction> ink = inkOf(key)) {
                events_.ink(*ink);  // onto the page's model alone
                continue;
            }
            return key;
        }
        // The keys ran out before the wait they led to: the run goes on from
        // here, and nothing kept after it is to be gone back to.
        journal_.resize(std::max<std::size_t>(replayBegun_, 1));
        journal_.back().keys.resize(replayKey_);
        std::erase_if(checkpoints_, [&](const Checkpoint& c) { return c.wait >= journal_.size(); });
        endReplay();
    }
    if (timingStarted_) {
        stepMillis_.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - lastKeyTime_).count());
        timingStarted_ = false;
    }
    checkStop();
    events_.show();
    std::string key;
    for (;;) {
        if (!pending_.empty()) {
            key = std::move(pending_.front());
            pending_.pop_front();
            break;
        }
        key = nextKey();
        if (key.empty()) return "";
        if (isInkKey(key)) {
            // Ink goes onto the page and into the wait's keys, and the wait
            // reads on: ink before the first wait, or malformed, is dropped.
            const std::optional<InkAction> ink = inkOf(key);
            if (!ink || journal_.empty()) continue;
            journal_.back().keys.push_back(std::move(key));
            events_.ink(*ink);
            events_.show();
            continue;
        }
        events_.keyRead(key);
        if (key == kBackKey) {
            stepBack();  // throws when there is a wait to go back to
            continue;
        }
        if (const std::optional<Point> tap = tapPoint(key)) {
            if (waitKind_ == WaitKind::MainMenu || waitKind_ == WaitKind::SubMenu) {
                // The choice it lands on, or nothing.
                for (const TapArea& a : choices_) {
                    if (tap->x >= a.x0 - kTapMargin && tap->x < a.x1 + kTapMargin && tap->y >= a.y0 - kTapMargin &&
                        tap->y < a.y1 + kTapMargin) {
                        typeEntry(std::to_string(a.choice));
                        break;
                    }
                }
                continue;
            }
            if (waitKind_ == WaitKind::Gate) continue;  // the password is typed
            key = std::string(kForwardKey);  // built apart: GCC 12 warns wrongly on a literal assigned in place
        }
        if (key == kForwardKey || key == " ") {
            if (waitKind_ == WaitKind::Step) {
                typeEntry("1");  // the next step
                continue;
            }
            // A menu needs its number.
            if (waitKind_ != WaitKind::AnyKey && waitKind_ != WaitKind::None) continue;
        }
        break;
    }
    if (!journal_.empty()) journal_.back().keys.push_back(key);
    if (options_.timing) startTiming();
    return key;
}

void Session::startTiming() {
    lastKeyTime_ = std::chrono::steady_clock::now();
    timingStarted_ = true;
}

std::string Session::nextKey() {
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
    if (options_.moreKeys && !walkDone_) {
        key = options_.moreKeys();
        if (!key.empty()) {
            if (input_.interactive()) input_.wait(0, typed_);
            return key;
        }
        walkDone_ = true;
    }
    if (!input_.interactive()) throw ProgramEnd{0};  // the scripted keys are used up
    if (typed_.empty()) {
        // Nothing typed yet: the program sleeps until an event comes.
        events_.beforeSleep();
        input_.idle();
        input_.wait(kWaitMillis, typed_);
        checkStop();
    } else {
        input_.wait(0, typed_);
    }
    if (typed_.empty()) return "";
    key = std::move(typed_.front());
    typed_.pop_front();
    return key;
}

// An entry typed for the user (a tap's choice, forward's next step): a partly
// typed entry is dropped first, then the entry and Enter.
void Session::typeEntry(const std::string& entry) {
    if (!journal_.empty() && typedAny(journal_.back().keys)) pending_.emplace_back("\b");
    for (char c : entry) pending_.emplace_back(1, c);
    pending_.emplace_back("\r");
}

void Session::beginWait(WaitKind kind, int lastItem) {
    waitKind_ = kind;
    waitLastItem_ = lastItem;
    choices_.clear();
    std::vector<std::string> kept;
    if (replaying_) {
        // The ink the wait before read after its last key is on the page too.
        if (replayBegun_ > 0) replayInk(replayBegun_ - 1, replayKey_, journal_[replayBegun_ - 1].keys.size());
        if (replayBegun_++ < replayTarget_) {
            replayKey_ = 0;
            return;
        }
        // The wait gone back to: the run goes on from here, as if the keys
        // after it had never been typed. It stands with the ink it had when
        // the class left it, and that ink stays its own.
        kept = inkKept(replayTarget_);
        for (const std::string& key : kept) events_.ink(*inkOf(key));
        journal_.resize(replayTarget_);
        endReplay();
    } else {
        input_.waitOpens(kind);
    }
    journal_.push_back({kind, std::move(kept)});
    events_.waitBegun(kind);
}

void Session::replayInk(std::size_t wait, std::size_t from, std::size_t to) {
    const std::vector<std::string>& keys = journal_[wait].keys;
    for (std::size_t i = from; i < to && i < keys.size(); ++i)
        if (const std::optional<InkAction> ink = inkOf(keys[i])) events_.ink(*ink);
}

std::vector<std::string> Session::inkKept(std::size_t wait) const {
    if (wait >= journal_.size()) return {};
    // Of a wait that was left, the ink read before the key that ended it;
    // of the wait still open (back dropping a partly typed entry), all of it.
    const std::vector<std::string>& keys = journal_[wait].keys;
    std::size_t end = keys.size();
    if (wait + 1 < journal_.size())
        while (end > 0 && isInkKey(keys[end - 1])) --end;
    std::vector<std::string> ink;
    for (std::size_t i = 0; i < end; ++i)
        if (isInkKey(keys[i])) ink.push_back(keys[i]);
    return ink;
}

void Session::stepBack() {
    // The wait now open and the one before it are undone. The gate never is:
    // at the first main menu back only drops a partly typed entry (the menu
    // is put back as it was first drawn), and with none it does nothing.
    if (journal_.size() < 2 || journal_.back().kind == WaitKind::Gate) return;
    std::size_t target = journal_.size() - 2;
    if (journal_[target].kind == WaitKind::Gate) {
        if (!typedAny(journal_.back().keys)) return;
        target = journal_.size() - 1;
    }
    // The waits undone are no more to be gone back to.
    std::erase_if(checkpoints_, [&](const Checkpoint& c) { return c.wait > target; });
    replayBegun_ = 0;
    replayKey_ = 0;
    replayTarget_ = target;
    pending_.clear();
    if (options_.timing) startTiming();
    // The run starts again as the program did.
    seedCalls_ = 0;
    waitKind_ = WaitKind::None;
    waitLastItem_ = 0;
    choices_.clear();
    replaying_ = true;
    events_.replayBegins();
    throw StepBack{};
}

void Session::endReplay() {
    replaying_ = false;
    events_.replayEnds();
    input_.waitOpens(waitKind_);
}

void Session::stop() {
    if (replaying_) endReplay();
}

void Session::idle() {
    if (!input_.interactive()) throw ProgramEnd{0};
    events_.beforeSleep();
    input_.idle();
    for (;;) {
        checkStop();
        events_.show();
        input_.wait(kWaitMillis, typed_);
        typed_.clear();
    }
}

std::string Session::timingText() const {
    std::string text;
    char line[32];
    for (double ms : stepMillis_) {
        std::snprintf(line, sizeof line, "%.4f\n", ms);
        text += line;
    }
    return text;
}

}  // namespace lesson
