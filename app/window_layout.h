// Where the main window and its components sit: fixed numbers and the centring rule.
#pragma once

namespace app {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Placement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The whole window, frame and title bar included.
inline constexpr int kWindowWidth = 480;
inline constexpr int kWindowHeight = 273;

// Centred on the screen; each half is truncated toward zero, so a screen one pixel narrower
// than the window still gives 0.
constexpr Point WindowOrigin(int screenWidth, int screenHeight) {
    return {(screenWidth - kWindowWidth) / 2, (screenHeight - kWindowHeight) / 2};
}

// In the main window's client coordinates.
inline constexpr Placement kNoticeLabel{83, 25, 308, 25};    // 标签2
inline constexpr Placement kPathLabel{27, 81, 67, 24};       // 标签1
inline constexpr Placement kDropTarget{24, 120, 48, 40};     // 拖放对象1
inline constexpr Placement kDeleteButton{321, 163, 72, 32};  // 按钮2
inline constexpr Placement kExtractButton{221, 163, 72, 32}; // 按钮1
inline constexpr Placement kPathBox{115, 77, 309, 32};       // 编辑框1

} // namespace app
