// Class ids of the sound processor's own DirectX Media Objects and of their
// property pages. The upmixer and the time stretcher take the parameter
// blocks of the expansion and time-stretch objects the stages drive, so a
// stage can use either without knowing which one it got.
#pragma once

#include "directshow/com/DirectShowApi.h"

namespace zmsp::dmo {

// "ZEMBRA's Upmixer DMO": 2, 4 or 6 channels of 16-bit PCM to 4, 6, 7 or 8.
inline constexpr CLSID kUpmixerDmo = {
    0xC2F99BDF, 0x133D, 0x4766, {0xB0, 0xC8, 0x4A, 0x84, 0xB1, 0x9B, 0x8D, 0xDD}};
// "ZEMBRA's Time Stretcher DMO": speed 0.563 to 10 without a change of pitch.
inline constexpr CLSID kTimeStretcherDmo = {
    0x6674B5D0, 0xE53B, 0x4A37, {0xA0, 0x62, 0x84, 0x11, 0xB4, 0x4B, 0x61, 0xCD}};

// Their property pages: the upmixer's algorithm and mode, the stretcher's speed.
inline constexpr CLSID kUpmixerPage = {
    0x30D4D9F7, 0x9AFE, 0x47ED, {0x8E, 0x2E, 0x32, 0x5E, 0xAA, 0x94, 0x85, 0x28}};
inline constexpr CLSID kTimeStretcherPage = {
    0x2DDB0A90, 0xBC33, 0x4EE1, {0xB1, 0xBF, 0xE4, 0xE8, 0xB0, 0x06, 0x0B, 0x06}};

}  // namespace zmsp::dmo
