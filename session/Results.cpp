// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Results.h"

#include "session/Modes.h"

std::int64_t SpeedPerMinute(std::int64_t count, std::int64_t seconds)
{
    if (seconds <= 0)
        return 0;
    // Exact integer arithmetic: a speed of exactly n.5 must reach the even neighbour,
    // which a floating-point quotient may miss by one unit in the last place.
    const std::int64_t numerator = count * 60;
    std::int64_t q = numerator / seconds;
    const std::int64_t r = numerator % seconds;
    if (2 * r > seconds || (2 * r == seconds && (q & 1)))
        ++q;
    return q;
}

std::string ResultLine(int mode, bool timeUp, std::int64_t count, std::int64_t seconds)
{
    const ModeInfo& info = ModeOf(mode);
    return std::string(timeUp ? info.timeUpPrefix : info.resultPrefix) + std::to_string(SpeedPerMinute(count, seconds))
        + info.speedUnit + "/分,总数：" + std::to_string(count) + info.countUnit + "。";
}

std::string ClockText(std::int64_t seconds)
{
    return std::to_string(seconds / 3600) + ":" + std::to_string(seconds % 3600 / 60) + ":"
        + std::to_string(seconds % 60);
}
