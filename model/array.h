#pragma once
// Bit helpers for channel bit arrays: bit n is bit (n mod 8) of byte n / 8.
// No bounds checking; callers keep n inside the array.

#include <cstdint>

inline bool TestBit(int n, const uint8_t* bits) { return (bits[n / 8] >> (n % 8)) & 1; }
inline void SetBit(int n, uint8_t* bits) { bits[n / 8] |= static_cast<uint8_t>(1u << (n % 8)); }
inline void ClearBit(int n, uint8_t* bits) { bits[n / 8] &= static_cast<uint8_t>(~(1u << (n % 8))); }
