// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Results.h"

#include <gtest/gtest.h>

struct SpeedRow {
    std::string tag;
    int count;
    int seconds;
    int speed;
};

std::vector<SpeedRow> speedRows()
{
    std::vector<SpeedRow> rows;
    rows.push_back({ "2.5 to even", 5, 120, 2 });
    rows.push_back({ "3.5 to even", 7, 120, 4 });
    rows.push_back({ "1.5 to even", 1, 40, 2 });
    rows.push_back({ "35 exactly", 70, 120, 35 });
    rows.push_back({ "rounds up", 2, 70, 2 }); // 1.714
    rows.push_back({ "rounds down", 1, 70, 1 }); // 0.857
    rows.push_back({ "below half", 1, 121, 0 });
    rows.push_back({ "nothing typed", 0, 60, 0 });
    rows.push_back({ "five hours", 54000, 18000, 180 });
    rows.push_back({ "ended before the first tick", 3, 0, 0 });
    return rows;
}

TEST(Results, speed)
{
    for (const SpeedRow& row : speedRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const int& count = row.count;
            const int& seconds = row.seconds;
            const int& speed = row.speed;
            ASSERT_EQ(SpeedPerMinute(count, seconds), std::int64_t(speed));
        }();
    }
}

struct ResultLineRow {
    std::string tag;
    int mode;
    bool timeUp;
    int count;
    int seconds;
    std::string line;
};

std::vector<ResultLineRow> resultLineRows()
{
    std::vector<ResultLineRow> rows;
    rows.push_back({ "upper, End", 0, false, 70, 120, "大写字母练习：速度：35字/分,总数：70个字。" });
    rows.push_back({ "lower, time-up", 1, true, 60, 60, "小写字母练习：速度：60字/分,总数：60个字。" });
    rows.push_back({ "digits, End", 2, false, 5, 120, "数字练习：速度：2字/分,总数：5个字。" });
    rows.push_back({ "pinyin, End", 3, false, 7, 120, "拼音练习：速度：4字/分,总数：7个字。" });
    rows.push_back({ "pinyin, time-up says test", 3, true, 7, 120, "拼音测试：速度：4字/分,总数：7个字。" });
    rows.push_back({ "roots, time-up", 4, true, 1, 40, "字根练习：速度：2字/分,总数：1个字。" });
    rows.push_back({ "level 1, End", 5, false, 0, 60, "一级简码练习：速度：0字/分,总数：0个字。" });
    rows.push_back({ "level 2, time-up", 6, true, 300, 300, "二级简码练习：速度：60字/分,总数：300个字。" });
    rows.push_back({ "wubi, End", 7, false, 70, 120, "五笔汉字练习：速度：35字/分,总数：70个字。" });
    rows.push_back({ "wubi, time-up", 7, true, 70, 120, "五笔汉字练习：速度：35字/分,总数：70个字。" });
    rows.push_back({ "pinyin follow, time-up", 8, true, 54000, 18000, "拼音跟打：速度：180字/分,总数：54000个字。" });
    rows.push_back({ "wubi follow, before the first tick", 9, false, 3, 0, "五笔跟打：速度：0字/分,总数：3个字。" });
    rows.push_back({ "phrases, End", 10, false, 24, 120, "词组练习：速度：12词/分,总数：24个词组。" });
    rows.push_back({ "phrases, time-up", 10, true, 5, 60, "词组练习：速度：5词/分,总数：5个词组。" });
    return rows;
}

TEST(Results, resultLine)
{
    for (const ResultLineRow& row : resultLineRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const int& mode = row.mode;
            const bool& timeUp = row.timeUp;
            const int& count = row.count;
            const int& seconds = row.seconds;
            const std::string& line = row.line;
            ASSERT_EQ(ResultLine(mode, timeUp, count, seconds), line);
        }();
    }
}

struct ClockRow {
    std::string tag;
    int seconds;
    std::string text;
};

std::vector<ClockRow> clockRows()
{
    std::vector<ClockRow> rows;
    rows.push_back({ "9 s", 9, "0:0:9" });
    rows.push_back({ "1 min", 60, "0:1:0" });
    rows.push_back({ "1:2:3", 3723, "1:2:3" });
    rows.push_back({ "5 h", 18000, "5:0:0" });
    return rows;
}

TEST(Results, clock)
{
    for (const ClockRow& row : clockRows()) {
        SCOPED_TRACE(row.tag);
        [&] {
            const int& seconds = row.seconds;
            const std::string& text = row.text;
            ASSERT_EQ(ClockText(seconds), text);
        }();
    }
}
