#include "ui/ExceptionDialogLayout.h"

#include "ui/ExceptionDialogIds.h"

LayoutRect resizedRect(const LayoutRect& initial, unsigned anchors, int widthDelta, int heightDelta)
{
    const int dx = widthDelta > 0 ? widthDelta : 0;
    const int dy = heightDelta > 0 ? heightDelta : 0;
    LayoutRect rect = initial;
    if (anchors & kMoveRight) {
        rect.left += dx;
        rect.right += dx;
    } else if (anchors & kGrowWidth) {
        rect.right += dx;
    }
    if (anchors & kMoveDown) {
        rect.top += dy;
        rect.bottom += dy;
    } else if (anchors & kGrowHeight) {
        rect.bottom += dy;
    }
    return rect;
}

namespace {

const ResizeRule kResizeRules[] = {
    {IDC_EXCEPTION_GROUP, kGrowWidth | kGrowHeight},
    {IDC_EXCEPTION_INTRO, kGrowWidth},
    {IDC_EXCEPTION_WARNING, kGrowWidth | kMoveDown},
    {IDC_EXCEPTION_INSTRUCTION, kGrowWidth | kMoveDown},
    {IDC_EXCEPTION_TRACE, kGrowWidth | kGrowHeight},
    {IDC_EXCEPTION_IGNORE, kMoveRight | kMoveDown},
    {IDC_EXCEPTION_STOP, kMoveRight | kMoveDown},
    {IDC_EXCEPTION_SIZE_GRIP, kMoveRight | kMoveDown},
};

} // namespace

FixedList<ResizeRule> exceptionDialogResizeRules()
{
    return fixedList(kResizeRules);
}
