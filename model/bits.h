#pragma once
// Setting a group of bits in an option byte, shared by every editor that
// keeps check boxes as single bits of the image.

#include <concepts>
#include <type_traits>

// Sets (on) or clears the bits of `mask` in `value`. A negative value is how
// the image reads a byte the model lacks; it stays as it is, so an absent
// byte is never turned into one that would be written.
template <std::integral T>
constexpr void SetBits(T& value, std::type_identity_t<T> mask, bool on) {
  if constexpr (std::is_signed_v<T>) {
    if (value < 0) return;
  }
  value = static_cast<T>(on ? value | mask : value & ~mask);
}

// Whether bit `bit` (0 = least significant) of `value` is set; never for an
// absent (negative) byte.
template <std::integral T>
constexpr bool BitIsSet(T value, int bit) {
  if constexpr (std::is_signed_v<T>) {
    if (value < 0) return false;
  }
  return ((value >> bit) & 1) != 0;
}
