#include "engine/graphics/layer.h"

#include "engine/graphics/host.h"
#include "engine/graphics/output_file.h"
#include "engine/graphics/trace.h"
#include "engine/chars/chars.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace lesson {

namespace {
// The layer's pause between animation frames: a nine-frame tilt takes about
// a quarter of a second and reads as one smooth movement.
constexpr int kPauseMillis = 30;
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
// A wait for a key sleeps on the window's events; it wakes this often with
// none, to see whether a stop signal came.
constexpr int kWaitMillis = 250;

volatile std::sig_atomic_t stopSignalCaught = 0;

extern "C" void catchStop(int signal) { stopSignalCaught = signal; }

}  // namespace

void Layer::catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = catchStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a blocking wait returns and looks
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // A signal ignored from the start stays ignored (nohup, a background job).
        struct sigaction before {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        sigaction(signal, &action, nullptr);
    }
}

int Layer::stopSignal() { return stopSignalCaught; }

void Layer::checkStop() const {
    if (stopSignalCaught != 0) throw ProgramEnd{128 + stopSignalCaught};
}

void Layer::onDisplayLost(std::function<void()> lastWords) { host_->onDisplayLost(std::move(lastWords)); }

namespace {

// A tap's whole-page margin: a finger or a pen that lands just beside a
// choice still chooses it (the items of a sub-menu line stand a full-width
// blank apart, so no two margins overlap).
constexpr float kTapMargin = 8;
constexpr char kTapMark = '\x04';

// "X,Y;" of a script's tap from chars[at]: the tap key, `at` left on the ";".
std::optional<std::string> tapInScript(const std::vector<std::string_view>& chars, std::size_t& at) {
    std::string body;
    std::size_t i = at;
    for (; i < chars.size() && chars[i] != ";"; ++i) body += chars[i];
    if (i == chars.size()) return std::nullopt;
    const std::optional<Point> p = tapPoint(kTapMark + body);
    if (!p) return std::nullopt;
    at = i;
    return tapKey(p->x, p->y);
}

}  // namespace

std::string tapKey(float x, float y) { return kTapMark + jsonNumber(x) + "," + jsonNumber(y); }

std::optional<Point> tapPoint(std::string_view key) {
    if (key.size() < 4 || key[0] != kTapMark) return std::nullopt;
    const std::string body(key.substr(1));
    const char* s = body.c_str();
    char* end = nullptr;
    Point p;
    p.x = std::strtof(s, &end);
    if (end == s || *end != ',') return std::nullopt;
    s = end + 1;
    p.y = std::strtof(s, &end);
    if (end == s || *end != '\0' || !std::isfinite(p.x) || !std::isfinite(p.y)) return std::nullopt;
    return p;
}

std::vector<std::string> parseKeyScript(std::string_view script) {
    std::vector<std::string> keys;
    const auto chars = splitChars(script);
    std::optional<std::string> tap;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const std::string_view c = chars[i];
        if (c == "\n" || c == "\r") {
            keys.emplace_back("\r");
        } else if (c == "\\" && i + 1 < chars.size()) {
            const std::string_view next = chars[i + 1];
            if (next == "n" || next == "r") {
                keys.emplace_back("\r");
                ++i;
            } else if (next == "b") {
                keys.emplace_back("\b");
                ++i;
            } else if (next == "\\") {
                keys.emplace_back("\\");
                ++i;
            } else if (next == "<") {
                keys.emplace_back(kBackKey);
                ++i;
            } else if (next == ">") {
                keys.emplace_back(kForwardKey);
                ++i;
            } else if (std::size_t end = i + 2; next == "@" && (tap = tapInScript(chars, end))) {
                keys.push_back(std::move(*tap));
                i = end;
            } else {
                keys.emplace_back("\\");
            }
        } else {
            keys.emplace_back(c);
        }
    }
    return keys;
}

std::optional<std::string> Layer::cannotStart(bool headless, const std::string& title) {
    return hostCannotStart(headless, title);
}

// The page's place in the stream: the display list takes each command, and
// the host draws what the list keeps.
class Layer::PageSink : public DrawSink {
public:
    PageSink(DisplayList& page, Host& host) : page_(page), host_(host) {}
    void draw(const DrawCommand& cmd) override {
        if (const std::optional<bool> erase = page_.add(cmd)) host_.draw(cmd, *erase);
    }

private:
    DisplayList& page_;
    Host& host_;
};

// The top of a round of a loop: the program above the layer holds nothing
// on its stack there but the loop, so what it kept (its engine's variables,
// the loop's own), the generator, the pen, the font and the page are all it
// takes to go on from it.
struct Layer::Checkpoint {
    WaitKind kind;       // of the loop's wait
    std::size_t scope;   // the loop
    std::size_t wait;    // the waits begun before the round: the next wait's index in the journal
    std::uint64_t number;  // of the rounds kept of its kind, from 1
    std::any above;
    std::mt19937 rng;
    std::size_t seedCalls;
    FontState font;
    float pen;
    DisplayList page;
};

namespace {

std::size_t kindIndex(WaitKind kind) { return kind == WaitKind::MainMenu ? 0 : kind == WaitKind::SubMenu ? 1 : 2; }

}  // namespace

Layer::Layer(LayerOptions options)
    : options_(std::move(options)), host_(makeHost(options_, page_)), pageSink_(std::make_unique<PageSink>(page_, *host_)) {
    page_.setInk(host_->ink());
    // The host's sinks (the handout) come first: they see a page clear while
    // the page still stands as the class saw it.
    sinks_ = host_->sinks();
    sinks_.push_back(pageSink_.get());
    if (!options_.trace.empty()) {
        trace_ = std::make_unique<Trace>(options_.trace);
        sinks_.push_back(trace_.get());
    }
    // The scripted keys are kept once, as the keys still to type.
    script_.assign(std::make_move_iterator(options_.keys.begin()), std::make_move_iterator(options_.keys.end()));
    options_.keys = {};
}


Layer::~Layer() = default;

bool Layer::headless() const { return !host_->interactive(); }

std::size_t Layer::waitsBegun() const { return replaying_ ? replayBegun_ : journal_.size(); }

const std::any* Layer::roundBegins(std::size_t scope, WaitKind kind, const std::function<std::any()>& keep) {
    const std::size_t at = waitsBegun();
    if (replaying_) {
        // The latest round of this loop kept before the wait gone back to.
        const auto from = std::find_if(checkpoints_.rbegin(), checkpoints_.rend(), [&](const Checkpoint& c) {
            return c.kind == kind && c.scope == scope && c.wait <= replayTarget_;
        });
        if (from == checkpoints_.rend() || from->wait <= at) return nullptr;
        rng_ = from->rng;
        seedCalls_ = from->seedCalls;
        font_ = from->font;
        pen_ = from->pen;
        page_ = from->page;
        replayBegun_ = from->wait;
        replayKey_ = 0;
        return &from->above;
    }
    std::erase_if(checkpoints_, [&](const Checkpoint& c) { return c.wait > at; });
    const std::size_t k = kindIndex(kind);
    const std::uint64_t number = ++roundsKept_[k];
    checkpoints_.push_back({kind, scope, at, number, keep(), rng_, seedCalls_, font_, pen_, page_});
    // Older rounds of the same kind thin out.
    std::erase_if(checkpoints_, [&](const Checkpoint& c) {
        if (kindIndex(c.kind) != k) return false;
        const std::uint64_t age = number - c.number;
        const int halvings = std::min(std::countr_zero(c.number), 40);
        return age >= kRecentRounds && age >= (std::uint64_t{kRecentRounds} << halvings);
    });
    return nullptr;
}

void Layer::emit(DrawCommand cmd) {
    checkStop();
    cmd.pen = pen_;
    if (replaying_) {
        page_.add(cmd);  // off the screen: the display list alone follows
        return;
    }
    for (DrawSink* sink : sinks_) sink->draw(cmd);
}

void Layer::addSink(DrawSink& sink) { sinks_.push_back(&sink); }

void Layer::removeSink(DrawSink& sink) { std::erase(sinks_, &sink); }

void Layer::line(float x1, float y1, float x2, float y2, int color) {
    DrawCommand c;
    c.op = DrawCommand::Op::Line;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.color = color;
    emit(std::move(c));
}

void Layer::box(float x1, float y1, float x2, float y2, int lineColor, int fill) {
    DrawCommand c;
    c.op = DrawCommand::Op::Box;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.color = lineColor;
    c.fill = fill == kNoFill ? lineColor : fill;
    emit(std::move(c));
}

void Layer::circle(float x, float y, float r, int color, float start, float end, int fill) {
    DrawCommand c;
    c.op = DrawCommand::Op::Circle;
    c.x1 = x;
    c.y1 = y;
    c.r = r;
    c.color = color;
    c.start = start;
    c.end = end;
    c.fill = fill;
    emit(std::move(c));
}

void Layer::polyline(const std::vector<Point>& points, int color, int fill) {
    DrawCommand c;
    c.op = DrawCommand::Op::Polyline;
    c.points = points;
    c.color = color;
    c.fill = fill;
    emit(std::move(c));
}

void Layer::text(float x, float y, std::string_view text, int mx, int my, int color) {
    DrawCommand c;
    c.op = DrawCommand::Op::Text;
    c.x1 = x;
    c.y1 = y;
    c.text = std::string(text);
    c.mx = mx;
    c.my = my;
    c.color = color;
    c.font = font_;
    emit(std::move(c));
}

void Layer::cls() {
    DrawCommand c;
    c.op = DrawCommand::Op::Cls;
    emit(std::move(c));
}

void Layer::show() {
    if (!replaying_) host_->show();
}

void Layer::pause() {
    DrawCommand c;
    c.op = DrawCommand::Op::Pause;
    emit(std::move(c));
    // Scripted keys are typed without waiting for the pictures they move.
    if (!host_->interactive() || replaying_ || scriptedKeysRemain()) return;
    show();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPauseMillis);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        host_->wait(static_cast<int>(left.count()), typed_);
        checkStop();
    }
}

std::string Layer::inkey() {
    if (replaying_) {
        checkStop();
        if (replayBegun_ > 0 && replayKey_ < journal_[replayBegun_ - 1].keys.size())
            return journal_[replayBegun_ - 1].keys[replayKey_++];
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
    show();
    std::string key;
    for (;;) {
        if (!pending_.empty()) {
            key = std::move(pending_.front());
            pending_.pop_front();
            break;
        }
        key = nextKey();
        if (key.empty()) return "";
        // The sinks see every key and tap as it was read; what it stands for is the lessons' key.
        const std::optional<Point> tap = tapPoint(key);
        for (DrawSink* sink : sinks_) {
            if (tap) sink->tap(tap->x, tap->y);
            else sink->key(key);
        }
        if (key == kBackKey) {
            stepBack();  // throws when there is a wait to go back to
            continue;
        }
        if (tap) {
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
            key = kForwardKey;
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
    if (!options_.timing.empty()) {
        lastKeyTime_ = std::chrono::steady_clock::now();
        timingStarted_ = true;
    }
    return key;
}

bool Layer::scriptedKeysRemain() const { return !script_.empty() || (options_.moreKeys && !walkDone_); }

std::string Layer::nextKey() {
    if (const std::string more = host_->script(); !more.empty()) {
        const auto keys = parseKeyScript(more);
        script_.insert(script_.end(), keys.begin(), keys.end());
    }
    std::string key;
    if (!script_.empty()) {
        key = std::move(script_.front());
        script_.pop_front();
        if (host_->interactive()) host_->wait(0, typed_);
        return key;
    }
    if (options_.moreKeys && !walkDone_) {
        key = options_.moreKeys();
        if (!key.empty()) {
            if (host_->interactive()) host_->wait(0, typed_);
            return key;
        }
        walkDone_ = true;
    }
    if (!host_->interactive()) throw ProgramEnd{0};  // the scripted keys are used up
    if (typed_.empty()) {
        // Nothing typed yet: the trace so far is on disk while the class
        // looks at the page, and the program sleeps until an event comes.
        if (trace_) trace_->flush();
        host_->idle();
        host_->wait(kWaitMillis, typed_);
        checkStop();
    } else {
        host_->wait(0, typed_);
    }
    if (typed_.empty()) return "";
    key = std::move(typed_.front());
    typed_.pop_front();
    return key;
}

// An entry typed for the user (a tap's choice, forward's next step): a partly
// typed entry is dropped first, then the entry and Enter.
void Layer::typeEntry(const std::string& entry) {
    if (!journal_.empty() && !journal_.back().keys.empty()) pending_.emplace_back("\b");
    for (char c : entry) pending_.emplace_back(1, c);
    pending_.emplace_back("\r");
}

void Layer::beginWait(WaitKind kind, int lastItem) {
    waitKind_ = kind;
    waitLastItem_ = lastItem;
    choices_.clear();
    if (replaying_) {
        if (replayBegun_++ < replayTarget_) {
            replayKey_ = 0;
            return;
        }
        // The wait gone back to: the run goes on from here, as if the keys
        // after it had never been typed.
        journal_.resize(replayTarget_);
        endReplay();
    } else {
        host_->waitOpens(kind);
    }
    journal_.push_back({kind, {}});
    static constexpr std::string_view kNames[] = {"", "gate", "menu", "submenu", "step", "anykey"};
    for (DrawSink* sink : sinks_) sink->wait(kNames[static_cast<int>(kind)]);
}

void Layer::offerChoice(const TapArea& area) { choices_.push_back(area); }

void Layer::stepBack() {
    // The wait now open and the one before it are undone. The gate never is:
    // at the first main menu back only drops a partly typed entry (the menu
    // is put back as it was first drawn), and with none it does nothing.
    if (journal_.size() < 2 || journal_.back().kind == WaitKind::Gate) return;
    std::size_t target = journal_.size() - 2;
    if (journal_[target].kind == WaitKind::Gate) {
        if (journal_.back().keys.empty()) return;
        target = journal_.size() - 1;
    }
    // The waits undone are no more to be gone back to.
    std::erase_if(checkpoints_, [&](const Checkpoint& c) { return c.wait > target; });
    replayBegun_ = 0;
    replayKey_ = 0;
    replayTarget_ = target;
    pending_.clear();
    if (!options_.timing.empty()) {
        lastKeyTime_ = std::chrono::steady_clock::now();
        timingStarted_ = true;
    }
    // The run starts again as the program did: the layer's drawing state and
    // a white page that only keeps its display list until the target wait.
    seedCalls_ = 0;
    font_ = FontState{};
    pen_ = 1;
    waitKind_ = WaitKind::None;
    waitLastItem_ = 0;
    choices_.clear();
    page_.reset();
    replaying_ = true;
    throw StepBack{};
}

void Layer::endReplay() {
    replaying_ = false;
    host_->redraw();  // the page drawn once, from its display list
    host_->waitOpens(waitKind_);
}

void Layer::idle() {
    if (!host_->interactive()) throw ProgramEnd{0};
    if (trace_) trace_->flush();
    host_->idle();
    for (;;) {
        checkStop();
        show();
        host_->wait(kWaitMillis, typed_);
        typed_.clear();
    }
}

std::string Layer::timeOfDay() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

void Layer::randomize(int seed) {
    // A replay after a step back takes the seeds of the first run, the clock's too.
    if (seedCalls_ == seeds_.size()) seeds_.push_back(options_.seed ? *options_.seed : static_cast<unsigned>(seed));
    rng_.seed(seeds_[seedCalls_++]);
}

float Layer::rnd() {
    // 24 random bits: every value is exact in single precision and below 1.
    return static_cast<float>(rng_() >> 8) * (1.0f / 16777216.0f);
}

void Layer::setTitle(const std::string& title) { host_->setTitle(title); }

void Layer::traceFormula(std::string_view text, float x, float y, int color, float end) {
    if (replaying_) return;
    for (DrawSink* sink : sinks_) sink->formula(text, x, y, color, end);
}

void Layer::flushTrace() {
    if (trace_) trace_->flush();
}

std::string Layer::savePage() { return host_->savePage(); }

std::vector<std::string> Layer::finish() {
    std::vector<std::string> failures;
    if (finished_) return failures;
    finished_ = true;
    if (replaying_) endReplay();  // stopped in the middle of a step back: the page as it is
    auto check = [&](const char* what, const std::string& path, const std::optional<std::string>& why) {
        if (why) failures.push_back("cannot write the " + std::string(what) + " " + path + ": " + *why);
    };
    failures = host_->finish();
    if (trace_) check("trace", options_.trace, trace_->close());
    if (!options_.timing.empty()) {
        std::string text;
        char line[32];
        for (double ms : stepMillis_) {
            std::snprintf(line, sizeof line, "%.4f\n", ms);
            text += line;
        }
        check("timing", options_.timing, writeWholeFile(options_.timing, text));
    }
    return failures;
}

}  // namespace lesson
