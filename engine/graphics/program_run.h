#pragma once
// A program's run: the host it runs in (a window, an off-screen page, a
// browser's canvas), the page, the session that reads its keys and keeps its
// place, the layer it draws through, its random numbers, and the files it
// writes when it stops (the trace, the spoken text, the timing).

#include "engine/graphics/layer.h"
#include "engine/session/generator.h"

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lesson {

class Trace;

// How the state of the program above the layer at a round (what its `keep`
// gave) is written into the place and read back.
struct AboveCodec {
    std::function<void(ByteWriter&, const std::any&)> save;
    std::function<std::any(ByteReader&)> load;  // throws PlaceUnreadable
};

class ProgramRun {
public:
    explicit ProgramRun(LayerOptions options);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    Layer& layer() { return layer_; }
    Session& session() { return session_; }
    const Session& session() const { return session_; }
    Host& host() { return *host_; }

    // Called, in place of returning, when the connection to the display is
    // lost under the window; it must end the process.
    void onDisplayLost(std::function<void()> lastWords);

    // The top of a round of a loop that the program can go on from with the
    // state `keep` gives (the engine's variables, the loop's own), in the
    // loop `scope` (the waits begun before it) whose rounds wait at `kind`.
    // In a run, that state is kept here with the run's own (the generator,
    // the pen, the font, the page); in a replay after a step back, the run
    // goes on from the latest round kept of the same loop before the wait it
    // goes back to, if there is one: its own state back as it was there, and
    // what `keep` gave there returned for the program to take back.
    // Kept in the place, the state is written with `codec` (and read back
    // with it after a reopening).
    const std::any* roundBegins(std::size_t scope, WaitKind kind, const std::function<std::any()>& keep,
                                const AboveCodec& codec);
    // Whether this run stands where a run before stood (its place read back).
    bool resumed() const { return resumed_; }

    void randomize(int seed);
    // A fresh random number in [0, 1).
    float rnd() { return generator_.next(); }

    // A wait begins with this step said (engine/typesetter/spoken.h) and this
    // page: for the host, and a line of the spoken text file.
    void speakStep(const std::string& step, const std::string& page);
    // The page's whole text as the last wait told it (a screen reader's label of the page).
    const std::string& spokenPage() const { return spokenPage_; }
    // Writes the screenshot and the timing and closes the trace; called once
    // when the program stops. Returns a line for each file that could not be
    // written whole (a full disk included).
    std::vector<std::string> finish();
    void flushTrace();

private:
    class Events;

    LayerOptions options_;
    DisplayList page_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<SessionEvents> events_;
    Session session_;
    Layer layer_;
    std::unique_ptr<Trace> trace_;
    Generator generator_;
    std::string spokenText_;  // the lines of --spoken
    std::string spokenPage_;
    bool finished_ = false;
    bool resumed_ = false;
};

}  // namespace lesson
