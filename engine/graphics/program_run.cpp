#include "engine/graphics/program_run.h"

#include "engine/graphics/host.h"
#include "engine/graphics/output_file.h"
#include "engine/graphics/trace.h"

namespace lesson {

namespace {

// The top of a round of a loop: the program above the layer holds nothing
// on its stack there but the loop, so what it kept (its engine's variables,
// the loop's own), the generator, the pen, the font and the page are all it
// takes to go on from it.
struct RunRound {
    std::any above;
    Generator generator;
    FontState font;
    float pen;
    DisplayList page;
};

}  // namespace

// What the session tells the run: the sinks see each key and wait, the page
// is shown, and a step back switches the stream to the display list alone
// and back.
class ProgramRun::Events : public SessionEvents {
public:
    explicit Events(ProgramRun& run) : run_(run) {}
    void show() override { run_.layer_.show(); }
    void keyRead(std::string_view key) override { run_.layer_.keyRead(key); }
    void ink(const InkAction& action) override { run_.layer_.ink(action); }
    void waitBegun(WaitKind kind) override { run_.layer_.waitBegun(kind); }
    void replayBegins() override { run_.layer_.beginReplay(); }
    void replayEnds() override { run_.layer_.endReplay(); }
    void beforeSleep() override { run_.flushTrace(); }
    std::uint64_t pageMark() override {
        ByteWriter w;
        run_.page_.save(w);
        return checkOf(w.bytes());
    }

private:
    ProgramRun& run_;
};

ProgramRun::ProgramRun(LayerOptions options)
    : options_(std::move(options)),
      host_(makeHost(options_, page_)),
      events_(std::make_unique<Events>(*this)),
      session_({std::move(options_.keys), std::move(options_.moreKeys), !options_.timing.empty()}, *host_, *events_),
      layer_(page_, *host_, session_) {
    options_.keys = {};
    options_.moreKeys = {};
    page_.setInk(host_->ink());
    if (!options_.trace.empty()) {
        trace_ = std::make_unique<Trace>(options_.trace);
        layer_.addSink(*trace_);
    }
    if (PlaceStore* store = options_.keepPlace ? host_->placeStore() : nullptr) {
        session_.keepPlace(*store);
        resumed_ = session_.resumePlace();
    }
}

ProgramRun::~ProgramRun() = default;

void ProgramRun::onDisplayLost(std::function<void()> lastWords) { host_->onDisplayLost(std::move(lastWords)); }

const std::any* ProgramRun::roundBegins(std::size_t scope, WaitKind kind, const std::function<std::any()>& keep,
                                 const AboveCodec& above) {
    // In the place: the generator as its seed and draws, the font, the pen,
    // the page, then the state above.
    const RoundCodec codec{
        [&](const std::any& kept) {
            const RunRound& round = std::any_cast<const RunRound&>(kept);
            ByteWriter w;
            round.generator.save(w);
            saveFont(w, round.font);
            w.real(round.pen);
            round.page.save(w);
            above.save(w, round.above);
            return w.take();
        },
        [&](std::string_view bytes) {
            ByteReader r(bytes);
            RunRound round{{}, {}, {}, 1, page_};
            round.generator = Generator::load(r);
            round.font = loadFont(r);
            round.pen = r.real();
            round.page.load(r);
            round.above = above.load(r);
            if (!r.atEnd()) throw PlaceUnreadable("a round too long");
            return std::any(std::move(round));
        }};
    const std::any* kept = session_.roundBegins(
        scope, kind,
        [&] { return std::any(RunRound{keep(), generator_, layer_.font(), layer_.drawWidth(), page_}); }, codec);
    if (!kept) return nullptr;
    // A replay goes on from the round kept: the run's own state back as it was there.
    const RunRound& round = std::any_cast<const RunRound&>(*kept);
    generator_ = round.generator;
    layer_.setFont(round.font);
    layer_.setDrawWidth(round.pen);
    page_ = round.page;
    return &round.above;
}

void ProgramRun::randomize(int seed) {
    generator_.seed(session_.seedFor(options_.seed ? *options_.seed : static_cast<unsigned>(seed)));
}

void ProgramRun::speakStep(const std::string& step, const std::string& page) {
    host_->speak(step, page);
    spokenPage_ = page;
    if (options_.spoken.empty()) return;
    // One line each: a line break in a text is a space.
    for (char c : step) spokenText_ += c == '\n' || c == '\r' ? ' ' : c;
    spokenText_ += '\n';
}

void ProgramRun::flushTrace() {
    if (trace_) trace_->flush();
}

std::vector<std::string> ProgramRun::finish() {
    std::vector<std::string> failures;
    if (finished_) return failures;
    finished_ = true;
    session_.stop();  // stopped in the middle of a step back: the page as it is
    auto check = [&](const char* what, const std::string& path, const std::optional<std::string>& why) {
        if (why) failures.push_back("cannot write the " + std::string(what) + " " + path + ": " + *why);
    };
    failures = host_->finish();
    if (trace_) check("trace", options_.trace, trace_->close());
    if (!options_.spoken.empty()) check("spoken text", options_.spoken, writeWholeFile(options_.spoken, spokenText_));
    if (!options_.timing.empty()) check("timing", options_.timing, writeWholeFile(options_.timing, session_.timingText()));
    return failures;
}

}  // namespace lesson
