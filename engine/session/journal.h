#pragma once
// The journal of the keys each wait read (its ink actions among them, in
// the order read), and its replay: a step back, or a reopening, runs the
// program again off the screen and hands each wait on the way the keys it
// read in the run, up to the wait gone back to.

#include "engine/session/session_host.h"
#include "engine/session/waits.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lesson {

// The journal keeps a wait's ink actions among its keys, in the order read.
inline bool isInkKey(std::string_view key) { return !key.empty() && key[0] == kInkMark; }

struct WaitKeys {
    WaitKind kind;
    std::vector<std::string> keys;
};

class Journal {
public:
    const std::vector<WaitKeys>& waits() const { return waits_; }
    std::size_t size() const { return waits_.size(); }
    bool empty() const { return waits_.empty(); }
    // The waits begun so far: where the program stands in its run.
    std::size_t waitsBegun() const { return replaying_ ? begun_ : waits_.size(); }
    // Whether the wait open read a key of its own (an entry typed, a choice), ink aside.
    bool entryStarted() const;

    // A wait begins in a run, or where a replay ended, with this ink of its
    // own (the page as it stands, before the ink, is what a replay checks).
    void begin(WaitKind kind, std::vector<std::string> ink, SessionEvents& events);
    // A key (or an ink action) the wait open read; none before the first wait.
    void read(std::string key);

    // The wait a back goes to, or nothing: the wait now open and the one
    // before it are undone. The gate never is: at the first main menu back
    // only drops a partly typed entry (the menu is put back as it was first
    // drawn), and with none it does nothing.
    std::optional<std::size_t> backTarget() const;

    bool replaying() const { return replaying_; }
    // The wait whose start ends the replay.
    std::size_t target() const { return target_; }
    // The program runs again from its start up to the wait `target`.
    void startReplay(std::size_t target);
    void endReplay() { replaying_ = false; }
    // A round kept is gone on from: the replay stands after `keys` keys of
    // the wait before `wait`.
    void goOnFrom(std::size_t wait, std::size_t keys);
    // The next key the replay reads at the wait open, its ink on the way
    // handed to `events`; nothing when the wait's keys ran out.
    std::optional<std::string> replayKey(SessionEvents& events);
    // The keys ran out before the wait they led to: the journal ends with
    // those read, and the run goes on from here.
    void cutAtReplay();
    // A wait begins in the replay (the ink the wait before read after its
    // last key put onto the page first). True when it is the wait gone back
    // to: then the journal ends before it, and `ink` is the ink it stood
    // with when the class left it, on the page again and its own.
    bool replayReaches(WaitKind kind, SessionEvents& events, std::vector<std::string>& ink);

    // Whether a replay checks the pages it reaches, where the build checks
    // them: not in a run that times its key steps, whose times would hold
    // the page's mark taken at every wait.
    void checkReplays(bool on) { checkAsked_ = on; }

    // As read back from the place (no page marks there).
    void restore(std::vector<WaitKeys> waits);
    void clear();

private:
    void replayInk(std::size_t wait, std::size_t from, std::size_t to, SessionEvents& events) const;
    std::vector<std::string> inkKept(std::size_t wait) const;
    bool checks() const;
    void checkPage(std::size_t wait, WaitKind kind, SessionEvents& events) const;

    std::vector<WaitKeys> waits_;
    // The page's mark at the start of each wait, where the run checks its
    // replays (0: none).
    std::vector<std::uint64_t> marks_;
    bool checkAsked_ = true;
    bool replaying_ = false;
    std::size_t begun_ = 0;   // waits begun in the replay; the keys come from waits_[begun_ - 1]
    std::size_t key_ = 0;     // the next of them
    std::size_t target_ = 0;  // the wait whose start ends the replay
};

}  // namespace lesson
