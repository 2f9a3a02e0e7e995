#pragma once
// The switches of the "Preferences" section, held in memory as one bit set.

#include <cstdint>

namespace kalvara {

using PreferenceSet = std::uint16_t;

inline constexpr PreferenceSet PrefUpdate = 1u << 0;        // "Update": alert me when updated
inline constexpr PreferenceSet PrefShowTips = 1u << 1;      // "ShowTips": style button tooltips
inline constexpr PreferenceSet ShowQuarters = 1u << 2;      // "Quarters": 1Q05 beside week numbers
inline constexpr PreferenceSet RememberStyle = 1u << 3;     // "Style": start with the last style
inline constexpr PreferenceSet PdfReaderFoundBit = 1u << 5; // a PDF reader was found at start

} // namespace kalvara
