#include "engine/session/session.h"

namespace lesson {

std::string_view waitKindName(WaitKind kind) {
    static constexpr std::string_view kNames[] = {"", "gate", "menu", "submenu", "step", "anykey"};
    return kNames[static_cast<int>(kind)];
}

Session::Session(SessionOptions options, HostInput& input, SessionEvents& events)
    : input_(input),
      events_(events),
      sleeps_(input, events),
      keys_(std::move(options.keys), std::move(options.moreKeys), input, sleeps_),
      timing_(options.timing) {
    journal_.checkReplays(!options.timing);
}

const std::any* Session::roundBegins(std::size_t scope, WaitKind kind, const std::function<std::any()>& keep,
                                     const RoundCodec& codec) {
    const std::size_t at = waitsBegun();
    if (replaying()) {
        // The latest round of this loop kept before the wait gone back to.
        KeptRound* from = rounds_.latest(kind, scope, journal_.target());
        if (!from || from->wait <= at) return nullptr;
        if (!from->kept.has_value()) {
            // A round read from the place: its state is turned back into
            // what the loop kept. One that does not read back is passed over,
            // and the loop runs on from its keys.
            try {
                from->kept = codec.load(from->bytes);
            } catch (const PlaceUnreadable&) {
                return nullptr;
            }
            from->bytes.clear();
        }
        seeds_.rewindTo(from->seedCalls);
        journal_.goOnFrom(from->wait, from->keys);
        return &from->kept;
    }
    const std::size_t keys = journal_.empty() ? 0 : journal_.waits().back().keys.size();
    KeptRound& round = rounds_.keep(kind, scope, at, keys, seeds_.calls(), keep());
    if (store_) writeRound(round, codec);
    return nullptr;
}

unsigned Session::seedFor(unsigned asked) { return seeds_.seedFor(asked); }

void Session::pauseFor(int ms) { sleeps_.pauseFor(ms, keys_.typed()); }

void Session::idle() { sleeps_.idle(keys_.typed()); }

std::string Session::inkey() {
    if (replaying()) {
        checkStop();
        if (std::optional<std::string> key = journal_.replayKey(events_)) return std::move(*key);
        // The keys ran out before the wait they led to: the run goes on from
        // here, and nothing kept after it is to be gone back to.
        journal_.cutAtReplay();
        touched(journal_.size() - 1);
        rounds_.dropAfter(journal_.size() - 1);
        endReplay();
    }
    timing_.lap();
    checkStop();
    events_.show();
    std::string key;
    for (;;) {
        if (std::optional<std::string> typed = wait_.typedForUser()) {
            key = std::move(*typed);
            break;
        }
        key = keys_.next();
        if (key.empty()) return "";
        if (isInkKey(key)) {
            // Ink goes onto the page and into the wait's keys, and the wait
            // reads on: ink before the first wait, or malformed, is dropped.
            const std::optional<InkAction> ink = inkOf(key);
            if (!ink || journal_.empty()) continue;
            journal_.read(std::move(key));
            touched(journal_.size() - 1);
            writePlace();
            events_.ink(*ink);
            events_.show();
            continue;
        }
        events_.keyRead(key);
        if (key == kBackKey) {
            stepBack();  // throws when there is a wait to go back to
            continue;
        }
        const bool entryStarted = journal_.entryStarted();
        std::optional<std::string> meant = wait_.meaning(std::move(key), entryStarted);
        if (!meant) continue;
        key = std::move(*meant);
        break;
    }
    if (!journal_.empty()) {
        // Kept at the next wait: a partly typed entry is dropped on a reopening.
        journal_.read(key);
        touched(journal_.size() - 1);
    }
    timing_.start();
    return key;
}

void Session::beginWait(WaitKind kind, int lastItem) {
    wait_.open(kind, lastItem);
    std::vector<std::string> kept;
    if (replaying()) {
        if (!journal_.replayReaches(kind, events_, kept)) return;
        endReplay();
    } else {
        input_.waitOpens(kind);
    }
    journal_.begin(kind, std::move(kept), events_);
    touched(journal_.size() - 1);
    events_.waitBegun(kind);
    writePlace();
}

void Session::stepBack() {
    const std::optional<std::size_t> target = journal_.backTarget();
    if (!target) return;
    // The waits undone are no more to be gone back to.
    rounds_.dropAfter(*target);
    journal_.startReplay(*target);
    wait_.dropTypedForUser();
    timing_.start();
    // The run starts again as the program did.
    seeds_.rewindTo(0);
    wait_.close();
    events_.replayBegins();
    throw StepBack{};
}

void Session::endReplay() {
    journal_.endReplay();
    events_.replayEnds();
    input_.waitOpens(wait_.kind());
}

void Session::stop() {
    if (replaying()) endReplay();
}

}  // namespace lesson
