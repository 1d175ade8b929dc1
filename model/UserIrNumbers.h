#pragma once
// The numbers that name a user impulse response. The pedal carries one in
// two 7-bit halves, which reach 16383; only 0..287 (nine banks of 32) name a
// user IR, and anything else must neither index a name table nor be asked for.

namespace kr7 {

inline constexpr int kUserIrCount = 288;
inline constexpr int kUserIrBankSize = 32;
inline constexpr int kUserIrBankCount = kUserIrCount / kUserIrBankSize;

constexpr bool IsUserIrNumber(int n) { return n >= 0 && n < kUserIrCount; }

}  // namespace kr7
