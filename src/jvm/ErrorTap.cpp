#include "jvm/ErrorTap.h"

#include <utility>

ErrorTap::ErrorTap(std::string marker, std::size_t limit) : marker_(std::move(marker)), limit_(limit) {}

std::string ErrorTap::feed(std::string_view bytes)
{
    std::string text = std::move(pending_);
    pending_.clear();
    text.append(bytes.data(), bytes.size());

    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = marker_.empty() ? std::string::npos : text.find(marker_, start);
        if (found == std::string::npos) {
            break;
        }
        out.append(text, start, found - start);
        ++markersSeen_;
        start = found + marker_.size();
    }
    // Hold back the longest tail that could still grow into a marker.
    std::size_t held = 0;
    for (std::size_t length = marker_.size() > 1 ? marker_.size() - 1 : 0; length > 0; --length) {
        if (text.size() - start >= length && text.compare(text.size() - length, length, marker_, 0, length) == 0) {
            held = length;
            break;
        }
    }
    out.append(text, start, text.size() - start - held);
    pending_.assign(text, text.size() - held, held);
    keep(out);
    return out;
}

void ErrorTap::stopKeeping()
{
    keeping_ = false;
}

std::string ErrorTap::kept() const
{
    return kept_.size() > limit_ ? kept_.substr(kept_.size() - limit_) : kept_;
}

void ErrorTap::keep(std::string_view bytes)
{
    if (!keeping_ || limit_ == 0) {
        return;
    }
    kept_.append(bytes.data(), bytes.size());
    // Trimmed only now and then, so that keeping stays linear.
    if (kept_.size() > 2 * limit_) {
        kept_.erase(0, kept_.size() - limit_);
    }
}
