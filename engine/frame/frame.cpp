#include "engine/frame/frame.h"

#include "engine/frame/options.h"
#include "engine/graphics/host.h"
#include "engine/graphics/schemes.h"
#include "engine/graphics/colour_roles.h"
#include "engine/prompts/prompts.h"
#include "engine/text/text.h"
#include "engine/typesetter/formula.h"
#include "engine/typesetter/spoken.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace lesson {

namespace {

// The seed of the random numbers: hours + minutes + seconds of the clock.
int clockSeed(const std::string& time) {
    auto two = [&](std::size_t at) { return static_cast<int>(textToNumber(time.substr(at, 2))); };
    return time.size() >= 8 ? two(0) + two(3) + two(6) : 0;
}

int showError(Engine& e, int line, int code) {
    try {
        errorScreen(e, line, code);
    } catch (const ProgramEnd& end) {
        return end.status;
    }
    return 0;
}

}  // namespace

void startUp(Engine& e, const ProgramSpec& app) {
    Layer& g = e.layer;
    g.setFontName("ｺﾞｼｯｸ");
    g.setFontSize(16);
    g.setFontBold(false);
    g.setFontItalic(false);
    g.setDrawWidth(3);
    e.run.randomize(clockSeed(timeOfDay()));
    e.textColor = colour::kStartText;
    e.inputX = kEntryAnchor.x;
    e.inputY = kEntryAnchor.y;
    e.programTitle = app.title;
    e.run.host().setTitle(e.programTitle);
}

void passwordGate(Engine& e) {
    e.entryText.clear();
    int passwordTries = 1;
    while (e.entryText != kPassword) {
        e.layer.box(240, 150, 840, 350, colour::kGateOutline, kWhite);
        e.textColor = colour::kGateText;
        e.textX = 280;
        e.textY = 200;
        e.textString = "パスワードを入力してください。";
        drawFormula(e);
        e.inputX = 280 + 120;
        e.inputY = e.textY + 75;
        e.session.beginWait(WaitKind::Gate);
        readEntry(e);
        if (e.entryText == kPassword) break;
        if (++passwordTries > kMaxPasswordEntries) throw ProgramEnd{0};
    }
    e.inputX = kEntryAnchor.x;
    e.inputY = kEntryAnchor.y;
}

void mainMenu(Engine& e, const ProgramSpec& app) {
    const int quit = static_cast<int>(app.menu.size());
    const Round round = roundOf(e, WaitKind::MainMenu);
    for (;;) {
        beginRound(e, round);
        clearPageArea(e);
        pageClear(e, kPageClearWidth, kTallPageClearHeight);
        e.layer.box(22, 10, 22 + 1320, 10 + 600, kWhite, colour::kMenuFrame);
        drawFormulaAt(e, 264, 30, colour::kMenuTitle, "＜" + e.programTitle + "　メニュー＞");
        // Each item's row as drawn is where a tap chooses it.
        std::vector<TapArea> rows;
        for (const MenuItem& item : app.menu) {
            e.textX = item.x;
            e.textY = item.y;
            e.textColor = item.color;
            e.textString = item.text;
            const FormulaBox box = drawFormula(e);
            rows.push_back({item.x, item.y + box.top, e.textX, item.y + box.bottom, static_cast<int>(rows.size()) + 1});
        }
        drawPlainAt(e, e.inputX - 240, e.inputY, colour::kBodyText, "番号を入力して下さい。");
        menuNumberPrompt(e, rows);
        clearMenuPrompt(e);
        const float choice = e.entryValue;
        if (choice == quit) return;
        // Outside the menu, or not a whole number (2.5): the menu is drawn again.
        if (choice < 1 || choice > quit || choice != std::floor(choice)) continue;
        pageClear(e, kPageClearWidth, kTallPageClearHeight);
        const MenuItem& item = app.menu[static_cast<std::size_t>(choice) - 1];
        if (item.section) item.section(e);
    }
}

namespace {

// The program from its start.
int runOnce(Engine& e, const ProgramSpec& app) {
    try {
        startUp(e, app);
        passwordGate(e);
        mainMenu(e, app);
        return 0;
    } catch (const ProgramEnd& end) {
        return end.status;
    } catch (const EngineError& error) {
        return showError(e, error.line, error.code);
    } catch (const std::exception&) {
        return showError(e, 0, 0);
    }
}

}  // namespace

int runFrame(Engine& e, const ProgramSpec& app) {
    for (;;) {
        try {
            return runOnce(e, app);
        } catch (const StepBack&) {
            // One step back: a fresh engine at the program's start, while the
            // session replays, off the screen, the keys read up to the previous
            // wait, each loop going on from its latest round kept on the way.
            static_cast<EngineState&>(e) = EngineState{};
        }
    }
}

namespace {

// One line to a stream, written through stdio: the browser build then carries
// no iostreams at all.
void say(std::FILE* to, const std::string& line) { std::fputs(line.c_str(), to); }

}  // namespace

int runProgramOnce(const ProgramSpec& app, int argc, char** argv);

int runProgram(const ProgramSpec& app, int argc, char** argv) {
    // The host hears of the end, whichever way it came (a browser's page
    // counts as stopped only then, and shows the line of an error).
    const int status = runProgramOnce(app, argc, argv);
    hostEnded(status);
    return status;
}

int runProgramOnce(const ProgramSpec& app, int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl = parseCommandLine(args);
    cl.layer.program = app.name;
    switch (cl.action) {
        case CommandLine::Action::Help:
            say(stdout, usageText(app.name));
            return 0;
        case CommandLine::Action::Version:
            say(stdout, app.name + " " + LESSON_VERSION + "\n");
            return 0;
        case CommandLine::Action::Schemes:
            say(stdout, schemesJson() + "\n");
            return 0;
        case CommandLine::Action::Error:
            // One line, as every error: the options are listed by --help.
            say(stderr, app.name + ": " + cl.error + " (usage: " + app.name + " --help)\n");
            return 2;
        case CommandLine::Action::Run:
            break;
    }
    if (auto why = unwritableOutput(cl.layer)) {
        say(stderr, app.name + ": " + *why + "\n");
        return 2;
    }
    if (auto why = hostCannotStart(cl.layer.headless, app.title)) {
        say(stderr, app.name + ": " + *why + "\n");
        return 1;
    }
    catchStopSignals();
    // Each file that could not be written is told, and the run is not a success.
    auto finish = [&](ProgramRun& run, int status) {
        for (const std::string& failure : run.finish()) {
            say(stderr, app.name + ": " + failure + "\n");
            if (status == 0) status = 1;
        }
        return status;
    };
    try {
        ProgramRun run(std::move(cl.layer));
        run.onDisplayLost([&] {
            say(stderr, app.name + ": the connection to the display was lost (the X server ended or the "
                                   "window was killed); the program ends\n");
            std::_Exit(finish(run, 1));
        });
        if (cl.walk != 0) run.session().setMoreKeys(sectionWalk(run.session(), cl.walk));
        SpokenSteps spoken(run);
        run.layer().addSink(spoken);
        Engine e(run);
        int status = runFrame(e, app);
        // The program ended as it ends (its main menu's last item, the window
        // closed): the next opening starts at the gate. A signal (a session
        // logged out under it) leaves the place for the next start.
        if (status == 0 && stopSignal() == 0) run.session().forgetPlace();
        if (const int signal = stopSignal()) {
            say(stderr, app.name + ": stopped by signal " + std::to_string(signal) + " (" + strsignal(signal) +
                            "); the files asked for are written as the page stands\n");
        }
        return finish(run, status);
    } catch (const std::exception& failure) {
        say(stderr, app.name + ": " + failure.what() + "\n");
        return 1;
    }
}

}  // namespace lesson
