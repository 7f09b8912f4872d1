// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Items per minute, rounded to the nearest integer with exact halves to the even
// neighbour. A session ended before its first second reports 0.
std::int64_t SpeedPerMinute(std::int64_t count, std::int64_t seconds);

// The result line (UTF-8), e.g. 五笔汉字练习：速度：35字/分,总数：70个字。
std::string ResultLine(int mode, bool timeUp, std::int64_t count, std::int64_t seconds);

// Elapsed time as H:M:S without leading zeros, e.g. 0:1:0.
std::string ClockText(std::int64_t seconds);
