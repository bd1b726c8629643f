#pragma once
// The run of a program as a stream of keys: where they come from (the
// scripted keys, a walk, the host's keyboard and pointer), what a tap or
// forward means at the wait open, the journal of the keys each wait read,
// the step back that replays it off the screen, the rounds of the loops
// kept to go on from, and the time each key step took.

#include "engine/session/key_script.h"
#include "engine/session/place.h"
#include "engine/session/signals.h"
#include "engine/session/waits.h"

#include <any>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lesson {

// Thrown from a wait when back is pressed and there is a wait to go back to:
// the program starts again from its beginning (a fresh engine) while the
// session replays, off the screen, the keys read from there up to the
// previous wait, going on from the latest round kept on the way (runFrame
// catches it).
struct StepBack {};

// What a host gives of its input: the keys typed, the page's script.
class HostInput {
public:
    virtual ~HostInput() = default;
    // False when no one can type (a headless run): the scripted keys are all
    // there is, and pauses do not wait.
    virtual bool interactive() const = 0;
    // Handles events for up to timeoutMs (0: only those pending); typed keys
    // go to the back of `keys`. Throws ProgramEnd when the page is closed.
    virtual void wait(int timeoutMs, std::deque<std::string>& keys) = 0;
    // Keys a script on the page typed since asked, in the key-script syntax
    // (they count as scripted keys).
    virtual std::string script() { return {}; }
    // A wait for keys begins with nothing typed and no scripted key left.
    virtual void idle() {}
    // The kind of wait now open (a page can offer what suits it: a number
    // pad while an entry field waits).
    virtual void waitOpens(WaitKind kind) {}
};

// What the session tells the layer above it as the run goes.
class SessionEvents {
public:
    virtual ~SessionEvents() = default;
    // The page put on the screen: a wait for keys is about to read.
    virtual void show() = 0;
    // A key or a tap read, as it was read (before what it stands for).
    virtual void keyRead(std::string_view key) = 0;
    // An ink action read at a wait (or gone through again in a replay): the
    // page takes it, and it is no key of the wait's.
    virtual void ink(const InkAction& action) = 0;
    virtual void waitBegun(WaitKind kind) = 0;
    // A step back: the program starts again, off the screen, with the
    // layer's drawing state as it was at the start.
    virtual void replayBegins() = 0;
    // Back on the screen, where the step back went to.
    virtual void replayEnds() = 0;
    // Nothing typed yet: the program is about to sleep until an event comes.
    virtual void beforeSleep() = 0;
};

// How a round's state (what the loop's `keep` gave) is written into the
// place and read back from it.
struct RoundCodec {
    std::function<std::string(const std::any&)> save;
    std::function<std::any(std::string_view)> load;  // throws PlaceUnreadable
};

struct SessionOptions {
    std::vector<std::string> keys;  // scripted keys, typed before the keyboard
    // Asked for each key once the scripted keys are used up; "" ends it.
    std::function<std::string()> moreKeys;
    bool timing = false;            // keep the time of each key step
};

class Session {
public:
    Session(SessionOptions options, HostInput& input, SessionEvents& events);

    // A wait reads a key: "" when none is waiting, else one key. Back throws
    // StepBack when there is a wait to go back to (else it is not a key);
    // forward is a key at an any-key wait, "1" and Enter at a step prompt,
    // and not a key elsewhere.
    std::string inkey();
    // A wait of the lessons starts (its keys are kept so that a step back can
    // replay them). A sub-menu tells the number of its last item.
    void beginWait(WaitKind kind, int lastItem);
    WaitKind waitKind() const { return waitKind_; }
    int waitLastItem() const { return waitLastItem_; }
    void offerChoice(const TapArea& area) { choices_.push_back(area); }
    // The waits begun so far: where the program stands in its run.
    std::size_t waitsBegun() const { return replaying_ ? replayBegun_ : journal_.size(); }
    // The top of a round of a loop (see Layer::roundBegins): in a run, what
    // `keep` gives is kept; in a replay, the latest round of the same loop
    // kept before the wait gone back to, if there is one, is gone on from and
    // what was kept there returned.
    // A round kept in the place is written with `codec` and, gone on from
    // after a reopening, read back with it.
    const std::any* roundBegins(std::size_t scope, WaitKind kind, const std::function<std::any()>& keep,
                                const RoundCodec& codec);
    // The seed of this call of the generator's seeding: the one asked in a
    // run, the one of the first run in a replay.
    unsigned seedFor(unsigned asked);

    bool replaying() const { return replaying_; }
    // A pause waits for the pictures it moves only where someone watches and
    // no scripted key is left to type.
    bool pausesWait() const { return input_.interactive() && !replaying_ && !scriptedKeysRemain(); }
    // Keeps the host's events coming for ms, the keys typed kept.
    void pauseFor(int ms);
    // Waits for the host's events until the page is closed (the error screen).
    [[noreturn]] void idle();
    void setMoreKeys(std::function<std::string()> source) { options_.moreKeys = std::move(source); }
    // The program stops: a replay under way ends with the page as it is.
    void stop();
    // The time of each key step, in milliseconds, a line each.
    std::string timingText() const;

    // From now on the place is kept in `store` at each wait and each ink action:
    // the seeds, the journal (in chunks: a wait adds to it, it is not written
    // again) and the rounds kept, each round written once.
    void keepPlace(PlaceStore& store);
    // Before the program starts: a place kept within the hour is read back
    // and the program replays off the screen up to the wait it stood at, as
    // a step back does, each loop going on from its round kept. False when
    // there is none (one that cannot be read is set aside, one older than
    // the hour forgotten).
    bool resumePlace();
    // The place is forgotten (the program ended as it ends) and no more kept.
    void forgetPlace();
    // The wall clock of the place, in seconds (a test sets it).
    void setPlaceClock(std::function<std::int64_t()> clock) { placeClock_ = std::move(clock); }

private:
    std::string nextKey();
    bool scriptedKeysRemain() const { return !script_.empty() || (options_.moreKeys && !walkDone_); }
    void stepBack();
    void endReplay();
    void typeEntry(const std::string& entry);
    void startTiming();
    void touched(std::size_t wait);
    void writePlace();
    void writeRound(std::size_t index, const RoundCodec& codec);
    void dropPlace(const std::string& why);
    void readPlace(std::string_view head);
    void replayInk(std::size_t wait, std::size_t from, std::size_t to);
    std::vector<std::string> inkKept(std::size_t wait) const;

    SessionOptions options_;
    HostInput& input_;
    SessionEvents& events_;
    std::deque<std::string> script_;
    std::deque<std::string> typed_;
    std::deque<std::string> pending_;  // forward at a step prompt: "1", Enter
    bool walkDone_ = false;            // moreKeys gave its last key
    WaitKind waitKind_ = WaitKind::None;
    int waitLastItem_ = 0;
    std::vector<TapArea> choices_;  // of the open wait
    // Going back: the seeds used and the keys each wait consumed.
    struct WaitKeys {
        WaitKind kind;
        std::vector<std::string> keys;
    };
    std::vector<WaitKeys> journal_;
    std::vector<unsigned> seeds_;
    std::size_t seedCalls_ = 0;
    bool replaying_ = false;
    std::size_t replayBegun_ = 0;   // waits begun in the replay; the keys come from journal_[replayBegun_ - 1]
    std::size_t replayKey_ = 0;     // the next of them
    std::size_t replayTarget_ = 0;  // the wait whose start ends the replay
    // The rounds kept to go on from, in the order kept (see session.cpp), and
    // how many were kept of each kind of loop.
    struct Checkpoint {
        WaitKind kind;         // of the loop's wait
        std::size_t scope;     // the loop
        std::size_t wait;      // the waits begun before the round: the next wait's index in the journal
        std::size_t keys;      // of the last wait's keys, read before the round
        std::uint64_t number;  // of the rounds kept of its kind, from 1
        std::size_t seedCalls;
        std::any kept;         // empty for a round read from the place until it is gone on from
        std::uint64_t item = 0;   // its item in the place, 0 for none
        std::uint64_t check = 0;  // of that item's bytes
        std::string bytes;     // read from the place, until turned back into `kept`
    };
    std::vector<Checkpoint> checkpoints_;
    std::uint64_t roundsKept_[3] = {};
    // key-step timing
    std::chrono::steady_clock::time_point lastKeyTime_{};
    bool timingStarted_ = false;
    std::vector<double> stepMillis_;
    // The place kept: the journal's waits before sealedChunks_ chunks are
    // written in items of their own, with these checks; the rounds' items
    // the place's head named when last written.
    PlaceStore* store_ = nullptr;
    std::size_t sealedChunks_ = 0;
    std::vector<std::uint64_t> chunkChecks_;
    std::uint64_t nextItem_ = 1;
    std::vector<std::uint64_t> itemsNamed_;
    std::function<std::int64_t()> placeClock_;
};

}  // namespace lesson
