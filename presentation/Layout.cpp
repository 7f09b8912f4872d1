// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/Layout.h"

int RoundQuarterHalfEven(int quarters)
{
    int q = quarters / 4;
    const int r = quarters % 4;
    if (r > 2 || (r == 2 && (q & 1)))
        ++q;
    return q;
}

FaceLayout WindowFaceLayout()
{
    FaceLayout l;
    l.slotFontPoints = 150;
    l.placements = {
        { FaceControl::Label1, 23, 153 },
        { FaceControl::Label2, 258, 153 },
        { FaceControl::Label3, 503, 153 },
        { FaceControl::Label4, 741, 153 },
        { FaceControl::Label5, 7, 475 },
        { FaceControl::Image1, 96, 457 },
        { FaceControl::Button1, 324, 471 },
        { FaceControl::Edit1, 411, 463 },
        { FaceControl::Button2, 551, 468 },
        { FaceControl::Button6, 635, 468 },
        { FaceControl::Button4, 718, 468 },
        { FaceControl::Button5, 800, 468 },
        { FaceControl::Button7, 880, 468 },
        { FaceControl::Label7, 787, -1 },
        { FaceControl::Label6, 596, -1 },
        { FaceControl::Label8, 136, 472 },
    };
    return l;
}

FaceLayout FullScreenFaceLayout(int W, int H, const BottomRowHeights& h)
{
    FaceLayout l;
    const int w = 4 * W / 19; // W / 4.75 truncated
    const int s = RoundQuarterHalfEven(3 * w); // w * 0.75
    const int g = s / 5;
    const int slotTop = (H - w) / 2;
    const int d = (W - WindowFaceWidth) / 2;
    l.cellWidth = w;
    l.slotFontPoints = s;
    l.gap = g;
    l.offset = d;
    l.placements = {
        { FaceControl::Label1, g, slotTop },
        { FaceControl::Label2, w + 2 * g, slotTop },
        { FaceControl::Label3, 2 * w + 3 * g, slotTop },
        { FaceControl::Label4, 3 * w + 4 * g, slotTop },
        { FaceControl::Label5, d + 7, H - (h.label5 + 25) },
        { FaceControl::Image1, d + 96, H - (h.image1 + 22) },
        { FaceControl::Button1, d + 324, H - (h.button1 + 23) },
        { FaceControl::Edit1, d + 411, H - (h.edit1 + 14) },
        { FaceControl::Button2, d + 551, H - (h.button2 + 23) },
        { FaceControl::Button6, d + 635, H - (h.button6 + 23) },
        { FaceControl::Button4, d + 718, H - (h.button4 + 23) },
        { FaceControl::Button5, d + 800, H - (h.button5 + 23) },
        // The further-practice button is as high as 帮助 and keeps its spacing beside it.
        { FaceControl::Button7, d + 880, H - (h.button5 + 23) },
        { FaceControl::Label8, d + 136, H - (h.label8 + 25) },
        { FaceControl::Label7, W - 174, -1 },
        { FaceControl::Label6, W - 365, -1 },
    };
    return l;
}
