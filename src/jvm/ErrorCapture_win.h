#pragma once
#include <string>

// What the runtime writes to standard error while it starts, kept so that a
// start that the runtime ends before main can say why. From `start` on, the
// process's standard error is a pipe that a thread of the launcher reads
// from `startReader` on (until then the pipe holds what is written): it
// hands every byte on unchanged to the standard error there was before (a
// console or a redirect; nothing for a windowed start without one) and keeps
// a copy of the last 64 KB until main begins.
class ErrorCapture {
public:
    ErrorCapture() = default;
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    // Installs the pipe. Must run before the runtime's library is loaded: its
    // C library takes its standard error when it starts. False when the pipe
    // cannot be made; standard error then stays as it was.
    bool start();

    // Starts the thread that reads the pipe, once; the first flush starts it
    // too. Starting it once the VM's thread runs keeps its cost out of the
    // way to the VM. Without a thread the pipe is closed for reading, so that
    // nothing waits on it.
    void startReader();

    // Main has begun: no more copies are kept; bytes still flow on.
    void stopKeeping();

    // Returns once everything written to standard error before this call has
    // been handed on, waiting as long as bytes move on (a reader of the
    // original standard error that has gone away stops the passing on; one
    // that takes nothing for 30 seconds ends the wait): the process may then
    // end without losing the last bytes.
    void flush();

    // The kept text, once everything written to standard error before this
    // call has been read (waiting as a flush does). Empty when not started.
    std::string kept();

    // The state the reading thread shares with the launcher.
    struct Shared;

private:
    // Lives as long as the process: the reading thread uses it to the end.
    Shared* shared_ = nullptr;
};
