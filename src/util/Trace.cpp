#include "util/Trace.h"

void Trace::line(std::initializer_list<std::wstring_view> parts) const
{
    if (!writer_) {
        return;
    }
    std::wstring text;
    for (std::wstring_view part : parts) {
        text.append(part.data(), part.size());
    }
    writer_(text);
}
