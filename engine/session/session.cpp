#include "engine/session/session.h"

#include <algorithm>
#include <iterator>
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

// The place: its head (the seeds, the rounds kept, the journal's open
// chunk) written at each wait and ink action, the journal's older waits in chunks of
// kChunkWaits written once, each round kept in an item of its own written
// once. A place older than kPlaceSeconds (from its last key) is forgotten.
constexpr std::size_t kChunkWaits = 256;
constexpr std::int64_t kPlaceSeconds = 3600;
constexpr std::uint64_t kPlaceFormat = 1;
constexpr std::string_view kPlaceMagic = "lesson place";
// No more than this many of anything in a place that reads back.
constexpr std::size_t kMostItems = std::size_t{1} << 26;

std::string chunkName(std::size_t n) { return "journal-" + std::to_string(n); }
std::string roundName(std::uint64_t n) { return "round-" + std::to_string(n); }

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

const std::any* Session::roundBegins(std::size_t scope, WaitKind kind, const std::function<std::any()>& keep,
                                     const RoundCodec& codec) {
    const std::size_t at = waitsBegun();
    if (replaying_) {
        // The latest round of this loop kept before the wait gone back to.
        const auto from = std::find_if(checkpoints_.rbegin(), checkpoints_.rend(), [&](const Checkpoint& c) {
            return c.kind == kind && c.scope == scope && c.wait <= replayTarget_;
        });
        if (from == checkpoints_.rend() || from->wait <= at) return nullptr;
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
        seedCalls_ = from->seedCalls;
        replayBegun_ = from->wait;
        replayKey_ = from->keys;
        return &from->kept;
    }
    std::erase_if(checkpoints_, [&](const Checkpoint& c) { return c.wait > at; });
    const std::size_t k = kindIndex(kind);
    const std::uint64_t number = ++roundsKept_[k];
    const std::size_t keys = journal_.empty() ? 0 : journal_.back().keys.size();
    checkpoints_.push_back({kind, scope, at, keys, number, seedCalls_, keep(), 0, 0, {}});
    if (store_) writeRound(checkpoints_.size() - 1, codec);
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
        touched(journal_.size() - 1);
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
    if (!journal_.empty()) {
        // Kept at the next wait: a partly typed entry is dropped on a reopening.
        journal_.back().keys.push_back(key);
        touched(journal_.size() - 1);
    }
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
    touched(journal_.size() - 1);
    events_.waitBegun(kind);
    writePlace();
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

void Session::keepPlace(PlaceStore& store) {
    store_ = &store;
    if (!placeClock_) {
        placeClock_ = [] {
            return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        };
    }
}

void Session::touched(std::size_t wait) {
    // A wait of a chunk written is changed (a back went into it): the chunk
    // is written again, when it is whole again.
    if (wait < sealedChunks_ * kChunkWaits) {
        sealedChunks_ = wait / kChunkWaits;
        chunkChecks_.resize(sealedChunks_);
    }
}

namespace {

void writeKeys(ByteWriter& w, WaitKind kind, const std::vector<std::string>& keys) {
    w.number(static_cast<std::uint64_t>(kind));
    w.number(keys.size());
    for (const std::string& key : keys) w.text(key);
}

WaitKind readKind(ByteReader& r) {
    const std::uint64_t kind = r.number();
    if (kind < static_cast<std::uint64_t>(WaitKind::Gate) || kind > static_cast<std::uint64_t>(WaitKind::AnyKey))
        throw PlaceUnreadable("no such wait");
    return static_cast<WaitKind>(kind);
}

}  // namespace

void Session::writeRound(std::size_t index, const RoundCodec& codec) {
    Checkpoint& c = checkpoints_[index];
    const std::string bytes = sealed(codec.save(c.kept));
    c.item = nextItem_++;
    c.check = checkOf(bytes);
    if (const auto why = store_->write(roundName(c.item), bytes)) dropPlace(*why);
}

void Session::writePlace() {
    if (!store_ || replaying_ || journal_.size() < 2) return;
    // The waits left have all their keys: whole chunks of them are written once.
    const std::size_t left = journal_.size() - 1;
    while ((sealedChunks_ + 1) * kChunkWaits <= left) {
        ByteWriter w;
        for (std::size_t i = sealedChunks_ * kChunkWaits; i < (sealedChunks_ + 1) * kChunkWaits; ++i)
            writeKeys(w, journal_[i].kind, journal_[i].keys);
        const std::string bytes = sealed(w.take());
        if (const auto why = store_->write(chunkName(sealedChunks_), bytes)) return dropPlace(*why);
        chunkChecks_.push_back(checkOf(bytes));
        ++sealedChunks_;
    }
    ByteWriter w;
    w.text(kPlaceMagic);
    w.number(kPlaceFormat);
    w.text(placeBuild());
    w.signedNumber(placeClock_());
    w.number(seeds_.size());
    for (unsigned seed : seeds_) w.number(seed);
    for (std::uint64_t n : roundsKept_) w.number(n);
    w.number(nextItem_);
    w.number(chunkChecks_.size());
    for (std::uint64_t check : chunkChecks_) w.number(check);
    w.number(journal_.size() - sealedChunks_ * kChunkWaits);
    for (std::size_t i = sealedChunks_ * kChunkWaits; i < journal_.size(); ++i)
        writeKeys(w, journal_[i].kind, journal_[i].keys);
    std::vector<std::uint64_t> named;
    for (const Checkpoint& c : checkpoints_) {
        if (c.item == 0) continue;
        named.push_back(c.item);
        w.number(static_cast<std::uint64_t>(c.kind));
        w.number(c.scope);
        w.number(c.wait);
        w.number(c.keys);
        w.number(c.number);
        w.number(c.seedCalls);
        w.number(c.item);
        w.number(c.check);
    }
    if (const auto why = store_->write("head", sealed(w.take()))) return dropPlace(*why);
    // The rounds the head names no more (thinned out, or undone by a back).
    for (std::uint64_t item : itemsNamed_)
        if (std::find(named.begin(), named.end(), item) == named.end()) store_->remove(roundName(item));
    itemsNamed_ = std::move(named);
}

void Session::dropPlace(const std::string& why) {
    store_->tell("the lesson goes on without keeping its place (" + why + ")");
    store_->clear();
    store_ = nullptr;
}

void Session::forgetPlace() {
    if (!store_) return;
    store_->clear();
    store_ = nullptr;
}

bool Session::resumePlace() {
    if (!store_) return false;
    const std::optional<std::string> head = store_->read("head");
    if (!head) return false;
    try {
        readPlace(*head);
    } catch (const PlaceUnreadable&) {
        store_->setAside();
        journal_.clear();
    }
    if (journal_.size() < 2) {
        // Older than the hour, or nothing past the gate: the program starts
        // at the gate, and the place is written anew from there.
        if (store_->read("head")) store_->clear();
        journal_.clear();
        seeds_.clear();
        checkpoints_.clear();
        sealedChunks_ = 0;
        chunkChecks_.clear();
        itemsNamed_.clear();
        std::fill(std::begin(roundsKept_), std::end(roundsKept_), 0);
        return false;
    }
    // The program starts off the screen and goes on from its rounds kept up
    // to the wait it stood at, as a step back goes to the wait before.
    replayBegun_ = 0;
    replayKey_ = 0;
    replayTarget_ = journal_.size() - 1;
    seedCalls_ = 0;
    replaying_ = true;
    if (options_.timing) startTiming();
    events_.replayBegins();
    return true;
}

void Session::readPlace(std::string_view head) {
    ByteReader r(unsealed(head));
    if (r.text() != kPlaceMagic) throw PlaceUnreadable("not a place");
    if (r.number() != kPlaceFormat) throw PlaceUnreadable("another format");
    if (r.text() != placeBuild()) throw PlaceUnreadable("another build");
    const std::int64_t written = r.signedNumber();
    const std::int64_t now = placeClock_();
    if (now - written > kPlaceSeconds || written - now > kPlaceSeconds) return;  // left there
    std::vector<unsigned> seeds(r.count(kMostItems));
    for (unsigned& seed : seeds) seed = static_cast<unsigned>(r.number());
    std::uint64_t roundsKept[3];
    for (std::uint64_t& n : roundsKept) n = r.number();
    const std::uint64_t nextItem = r.number();
    std::vector<std::uint64_t> chunkChecks(r.count(kMostItems));
    for (std::uint64_t& check : chunkChecks) check = r.number();
    std::vector<WaitKeys> journal;
    auto readWaits = [&](ByteReader& from, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            WaitKeys wait{readKind(from), {}};
            wait.keys.resize(from.count(from.left()));
            for (std::string& key : wait.keys) key = from.text();
            journal.push_back(std::move(wait));
        }
    };
    for (std::size_t n = 0; n < chunkChecks.size(); ++n) {
        const std::optional<std::string> chunk = store_->read(chunkName(n));
        if (!chunk || checkOf(*chunk) != chunkChecks[n]) throw PlaceUnreadable("a chunk of the journal missing");
        ByteReader keys(unsealed(*chunk));
        readWaits(keys, kChunkWaits);
        if (!keys.atEnd()) throw PlaceUnreadable("a chunk too long");
    }
    readWaits(r, r.count(kMostItems));
    std::vector<Checkpoint> checkpoints;
    std::vector<std::uint64_t> named;
    while (!r.atEnd()) {
        Checkpoint c{};
        c.kind = readKind(r);
        c.scope = r.count(journal.size());
        c.wait = r.count(journal.size());
        c.keys = r.count(c.wait == 0 ? 0 : journal[c.wait - 1].keys.size());
        c.number = r.number();
        c.seedCalls = r.count(seeds.size());
        c.item = r.number();
        c.check = r.number();
        const std::optional<std::string> bytes = store_->read(roundName(c.item));
        if (!bytes || checkOf(*bytes) != c.check) throw PlaceUnreadable("a round missing");
        c.bytes = std::string(unsealed(*bytes));
        named.push_back(c.item);
        checkpoints.push_back(std::move(c));
    }
    journal_ = std::move(journal);
    seeds_ = std::move(seeds);
    std::copy(std::begin(roundsKept), std::end(roundsKept), std::begin(roundsKept_));
    nextItem_ = nextItem;
    sealedChunks_ = chunkChecks.size();
    chunkChecks_ = std::move(chunkChecks);
    checkpoints_ = std::move(checkpoints);
    itemsNamed_ = std::move(named);
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
