// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string_view>
#include <vector>

// The controls the two faces place, so a placement can only name one that exists.
enum class FaceControl {
    Label1,
    Label2,
    Label3,
    Label4,
    Label5,
    Label6,
    Label7,
    Label8,
    Image1,
    Button1,
    Edit1,
    Button2,
    Button4,
    Button5,
    Button6,
    Button7,
    Count
};

// A control's object name, as the window definition gives it.
constexpr std::string_view ControlName(FaceControl c)
{
    constexpr std::array<std::string_view, std::size_t(FaceControl::Count)> names { "Label1", "Label2", "Label3",
        "Label4", "Label5", "Label6", "Label7", "Label8", "Image1", "Button1", "Edit1", "Button2", "Button4", "Button5",
        "Button6", "Button7" };
    return names[std::size_t(c)];
}

// Where the window's controls go in its two faces. Pure arithmetic on the client size, so
// it is checked against worked examples without any window.
struct Placement {
    FaceControl control;
    int left;
    int top; // -1: the top is left as it is
};

struct FaceLayout {
    std::vector<Placement> placements;
    int slotFontPoints = 0; // the four slot labels' font size (points at 96 dpi)
    int cellWidth = 0; // full screen only: w
    int gap = 0; // full screen only: g
    int offset = 0; // full screen only: d
};

// Heights the bottom row has at the moment of the switch.
struct BottomRowHeights {
    int label5 = 0, image1 = 0, button1 = 0, edit1 = 0, button2 = 0, button4 = 0, button5 = 0, button6 = 0, label8 = 0;
};

FaceLayout WindowFaceLayout();
// W × H: the client size of the full-screen face; h: the bottom row as it is.
FaceLayout FullScreenFaceLayout(int W, int H, const BottomRowHeights& h);

// Rounds x/4 to the nearest integer, halves to the even neighbour.
int RoundQuarterHalfEven(int quarters);

// Client size of the window face: fixed, and the frame the full-screen face centres the
// bottom row by.
constexpr int WindowFaceWidth = 961;
constexpr int WindowFaceHeight = 521;

// Outer size of the window face.
constexpr int WindowFaceOuterWidth = 977;
constexpr int WindowFaceOuterHeight = 559;
