// The desktop's figures of the place a run keeps: what keeping it costs a
// key step (a day of 100,000 keys of section visits run with and without a
// place, the difference spread over its keys), and the reopening after them
// (from the program's start to the page it stood at, drawn).
//   place_bench STATE_FOLDER   prints both in ms

#include "engine/engine.h"
#include "engine/frame/frame.h"
#include "engine/session/key_script.h"
#include "lessons_a/sections.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double secondsOf(const std::string& keys, bool keepPlace) {
    lesson::LayerOptions options;
    options.headless = true;
    options.keepPlace = keepPlace;
    options.program = "solvara";
    options.keys = lesson::parseKeyScript(keys);
    options.seed = 1;
    const auto start = std::chrono::steady_clock::now();
    lesson::ProgramRun run(options);
    lesson::Engine e(run);
    lesson::runFrame(e, solvara::program());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    ::setenv("XDG_STATE_HOME", argv[1], 1);
    std::string visit = "1\\n1\\n";
    for (int i = 0; i < 44; ++i) visit += "k";
    visit += "4\\n";
    std::string keys = "5926\\n";
    while (lesson::parseKeyScript(keys).size() < 100000) keys += visit;
    const std::size_t count = lesson::parseKeyScript(keys).size();
    const double plain = secondsOf(keys, false), kept = secondsOf(keys, true);
    const double reopening = secondsOf("", true);
    std::printf("desktop: keeping the place costs %.3f ms a key step (%zu keys: %.1f s kept, %.1f s not; target under 2 ms)\n",
                1000 * (kept - plain) / static_cast<double>(count), count, kept, plain);
    std::printf("desktop: reopening after %zu keys stands where it stood in %.0f ms (target under 1 s)\n", count,
                1000 * reopening);
}
