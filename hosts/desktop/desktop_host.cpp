// The desktop's hosts: the SDL2 window and the off-screen page of a headless
// run, both drawing with Cairo and writing the screenshot, the PDF, the
// handout and the saved page from the display list.

#include "hosts/desktop/desktop_host.h"

#include "engine/graphics/host.h"

#include "hosts/desktop/fonts.h"
#include "engine/graphics/layer.h"
#include "engine/graphics/output_file.h"
#include "hosts/desktop/pdf.h"
#include "hosts/desktop/raster.h"
#include "engine/graphics/trace.h"
#include "hosts/desktop/window.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

namespace lesson {

namespace {

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

void removeFolder(const std::string& path) {
    if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") ::unlink((path + "/" + name).c_str());
        }
        ::closedir(dir);
    }
    ::rmdir(path.c_str());
}

// The place in the state folder: $XDG_STATE_HOME/<program>/place/, a file
// for each item, each written beside its name and renamed only when whole.
// One that cannot be read is moved to place.unreadable beside it.
class FolderPlace : public PlaceStore {
public:
    explicit FolderPlace(const std::string& program)
        : program_(program), folder_(stateFolder(program).empty() ? "" : stateFolder(program) + "/place") {}

    std::optional<std::string> read(const std::string& name) override {
        if (folder_.empty()) return std::nullopt;
        std::ifstream in(folder_ + "/" + name, std::ios::binary);
        if (!in) return std::nullopt;
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return std::nullopt;
        return bytes;
    }
    std::optional<std::string> write(const std::string& name, std::string_view bytes) override {
        if (folder_.empty()) return std::string("no home folder to keep it in");
        if (!made_) {
            if (!makeFolders(folder_)) return folder_ + ": " + std::strerror(errno);
            made_ = true;
        }
        if (auto why = writeWholeFile(folder_ + "/" + name, bytes)) return folder_ + "/" + name + ": " + *why;
        return std::nullopt;
    }
    void remove(const std::string& name) override {
        if (!folder_.empty()) ::unlink((folder_ + "/" + name).c_str());
    }
    void clear() override {
        if (!folder_.empty()) removeFolder(folder_);
        made_ = false;
    }
    void setAside() override {
        if (folder_.empty()) return;
        const std::string aside = folder_ + ".unreadable";
        removeFolder(aside);
        ::rename(folder_.c_str(), aside.c_str());
        made_ = false;
    }
    void tell(const std::string& line) override { std::fprintf(stderr, "%s: %s\n", program_.c_str(), line.c_str()); }

private:
    std::string program_;
    std::string folder_;
    bool made_ = false;
};

// What both desktop hosts share: the fonts, and the files of the page.
class CairoHost : public Host {
public:
    CairoHost(const LayerOptions& options, const DisplayList& page) : options_(options), page_(page) {
        options_.keys = {};  // the layer types them; the host keeps no copy
        if (!options_.scheme.empty()) asked_ = findScheme(options_.scheme);
        if (!options_.handout.empty()) handout_ = std::make_unique<HandoutSink>(fonts_, page_, asked_ ? *asked_ : normalScheme());
        if (options_.keepPlace) place_ = std::make_unique<FolderPlace>(options_.program);
    }
    PlaceStore* placeStore() override { return place_.get(); }
    virtual Raster& raster() = 0;

    // The scheme the page is seen in: the one asked for (--scheme), else in a
    // window the one remembered, else the normal one.
    const Scheme& firstScheme(bool window) const {
        if (asked_) return *asked_;
        if (const Scheme* remembered = window ? rememberedScheme(options_.program) : nullptr) return *remembered;
        return normalScheme();
    }
    // Paper is white: what is saved and printed (Ctrl+S, --pdf, the handout)
    // is in the normal scheme, unless a scheme was asked for with them.
    const Scheme& paperScheme() { return asked_ ? raster().scheme() : normalScheme(); }

    std::vector<DrawSink*> sinks() override {
        if (handout_) return {handout_.get()};
        return {};
    }

    InkSource* ink() override { return &fonts_; }
    void draw(const DrawCommand& cmd, bool erase) override { raster().draw(cmd, erase); }
    void redraw() override { raster().redraw(); }
    void redrawArea(const LogicalBox& area) override { raster().redrawArea(area); }

    // The page as a PNG at the raster's size and a PDF, named after the
    // program and the time, in the pictures folder.
    std::string savePage() override {
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
        const std::string program = options_.program.empty() ? program_invocation_short_name : options_.program;
        const std::string stem = folder + "/" + program + "-" + stamp;
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
        // The whole page at the window's size, however the view is zoomed, on paper.
        std::optional<std::string> why = pagePng(raster().width(), raster().height(), paperScheme(), base + ".png");
        if (!why) why = writePagePdf(fonts_, page_, base + ".pdf", paperScheme());
        if (why) {
            ::unlink((base + ".png").c_str());
            ::unlink((base + ".pdf").c_str());
            return "the page could not be saved in " + folder + ": " + *why;
        }
        return "saved: " + base + ".png and .pdf";
    }

    std::vector<std::string> finish() override {
        std::vector<std::string> failures;
        auto check = [&](const char* what, const std::string& path, const std::optional<std::string>& why) {
            if (why) failures.push_back("cannot write the " + std::string(what) + " " + path + ": " + *why);
        };
        if (!options_.screenshot.empty()) check("screenshot", options_.screenshot, writeScreenshot());
        if (!options_.pdf.empty()) check("PDF", options_.pdf, writePagePdf(fonts_, page_, options_.pdf, paperScheme()));
        if (handout_) check("handout", options_.handout, handout_->write(options_.handout));
        return failures;
    }

protected:
    // The screenshot is the screen: in the scheme it is seen in.
    virtual std::optional<std::string> writeScreenshot() = 0;

    // The whole page as a PNG of width x height in a scheme.
    std::optional<std::string> pagePng(int width, int height, const Scheme& scheme, const std::string& path) {
        Raster shot(fonts_, width, height);
        shot.setScheme(scheme);
        shot.paint(page_);
        return shot.writePng(path);
    }

    LayerOptions options_;
    const Scheme* asked_ = nullptr;
    const DisplayList& page_;
    Fonts fonts_;
    std::unique_ptr<HandoutSink> handout_;
    std::unique_ptr<FolderPlace> place_;
};

// A run without a window: the page drawn off the screen at the asked size,
// the scripted keys all there is.
class HeadlessHost : public CairoHost {
public:
    HeadlessHost(const LayerOptions& options, const DisplayList& page)
        : CairoHost(options, page), raster_(fonts_, options.width, options.height, &page) {
        raster_.setScheme(firstScheme(false));
    }
    Raster& raster() override { return raster_; }
    bool interactive() const override { return false; }
    void show() override {}
    void wait(int, std::deque<std::string>&) override {}
    void setTitle(const std::string&) override {}

private:
    std::optional<std::string> writeScreenshot() override { return raster_.writePng(options_.screenshot); }
    Raster raster_;
};

// The program's window (SDL2), its page drawn at the window's size.
class WindowHost : public CairoHost {
public:
    WindowHost(const LayerOptions& options, const DisplayList& page)
        : CairoHost(options, page), window_(fonts_, page, "") {
        window_.raster().setScheme(firstScheme(true));
        window_.onSave([this] { return savePage(); });
        window_.onNextScheme([this] { return takeNextScheme(); });
    }

    // The next scheme, drawn at once and remembered for the next opening:
    // what the title then says for a few seconds. A state folder that cannot
    // be written leaves it unremembered, told once on stderr.
    std::string takeNextScheme() {
        const Scheme& next = nextScheme(window_.raster().scheme());
        window_.raster().setScheme(next);
        if (auto why = rememberScheme(options_.program, next); why && !toldUnremembered_) {
            toldUnremembered_ = true;
            std::fprintf(stderr, "%s: the scheme is not remembered: %s\n", options_.program.c_str(), why->c_str());
        }
        return "scheme: " + std::string(next.name);
    }
    Raster& raster() override { return window_.raster(); }
    bool interactive() const override { return true; }
    void show() override { window_.present(); }
    void wait(int timeoutMs, std::deque<std::string>& keys) override { window_.pump(timeoutMs, keys); }
    void setTitle(const std::string& title) override { window_.setTitle(title); }
    void onDisplayLost(std::function<void()> lastWords) override { window_.onDisplayLost(std::move(lastWords)); }
    // A menu or a sub-menu opens on the whole page, so that the class sees every choice.
    void waitOpens(WaitKind kind) override {
        if (kind == WaitKind::MainMenu || kind == WaitKind::SubMenu) window_.showWholePage();
    }

private:
    // At the asked size, whatever the window's.
    std::optional<std::string> writeScreenshot() override {
        return pagePng(options_.width, options_.height, raster().scheme(), options_.screenshot);
    }
    Window window_;
    bool toldUnremembered_ = false;
};

}  // namespace

std::unique_ptr<Host> makeHost(const LayerOptions& options, const DisplayList& page) {
    if (options.headless) return std::make_unique<HeadlessHost>(options, page);
    return std::make_unique<WindowHost>(options, page);
}

std::optional<std::string> hostCannotStart(bool headless, const std::string& title) {
    if (auto missing = Fonts::missingFont()) {
        // A program started from an icon has no terminal: the teacher reads it on the display.
        if (!headless) Window::tellUser(title, *missing);
        return missing;
    }
    if (!headless) return Window::unavailable();
    return std::nullopt;
}

// A walk in the desktop's window would end where the teacher takes over: it
// runs headless.
bool hostWalksInWindow() { return false; }

void hostEnded(int) {}

Raster& rasterOf(Layer& layer) { return static_cast<CairoHost&>(layer.host()).raster(); }

}  // namespace lesson
