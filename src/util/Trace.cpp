#include "util/Trace.h"

#include "util/PathText.h"

void Trace::line(std::initializer_list<std::wstring_view> parts) const
{
    if (writer_) {
        writer_(joinText(parts));
    }
}
