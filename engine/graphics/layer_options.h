#pragma once
// What a run of a program is asked for on its command line (or by a test):
// the keys it is typed, the files it writes, the page's size, the seed, and
// whether it keeps its place. The hosts read it as they are made.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lesson {

struct LayerOptions {
    bool headless = false;
    std::vector<std::string> keys;  // scripted keys, typed before the keyboard
    // Asked for each key once the scripted keys are used up (long generated
    // key streams of the tests, a walk); "" ends a headless run as usual,
    // and hands a window over to the teacher.
    std::function<std::string()> moreKeys;
    std::string screenshot;         // PNG written when the program stops
    std::string trace;              // JSON Lines of every call
    std::string timing;             // per-key-step times (benchmarks)
    std::string pdf;                // the page in vectors when the program stops
    std::string handout;            // PDF of every screen shown, one page each
    std::string spoken;             // each wait's spoken text, a line each
    std::string scheme;             // the colour scheme asked for (schemes.h), or "" for the one remembered
    int width = 1344, height = 720; // screenshot / headless page size in pixels
    std::optional<unsigned> seed;   // replaces the clock seed
    std::string program;            // the program's name, for the pages it saves
    // The run keeps its place where the host keeps it, and a new run within
    // the hour stands where the last one stood (a window or a page with no
    // scripted keys and no walk).
    bool keepPlace = false;
};

}  // namespace lesson
