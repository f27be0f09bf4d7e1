#pragma once
#include "util/FixedList.h"

// A control's rectangle in the client coordinates of its dialog.
struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline bool operator==(const LayoutRect& a, const LayoutRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// How a control follows a change of its dialog's client size (flags).
enum ResizeAnchor : unsigned {
    kGrowWidth = 1,
    kGrowHeight = 2,
    kMoveRight = 4,
    kMoveDown = 8,
};

struct ResizeRule {
    int controlId = 0;
    unsigned anchors = 0;
};

// The rectangle of a control that had `initial` at the dialog's initial
// client size, once the client area is `widthDelta` wider and `heightDelta`
// taller. Negative deltas count as 0: the dialog never lays out smaller than
// its initial size, so controls never overlap or turn inside out.
LayoutRect resizedRect(const LayoutRect& initial, unsigned anchors, int widthDelta, int heightDelta);

// The resize rules of the uncaught-exception dialog, the size grip included.
FixedList<ResizeRule> exceptionDialogResizeRules();
