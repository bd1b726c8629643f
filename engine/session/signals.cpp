#include "engine/session/signals.h"

#include <csignal>
#include <initializer_list>

namespace lesson {

namespace {

volatile std::sig_atomic_t stopSignalCaught = 0;

extern "C" void catchStop(int signal) { stopSignalCaught = signal; }

}  // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = catchStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a blocking wait returns and looks
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction before {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        sigaction(signal, &action, nullptr);
    }
}

int stopSignal() { return stopSignalCaught; }

void checkStop() {
    if (stopSignalCaught != 0) throw ProgramEnd{128 + stopSignalCaught};
}

}  // namespace lesson
