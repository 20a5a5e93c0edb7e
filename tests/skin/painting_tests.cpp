// The painters and drawing helpers, drawn into memory bitmaps and read back pixel by pixel.
#include "control_skin.h"
#include "paint_helpers.h"
#include "painters.h"
#include "skin_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using skin::Rgb;
using skin::SkinnedControl;
using skintest::Canvas;
using skintest::Hex;
using skintest::Near;
namespace st = skin::state;

constexpr int ButtonWidth = 120;
constexpr int ButtonHeight = 60;
constexpr COLORREF Magenta = Rgb(0xFF00FF);
// GradientFill stops one step short of the last colour on the last row.
constexpr int GradientTolerance = 6;

class PushButtonPainting : public ::testing::Test {
protected:
    win32::UniqueWindow parent = skintest::MakeParent();
    win32::UniqueBrush background{::CreateSolidBrush(Magenta)};

    SkinnedControl Record(HWND button, std::uint32_t flags) const {
        SkinnedControl record;
        record.window = button;
        record.kind = skin::ControlKind::PushButton;
        record.state = flags;
        record.backgroundBrush = background.get();
        return record;
    }

    std::unique_ptr<Canvas> Paint(const char* text, std::uint32_t flags, std::int32_t scheme,
                                  std::uint32_t style = 0) {
        auto button = skintest::MakeChild(parent.get(), "Button", text,
                                          WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | style, 10, 10,
                                          ButtonWidth, ButtonHeight);
        auto canvas = std::make_unique<Canvas>(ButtonWidth, ButtonHeight);
        SkinnedControl record = Record(button.get(), flags);
        skin::PaintPushButton(canvas->dc(), canvas->rect(), record, scheme);
        return canvas;
    }
};

struct PushCase {
    const char* name;
    std::uint32_t flags;
    std::int32_t scheme;
    std::uint32_t border;
    std::uint32_t ringTop;
    std::uint32_t ringBottom;
    std::uint32_t faceTop;
    std::uint32_t faceBottom;
};

// The ring and face are sampled in the middle column, the four-corner gradients there are
// halfway between their left and right colours.
const PushCase PushCases[] = {
    {"rest", 0, 1, 0x003C73, 0xFFFFFF, 0xE2DFD6, 0xFCFCFB, 0xECEBE6},
    {"hot", st::Hot, 1, 0x003C73, 0xFFF0CF, 0xE59700, 0xFCFCFB, 0xECEBE6},
    {"focused", st::Focused, 1, 0x003C73, 0xCEE7FF, 0x6982EE, 0xFCFCFB, 0xECEBE6},
    {"default", st::Default, 1, 0x003C73, 0xCEE7FF, 0x6982EE, 0xFCFCFB, 0xECEBE6},
    {"pressed", st::Pressed, 1, 0x003C73, 0xD1CCC1, 0xF2F1EE, 0xE7E5E2, 0xE7E3DE},
    {"pressed wins over hot", st::Pressed | st::Hot, 1, 0x003C73, 0xD1CCC1, 0xF2F1EE, 0xE7E5E2,
     0xE7E3DE},
    {"checked", st::Checked, 1, 0x003C73, 0xD6CDC1, 0xF7F3EF, 0xE7E5E2, 0xE7E3DE},
    {"indeterminate", st::Indeterminate, 1, 0x003C73, 0xD6CDC1, 0xF7F3EF, 0xE7E5E2, 0xE7E3DE},
    {"hot wins over focused", st::Hot | st::Focused, 1, 0x003C73, 0xFFF0CF, 0xE59700, 0xFCFCFB,
     0xECEBE6},
    {"olive focused is orange", st::Focused, 2, 0x376206, 0xFFF0CF, 0xE59700, 0xFCFCFB, 0xECE1C9},
    {"olive pressed", st::Pressed, 2, 0x376206, 0xEFE3CE, 0xEFE3CE, 0xEFE3CE, 0xEFE3CE},
    {"silver rest", 0, 3, 0x003C74, 0xFFFFFF, 0xE2DFD6, 0xFCFCFB, 0xC6C5D7},
};

TEST_F(PushButtonPainting, BorderCornersRingAndFaceFollowTheState) {
    const int w = ButtonWidth;
    const int h = ButtonHeight;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (const PushCase& c : PushCases) {
        SCOPED_TRACE(c.name);
        const auto canvas = Paint("", c.flags, c.scheme);
        const COLORREF border = Rgb(c.border);
        // The outer frame covers the parent's brush all round, the corners included.
        for (const POINT p : {POINT{0, 0}, POINT{w / 2, 0}, POINT{w - 1, h - 1}}) {
            EXPECT_EQ(Hex(canvas->Pixel(p.x, p.y)), Hex(face)) << p.x << "," << p.y;
        }
        EXPECT_EQ(Hex(canvas->Pixel(w / 2, 1)), Hex(border));
        EXPECT_EQ(Hex(canvas->Pixel(1, h / 2)), Hex(border));
        for (const POINT p : {POINT{1, 1}, POINT{1, h - 2}, POINT{w - 2, h - 2}, POINT{w - 2, 1}}) {
            EXPECT_EQ(Hex(canvas->Pixel(p.x, p.y)), Hex(face)) << p.x << "," << p.y;
        }
        for (const POINT p :
             {POINT{2, 2}, POINT{2, h - 3}, POINT{w - 3, h - 3}, POINT{w - 3, 2}, POINT{1, 2},
              POINT{2, 1}, POINT{w - 3, 1}, POINT{w - 2, 2}, POINT{w - 3, h - 2},
              POINT{w - 2, h - 3}, POINT{2, h - 2}, POINT{1, h - 3}}) {
            EXPECT_EQ(Hex(canvas->Pixel(p.x, p.y)), Hex(border)) << p.x << "," << p.y;
        }
        EXPECT_PRED3(Near, canvas->Pixel(w / 2, 2), Rgb(c.ringTop), 1);
        EXPECT_PRED3(Near, canvas->Pixel(w / 2, h - 3), Rgb(c.ringBottom), GradientTolerance);
        EXPECT_PRED3(Near, canvas->Pixel(w / 2, 4), Rgb(c.faceTop), 1);
        EXPECT_PRED3(Near, canvas->Pixel(w / 2, h - 5), Rgb(c.faceBottom), GradientTolerance);
    }
}

TEST_F(PushButtonPainting, DisabledHasAFlatFaceAndShadedBorder) {
    const int w = ButtonWidth;
    const int h = ButtonHeight;
    const auto canvas = Paint("", st::Disabled | st::Focused, 1);
    const COLORREF flat = Rgb(0xF5F4EA);
    EXPECT_EQ(Hex(canvas->Pixel(w / 2, h / 2)), Hex(flat));
    EXPECT_EQ(Hex(canvas->Pixel(w / 2, 2)), Hex(flat)) << "no ring gradient";
    EXPECT_EQ(Hex(canvas->Pixel(w / 2, 4)), Hex(flat)) << "no inner gradient";
    EXPECT_EQ(Hex(canvas->Pixel(w / 2, 1)), Hex(skin::FaceLess(0x202020)));
    EXPECT_EQ(Hex(canvas->Pixel(2, 2)), Hex(skin::FaceLess(0x151515)));
    EXPECT_EQ(Hex(canvas->Pixel(1, 2)), Hex(skin::FaceLess(0x111111)));
    EXPECT_EQ(Hex(canvas->Pixel(1, 1)), Hex(::GetSysColor(COLOR_BTNFACE)));
}

TEST_F(PushButtonPainting, OnlyFocusDrawsTheFocusRectangle) {
    const auto focused = Paint("", st::Focused, 1);
    const auto byDefault = Paint("", st::Default, 1);
    int changedOnFocusRow = 0;
    for (int x = 0; x < ButtonWidth; ++x) {
        EXPECT_EQ(focused->Pixel(x, 2), byDefault->Pixel(x, 2)) << x;
        changedOnFocusRow += focused->Pixel(x, 3) != byDefault->Pixel(x, 3);
    }
    EXPECT_GT(changedOnFocusRow, ButtonWidth / 4);
}

struct InkBox {
    int left = 1 << 20;
    int top = 1 << 20;
    int right = -1;
    int bottom = -1;
    int count = 0;
};

InkBox InkOf(const Canvas& canvas, COLORREF ink, int tolerance) {
    InkBox box;
    for (int y = 4; y < ButtonHeight - 4; ++y) {
        for (int x = 4; x < ButtonWidth - 4; ++x) {
            if (Near(canvas.Pixel(x, y), ink, tolerance)) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y), box.count + 1};
            }
        }
    }
    return box;
}

TEST_F(PushButtonPainting, CaptionIsCentredBlackAndMovesWhenPressed) {
    const InkBox rest = InkOf(*Paint("OK", 0, 1), 0, 0x40);
    ASSERT_GT(rest.count, 0);
    EXPECT_NEAR((rest.left + rest.right) / 2, ButtonWidth / 2, 2);
    EXPECT_NEAR((rest.top + rest.bottom) / 2, ButtonHeight / 2, 3);
    const InkBox pressed = InkOf(*Paint("OK", st::Pressed, 1), 0, 0x40);
    EXPECT_EQ(pressed.left, rest.left + 1);
    EXPECT_EQ(pressed.top, rest.top + 1);
    const auto disabled = Paint("OK", st::Disabled, 1);
    EXPECT_EQ(InkOf(*disabled, 0, 0x40).count, 0);
    EXPECT_GT(InkOf(*disabled, Rgb(0xA5A294), 0).count, 0);
}

TEST_F(PushButtonPainting, TopLeftStyleMovesTheCaptionToTheCorner) {
    const InkBox corner = InkOf(*Paint("OK", 0, 1, BS_TOP | BS_LEFT), 0, 0x40);
    const InkBox leftOnly = InkOf(*Paint("OK", 0, 1, BS_LEFT), 0, 0x40);
    ASSERT_GT(corner.count, 0);
    EXPECT_LT(corner.left, 10);
    EXPECT_LT(corner.top, ButtonHeight / 3);
    EXPECT_NEAR((leftOnly.left + leftOnly.right) / 2, ButtonWidth / 2, 2) << "BS_LEFT alone";
}

class EditPainting : public ::testing::Test {
protected:
    static constexpr int Width = 150;
    static constexpr int Height = 24;
    win32::UniqueWindow parent = skintest::MakeParent();

    std::unique_ptr<Canvas> Paint(std::uint32_t style, std::uint32_t exStyle, std::uint32_t flags,
                                  std::int32_t scheme = 1) {
        auto edit = skintest::MakeChild(parent.get(), "Edit", "text", WS_CHILD | WS_VISIBLE | style,
                                        10, 10, Width, Height, exStyle);
        auto canvas = std::make_unique<Canvas>(Width, Height);
        canvas->Fill(Magenta);
        SkinnedControl record;
        record.window = edit.get();
        record.kind = skin::ControlKind::Edit;
        record.state = flags;
        skin::PaintEdit(canvas->dc(), canvas->rect(), record, scheme);
        return canvas;
    }
};

TEST_F(EditPainting, BorderIsOnePixelOfTheSchemeColourWithAnInnerLine) {
    struct Case {
        const char* name;
        std::uint32_t flags;
        std::int32_t scheme;
        COLORREF outer;
        COLORREF inner;
    };
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const Case cases[] = {
        {"blue", 0, 1, Rgb(0x7B9EBD), window},
        {"olive", 0, 2, Rgb(0xA4B97F), window},
        {"silver", 0, 3, Rgb(0xC6C5D7), window},
        {"read-only", st::ReadOnly, 1, Rgb(0x7B9EBD), face},
        {"disabled", st::Disabled, 1, skin::FaceLess(0x202020), face},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto canvas = Paint(0, WS_EX_CLIENTEDGE, c.flags, c.scheme);
        for (const POINT p : {POINT{0, 0}, POINT{Width / 2, 0}, POINT{0, Height / 2},
                              POINT{Width - 1, Height - 1}}) {
            EXPECT_EQ(Hex(canvas->Pixel(p.x, p.y)), Hex(c.outer)) << p.x << "," << p.y;
        }
        for (const POINT p : {POINT{1, 1}, POINT{Width / 2, 1}, POINT{Width - 2, Height / 2}}) {
            EXPECT_EQ(Hex(canvas->Pixel(p.x, p.y)), Hex(c.inner)) << p.x << "," << p.y;
        }
        EXPECT_EQ(Hex(canvas->Pixel(Width / 2, Height / 2)), Hex(Magenta)) << "inside is kept";
    }
    EXPECT_EQ(Hex(window), "#FFFFFF");
}

TEST_F(EditPainting, AnyFrameStyleIsSkinnedAndNoneIsLeftAlone) {
    // Wine's edit takes WS_BORDER out of its style and draws that border itself, so only the
    // edge styles can be seen here.
    EXPECT_EQ(Hex(Paint(0, WS_EX_CLIENTEDGE, 0)->Pixel(0, 0)), "#7B9EBD");
    EXPECT_EQ(Hex(Paint(0, WS_EX_STATICEDGE, 0)->Pixel(0, 0)), "#7B9EBD");
    const auto bare = Paint(0, 0, 0);
    for (const POINT p : {POINT{0, 0}, POINT{1, 1}, POINT{Width - 1, Height - 1}}) {
        EXPECT_EQ(Hex(bare->Pixel(p.x, p.y)), Hex(Magenta));
    }
}

TEST_F(EditPainting, BuddyOfAnUpDownOpensTowardIt) {
    const auto left = Paint(0, WS_EX_CLIENTEDGE, st::BuddyOfLeftUpDown);
    const auto right = Paint(0, WS_EX_CLIENTEDGE, st::BuddyOfRightUpDown);
    for (int y = 1; y <= Height - 2; ++y) {
        EXPECT_EQ(Hex(left->Pixel(0, y)), "#FFFFFF") << y;
        EXPECT_EQ(Hex(left->Pixel(Width - 1, y)), "#7B9EBD") << y;
        EXPECT_EQ(Hex(right->Pixel(Width - 1, y)), "#FFFFFF") << y;
    }
    EXPECT_EQ(Hex(left->Pixel(0, 0)), "#7B9EBD");
    EXPECT_EQ(Hex(left->Pixel(0, Height - 1)), "#7B9EBD");
}

TEST(ArrowButton, BoxCornersAndGlyphFollowTheState) {
    struct Case {
        const char* name;
        std::uint32_t flags;
        std::int32_t scheme;
        std::uint32_t corner; // top-left corner pixel: record 4 + state
        std::uint32_t glyph;
    };
    const Case cases[] = {
        {"normal", 0, 1, 0xE7EFFF, 0x7B9EBD},
        {"hot", st::Hot, 1, 0xCEDBEF, 0x7B9EBD},
        {"pressed", st::Pressed | st::Hot, 1, 0xBDC3DE, 0x7B9EBD},
        {"disabled", st::Disabled | st::Pressed, 1, 0xF7F7F7, 0xCECBC6},
        {"olive", 0, 2, 0xB5BEA8, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(20, 20);
        skin::DrawArrowButton(canvas.dc(), canvas.rect(),
                              c.flags | skin::arrow::Triangle | skin::arrow::Down, c.scheme);
        EXPECT_EQ(Hex(canvas.Pixel(0, 0)), Hex(Rgb(c.corner)));
        // The shrunk rectangle is (1,1)-(19,19): its centre is (10,10), the point two below it.
        EXPECT_EQ(Hex(canvas.Pixel(10, 12)), Hex(Rgb(c.glyph)));
        EXPECT_EQ(Hex(canvas.Pixel(7, 9)), Hex(Rgb(c.glyph)));
        EXPECT_NE(Hex(canvas.Pixel(10, 9)), Hex(Rgb(c.glyph))) << "the widest row has a gap";
    }
}

TEST(CaptionAlignment, EveryHorizontalAndVerticalCombination) {
    using namespace skin::align;
    const std::uint32_t expected[16] = {
        MiddleCentre, MiddleCentre, MiddleCentre, MiddleCentre, // no vertical bit
        MiddleCentre, TopLeft,      TopRight,     TopCentre,    // BS_TOP
        MiddleCentre, BottomLeft,   BottomRight,  BottomCentre, // BS_BOTTOM
        MiddleCentre, MiddleLeft,   MiddleRight,  MiddleCentre, // BS_VCENTER
    };
    for (std::uint32_t bits = 0; bits < 16; ++bits) {
        const std::uint32_t style = bits << 8;
        EXPECT_EQ(skin::CaptionAlignment(style), expected[bits]) << std::hex << style;
        EXPECT_EQ(skin::CaptionAlignment(style | WS_CHILD | BS_PUSHLIKE | BS_DEFPUSHBUTTON),
                  expected[bits])
            << "other bits do not matter: " << std::hex << style;
    }
}

// Caption layout, against widths measured here unit by unit in the same font.
class CaptionLayout : public ::testing::Test {
protected:
    Canvas canvas{400, 200};
    win32::SelectedObject font{canvas.dc(), ::GetStockObject(DEFAULT_GUI_FONT)};

    int Width(std::string_view visible) const {
        int total = 0;
        for (std::size_t i = 0; i < visible.size();) {
            const std::size_t unit = static_cast<unsigned char>(visible[i]) > 0x80 ? 2 : 1;
            SIZE size{};
            ::GetTextExtentPoint32A(canvas.dc(), visible.data() + i, static_cast<int>(unit), &size);
            total += size.cx;
            i += unit;
        }
        return total;
    }
    int LineHeight() const {
        SIZE size{};
        ::GetTextExtentPoint32A(canvas.dc(), "a", 1, &size);
        return size.cy;
    }
};

TEST_F(CaptionLayout, LinesBreakWhereTheNextUnitDoesNotFit) {
    struct Line {
        std::string bytes;
        std::string visible;
    };
    struct Case {
        const char* name;
        std::string text;
        std::string fits; // the rectangle is as wide as this text, plus `extra`
        int extra;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {"one line", "OK", "OKOK", 0, {{"OK", "OK"}}},
        {"exact fit stays", "abc", "abc", 0, {{"abc", "abc"}}},
        {"wraps at the unit that does not fit",
         "abcdef",
         "abc",
         1,
         {{"abc", "abc"}, {"def", "def"}}},
        {"two-byte characters stay whole", "中文字", "中文", 1, {{"中文", "中文"}, {"字", "字"}}},
        {"one wide character per line", "中文", "中", 2, {{"中", "中"}, {"文", "文"}}},
        {"mixed bytes", "a中b", "a中", 0, {{"a中", "a中"}, {"b", "b"}}},
        {"ampersand takes no width", "&File", "File", 0, {{"&File", "File"}}},
        {"double ampersand shows one", "a&&b", "a&b", 0, {{"a&&b", "a&b"}}},
        {"CR LF ends a line", "one\r\ntwo", "onetwo", 0, {{"one", "one"}, {"two", "two"}}},
        {"empty lines are dropped",
         "one\r\n\r\n\r\ntwo",
         "onetwo",
         0,
         {{"one", "one"}, {"two", "two"}}},
        {"a lone CR is a byte", "a\rb", "a\rbxxxx", 0, {{"a\rb", "a\rb"}}},
        {"last line kept when empty", "ab\r\n", "abab", 0, {{"ab", "ab"}, {"", ""}}},
        {"empty text", "", "a", 0, {{"", ""}}},
        {"wider than the box", "W", "", 0, {{"", ""}, {"W", "W"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RECT rect = {10, 20, 10 + Width(c.fits) + c.extra, 180};
        const skin::CaptionLayout layout =
            skin::LayOutCaption(canvas.dc(), c.text, rect, skin::align::TopLeft);
        ASSERT_EQ(layout.lines.size(), c.lines.size());
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            const skin::CaptionLine& line = layout.lines[i];
            EXPECT_EQ(c.text.substr(line.begin, line.length), c.lines[i].bytes) << i;
            EXPECT_EQ(line.width, Width(c.lines[i].visible)) << i;
            EXPECT_EQ(line.x, 0);
            EXPECT_EQ(line.y, static_cast<int>(i) * LineHeight());
        }
    }
}

TEST_F(CaptionLayout, OffsetsFollowTheAlignment) {
    using namespace skin::align;
    const int l = LineHeight();
    const std::string text = "wide line\r\nab";
    const int w0 = Width("wide line");
    const int w1 = Width("ab");
    const int boxWidth = 200;
    const int boxHeight = 5 * l + 1;
    const int total = 2 * l;
    struct Case {
        std::uint32_t alignment;
        int x0, x1, y0;
    };
    const Case cases[] = {
        {TopLeft, 0, 0, 0},
        {TopCentre, (boxWidth - w0) / 2, (boxWidth - w1) / 2, 0},
        {TopRight, boxWidth - w0, boxWidth - w1, 0},
        {MiddleLeft, 0, 0, (boxHeight - total) / 2},
        {MiddleCentre, (boxWidth - w0) / 2, (boxWidth - w1) / 2, (boxHeight - total) / 2},
        {MiddleRight, boxWidth - w0, boxWidth - w1, (boxHeight - total) / 2},
        {BottomLeft, 0, 0, boxHeight - total},
        {BottomCentre, (boxWidth - w0) / 2, (boxWidth - w1) / 2, boxHeight - total},
        {BottomRight, boxWidth - w0, boxWidth - w1, boxHeight - total},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alignment);
        const RECT rect = {5, 7, 5 + boxWidth, 7 + boxHeight};
        const skin::CaptionLayout layout =
            skin::LayOutCaption(canvas.dc(), text, rect, c.alignment);
        ASSERT_EQ(layout.lines.size(), 2u);
        EXPECT_EQ(layout.lines[0].x, c.x0);
        EXPECT_EQ(layout.lines[1].x, c.x1);
        EXPECT_EQ(layout.lines[0].y, c.y0);
        EXPECT_EQ(layout.lines[1].y, c.y0 + l);
        EXPECT_EQ(layout.size.cx, w0);
        EXPECT_EQ(layout.size.cy, total);
    }
}

TEST_F(CaptionLayout, HeightIsClippedToTheRectangle) {
    const int l = LineHeight();
    const RECT rect = {0, 0, 300, 2 * l};
    const skin::CaptionLayout layout =
        skin::LayOutCaption(canvas.dc(), "a\r\nb\r\nc", rect, skin::align::BottomLeft);
    ASSERT_EQ(layout.lines.size(), 3u);
    EXPECT_EQ(layout.size.cy, 2 * l);
    EXPECT_EQ(layout.lines[0].y, 0);
    EXPECT_EQ(layout.lines[2].y, 2 * l);
}

TEST_F(CaptionLayout, DrawingReportsTheSizeAndDrawsWithinTheLines) {
    canvas.Fill(Rgb(0xFFFFFF));
    ::SetTextColor(canvas.dc(), 0);
    const RECT rect = {0, 0, 400, 200};
    SIZE size{};
    skin::DrawCaption(canvas.dc(), "&Open", rect, skin::align::TopLeft, &size);
    EXPECT_EQ(size.cx, Width("Open"));
    EXPECT_EQ(size.cy, LineHeight());
    int inkBelow = 0;
    int inkInside = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 400; ++x) {
            const bool ink = canvas.Pixel(x, y) != Rgb(0xFFFFFF);
            (y < size.cy && x < size.cx ? inkInside : inkBelow) += ink;
        }
    }
    EXPECT_GT(inkInside, 0);
    EXPECT_EQ(inkBelow, 0) << "the ampersand is not drawn as a character";
}

} // namespace

namespace {

// The painters of the kinds this program does not show, checked at the grain of their look.
class OtherPainters : public ::testing::Test {
protected:
    win32::UniqueWindow parent = skintest::MakeParent();
    win32::UniqueBrush background{::CreateSolidBrush(Magenta)};

    SkinnedControl Record(HWND window, skin::ControlKind kind, std::uint32_t flags) const {
        SkinnedControl record;
        record.window = window;
        record.kind = kind;
        record.state = flags;
        record.backgroundBrush = background.get();
        return record;
    }
};

TEST_F(OtherPainters, CheckBoxBoxFillAndTick) {
    struct Case {
        const char* name;
        std::uint32_t flags;
        POINT at;
        COLORREF expected;
    };
    const COLORREF border = Rgb(0x185184);
    const Case cases[] = {
        {"border", 0, {0, 0}, border},
        {"border, disabled", st::Disabled, {0, 6}, skin::FaceLess(0x202020)},
        {"inside, disabled", st::Disabled, {1, 1}, Rgb(0xFFFFFF)},
        {"inside, normal", 0, {1, 1}, Rgb(0xDEDFD6)},
        {"inside, hot", st::Hot, {1, 1}, Rgb(0xFFF3CE)},
        {"inside, pressed", st::Pressed | st::Hot, {1, 1}, Rgb(0xB5B2A5)},
        {"hot centre", st::Hot, {6, 6}, Rgb(0xE7E7E7)},
        {"indeterminate", st::Indeterminate, {6, 6}, Rgb(0x73C373)},
        {"indeterminate, pressed", st::Indeterminate | st::Pressed, {6, 6}, Rgb(0x188A18)},
        {"tick", st::Checked, {3, 5}, Rgb(0x21A221)},
        {"tick's lowest point", st::Checked, {5, 9}, Rgb(0x21A221)},
        {"tick, disabled", st::Checked | st::Disabled, {9, 3}, Rgb(0xCECBBD)},
    };
    const auto box =
        skintest::MakeChild(parent.get(), "Button", "", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 100, 20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(100, 20);
        SkinnedControl record = Record(box.get(), skin::ControlKind::CheckBox, c.flags);
        skin::PaintCheckBox(canvas.dc(), canvas.rect(), record, 1);
        EXPECT_PRED3(Near, canvas.Pixel(c.at.x, c.at.y), c.expected, 1)
            << Hex(canvas.Pixel(c.at.x, c.at.y));
        EXPECT_EQ(Hex(canvas.Pixel(50, 15)), Hex(Magenta)) << "the rest is the parent's brush";
    }
}

TEST_F(OtherPainters, RadioButtonOutlineAndDot) {
    const auto radio = skintest::MakeChild(parent.get(), "Button", "",
                                           WS_CHILD | BS_AUTORADIOBUTTON, 0, 0, 100, 20);
    Canvas plain(100, 20);
    Canvas checked(100, 20);
    SkinnedControl record = Record(radio.get(), skin::ControlKind::RadioButton, 0);
    skin::PaintRadioButton(plain.dc(), plain.rect(), record, 1);
    record.state = st::Checked;
    skin::PaintRadioButton(checked.dc(), checked.rect(), record, 1);
    EXPECT_EQ(Hex(plain.Pixel(8, 0)), "#215584");
    const COLORREF centre = checked.Pixel(8, 8);
    EXPECT_GT(GetGValue(centre), GetRValue(centre) + 0x40) << Hex(centre) << ": a green dot";
    EXPECT_PRED3(Near, plain.Pixel(8, 8), Rgb(0xF7F3EF), 0x10) << Hex(plain.Pixel(8, 8));
}

TEST_F(OtherPainters, ComboBoxBorderAndDropButton) {
    const auto combo = skintest::MakeChild(parent.get(), "ComboBox", "",
                                           WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 150, 200);
    Canvas canvas(150, 24);
    SkinnedControl record = Record(combo.get(), skin::ControlKind::ComboBox, 0);
    skin::PaintComboBox(canvas.dc(), canvas.rect(), record, 1);
    EXPECT_EQ(Hex(canvas.Pixel(0, 0)), "#7B9EBD");
    EXPECT_EQ(Hex(canvas.Pixel(1, 1)), Hex(::GetSysColor(COLOR_WINDOW)));
    const int buttonLeft = 148 - ::GetSystemMetrics(SM_CYVTHUMB);
    EXPECT_EQ(Hex(canvas.Pixel(buttonLeft, 12)), Hex(::GetSysColor(COLOR_WINDOW))) << "its frame";
    EXPECT_EQ(Hex(canvas.Pixel(buttonLeft + 1, 2)), "#E7EFFF") << "the arrow box's corner";
}

TEST_F(OtherPainters, UpDownShowsHotOnlyOnTheHalfUnderThePointer) {
    const auto upDown =
        skintest::MakeChild(parent.get(), "msctls_updown32", "", WS_CHILD, 0, 0, 20, 30);
    struct Case {
        const char* name;
        std::uint32_t flags;
        COLORREF firstCorner;
        COLORREF secondCorner;
    };
    const Case cases[] = {
        {"calm", 0, Rgb(0xE7EFFF), Rgb(0xE7EFFF)},
        {"hot, first half", st::Hot | st::FirstHalfHot, Rgb(0xCEDBEF), Rgb(0xE7EFFF)},
        {"hot, second half", st::Hot, Rgb(0xE7EFFF), Rgb(0xCEDBEF)},
        {"disabled", st::Disabled | st::Hot, Rgb(0xF7F7F7), Rgb(0xF7F7F7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(20, 30);
        SkinnedControl record = Record(upDown.get(), skin::ControlKind::UpDown, c.flags);
        skin::PaintUpDown(canvas.dc(), canvas.rect(), record, nullptr, 1);
        EXPECT_EQ(Hex(canvas.Pixel(0, 0)), "#7B9EBD") << "the fill shows above the first half";
        EXPECT_EQ(Hex(canvas.Pixel(0, 1)), Hex(c.firstCorner));
        EXPECT_EQ(Hex(canvas.Pixel(0, 15)), Hex(c.secondCorner));
    }
}

TEST_F(OtherPainters, GroupBoxFrameWithRoundedCorners) {
    const auto group =
        skintest::MakeChild(parent.get(), "Button", "", WS_CHILD | BS_GROUPBOX, 0, 0, 150, 80);
    Canvas canvas(150, 80);
    canvas.Fill(Rgb(0x123456));
    SkinnedControl record = Record(group.get(), skin::ControlKind::GroupBox, 0);
    skin::PaintGroupBox(canvas.dc(), canvas.rect(), record, 1);
    EXPECT_EQ(Hex(record.backgroundColour), "#123456") << "taken from the first pixel";
    const COLORREF frame = Rgb(0xBFB8BF);
    EXPECT_EQ(Hex(canvas.Pixel(0, 60)), Hex(frame));
    EXPECT_EQ(Hex(canvas.Pixel(75, 79)), Hex(frame));
    EXPECT_EQ(Hex(canvas.Pixel(0, 79)), "#123456");
    EXPECT_EQ(Hex(canvas.Pixel(2, 79)), "#123456");
    EXPECT_EQ(Hex(canvas.Pixel(1, 77)), Hex(frame));
    EXPECT_EQ(Hex(canvas.Pixel(2, 78)), Hex(frame));
    EXPECT_EQ(Hex(canvas.Pixel(75, 0)), Hex(Magenta)) << "above the frame, the parent's brush";
}

} // namespace
