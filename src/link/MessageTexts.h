#pragma once
// The texts that more than one part of the program shows.

namespace lmk {

inline constexpr const char *kTimeoutText = "Timeout: Device doesn't respond!";
inline constexpr const char *kApNotFoundText = "Access Point LMK5x not found!";
inline constexpr const char *kWlanLostText = "LMK doesn't respond to WLAN!";

} // namespace lmk
