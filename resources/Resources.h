#pragma once
// Files carried inside the executable: images (each with an @2x twin),
// fonts, the knob SVG, the factory preset bank, the eight factory cabinet
// WAV files and the owner's manual.
//
// The bytes live in read-only data for the whole run; the spans returned
// stay valid until the program ends and may be read from any thread.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kr7 {

inline constexpr int kResourceIdManual = 102;
inline constexpr int kResourceIdFactoryBank = 103;
inline constexpr int kResourceIdFirstCabinet = 201;  // cabinet k (0..7) is 201 + k
inline constexpr int kNumFactoryCabinets = 8;

inline constexpr std::string_view kManualFileName = "Dorlan_Valvora_OM1.pdf";
inline constexpr std::string_view kFactoryBankFileName = "kr7-factory-bank.syx";
inline constexpr std::array<std::string_view, kNumFactoryCabinets> kFactoryCabinetFileNames = {
    "01-Valvora.wav",   "02-Blond 2x12.wav", "03-Tweed 4x10.wav", "04-Cali 1x12.wav",
    "05-Cali 4x12.wav", "06-Blue 2x12.wav",  "07-Brit 2x12.wav",  "08-Boutique 4x12.wav"};

// The embedded file of that exact name ("knob.png", "knob@2x.png",
// "Roboto-Regular.ttf", ...), or nothing. Names are case-sensitive.
std::optional<std::span<const std::uint8_t>> FindResource(std::string_view fileName);

// The embedded file with that resource id (102, 103, 201..208), or nothing.
std::optional<std::span<const std::uint8_t>> FindResource(int id);

// Every embedded file name, in table order.
std::vector<std::string_view> ResourceNames();

}  // namespace kr7
