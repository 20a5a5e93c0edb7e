// The fixed rules of the program: where the window goes, what the output files are called,
// which directory is the program's, and what counts as the hint.
#include "icon_commands.h"
#include "program_directory.h"
#include "window_layout.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace app;

constexpr UINT kChineseCodePage = 936;

bool IsGbkLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByteEx(kChineseCodePage, byte) != FALSE;
}

TEST(WindowOrigin, CentresOnTheScreenTruncatingTowardZero) {
    struct Case {
        int width, height;
        Point expected;
    };
    const Case cases[] = {
        {1024, 768, {272, 247}},
        {1920, 1080, {720, 403}},
        {479, 768, {0, 247}}, // -1 / 2 is 0, not -1
        {478, 768, {-1, 247}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowOrigin(c.width, c.height), c.expected) << c.width << " x " << c.height;
    }
}

TEST(IconFilePath, IsTheDirectoryABackslashASpaceTheNumberAndIco) {
    struct Case {
        const char* directory;
        int n;
        const char* expected;
    };
    const Case cases[] = {
        {"D:\\Tools", 1, "D:\\Tools\\ 1.ico"},
        {"D:\\Tools", 7, "D:\\Tools\\ 7.ico"},
        {"D:\\Tools", 100, "D:\\Tools\\ 100.ico"},
        {"D:", 1, "D:\\ 1.ico"}, // a drive root: one backslash
        {"D:", 100, "D:\\ 100.ico"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IconFilePath(c.directory, c.n), c.expected);
    }
}

TEST(DirectoryOfPath, NeverTakesTheSecondByteOfAGbkCharacterForABackslash) {
    // 0xBB 0x5C is one GBK character whose second byte is the backslash's.
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"D:\\Tools\\prog.exe", "D:\\Tools"},
        {"D:\\prog.exe", "D:"},
        {"C:\\Tools\\\xBB\x5C.exe", "C:\\Tools"},
        {"C:\\\xBB\x5C\\prog.exe", "C:\\\xBB\x5C"},
        {"C:\\a\xBB\x5C\xBB\x5C\\b\\prog.exe", "C:\\a\xBB\x5C\xBB\x5C\\b"},
        {"C:\\a\\\xBB", "C:\\a"}, // a lead byte at the very end stands alone
        {"prog.exe", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DirectoryOfPath(c.path, IsGbkLeadByte), c.expected) << c.path;
    }
}

TEST(FullModulePath, AsksAgainWithALargerBufferUntilThePathFits) {
    struct Case {
        std::size_t length;
        std::vector<std::uint32_t> sizesAsked;
    };
    const Case cases[] = {
        {259, {260}},
        {260, {260, 520}}, // fills the first buffer: cut short by one byte
        {700, {260, 520, 1040}},
    };
    for (const Case& c : cases) {
        const std::string full = "C:\\" + std::string(c.length - 3, 'd');
        std::vector<std::uint32_t> asked;
        // As GetModuleFileNameA: a path that does not fit is cut and the size returned.
        const std::string path = FullModulePath([&](char* buffer, std::uint32_t size) {
            asked.push_back(size);
            const std::size_t copied = std::min<std::size_t>(full.size(), size - 1);
            full.copy(buffer, copied);
            buffer[copied] = '\0';
            return full.size() < size ? static_cast<std::uint32_t>(full.size()) : size;
        });
        EXPECT_EQ(path, full) << c.length;
        EXPECT_EQ(asked, c.sizesAsked) << c.length;
    }
    EXPECT_EQ(FullModulePath([](char*, std::uint32_t) { return 0U; }), "");
}

TEST(PathHint, IsOnlyTheExactText) {
    struct Case {
        std::string text;
        bool isHint;
    };
    const std::string hint(PathHint);
    const Case cases[] = {
        {hint, true},
        {hint.substr(1), false}, // one leading space fewer
        {hint.substr(2), false},
        {hint + " ", false},
        {" " + hint, false},
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPathHint(c.text), c.isHint) << "[" << c.text << "]";
    }
}

TEST(Texts, AreGbkBytes) {
    // "请输入正确的路径" and the hint's "可" as code page 936 stores them.
    EXPECT_EQ(messages::kNoPath,
              "\xC7\xEB\xCA\xE4\xC8\xEB\xD5\xFD\xC8\xB7\xB5\xC4\xC2\xB7\xBE\xB6");
    EXPECT_EQ(PathHint.substr(0, 4), "  \xBF\xC9");
}

} // namespace
