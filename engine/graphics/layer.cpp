#include "engine/graphics/layer.h"

#include "engine/graphics/fonts.h"
#include "engine/graphics/pdf.h"
#include "engine/graphics/raster.h"
#include "engine/graphics/trace.h"
#include "engine/graphics/window.h"
#include "engine/chars/chars.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <cstdio>
#include <ctime>
#include <thread>

namespace lesson {

namespace {
// The layer's pause between animation frames: a nine-frame tilt takes about
// a quarter of a second and reads as one smooth movement.
constexpr int kPauseMillis = 30;
// A wait for a key sleeps on the window's events; it wakes this often with
// none, to see whether a stop signal came.
constexpr int kWaitMillis = 250;

volatile std::sig_atomic_t stopSignalCaught = 0;

extern "C" void catchStop(int signal) { stopSignalCaught = signal; }

bool isFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}

// The user's pictures folder: XDG_PICTURES_DIR from the environment or from
// the desktop's user-dirs.dirs, when it is there; else the home folder.
std::string picturesFolder() {
    const std::string home = homeFolder();
    if (const char* dir = std::getenv("XDG_PICTURES_DIR"); dir && isFolder(dir)) return dir;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::ifstream dirs((config && *config ? std::string(config) : home + "/.config") + "/user-dirs.dirs");
    for (std::string line; std::getline(dirs, line);) {
        const std::string key = "XDG_PICTURES_DIR=\"";
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') continue;
        std::string dir = line.substr(key.size(), line.size() - key.size() - 1);
        if (dir.rfind("$HOME", 0) == 0) dir = home + dir.substr(5);
        if (isFolder(dir)) return dir;
    }
    return home;
}

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

void Layer::onDisplayLost(std::function<void()> lastWords) {
    if (window_) window_->onDisplayLost(std::move(lastWords));
}

std::vector<std::string> parseKeyScript(std::string_view script) {
    std::vector<std::string> keys;
    const auto chars = splitChars(script);
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
    if (auto missing = Fonts::missingFont()) {
        // A program started from an icon has no terminal: the teacher reads it on the display.
        if (!headless) Window::tellUser(title, *missing);
        return missing;
    }
    if (!headless) return Window::unavailable();
    return std::nullopt;
}

Layer::Layer(const LayerOptions& options) : options_(options), fonts_(std::make_unique<Fonts>()) {
    if (options_.headless) {
        raster_ = std::make_unique<Raster>(*fonts_, options_.width, options_.height);
    } else {
        window_ = std::make_unique<Window>(*fonts_, "");
    }
    if (!options_.trace.empty()) trace_ = std::make_unique<Trace>(options_.trace);
    sinks_.push_back(&raster());
    if (trace_) sinks_.push_back(trace_.get());
    if (!options_.handout.empty()) {
        // Before the page's raster: it sees a page clear while the page still
        // stands as the class saw it.
        handout_ = std::make_unique<HandoutSink>(*fonts_, raster());
        sinks_.insert(sinks_.begin(), handout_.get());
    }
    if (window_) window_->onSave([this] { return savePage(); });
    script_.assign(options_.keys.begin(), options_.keys.end());
}

Layer::~Layer() = default;

Raster& Layer::raster() { return window_ ? window_->raster() : *raster_; }

void Layer::emit(DrawCommand cmd) {
    checkStop();
    cmd.pen = pen_;
    if (replaying_) {
        raster().draw(cmd);  // off the screen: the display list alone follows
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

void Layer::lineRelative(float x, float y, float dx, float dy, int color) { line(x, y, x + dx, y + dy, color); }

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
    if (window_ && !replaying_) window_->present();
}

void Layer::pause() {
    DrawCommand c;
    c.op = DrawCommand::Op::Pause;
    emit(std::move(c));
    if (!window_ || replaying_) return;
    show();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPauseMillis);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        window_->pump(static_cast<int>(left.count()), typed_);
        checkStop();
    }
}

std::string Layer::inkey() {
    if (replaying_) {
        checkStop();
        if (!replayKeys_.empty()) {
            std::string key = std::move(replayKeys_.front());
            replayKeys_.pop_front();
            if (!journal_.empty()) journal_.back().keys.push_back(key);
            return key;
        }
        endReplay();  // the keys ran out before the wait they led to: the run goes on from here
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
        // The sinks see every key as it was read; what it stands for is the lessons' key.
        for (DrawSink* sink : sinks_) sink->key(key);
        if (key == kBackKey) {
            stepBack();  // throws when there is a wait to go back to
            continue;
        }
        if (key == kForwardKey || key == " ") {
            if (waitKind_ == WaitKind::Step) {
                // The next step: a partly typed entry is dropped, then 1 and Enter.
                if (!journal_.empty() && !journal_.back().keys.empty()) pending_.emplace_back("\b");
                pending_.emplace_back("1");
                pending_.emplace_back("\r");
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

std::string Layer::nextKey() {
    std::string key;
    if (!script_.empty()) {
        key = std::move(script_.front());
        script_.pop_front();
        if (window_) window_->pump(0, typed_);
    } else if (!window_) {
        if (options_.moreKeys) key = options_.moreKeys();
        if (key.empty()) throw ProgramEnd{0};  // the scripted keys are used up
    } else {
        if (typed_.empty()) {
            // Nothing typed yet: the trace so far is on disk while the class
            // looks at the page, and the program sleeps until an event comes.
            if (trace_) trace_->flush();
            window_->pump(kWaitMillis, typed_);
            checkStop();
        } else {
            window_->pump(0, typed_);
        }
        if (typed_.empty()) return "";
        key = std::move(typed_.front());
        typed_.pop_front();
    }
    return key;
}

void Layer::beginWait(WaitKind kind, int lastItem) {
    waitKind_ = kind;
    waitLastItem_ = lastItem;
    journal_.push_back({kind, {}});
    if (replaying_ && journal_.size() - 1 == replayTarget_) endReplay();
}

void Layer::stepBack() {
    // The wait now open and the one before it are undone. The gate never is:
    // at the first main menu back does nothing.
    if (journal_.size() < 2) return;
    const std::size_t target = journal_.size() - 2;
    if (journal_[target].kind == WaitKind::Gate || journal_.back().kind == WaitKind::Gate) return;
    replayKeys_.clear();
    for (std::size_t i = 0; i < target; ++i)
        replayKeys_.insert(replayKeys_.end(), journal_[i].keys.begin(), journal_[i].keys.end());
    replayTarget_ = target;
    journal_.clear();
    pending_.clear();
    seedCalls_ = 0;
    if (!options_.timing.empty()) {
        lastKeyTime_ = std::chrono::steady_clock::now();
        timingStarted_ = true;
    }
    // The run starts again as the program did: the layer's drawing state and
    // a white page that only keeps its display list until the target wait.
    font_ = FontState{};
    pen_ = 1;
    waitKind_ = WaitKind::None;
    waitLastItem_ = 0;
    raster().restartUnrendered();
    replaying_ = true;
    throw StepBack{};
}

void Layer::endReplay() {
    replaying_ = false;
    replayKeys_.clear();
    raster().setRendering(true);  // the page drawn once, from its display list
}

void Layer::idle() {
    if (!window_) throw ProgramEnd{0};
    if (trace_) trace_->flush();
    for (;;) {
        checkStop();
        show();
        window_->pump(kWaitMillis, typed_);
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

void Layer::setTitle(const std::string& title) {
    if (window_) window_->setTitle(title);
}

void Layer::traceFormula(std::string_view text, float x, float y, int color, float end) {
    if (replaying_) return;
    for (DrawSink* sink : sinks_) sink->formula(text, x, y, color, end);
}

void Layer::flushTrace() {
    if (trace_) trace_->flush();
}

std::string Layer::savePage() {
    const std::string folder = picturesFolder();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    // The names are taken exclusively, never through a link: in a shared
    // folder a file or a link already at the next name is passed over for
    // the one after (two saves within a second keep both, too). Each file
    // then takes its name only when it is whole.
    const std::string stem = folder + "/" + program_invocation_short_name + "-" + stamp;
    auto claim = [](const std::string& path) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) ::close(fd);
        return fd >= 0 ? 0 : errno;
    };
    std::string base;
    for (int n = 1;; ++n) {
        base = n == 1 ? stem : stem + "-" + std::to_string(n);
        int error = claim(base + ".png");
        if (error == 0) {
            error = claim(base + ".pdf");
            if (error == 0) break;
            ::unlink((base + ".png").c_str());
        }
        if (error != EEXIST || n == 1000)
            return "the page could not be saved in " + folder + ": " + std::strerror(error);
    }
    std::optional<std::string> why = raster().writePng(base + ".png");
    if (!why) why = writePagePdf(*fonts_, raster(), base + ".pdf");
    if (why) {
        ::unlink((base + ".png").c_str());
        ::unlink((base + ".pdf").c_str());
        return "the page could not be saved in " + folder + ": " + *why;
    }
    return "saved: " + base + ".png and .pdf";
}

std::vector<std::string> Layer::finish() {
    std::vector<std::string> failures;
    if (finished_) return failures;
    finished_ = true;
    if (replaying_) endReplay();  // stopped in the middle of a step back: the page as it is
    auto check = [&](const char* what, const std::string& path, const std::optional<std::string>& why) {
        if (why) failures.push_back("cannot write the " + std::string(what) + " " + path + ": " + *why);
    };
    if (!options_.screenshot.empty()) {
        if (window_) {
            Raster shot(*fonts_, options_.width, options_.height, false);
            window_->raster().replayInto(shot);
            check("screenshot", options_.screenshot, shot.writePng(options_.screenshot));
        } else {
            check("screenshot", options_.screenshot, raster_->writePng(options_.screenshot));
        }
    }
    if (!options_.pdf.empty()) check("PDF", options_.pdf, writePagePdf(*fonts_, raster(), options_.pdf));
    if (handout_) check("handout", options_.handout, handout_->write(options_.handout));
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
