// The three colour schemes and the gradient records the painters use, written once as data.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

namespace skin {

// Four corner colours: top left, top right, bottom left, bottom right.
struct Gradient {
    COLORREF topLeft;
    COLORREF topRight;
    COLORREF bottomLeft;
    COLORREF bottomRight;
};

struct SchemeColours {
    COLORREF pushButtonBorder;
    COLORREF editBorder; // edits, combo boxes and combo lists
    COLORREF upDownFill;
    COLORREF arrowGlyph;
    COLORREF groupBoxFrame;
    std::array<Gradient, 7> pushButton; // rings 0-4, inner faces 5-6
    std::array<Gradient, 12> arrow;     // boxes 0-3, corner pixels 4-7, faces 8-11
};

// Indices of the push button records.
namespace push {
inline constexpr std::size_t RingPressed = 0;
inline constexpr std::size_t RingHot = 1;
inline constexpr std::size_t RingChecked = 2;
inline constexpr std::size_t RingFocused = 3;
inline constexpr std::size_t RingNormal = 4;
inline constexpr std::size_t FacePressed = 5;
inline constexpr std::size_t FaceNormal = 6;
} // namespace push

// The colours of scheme 1 (Blue), 2 (Olive) or 3 (Silver); any other value gives Blue's.
const SchemeColours& ColoursOf(std::int32_t scheme);

// The same in every scheme: records for pressed, hot and normal.
extern const std::array<Gradient, 3> CheckBoxGradients;
extern const std::array<Gradient, 3> RadioGradients;
extern const Gradient RadioDotDisabled;
extern const Gradient RadioDot;

// #RRGGBB as written in the tables, turned into a COLORREF (0x00BBGGRR).
constexpr COLORREF Rgb(std::uint32_t hex) {
    return ((hex >> 16) & 0xFFu) | (hex & 0xFF00u) | ((hex & 0xFFu) << 16);
}

// The disabled colours are the button face less a constant, taken as one 32-bit number.
COLORREF FaceLess(std::uint32_t amount);

} // namespace skin
