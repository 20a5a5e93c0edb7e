// The export through the platform's loader and file functions, checked against the portable
// reader over the modules Wine installs, and the Windows-only outputs: clipboard and BMP.
#include "ico_writer.h"
#include "icon_export.h"
#include "icon_sources.h"
#include "resource_module.h"
#include "win32_owners.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace iconexport;

constexpr const char* kWineModules = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\";

std::vector<std::string> WineModules() {
    std::vector<std::string> paths;
    for (const char* pattern : {"*.dll", "*.exe"}) {
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA((std::string(kWineModules) + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            continue;
        }
        do {
            paths.push_back(std::string(kWineModules) + found.cFileName);
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    return paths;
}

std::vector<std::uint8_t> Copy(Bytes bytes) {
    return {bytes.begin(), bytes.end()};
}

// Every module with icon groups gives the same names in the same order and the same bytes of
// every group and image, whether the platform or the portable reader opens it.
TEST(PlatformModule, MatchesThePortableReaderOnEveryWineModule) {
    int modulesWithIcons = 0;
    std::size_t shell32Groups = 0;
    for (const std::string& path : WineModules()) {
        SCOPED_TRACE(path);
        const auto platform = OpenResourceModule(path);
        const auto portable = OpenPortableResourceModule(path);
        if (!platform) {
            continue;
        }
        const auto names = IconGroupNames(*platform);
        if (names.empty()) {
            continue;
        }
        ASSERT_TRUE(portable);
        ASSERT_EQ(IconGroupNames(*portable), names);
        ++modulesWithIcons;
        if (path.ends_with("\\shell32.dll")) {
            shell32Groups = names.size();
        }
        for (const ResourceName& name : names) {
            const auto platformGroup = platform->Find(kResourceTypeGroupIcon, name, std::nullopt);
            const auto portableGroup = portable->Find(kResourceTypeGroupIcon, name, std::nullopt);
            ASSERT_TRUE(platformGroup && portableGroup);
            ASSERT_EQ(Copy(platformGroup->bytes), Copy(portableGroup->bytes));
            const auto platformSet = LoadIconGroupFrom(*platform, path, name);
            const auto portableSet = LoadIconGroupFrom(*portable, path, name);
            ASSERT_EQ(platformSet.has_value(), portableSet.has_value());
            if (!platformSet) {
                continue;
            }
            ASSERT_EQ(platformSet->imageCount(), portableSet->imageCount());
            for (std::size_t i = 0; i < platformSet->images.size(); ++i) {
                ASSERT_EQ(platformSet->images[i].data, portableSet->images[i].data);
            }
        }
    }
    EXPECT_GE(modulesWithIcons, 5);
    EXPECT_EQ(shell32Groups, 184u);
}

// A 16 x 16 image at 4 bits: header, 16 colours, colour bits, mask.
std::vector<std::uint8_t> FourBitImage() {
    std::vector<std::uint8_t> image(40 + 64 + 16 * 8 + 16 * 4);
    const auto put32 = [&image](std::size_t at, std::uint32_t value) {
        std::memcpy(image.data() + at, &value, 4);
    };
    put32(0, 40);
    put32(4, 16);
    put32(8, 32);
    image[12] = 1;
    image[14] = 4;
    put32(20, 192);
    for (std::size_t i = 40; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7);
    }
    return image;
}

class TempDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        char base[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, base);
        directory_ =
            std::string(base) + "platform_export_" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(directory_.c_str(), nullptr);
        icoPath_ = Path("source.ico");
        IconSet set;
        set.images.resize(1);
        set.images[0].data = FourBitImage();
        ASSERT_TRUE(ParseIconImage(set.images[0]));
        image_ = set.images[0];
        ASSERT_TRUE(WriteIcoFile(set, icoPath_));
    }
    void TearDown() override {
        for (const char* name : {"source.ico", "out.bmp", "out.ico"}) {
            ::SetFileAttributesA(Path(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(Path(name).c_str());
        }
        ::RemoveDirectoryA(directory_.c_str());
    }
    std::string Path(const char* name) const { return directory_ + "\\" + name; }
    static std::vector<std::uint8_t> Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool DirectoryHoldsOnly(std::size_t count) const {
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA((directory_ + "\\*").c_str(), &found);
        std::size_t files = 0;
        do {
            files += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
        return files == count;
    }

    std::string directory_;
    std::string icoPath_;
    IconImage image_;
};

std::vector<std::uint8_t> ExpectedDib(const IconImage& image) {
    std::vector<std::uint8_t> dib(image.data.begin(), image.data.begin() + 40 + 64 + 16 * 8);
    const std::int32_t halved = 16;
    std::memcpy(dib.data() + 8, &halved, 4);
    std::memset(dib.data() + 20, 0, 4);
    return dib;
}

TEST_F(TempDirectory, ModeOnePlacesTheColourBitmapOnTheClipboard) {
    for (const std::int32_t mode : {1, 7, -1}) {
        SCOPED_TRACE(mode);
        {
            const win32::ClipboardSession clipboard;
            ASSERT_TRUE(clipboard.open());
            ::EmptyClipboard();
        }
        ExportOutcome outcome = ExportOutcome::notSelected;
        EXPECT_EQ(ExportIcon(icoPath_, mode, Path("out.ico"), 1, &outcome), 1);
        EXPECT_EQ(outcome, ExportOutcome::saved);
        EXPECT_EQ(::GetFileAttributesA(Path("out.ico").c_str()), INVALID_FILE_ATTRIBUTES);

        const win32::ClipboardSession clipboard;
        ASSERT_TRUE(clipboard.open());
        HANDLE data = ::GetClipboardData(CF_DIB);
        ASSERT_NE(data, nullptr);
        const win32::GlobalLock lock(data);
        const auto* bytes = static_cast<const std::uint8_t*>(lock.data());
        ASSERT_NE(bytes, nullptr);
        const auto expected = ExpectedDib(image_);
        ASSERT_GE(::GlobalSize(data), expected.size());
        EXPECT_EQ(std::vector<std::uint8_t>(bytes, bytes + expected.size()), expected);
    }
}

TEST_F(TempDirectory, BmpTargetHoldsTheFirstColourBitmap) {
    ExportOutcome outcome = ExportOutcome::notSelected;
    EXPECT_EQ(ExportIcon(icoPath_, 0, Path("out.bmp"), 1, &outcome), 1);
    EXPECT_EQ(outcome, ExportOutcome::saved);
    const auto file = Contents(Path("out.bmp"));
    const auto dib = ExpectedDib(image_);
    ASSERT_EQ(file.size(), 14 + dib.size());
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    std::uint32_t size = 0;
    std::uint32_t bits = 0;
    std::memcpy(&size, file.data() + 2, 4);
    std::memcpy(&bits, file.data() + 10, 4);
    EXPECT_EQ(size, file.size());
    EXPECT_EQ(bits, 14u + 40 + 64);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 14, file.end()), dib);
    // The platform itself reads it as a 16 x 16 picture.
    const win32::UniqueBitmap loaded(static_cast<HBITMAP>(
        ::LoadImageA(nullptr, Path("out.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    ASSERT_TRUE(loaded);
    BITMAP info{};
    ASSERT_EQ(::GetObjectA(loaded.get(), sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 16);
}

// The source is opened without sharing, so a source that someone holds open cannot be read;
// the count still stands and nothing is written.
TEST_F(TempDirectory, SourceHeldOpenElsewhereIsNotRead) {
    const win32::UniqueFile holder(::CreateFileA(icoPath_.c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    ExportOutcome outcome = ExportOutcome::notSelected;
    EXPECT_EQ(ExportIcon(icoPath_, 0, Path("out.ico"), 1, &outcome), 1);
    EXPECT_EQ(outcome, ExportOutcome::unreadable);
    EXPECT_EQ(::GetFileAttributesA(Path("out.ico").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A target that cannot be replaced keeps its old content and no temporary file is left.
TEST_F(TempDirectory, TargetThatCannotBeReplacedKeepsItsContent) {
    const std::string target = Path("out.ico");
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    std::ofstream(target, std::ios::binary).write("old", 3);

    {
        const win32::UniqueFile holder(::CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr,
                                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                     nullptr));
        ASSERT_TRUE(holder);
        ExportOutcome outcome = ExportOutcome::notSelected;
        EXPECT_EQ(ExportIcon(icoPath_, 0, target, 1, &outcome), 1);
        EXPECT_EQ(outcome, ExportOutcome::writeFailed);
    }
    EXPECT_EQ(Contents(target), old);
    EXPECT_TRUE(DirectoryHoldsOnly(2));

    ASSERT_TRUE(::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    ExportOutcome outcome = ExportOutcome::notSelected;
    EXPECT_EQ(ExportIcon(icoPath_, 0, target, 1, &outcome), 1);
    EXPECT_EQ(outcome, ExportOutcome::writeFailed);
    EXPECT_EQ(Contents(target), old);
    EXPECT_TRUE(DirectoryHoldsOnly(2));

    ASSERT_TRUE(::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ExportIcon(icoPath_, 0, target, 1, &outcome), 1);
    EXPECT_EQ(outcome, ExportOutcome::saved);
    EXPECT_EQ(Contents(target), Contents(icoPath_));
}

} // namespace
