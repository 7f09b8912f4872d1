// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/Layout.h"

#include <gtest/gtest.h>
#include <map>

namespace {
std::map<std::string, std::pair<int, int>> byName(const FaceLayout& l)
{
    std::map<std::string, std::pair<int, int>> m;
    for (const auto& p : l.placements)
        m[std::string(ControlName(p.control))] = { p.left, p.top };
    return m;
}

// Heights of the bottom row before any picture was shown.
BottomRowHeights initialHeights()
{
    BottomRowHeights h;
    h.label5 = 35;
    h.image1 = 41;
    h.button1 = 29;
    h.edit1 = 43;
    h.button2 = 29;
    h.button4 = 29;
    h.button5 = 29;
    h.button6 = 28;
    h.label8 = 35;
    return h;
}
}

struct CellFontGapRow {
    std::string tag;
    int W;
    int H;
    int w;
    int s;
    int g;
    std::vector<int> lefts;
    int top;
    int d;
};

std::vector<CellFontGapRow> cellFontGapRows()
{
    std::vector<CellFontGapRow> rows;
    rows.push_back({ "1024x768", 1024, 768, 215, 161, 32, std::vector<int> { 32, 279, 526, 773 }, 276, 31 });
    rows.push_back({ "1366x768", 1366, 768, 287, 215, 43, std::vector<int> { 43, 373, 703, 1033 }, 240, 202 });
    rows.push_back({ "960 wide", 960, 600, 202, 152, 30, std::vector<int> { 30, 262, 494, 726 }, 199, 0 });
    rows.push_back(
        { "979 wide, 154.5 to even", 979, 600, 206, 154, 30, std::vector<int> { 30, 266, 502, 738 }, 197, 9 });
    rows.push_back({ "1920x1080", 1920, 1080, 404, 303, 60, std::vector<int> { 60, 524, 988, 1452 }, 338, 479 });
    return rows;
}

TEST(Layout, cellFontGap)
{
    for (const CellFontGapRow& row : cellFontGapRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const int& W = row.W;
            const int& H = row.H;
            const int& w = row.w;
            const int& s = row.s;
            const int& g = row.g;
            const std::vector<int>& lefts = row.lefts;
            const int& top = row.top;
            const int& d = row.d;
            const FaceLayout l = FullScreenFaceLayout(W, H, initialHeights());
            ASSERT_EQ(l.cellWidth, w);
            ASSERT_EQ(l.slotFontPoints, s);
            ASSERT_EQ(l.gap, g);
            ASSERT_EQ(l.offset, d);
            auto m = byName(l);
            for (int k = 0; k < 4; ++k) {
                const auto name = "Label" + std::to_string(k + 1);
                ASSERT_EQ(m[name].first, lefts[k]);
                ASSERT_EQ(m[name].second, top);
            }
        }();
    }
}

struct Worked1920x1080Row {
    std::string tag;
    std::string name;
    int left;
    int top;
};

std::vector<Worked1920x1080Row> worked1920x1080Rows()
{
    std::vector<Worked1920x1080Row> rows;
    rows.push_back({ "Label5", "Label5", 486, 1020 });
    rows.push_back({ "Image1", "Image1", 575, 1017 });
    rows.push_back({ "Button1", "Button1", 803, 1028 });
    rows.push_back({ "Edit1", "Edit1", 890, 1023 });
    rows.push_back({ "Button2", "Button2", 1030, 1028 });
    rows.push_back({ "Button6", "Button6", 1114, 1029 });
    rows.push_back({ "Button4", "Button4", 1197, 1028 });
    rows.push_back({ "Button5", "Button5", 1279, 1028 });
    rows.push_back({ "Label8", "Label8", 615, 1020 });
    rows.push_back({ "Label7", "Label7", 1746, -1 });
    rows.push_back({ "Label6", "Label6", 1555, -1 });
    return rows;
}

TEST(Layout, worked1920x1080)
{
    for (const Worked1920x1080Row& row : worked1920x1080Rows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const std::string& name = row.name;
            const int& left = row.left;
            const int& top = row.top;
            auto m = byName(FullScreenFaceLayout(1920, 1080, initialHeights()));
            ASSERT_EQ(m[name].first, left);
            ASSERT_EQ(m[name].second, top);
        }();
    }
}

TEST(Layout, narrowScreenGivesNegativeOffset)
{
    const FaceLayout l = FullScreenFaceLayout(800, 600, initialHeights());
    ASSERT_EQ(l.offset, -80);
    ASSERT_EQ(byName(l)["Label5"].first, -73);
}

struct WindowFaceRow {
    std::string tag;
    std::string name;
    int left;
    int top;
};

std::vector<WindowFaceRow> windowFaceRows()
{
    std::vector<WindowFaceRow> rows;
    rows.push_back({ "Label1", "Label1", 23, 153 });
    rows.push_back({ "Label2", "Label2", 258, 153 });
    rows.push_back({ "Label3", "Label3", 503, 153 });
    rows.push_back({ "Label4", "Label4", 741, 153 });
    rows.push_back({ "Label5", "Label5", 7, 475 });
    rows.push_back({ "Image1", "Image1", 96, 457 });
    rows.push_back({ "Button1", "Button1", 324, 471 });
    rows.push_back({ "Edit1", "Edit1", 411, 463 });
    rows.push_back({ "Button2", "Button2", 551, 468 });
    rows.push_back({ "Button6", "Button6", 635, 468 });
    rows.push_back({ "Button4", "Button4", 718, 468 });
    rows.push_back({ "Button5", "Button5", 800, 468 });
    rows.push_back({ "Label7", "Label7", 787, -1 });
    rows.push_back({ "Label6", "Label6", 596, -1 });
    rows.push_back({ "Label8", "Label8", 136, 472 });
    return rows;
}

TEST(Layout, windowFace)
{
    for (const WindowFaceRow& row : windowFaceRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const std::string& name = row.name;
            const int& left = row.left;
            const int& top = row.top;
            const FaceLayout l = WindowFaceLayout();
            ASSERT_EQ(l.slotFontPoints, 150);
            auto m = byName(l);
            ASSERT_EQ(m[name].first, left);
            ASSERT_EQ(m[name].second, top);
        }();
    }
}

// A control left out of a face would stay where the other face put it.
TEST(Layout, everyControlPlacedOnce)
{
    for (const FaceLayout& l : { WindowFaceLayout(), FullScreenFaceLayout(1920, 1080, initialHeights()) }) {
        std::map<std::string, int> seen;
        for (const auto& p : l.placements)
            ++seen[std::string(ControlName(p.control))];
        ASSERT_EQ(int(seen.size()), int(FaceControl::Count));
        for (const auto& [name, times] : seen) {
            ASSERT_TRUE(times == 1) << name;
        }
    }
}
