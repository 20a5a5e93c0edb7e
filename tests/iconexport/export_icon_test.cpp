// ExportIcon: its argument rules, the kinds of source and target, the count it returns and
// what it tells its caller about the file.
#include "ico_writer.h"
#include "icon_export.h"
#include "icon_sources.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

using namespace iconexport;
using namespace testing_support;

constexpr std::int32_t kSampleGroups = 6;

// The ICO file that the export of a group must produce: its source ICO file written afresh.
ByteVector ExpectedFile(const std::string& fixture) {
    const auto set = ReadIcoFile(FixturePath(fixture));
    EXPECT_TRUE(set) << fixture;
    return set ? EncodeIcoFile(*set) : ByteVector{};
}

struct ExportCase {
    const char* what;
    std::string source; // a name in the test's directory
    std::optional<std::int32_t> mode;
    std::optional<std::string> target;
    std::optional<std::int32_t> index;
    std::int32_t result;
    ExportOutcome outcome;
    const char* written; // the fixture ICO whose images the target must hold, or none
};

TEST(ExportIcon, ResultTable) {
    TestDirectory dir;
    const ByteVector sample = ReadBytes(FixturePath("sample64.dll"));
    for (const char* name : {"sample.dll", "Sample.DlL", "TOOL.EXE", "tool.Icl", "toolexe",
                             "tool.dll ", "tool.dlls", "tool.icon"}) {
        dir.Write(name, sample);
    }
    dir.Write("icons.ico", ReadBytes(FixturePath("bitmaps.ico")));
    dir.Write("ICONS.ICO", ReadBytes(FixturePath("bitmaps.ico")));
    dir.Write("bad.ico", {0, 0, 2, 0, 0, 0});
    dir.Write("text.dll", ByteVector(300, 'x'));
    dir.Write("noicons.dll", ReadBytes(FixturePath("noicons64.dll")));
    dir.Write("odd.dll", ReadBytes(FixturePath("odd64.dll")));
    const std::string out = "out.ico";
    const auto none = std::nullopt;
    using enum ExportOutcome;
    const ExportCase cases[] = {
        {"first group", "sample.dll", 0, out, 1, kSampleGroups, saved, "main.ico"},
        {"numbers ascending after the name", "sample.dll", 0, out, 2, kSampleGroups, saved,
         "two.ico"},
        {"then group 5", "sample.dll", 0, out, 3, kSampleGroups, saved, "five.ico"},
        {"last group", "sample.dll", 0, out, 6, kSampleGroups, saved, nullptr},
        {"index beyond the groups", "sample.dll", 0, out, 7, 0, notSelected, nullptr},
        {"index 0 is the first", "sample.dll", 0, out, 0, kSampleGroups, saved, "main.ico"},
        {"negative index is the first", "sample.dll", 0, out, -5, kSampleGroups, saved, "main.ico"},
        {"absent index is the first", "sample.dll", 0, out, none, kSampleGroups, saved, "main.ico"},
        {"empty target", "sample.dll", 0, "", 1, 0, notSelected, nullptr},
        {"absent target", "sample.dll", 0, none, 1, 0, notSelected, nullptr},
        {"empty target, missing source", "missing.dll", 0, "", 1, 0, notSelected, nullptr},
        {"mode 7 is mode 1 and writes nothing", "sample.dll", 7, out, 1, kSampleGroups,
         ignoredTarget, nullptr},
        {"negative mode is mode 1", "sample.dll", -1, out, 2, kSampleGroups, ignoredTarget,
         nullptr},
        {"absent mode is mode 1", "sample.dll", none, out, 2, kSampleGroups, ignoredTarget,
         nullptr},
        {"kind in mixed case", "Sample.DlL", 0, out, 2, kSampleGroups, saved, "two.ico"},
        {"EXE in capitals", "TOOL.EXE", 0, out, 3, kSampleGroups, saved, "five.ico"},
        {"icl", "tool.Icl", 0, out, 1, kSampleGroups, saved, "main.ico"},
        {"exe without a dot", "toolexe", 0, out, 1, kSampleGroups, saved, "main.ico"},
        {"trailing blank", "tool.dll ", 0, out, 1, 0, notSelected, nullptr},
        {"longer extension", "tool.dlls", 0, out, 1, 0, notSelected, nullptr},
        {"four-letter icon", "tool.icon", 0, out, 1, 0, notSelected, nullptr},
        {"missing module", "missing.dll", 0, out, 1, 0, notSelected, nullptr},
        {"not a module", "text.dll", 0, out, 1, 0, notSelected, nullptr},
        {"module without icon groups", "noicons.dll", 0, out, 1, 0, notSelected, nullptr},
        {"group with a missing image", "odd.dll", 0, out, 2, 5, unreadable, nullptr},
        {"group too short for its entries", "odd.dll", 0, out, 4, 5, unreadable, nullptr},
        {"ICO source", "icons.ico", 0, out, 1, 1, saved, "bitmaps.ico"},
        {"ICO in capitals", "ICONS.ICO", 0, out, 1, 1, saved, "bitmaps.ico"},
        {"ICO index 0", "icons.ico", 0, out, 0, 1, saved, "bitmaps.ico"},
        {"ICO index 2", "icons.ico", 0, out, 2, 0, notSelected, nullptr},
        {"unreadable ICO", "bad.ico", 0, out, 1, 1, unreadable, nullptr},
        {"unreadable ICO, index 2", "bad.ico", 0, out, 2, 0, notSelected, nullptr},
        {"missing ICO counts one", "missing.ico", 0, out, 1, 1, unreadable, nullptr},
        {"target ICO in capitals", "sample.dll", 0, "OUT.ICO", 1, kSampleGroups, saved, "main.ico"},
        {"target of kind icon", "sample.dll", 0, "out.icon", 1, kSampleGroups, ignoredTarget,
         nullptr},
        {"target of kind png", "icons.ico", 0, "out.png", 1, 1, ignoredTarget, nullptr},
        {"BMP target, first image a PNG", "sample.dll", 0, "out.bmp", 4, kSampleGroups,
         ignoredTarget, nullptr},
        {"BMP target, group without images", "odd.dll", 0, "out.bmp", 3, 5, ignoredTarget, nullptr},
        {"BMP target that cannot be created", "icons.ico", 0, "missing/out.bmp", 1, 1, writeFailed,
         nullptr},
        {"target that cannot be created", "sample.dll", 0, "missing/out.ico", 1, kSampleGroups,
         writeFailed, nullptr},
    };
    for (const ExportCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string target = c.target ? (c.target->empty() ? "" : dir.Path(*c.target)) : "";
        ExportOutcome outcome = static_cast<ExportOutcome>(-1);
        const std::int32_t result = ExportIcon(
            dir.Path(c.source), c.mode,
            c.target ? std::optional<std::string_view>(target) : std::nullopt, c.index, &outcome);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(outcome, c.outcome);
        if (!target.empty()) {
            EXPECT_EQ(fs::exists(target), c.outcome == saved);
            if (c.written) {
                EXPECT_EQ(ReadBytes(target), ExpectedFile(c.written));
            }
            fs::remove(target);
        }
    }
    EXPECT_FALSE(fs::exists(dir.Path("missing")));
}

// Every group of both modules comes out as its source ICO file would be written.
TEST(ExportIcon, ModuleGroupsGiveBackTheSourceImages) {
    TestDirectory dir;
    const char* sources[] = {"main.ico", "two.ico", "five.ico", "png.ico", "neutral.ico"};
    for (const char* module : {"sample64.dll", "sample32.dll"}) {
        for (std::int32_t index = 1; index <= 5; ++index) {
            SCOPED_TRACE(testing::Message() << module << " group " << index);
            const std::string target = dir.Path(" " + std::to_string(index) + ".ico");
            EXPECT_EQ(ExportIcon(FixturePath(module), 0, target, index), kSampleGroups);
            EXPECT_EQ(ReadBytes(target), ExpectedFile(sources[index - 1]));
        }
    }
}

TEST(ExportIcon, EmptyGroupIsAHeaderAlone) {
    TestDirectory dir;
    ExportOutcome outcome = ExportOutcome::notSelected;
    EXPECT_EQ(ExportIcon(FixturePath("odd64.dll"), 0, dir.Path("empty.ico"), 3, &outcome), 5);
    EXPECT_EQ(outcome, ExportOutcome::saved);
    EXPECT_EQ(ReadBytes(dir.Path("empty.ico")), (ByteVector{0, 0, 1, 0, 0, 0}));
}

// A BMP target gets the first image's colour bitmap: file header, the image's header with the
// height of the colour bitmap alone, its colour table and colour bits.
TEST(ExportIcon, BmpTargetHoldsTheFirstColourBitmap) {
    const ByteVector image =
        ReadIcoFile(FixturePath("main.ico"))->images.at(0).data; // 32 x 32, 4 bits
    const std::size_t palette = 16 * 4;
    const std::size_t bits = 16 * 32;
    TestDirectory dir;
    ExportOutcome outcome = ExportOutcome::notSelected;
    EXPECT_EQ(ExportIcon(FixturePath("sample64.dll"), 0, dir.Path("first.BMP"), 1, &outcome),
              kSampleGroups);
    ASSERT_EQ(outcome, ExportOutcome::saved);
    const ByteVector bmp = ReadBytes(dir.Path("first.BMP"));
    ASSERT_EQ(bmp.size(), 14 + 40 + palette + bits);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Get32(bmp, 2), bmp.size());
    EXPECT_EQ(Get32(bmp, 6), 0u);
    EXPECT_EQ(Get32(bmp, 10), 14 + 40 + palette);
    EXPECT_EQ(Get32(bmp, 14), 40u);
    EXPECT_EQ(Get32(bmp, 14 + 4), 32u);
    EXPECT_EQ(Get32(bmp, 14 + 8), 32u);
    EXPECT_EQ(Get16(bmp, 14 + 14), 4u);
    EXPECT_EQ(
        ByteVector(bmp.begin() + 14 + 40, bmp.end()),
        ByteVector(image.begin() + 40, image.begin() + 40 + static_cast<long>(palette + bits)));
    EXPECT_EQ(Identify(dir.Path("first.BMP")), "BMP3 32x32\n");
}

TEST(ExportIcon, PathKind) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.ICO", "ico"}, {"x.Exe", "exe"},  {"dll", "dll"},    {"ll", "ll"},
        {"", ""},         {"a.dll ", "ll "}, {"a.icon", "con"}, {"\xC4\xE3.ICL", "icl"},
    };
    for (const auto& [path, kind] : cases) {
        EXPECT_EQ(PathKind(path), kind) << path;
    }
}

} // namespace
