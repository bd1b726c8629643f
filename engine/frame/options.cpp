#include "engine/frame/options.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace lesson {

namespace {

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
           "  --keys SCRIPT       keys to type first (\\n or \\r Enter, \\b Backspace, \\\\ backslash)\n"
           "  --keys-file FILE    the same, read from a file\n"
           "  --screenshot FILE   write the page as a PNG when the program stops\n"
           "  --size WxH          size of the screenshot and of the headless page (default 1344x720)\n"
           "  --trace FILE        write every drawing call, formula and key as JSON Lines\n"
           "  --seed N            seed the random numbers with N instead of the clock\n"
           "  --timing FILE       write the time of every key step in milliseconds\n"
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
        } else if (a == "--headless") {
            cl.layer.headless = true;
        } else if (a == "--keys") {
            if (!value(v)) return fail("--keys needs a script");
            auto keys = parseKeyScript(v);
            cl.layer.keys.insert(cl.layer.keys.end(), keys.begin(), keys.end());
        } else if (a == "--keys-file") {
            if (!value(v)) return fail("--keys-file needs a file");
            std::ifstream in(v, std::ios::binary);
            if (!in) return fail("cannot read " + v);
            std::ostringstream text;
            text << in.rdbuf();
            auto keys = parseKeyScript(text.str());
            cl.layer.keys.insert(cl.layer.keys.end(), keys.begin(), keys.end());
        } else if (a == "--screenshot") {
            if (!value(cl.layer.screenshot)) return fail("--screenshot needs a file");
        } else if (a == "--trace") {
            if (!value(cl.layer.trace)) return fail("--trace needs a file");
        } else if (a == "--timing") {
            if (!value(cl.layer.timing)) return fail("--timing needs a file");
        } else if (a == "--size") {
            if (!value(v) || !parseSize(v, cl.layer.width, cl.layer.height)) return fail("--size needs WxH");
        } else if (a == "--seed") {
            unsigned seed = 0;
            if (!value(v)) return fail("--seed needs a number");
            auto r = std::from_chars(v.data(), v.data() + v.size(), seed);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size()) return fail("--seed needs a number");
            cl.layer.seed = seed;
        } else {
            return fail("unknown option " + a);
        }
    }
    return cl;
}

}  // namespace lesson
