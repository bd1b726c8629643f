#pragma once
// The run of a program as a stream of keys, and the place it keeps: one
// object over the session's units (where the keys come from, what a key
// means at the wait open, the journal and its replay, the rounds kept, the
// seeds, the step timing, the sleeps) that reads a key, begins a wait, steps
// back and writes the place as the run goes.

#include "engine/session/journal.h"
#include "engine/session/key_script.h"
#include "engine/session/key_source.h"
#include "engine/session/open_wait.h"
#include "engine/session/place.h"
#include "engine/session/round_store.h"
#include "engine/session/seeds.h"
#include "engine/session/session_host.h"
#include "engine/session/signals.h"
#include "engine/session/sleeps.h"
#include "engine/session/step_timing.h"
#include "engine/session/waits.h"

#include <any>
#include <cstdint>
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
    void beginWait(WaitKind kind, int lastItem = 0);
    WaitKind waitKind() const { return wait_.kind(); }
    int waitLastItem() const { return wait_.lastItem(); }
    void offerChoice(const TapArea& area) { wait_.offerChoice(area); }
    // The waits begun so far: where the program stands in its run.
    std::size_t waitsBegun() const { return journal_.waitsBegun(); }
    // The top of a round of a loop (see ProgramRun::roundBegins): in a run, what
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

    bool replaying() const { return journal_.replaying(); }
    // A pause waits for the pictures it moves only where someone watches and
    // no scripted key is left to type.
    bool pausesWait() const { return input_.interactive() && !replaying() && !keys_.scriptedKeysRemain(); }
    // Keeps the host's events coming for ms, the keys typed kept.
    void pauseFor(int ms);
    // Waits for the host's events until the page is closed (the error screen).
    [[noreturn]] void idle();
    void setMoreKeys(std::function<std::string()> source) { keys_.setMore(std::move(source)); }
    // The program stops: a replay under way ends with the page as it is.
    void stop();
    // The time of each key step, in milliseconds, a line each.
    std::string timingText() const { return timing_.text(); }

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
    void stepBack();
    void endReplay();
    void touched(std::size_t wait);
    void writePlace();
    void writeRound(KeptRound& round, const RoundCodec& codec);
    void dropPlace(const std::string& why);
    void readPlace(std::string_view head);

    HostInput& input_;
    SessionEvents& events_;
    Sleeps sleeps_;
    KeySource keys_;
    OpenWait wait_;
    Journal journal_;
    RoundStore rounds_;
    SeedLog seeds_;
    StepTiming timing_;
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
