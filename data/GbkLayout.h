// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Where a two-byte GBK code sits in the core's GBK table: one row per lead byte 0x81-0xFE,
// one cell per trail byte 0x40-0xFE without 0x7F. Shared by the table's generator and its
// reader.
namespace gbk {

inline constexpr int kFirstLead = 0x81;
inline constexpr int kLastLead = 0xFE;
inline constexpr int kFirstTrail = 0x40;
inline constexpr int kLastTrail = 0xFE;
inline constexpr int kTrailsPerRow = kLastTrail - kFirstTrail; // 0x7F is never a trail byte
inline constexpr int kCellCount = (kLastLead - kFirstLead + 1) * kTrailsPerRow;

// The cell of a byte pair, or -1 when the pair cannot be a two-byte code.
constexpr int CellOf(unsigned char lead, unsigned char trail)
{
    if (lead < kFirstLead || lead > kLastLead || trail < kFirstTrail || trail > kLastTrail || trail == 0x7F)
        return -1;
    return (lead - kFirstLead) * kTrailsPerRow + (trail - kFirstTrail) - (trail > 0x7F ? 1 : 0);
}

// Code points of the cells; 0 marks a pair that is no character.
extern const std::uint16_t kTable[kCellCount];

}
