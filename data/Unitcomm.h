// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The block cipher that protects wb.dat, wbzg.dat and py.dat. The program only ever
// deciphers; EncipherBlock exists for the data generator and the tests.

extern const std::uint32_t dataKey[4];

// block[0] holds bytes 0-3 and block[1] bytes 4-7 of the 8-byte block, each little-endian.
void DecipherBlock(std::uint32_t block[2], const std::uint32_t key[4]);
void EncipherBlock(std::uint32_t block[2], const std::uint32_t key[4]);

// Byte-level helpers: apply the cipher to one 8-byte block in place.
void DecipherBytes(unsigned char bytes[8], const std::uint32_t key[4]);
void EncipherBytes(unsigned char bytes[8], const std::uint32_t key[4]);

// Deciphers `count` consecutive 8-byte blocks in place, each on its own.
void DecipherBlocks(unsigned char* bytes, std::size_t count, const std::uint32_t key[4]);
