// Texts of our own objects' pages: the choices the upmixer page lists and the
// speed as the time-stretcher page shows and reads it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zmsp::pages {

inline constexpr const char* kAlgorithmNames[] = {"InterVideo ICE", "Pro Logic", "Pro Logic II"};
inline constexpr const char* kProLogic2ModeNames[] = {
    "Pro Logic Emulation", "Virtual Compatible", "Music", "Movie", "Matrix", "Custom"};

// "1.500" for 1500 thousandths.
[[nodiscard]] std::string SpeedEditText(std::uint32_t thousandths);

// The speed typed as a decimal number ("1.5", " 0.563 ", "10"), in
// thousandths; nothing when it is not a number or lies outside 0.563 to 10.
// Digits beyond the third decimal are not kept.
[[nodiscard]] std::optional<std::uint32_t> ParseSpeedEditText(std::string_view text);

}  // namespace zmsp::pages
