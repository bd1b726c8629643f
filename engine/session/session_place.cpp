// The place a session keeps: its head (the seeds, the rounds kept, the
// journal's open chunk) written at each wait and ink action, the journal's
// older waits in chunks written once, each round kept in an item of its own
// written once; and read back at a reopening.

#include "engine/session/session.h"

#include <algorithm>
#include <chrono>
#include <iterator>

namespace lesson {

namespace {

// The journal's older waits go in chunks of kChunkWaits. A place older than
// kPlaceSeconds (from its last key) is forgotten.
constexpr std::size_t kChunkWaits = 256;
constexpr std::int64_t kPlaceSeconds = 3600;
constexpr std::uint64_t kPlaceFormat = 1;
constexpr std::string_view kPlaceMagic = "lesson place";
// No more than this many of anything in a place that reads back.
constexpr std::size_t kMostItems = std::size_t{1} << 26;

std::string chunkName(std::size_t n) { return "journal-" + std::to_string(n); }
std::string roundName(std::uint64_t n) { return "round-" + std::to_string(n); }

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

void Session::writeRound(KeptRound& round, const RoundCodec& codec) {
    const std::string bytes = sealed(codec.save(round.kept));
    round.item = nextItem_++;
    round.check = checkOf(bytes);
    if (const auto why = store_->write(roundName(round.item), bytes)) dropPlace(*why);
}

void Session::writePlace() {
    if (!store_ || replaying() || journal_.size() < 2) return;
    const std::vector<WaitKeys>& journal = journal_.waits();
    // The waits left have all their keys: whole chunks of them are written once.
    const std::size_t left = journal.size() - 1;
    while ((sealedChunks_ + 1) * kChunkWaits <= left) {
        ByteWriter w;
        for (std::size_t i = sealedChunks_ * kChunkWaits; i < (sealedChunks_ + 1) * kChunkWaits; ++i)
            writeKeys(w, journal[i].kind, journal[i].keys);
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
    w.number(seeds_.seeds().size());
    for (unsigned seed : seeds_.seeds()) w.number(seed);
    for (std::size_t k = 0; k < RoundStore::kKinds; ++k) w.number(rounds_.keptOfKind()[k]);
    w.number(nextItem_);
    w.number(chunkChecks_.size());
    for (std::uint64_t check : chunkChecks_) w.number(check);
    w.number(journal.size() - sealedChunks_ * kChunkWaits);
    for (std::size_t i = sealedChunks_ * kChunkWaits; i < journal.size(); ++i)
        writeKeys(w, journal[i].kind, journal[i].keys);
    std::vector<std::uint64_t> named;
    for (const KeptRound& c : rounds_.rounds()) {
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
        rounds_.clear();
        sealedChunks_ = 0;
        chunkChecks_.clear();
        itemsNamed_.clear();
        return false;
    }
    // The program starts off the screen and goes on from its rounds kept up
    // to the wait it stood at, as a step back goes to the wait before.
    journal_.startReplay(journal_.size() - 1);
    seeds_.rewindTo(0);
    timing_.start();
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
    std::uint64_t roundsKept[RoundStore::kKinds];
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
    std::vector<KeptRound> rounds;
    std::vector<std::uint64_t> named;
    while (!r.atEnd()) {
        KeptRound c{};
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
        rounds.push_back(std::move(c));
    }
    journal_.restore(std::move(journal));
    seeds_.restore(std::move(seeds));
    rounds_.restore(std::move(rounds), roundsKept);
    nextItem_ = nextItem;
    sealedChunks_ = chunkChecks.size();
    chunkChecks_ = std::move(chunkChecks);
    itemsNamed_ = std::move(named);
}

}  // namespace lesson
