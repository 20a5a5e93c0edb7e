// 16-bit icon libraries and .mun resource files export like any other module.
#include "../support/ne_builder.h"
#include "icon_export.h"
#include "icon_sources.h"
#include "resource_module.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

using namespace iconexport;
using namespace testing_support;
namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kWineModules = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\";
#else
constexpr const char* kWineModules = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";
#endif

class NeModule : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = fs::temp_directory_path() /
                     ("ne_module_" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string Path(const std::string& name) const { return (directory_ / name).string(); }
    std::string Write(const std::string& name, const ByteVector& bytes) const {
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return Path(name);
    }
    static ByteVector Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path directory_;
};

// Groups listed as 7, "LIB", 3 are selected as "LIB", 3, 7.
std::vector<NeGroup> ThreeGroups() {
    return {
        {std::uint16_t{7}, {BitmapImage(32, 4, 1), BitmapImage(16, 8, 2)}},
        {std::string("LIB"), {BitmapImage(48, 32, 3)}},
        {std::uint16_t{3}, {BitmapImage(16, 1, 4), BitmapImage(24, 24, 5), BitmapImage(32, 32, 6)}},
    };
}

TEST_F(NeModule, ExtractionGivesBackTheSourceImagesInSelectionOrder) {
    const auto groups = ThreeGroups();
    const std::vector<std::size_t> selectionOrder = {1, 2, 0};
    for (const unsigned shift : {4u, 9u}) {
        SCOPED_TRACE(shift);
        const std::string library =
            Write("library.icl", NeIconLibrary(groups, {.alignShift = shift, .linkerVersion = 0}));
        for (std::int32_t n = 1; n <= 4; ++n) {
            const std::string target = Path(" " + std::to_string(n) + ".ico");
            ExportOutcome outcome = ExportOutcome::notSelected;
            EXPECT_EQ(ExportIcon(library, 0, target, n, &outcome), n <= 3 ? 3 : 0);
            if (n == 4) {
                EXPECT_EQ(outcome, ExportOutcome::notSelected);
                continue;
            }
            ASSERT_EQ(outcome, ExportOutcome::saved);
            const auto written = ParseIcoFile(Read(target), target);
            ASSERT_TRUE(written);
            const NeGroup& source = groups[selectionOrder[static_cast<std::size_t>(n - 1)]];
            ASSERT_EQ(written->imageCount(), source.images.size());
            for (std::size_t i = 0; i < source.images.size(); ++i) {
                EXPECT_EQ(written->images[i].data, AsWritten(source.images[i]));
            }
        }
    }
}

TEST_F(NeModule, NamesComeStringsFirstThenIdentifiersAscending) {
    const auto module = OpenResourceModule(Write("library.icl", NeIconLibrary(ThreeGroups())));
    ASSERT_TRUE(module);
    EXPECT_EQ(IconGroupNames(*module),
              (std::vector<ResourceName>{std::string("LIB"), std::uint16_t{3}, std::uint16_t{7}}));
}

// Offsets into the library built from ThreeGroups with shift 4.
constexpr std::size_t kTable = 0x80;
constexpr std::size_t kFirstGroupInfo = kTable + 2 + 8;
constexpr std::size_t kFirstIconInfo = kFirstGroupInfo + 3 * 12 + 8;

struct Malformation {
    const char* what;
    std::function<void(ByteVector&)> damage;
    std::int32_t count; // what ExportIcon returns for index 1
    bool written;
};

TEST_F(NeModule, MalformedTablesGiveADefinedResult) {
    const Malformation cases[] = {
        {"alignment shift 16", [](ByteVector& f) { Put16(f, kTable, 16); }, 0, false},
        {"alignment shift 0xFFFF", [](ByteVector& f) { Put16(f, kTable, 0xFFFF); }, 0, false},
        {"no terminating type entry within the table",
         [](ByteVector& f) { Put16(f, 0x40 + 0x26, 0x40 + 2 + 8 + 36 + 4); }, 0, false},
        {"table running to the end of the file without a terminator",
         [](ByteVector& f) { f.resize(kFirstIconInfo + 12); }, 0, false},
        {"string name longer than the table",
         [](ByteVector& f) {
             const std::size_t name =
                 kTable + (f[kFirstGroupInfo + 12 + 6] | (f[kFirstGroupInfo + 12 + 7] << 8));
             f[name] = 0xFF;
         },
         2, true},
        {"string name offset past the table",
         [](ByteVector& f) { Put16(f, kFirstGroupInfo + 12 + 6, 0x7FFF); }, 2, true},
        {"first image's offset past the end of the file",
         [](ByteVector& f) { Put16(f, kFirstIconInfo, 0xFFFF); }, 3, true},
        {"selected group's image offset past the end of the file",
         [](ByteVector& f) { Put16(f, kFirstIconInfo + 2 * 12, 0xFFFF); }, 3, false},
        {"image length past the end of the file",
         [](ByteVector& f) { Put16(f, kFirstIconInfo + 2 * 12 + 2, 0xFFFF); }, 3, true},
        {"group size larger than the file holds", [](ByteVector& f) { f.resize(f.size() - 100); },
         3, true},
        {"no resources at all", [](ByteVector& f) { Put16(f, kTable + 2, 0); }, 0, false},
    };
    for (const Malformation& c : cases) {
        SCOPED_TRACE(c.what);
        ByteVector library = NeIconLibrary(ThreeGroups());
        c.damage(library);
        const std::string path = Write("damaged.icl", library);
        const std::string target = Path("out.ico");
        fs::remove(target);
        ExportOutcome outcome = ExportOutcome::notSelected;
        EXPECT_EQ(ExportIcon(path, 0, target, 1, &outcome), c.count);
        EXPECT_EQ(fs::exists(target), c.written);
        EXPECT_EQ(outcome == ExportOutcome::saved, c.written);
    }
}

// A .mun file is a PE module holding resources only; a copy of a real module under that name
// exports exactly as the module does.
TEST_F(NeModule, MunCopyOfARealModuleExportsLikeTheModule) {
    const std::string module = std::string(kWineModules) + "user32.dll";
    const std::string mun = Path("user32.mun");
    fs::copy_file(module, mun);
    std::int32_t groups = 0;
    for (std::int32_t n = 1; n <= 100; ++n) {
        const std::string fromModule = Path("module.ico");
        const std::string fromMun = Path("mun.ico");
        const std::int32_t count = ExportIcon(module, 0, fromModule, n);
        ASSERT_EQ(ExportIcon(mun, 0, fromMun, n), count);
        if (count == 0) {
            break;
        }
        groups = count;
        EXPECT_EQ(Read(fromMun), Read(fromModule));
    }
    EXPECT_GT(groups, 0);
}

#ifdef _WIN32
// The platform's loader refuses a 16-bit library as a data file, so the portable reader serves
// it; a PE module still goes through the loader.
TEST_F(NeModule, PlatformLoaderRefusesNeAndPeStaysWithIt) {
    const std::string library = Write("library.icl", NeIconLibrary(ThreeGroups()));
    const HMODULE refused = ::LoadLibraryExA(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_EQ(refused, nullptr);
    EXPECT_TRUE(OpenResourceModule(library));
    const std::string module = std::string(kWineModules) + "user32.dll";
    const HMODULE opened = ::LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(opened, nullptr);
    ::FreeLibrary(opened);
}
#endif

} // namespace
