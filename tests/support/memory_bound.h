// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether a program's peak memory says anything: AddressSanitizer's shadow memory and quarantine
// multiply it, so the sanitized run of the suite checks everything but the bound.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kPeakMemoryMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kPeakMemoryMeasurable = false;
#else
inline constexpr bool kPeakMemoryMeasurable = true;
#endif
#else
inline constexpr bool kPeakMemoryMeasurable = true;
#endif
