#include "skin_colours.h"

namespace skin {
namespace {

constexpr Gradient G(std::uint32_t tl, std::uint32_t tr, std::uint32_t bl, std::uint32_t br) {
    return {Rgb(tl), Rgb(tr), Rgb(bl), Rgb(br)};
}
constexpr Gradient Flat(std::uint32_t c) {
    return G(c, c, c, c);
}
constexpr Gradient Vertical(std::uint32_t top, std::uint32_t bottom) {
    return G(top, top, bottom, bottom);
}

// Records shared by several schemes.
constexpr Gradient RingHot = Vertical(0xFFF0CF, 0xE59700);
constexpr Gradient RingChecked = G(0xD6CBBD, 0xD6CFC6, 0xF7F3EF, 0xF7F3EF);
constexpr Gradient RingFocusedBlue = Vertical(0xCEE7FF, 0x6982EE);
constexpr Gradient RingNormal = Vertical(0xFFFFFF, 0xE2DFD6);
constexpr Gradient ArrowBoxDisabled = G(0xF7F3EF, 0xE7E7DE, 0xE7E3DE, 0xE7E3DE);
constexpr Gradient ArrowCornerDisabled = G(0xF7F7F7, 0xF7F3EF, 0xF7F3EF, 0xF7F3EF);
constexpr Gradient ArrowFaceDisabled = G(0xF7F7F7, 0xEFEFE7, 0xEFEBE7, 0xE7E7DE);
constexpr Gradient BlueArrowCornerPressed = G(0xBDC3DE, 0xADB6DE, 0xDEE3FF, 0xDEE3F7);
constexpr Gradient BlueArrowCornerHot = G(0xCEDBEF, 0xC6CFEF, 0xC6CFE7, 0xBDCBE7);

constexpr SchemeColours Blue = {
    Rgb(0x003C73),
    Rgb(0x7B9EBD),
    Rgb(0x7B9EBD),
    Rgb(0x7B9EBD),
    Rgb(0xBFB8BF),
    {Vertical(0xD1CCC1, 0xF2F1EE), RingHot, RingChecked, RingFocusedBlue, RingNormal,
     G(0xE7E3DE, 0xE7E7E7, 0xE7E3DE, 0xE7E3DE), Vertical(0xFCFCFB, 0xECEBE6)},
    {ArrowBoxDisabled, G(0xA5AEDE, 0xBDCBF7, 0x7382DE, 0xB5C7F7),
     G(0xB5C7EF, 0x94AEE7, 0x84A2DE, 0x8CA6DE), G(0xD6E3FF, 0xBDCBF7, 0xADC3F7, 0xB5C7F7),
     ArrowCornerDisabled, BlueArrowCornerPressed, BlueArrowCornerHot,
     G(0xE7EFFF, 0xDEE7FF, 0xDEE3FF, 0xDEE3F7), ArrowFaceDisabled,
     G(0x6B8EF7, 0x8496F7, 0x8C9EEF, 0xD6DFEF), G(0xFFFFFF, 0xCEE3FF, 0xC6DFFF, 0xBDDBFF),
     G(0xE7EBFF, 0xBDCFFF, 0xB5CBFF, 0xADCBF7)},
};

constexpr SchemeColours Olive = {
    Rgb(0x376206),
    Rgb(0xA4B97F),
    Rgb(0xA4B97F),
    Rgb(0xFFFFFF),
    Rgb(0xBFB8BF),
    {Flat(0xEFE3CE), RingHot, RingChecked, RingHot, RingNormal, Flat(0xEFE3CE),
     Vertical(0xFCFCFB, 0xECE1C9)},
    {ArrowBoxDisabled, Flat(0x768361), Flat(0x768361), Flat(0x8E997D), ArrowCornerDisabled,
     BlueArrowCornerPressed, BlueArrowCornerHot, G(0xB5BEA8, 0xC3C8B8, 0xB5BEA8, 0xB5BEA8),
     ArrowFaceDisabled, Flat(0x8B9377), Flat(0xA2B38D), G(0xB6C4A1, 0x95A775, 0x95A775, 0x95A775)},
};

constexpr SchemeColours Silver = {
    Rgb(0x003C74),
    Rgb(0xC6C5D7),
    Rgb(0xC6C5D7),
    Rgb(0x000000),
    Rgb(0xBFB8BF),
    {Flat(0xEFE3CE), RingHot, RingChecked, RingFocusedBlue, RingNormal,
     Vertical(0xB3B2C5, 0xFCFCFB), Vertical(0xFCFCFB, 0xC6C5D7)},
    {ArrowBoxDisabled, Flat(0x434848), Flat(0x5B6656), Flat(0x9495A2), ArrowCornerDisabled,
     G(0xBEB7BE, 0xFFFFFF, 0xBEB7BE, 0xFFFFFF), G(0xB4B7BE, 0xFFFFFF, 0xBEB7BE, 0xFFFFFF),
     Flat(0xFFFFFF), ArrowFaceDisabled, Vertical(0xBFC2DB, 0xFFFFFF), Vertical(0xFFFFFF, 0xCFD1E3),
     Vertical(0xFFFFFF, 0xCBCCDA)},
};

constexpr Gradient ToggleRecordPressed = G(0xB5B2A5, 0xD6D7CE, 0xD6D7CE, 0xF7EFDE);
constexpr Gradient ToggleRecordNormal = G(0xDEDFD6, 0xF7F3EF, 0xF7F3EF, 0xFFFFFF);

} // namespace

const std::array<Gradient, 3> CheckBoxGradients = {
    ToggleRecordPressed, G(0xFFF3CE, 0xFFCB63, 0xFFCB63, 0xFFB231), ToggleRecordNormal};
const std::array<Gradient, 3> RadioGradients = {
    ToggleRecordPressed, G(0xFFDF9C, 0xFFC352, 0xFFCB63, 0xFFBA39), ToggleRecordNormal};
const Gradient RadioDotDisabled = G(0xD6D7CE, 0xC6C3BD, 0xC6C3BD, 0xC6BEB5);
const Gradient RadioDot = G(0xADDFA5, 0x29AA21, 0x29AA21, 0x109210);

const SchemeColours& ColoursOf(std::int32_t scheme) {
    switch (scheme) {
    case 2:
        return Olive;
    case 3:
        return Silver;
    default:
        return Blue;
    }
}

COLORREF FaceLess(std::uint32_t amount) {
    return ::GetSysColor(COLOR_BTNFACE) - amount;
}

} // namespace skin
