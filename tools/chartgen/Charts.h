// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RootTable.h"

#include <QImage>

// The reference charts that lie beside the program, drawn with QPainter.
namespace chartgen {

QImage DrawKeyboardChart(); // 标准键盘键位图: the main block, each finger's keys in its own colour
QImage DrawKeypadChart(); // 数字键盘指法图: the numeric keypad and the right hand's fingering
QImage DrawRootChart(const RootTable& table); // 五笔字根图86版: the 25 keys with their roots and zones

}
