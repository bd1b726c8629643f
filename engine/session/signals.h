#pragma once
// The end of a program from any wait, and the stop signals that lead to it.

namespace lesson {

// Thrown to end the program from any wait: the window was closed, the
// scripted keys of a headless run are used up, or the quit item was chosen.
struct ProgramEnd {
    int status = 0;
};

// From now on SIGTERM, SIGINT and SIGHUP end the program at its next drawing
// call or wait (ProgramEnd with status 128 + the signal), so that its files
// are written as the page stands. A signal ignored from the start stays
// ignored (nohup, a background job).
void catchStopSignals();
// The signal that ended the program, or 0.
int stopSignal();
// Throws ProgramEnd when a stop signal came.
void checkStop();

}  // namespace lesson
