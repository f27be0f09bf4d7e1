#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ui/ExceptionDialogIds.h"
#include "ui/ExceptionDialogLayout.h"

namespace {

std::string show(const LayoutRect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " - " + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

TEST(ExceptionDialogLayout, ResizedRectFollowsItsAnchors)
{
    const LayoutRect initial{10, 20, 110, 70};
    struct Row {
        const char* name;
        unsigned anchors;
        int widthDelta;
        int heightDelta;
        LayoutRect expected;
    };
    const std::vector<Row> rows = {
        {"fixed", 0, 30, 40, {10, 20, 110, 70}},
        {"grow width", kGrowWidth, 30, 40, {10, 20, 140, 70}},
        {"grow both", kGrowWidth | kGrowHeight, 30, 40, {10, 20, 140, 110}},
        {"grow width, move down", kGrowWidth | kMoveDown, 30, 40, {10, 60, 140, 110}},
        {"move right and down", kMoveRight | kMoveDown, 30, 40, {40, 60, 140, 110}},
        {"unchanged size", kGrowWidth | kGrowHeight, 0, 0, {10, 20, 110, 70}},
        // Smaller than the initial size lays out as the initial size.
        {"shrunk", kGrowWidth | kGrowHeight, -50, -60, {10, 20, 110, 70}},
        {"shrunk, moving", kMoveRight | kMoveDown, -5, -5, {10, 20, 110, 70}},
        {"narrower but taller", kMoveRight | kMoveDown, -5, 7, {10, 27, 110, 77}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(show(resizedRect(initial, row.anchors, row.widthDelta, row.heightDelta)), show(row.expected))
            << row.name;
    }
}

TEST(ExceptionDialogLayout, ButtonsKeepTheBottomRightCornerAndTheTraceGrows)
{
    std::map<int, unsigned> anchors;
    for (const ResizeRule& rule : exceptionDialogResizeRules()) {
        EXPECT_TRUE(anchors.emplace(rule.controlId, rule.anchors).second) << "two rules for " << rule.controlId;
    }
    // Client 400x300 growing by 100x50: what a user sees after dragging the grip.
    const int dx = 100;
    const int dy = 50;
    struct Row {
        int id;
        LayoutRect initial;
        LayoutRect expected;
    };
    const std::vector<Row> rows = {
        {IDC_EXCEPTION_IGNORE, {229, 341, 304, 364}, {329, 391, 404, 414}},
        {IDC_EXCEPTION_STOP, {313, 341, 388, 364}, {413, 391, 488, 414}},
        {IDC_EXCEPTION_SIZE_GRIP, {383, 283, 400, 300}, {483, 333, 500, 350}},
        {IDC_EXCEPTION_TRACE, {24, 88, 388, 254}, {24, 88, 488, 304}},
        {IDC_EXCEPTION_GROUP, {12, 18, 400, 377}, {12, 18, 500, 427}},
        {IDC_EXCEPTION_INTRO, {63, 45, 388, 71}, {63, 45, 488, 71}},
        {IDC_EXCEPTION_INSTRUCTION, {24, 267, 388, 296}, {24, 317, 488, 346}},
        {IDC_EXCEPTION_WARNING, {24, 304, 388, 333}, {24, 354, 488, 383}},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(anchors.count(row.id), 1u) << "no rule for " << row.id;
        EXPECT_EQ(show(resizedRect(row.initial, anchors[row.id], dx, dy)), show(row.expected)) << "control " << row.id;
    }
    // The icon has no rule: it stays where it is.
    EXPECT_EQ(anchors.count(IDC_EXCEPTION_ICON), 0u);
}

} // namespace
