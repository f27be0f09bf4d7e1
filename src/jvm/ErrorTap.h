#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// What passes through the launcher on its way from the runtime's standard
// error to the process's own: every byte is handed on unchanged, and while
// keeping is on a copy of the last `limit` bytes is kept. Sync markers, which
// the launcher itself writes into the stream to learn that everything written
// before them has arrived, are taken out and counted.
class ErrorTap {
public:
    ErrorTap(std::string marker, std::size_t limit);

    // Takes the next bytes read from the stream; returns the bytes to hand on
    // now. The tail of `bytes` that may be the start of a marker is held back
    // until the next call decides.
    std::string feed(std::string_view bytes);

    // Stops keeping a copy; bytes are still handed on.
    void stopKeeping();

    // The kept copy: the last `limit` bytes while keeping was on.
    std::string kept() const;

    // How many markers have passed.
    std::size_t markersSeen() const { return markersSeen_; }

private:
    void keep(std::string_view bytes);

    std::string marker_;
    std::size_t limit_;
    bool keeping_ = true;
    std::string pending_;   // a possible start of a marker
    std::string kept_;      // up to twice the limit before it is trimmed
    std::size_t markersSeen_ = 0;
};
