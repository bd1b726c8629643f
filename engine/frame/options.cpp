#include "engine/frame/options.h"

#include "engine/frame/frame.h"
#include "engine/graphics/host.h"
#include "engine/graphics/schemes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <iterator>
#include <memory>

namespace lesson {

namespace {

// Files the program writes when it stops, each named by its option. A new
// output joins here with one line and is checked like the others.
struct OutputOption {
    const char* name;
    std::string LayerOptions::*path;
};
constexpr OutputOption kOutputs[] = {
    {"--screenshot", &LayerOptions::screenshot},
    {"--trace", &LayerOptions::trace},
    {"--timing", &LayerOptions::timing},
    {"--pdf", &LayerOptions::pdf},
    {"--handout", &LayerOptions::handout},
    {"--spoken", &LayerOptions::spoken},
};

// A keys file larger than this is not a key script (a million keys, weeks
// of lessons; the largest runs in well under 200 MB).
constexpr std::uintmax_t kMaxKeysFile = 1u << 20;

// Why a file cannot be written at `path`, or nothing; found without writing
// (a device is opened without truncating it).
std::optional<std::string> unwritable(const std::string& path) {
    if (path.empty()) return std::string("the name is empty");
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return std::string(std::strerror(EISDIR));
        if (!S_ISREG(st.st_mode)) {
            // A device or a pipe is written in place.
            const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0) return std::string(std::strerror(errno));
            ::close(fd);
            return std::nullopt;
        }
    } else if (errno != ENOENT) {
        return std::string(std::strerror(errno));
    }
    // A file is written beside its name and then renamed: its folder must take new files.
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const std::string folder = parent.empty() ? "." : parent.string();
    if (::stat(folder.c_str(), &st) != 0) return "no folder " + folder + " (" + std::strerror(errno) + ")";
    if (!S_ISDIR(st.st_mode)) return folder + " is not a folder";
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return "the folder " + folder + ": " + std::strerror(errno);
    return std::nullopt;
}

// The same file under two names (or twice the same name).
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ea, eb;
    if (std::filesystem::equivalent(a, b, ea)) return true;
    const auto ca = std::filesystem::weakly_canonical(a, ea);
    const auto cb = std::filesystem::weakly_canonical(b, eb);
    return !ea && !eb && ca == cb;
}

bool parseSize(const std::string& s, int& w, int& h) {
    const auto x = s.find('x');
    if (x == std::string::npos) return false;
    const char* b = s.data();
    auto r1 = std::from_chars(b, b + x, w);
    auto r2 = std::from_chars(b + x + 1, b + s.size(), h);
    return r1.ec == std::errc() && r1.ptr == b + x && r2.ec == std::errc() && r2.ptr == b + s.size() && w > 0 &&
           h > 0 && w <= 16384 && h <= 16384;
}

}  // namespace

std::string usageText(const std::string& name) {
    return "usage: " + name +
           " [options]\n"
           "  --headless          draw off-screen, no window; animation pauses do not wait\n"
           "  --keys SCRIPT       keys to type first (\\n or \\r Enter, \\b Backspace, \\\\ backslash,\n"
           "                      \\< back one wait as PageUp, \\> forward as PageDown, \\@X,Y; a tap,\n"
           "                      \\~P:X,Y X,Y ...; a stroke of pen P (r b k, m marker, e eraser),\n"
           "                      \\~u; undo and \\~c; clear of the page's ink)\n"
           "  --keys-file FILE    the same, read from a file\n"
           "  --screenshot FILE   write the page as a PNG when the program stops\n"
           "  --pdf FILE          write the page as a PDF (vectors, real text) when the program stops\n"
           "  --handout FILE      write every screen shown as a PDF, one page each\n"
           "  --size WxH          size of the screenshot and of the headless page (default 1344x720)\n"
           "  --trace FILE        write every drawing call, formula and key as JSON Lines\n"
           "  --seed N            seed the random numbers with N instead of the clock\n"
           "  --timing FILE       write the time of every key step in milliseconds\n"
           "  --scheme NAME       draw in a colour scheme: " + schemeNames() + "\n"
           "  --schemes           print every scheme's sixteen colours as one JSON object\n"
           "  --spoken FILE       write each wait's spoken text as a line\n"
           "  --walk N            with --headless: walk through every page of main-menu section N\n"
           "                      by itself (after the scripted keys), then stop\n"
           "  --help, --version\n"
           "When the scripted keys are used up the program stops at its next wait for a key.\n";
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    auto fail = [&](const std::string& why) {
        cl.action = CommandLine::Action::Error;
        cl.error = why;
        return cl;
    };
    std::vector<std::string> keysFiles;  // no output may overwrite one
    bool scripted = false;               // keys or a walk: the run neither keeps nor resumes a place
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            cl.action = CommandLine::Action::Help;
            return cl;
        } else if (a == "--version") {
            cl.action = CommandLine::Action::Version;
            return cl;
        } else if (a == "--schemes") {
            cl.action = CommandLine::Action::Schemes;
            return cl;
        } else if (a == "--scheme") {
            if (!value(v)) return fail("--scheme needs a name: " + schemeNames());
            if (!findScheme(v)) return fail("unknown scheme " + v + ": the schemes are " + schemeNames());
            cl.layer.scheme = v;
        } else if (a == "--headless") {
            cl.layer.headless = true;
        } else if (a == "--keys") {
            scripted = true;
            if (!value(v)) return fail("--keys needs a script");
            std::string malformed;
            auto keys = parseKeyScript(v, &malformed);
            if (!malformed.empty()) return fail("a malformed ink stroke in the keys: " + malformed);
            cl.layer.keys.insert(cl.layer.keys.end(), std::make_move_iterator(keys.begin()),
                                 std::make_move_iterator(keys.end()));
        } else if (a == "--keys-file") {
            scripted = true;
            if (!value(v) || v.empty()) return fail("--keys-file needs a file");
            keysFiles.push_back(v);
            struct stat st {};
            if (::stat(v.c_str(), &st) != 0) return fail("cannot read the keys file " + v + ": " + std::strerror(errno));
            if (S_ISDIR(st.st_mode)) return fail("cannot read the keys file " + v + ": " + std::strerror(EISDIR));
            if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) > kMaxKeysFile)
                return fail("the keys file " + v + " is larger than 1 MB; it is not a key script");
            std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(v.c_str(), "rb"), std::fclose);
            if (!in) return fail("cannot read the keys file " + v + ": " + std::strerror(errno));
            std::string text;
            char chunk[65536];
            for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, in.get())) > 0;) {
                text.append(chunk, got);
                if (text.size() > kMaxKeysFile) return fail("the keys file " + v + " is larger than 1 MB; it is not a key script");
            }
            if (std::ferror(in.get())) return fail("cannot read the keys file " + v);
            // A file written on Windows ends its lines in CR LF: one Enter each.
            std::string lines;
            lines.reserve(text.size());
            for (std::size_t i = 0; i < text.size(); ++i)
                if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
            text = std::move(lines);
            std::string malformed;
            auto keys = parseKeyScript(text, &malformed);
            if (!malformed.empty()) return fail("a malformed ink stroke in the keys file " + v + ": " + malformed);
            cl.layer.keys.insert(cl.layer.keys.end(), std::make_move_iterator(keys.begin()),
                                 std::make_move_iterator(keys.end()));
        } else if (auto out = std::find_if(std::begin(kOutputs), std::end(kOutputs),
                                           [&](const OutputOption& o) { return a == o.name; });
                   out != std::end(kOutputs)) {
            if (!value(cl.layer.*(out->path)) || (cl.layer.*(out->path)).empty()) return fail(a + " needs a file name");
        } else if (a == "--size") {
            if (!value(v) || !parseSize(v, cl.layer.width, cl.layer.height)) return fail("--size needs WxH");
        } else if (a == "--seed") {
            unsigned seed = 0;
            if (!value(v)) return fail("--seed needs a number");
            auto r = std::from_chars(v.data(), v.data() + v.size(), seed);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size()) return fail("--seed needs a number");
            cl.layer.seed = seed;
        } else if (a == "--walk") {
            int section = 0;
            if (!value(v)) return fail("--walk needs a section number");
            auto r = std::from_chars(v.data(), v.data() + v.size(), section);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size() || section < 1)
                return fail("--walk needs a section number");
            cl.walk = section;
            scripted = true;
        } else {
            return fail("unknown option " + a);
        }
    }
    if (cl.walk != 0 && !cl.layer.headless && !hostWalksInWindow())
        return fail("--walk runs without a window: add --headless");
    for (auto a = std::begin(kOutputs); a != std::end(kOutputs); ++a)
        for (auto b = std::next(a); b != std::end(kOutputs); ++b)
            if (!(cl.layer.*(a->path)).empty() && !(cl.layer.*(b->path)).empty() &&
                sameFile(cl.layer.*(a->path), cl.layer.*(b->path)))
                return fail(std::string(a->name) + " and " + b->name + " name the same file " + cl.layer.*(a->path));
    for (const OutputOption& o : kOutputs)
        for (const std::string& keys : keysFiles)
            if (!(cl.layer.*(o.path)).empty() && sameFile(cl.layer.*(o.path), keys))
                return fail(std::string(o.name) + " names the keys file " + keys);
    cl.layer.keepPlace = !cl.layer.headless && !scripted;
    return cl;
}

std::optional<std::string> unwritableOutput(const LayerOptions& options) {
    for (const OutputOption& o : kOutputs) {
        const std::string& path = options.*(o.path);
        if (path.empty()) continue;
        if (auto why = unwritable(path)) return "cannot write " + path + " (" + o.name + "): " + *why;
    }
    return std::nullopt;
}

}  // namespace lesson

namespace lesson {

std::function<std::string()> sectionWalk(const Session& session, int section) {
    struct Walk {
        std::deque<std::string> keys;
        bool chosen = false;
        int page = 0;
    };
    auto walk = std::make_shared<Walk>();
    return [&session, section, walk]() -> std::string {
        Walk& w = *walk;
        auto type = [&](const std::string& entry) {
            for (char c : entry) w.keys.emplace_back(1, c);
            w.keys.emplace_back("\r");
        };
        if (w.keys.empty()) {
            switch (session.waitKind()) {
                case WaitKind::Gate:
                    type(kPassword);
                    break;
                case WaitKind::MainMenu:
                    if (w.chosen) return "";  // the section is done
                    w.chosen = true;
                    type(std::to_string(section));
                    break;
                case WaitKind::SubMenu:
                    if (session.waitLastItem() < 1) return "";
                    w.page = std::min(w.page + 1, session.waitLastItem());
                    type(std::to_string(w.page));
                    break;
                case WaitKind::Step:
                    type("1");
                    break;
                case WaitKind::AnyKey:
                    w.keys.emplace_back(kForwardKey);
                    break;
                case WaitKind::None:
                    return "";
            }
        }
        std::string key = std::move(w.keys.front());
        w.keys.pop_front();
        return key;
    };
}

}  // namespace lesson
