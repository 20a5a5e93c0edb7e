// The reader of a module's own resource directory, over the PE32+ and PE32 fixture modules:
// names and their order, the images' bytes, languages, groups that cannot be read whole, and
// module bytes that loop or point outside the file.
#include "icon_export.h"
#include "icon_sources.h"
#include "pe_resources.h"
#include "resource_module.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace iconexport;
using namespace testing_support;

constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint16_t kGerman = 0x407;
constexpr std::uint16_t kEnglish = 0x409;

std::vector<ByteVector> ImagesOf(const IconSet& set) {
    std::vector<ByteVector> images;
    for (const IconImage& image : set.images) {
        images.push_back(image.data);
    }
    return images;
}

std::vector<ByteVector> IcoImages(const std::string& fixture) {
    const auto set = ReadIcoFile(FixturePath(fixture));
    EXPECT_TRUE(set) << fixture;
    return set ? ImagesOf(*set) : std::vector<ByteVector>{};
}

class ModuleReader : public ::testing::TestWithParam<const char*> {
protected:
    std::string Module(const std::string& name) const {
        return FixturePath(name + GetParam() + ".dll");
    }
};

TEST_P(ModuleReader, GroupsInEnumerationOrderWithTheSourceImages) {
    const auto module = OpenPortableResourceModule(Module("sample"));
    ASSERT_TRUE(module);
    const std::vector<ResourceName> order = {std::string("APP_MAIN"), std::uint16_t{2},
                                             std::uint16_t{5},        std::uint16_t{9},
                                             std::uint16_t{11},       std::uint16_t{20}};
    EXPECT_EQ(IconGroupNames(*module), order);

    struct GroupCase {
        ResourceName name;
        std::vector<ByteVector> images;
    };
    const GroupCase groups[] = {
        {std::string("APP_MAIN"), IcoImages("main.ico")},
        {std::string("app_main"), IcoImages("main.ico")}, // names match without regard to case
        {std::uint16_t{2}, IcoImages("two.ico")},
        {std::uint16_t{5}, IcoImages("five.ico")},
        {std::uint16_t{9}, IcoImages("png.ico")},
        {std::uint16_t{11}, IcoImages("neutral.ico")}, // the neutral one of its two languages
        // The group is English, its images German: they are found all the same.
        {std::uint16_t{20},
         {ReadBytes(FixturePath("image_901.bin")), ReadBytes(FixturePath("image_902.bin"))}},
    };
    for (const GroupCase& group : groups) {
        SCOPED_TRACE(testing::Message() << "group " << group.name.index());
        const auto set = LoadIconGroup(Module("sample"), group.name);
        ASSERT_TRUE(set);
        EXPECT_EQ(set->modulePath, Module("sample"));
        EXPECT_EQ(set->title, "");
        EXPECT_EQ(ImagesOf(*set), group.images);
    }
}

TEST_P(ModuleReader, LanguageOfAGroup) {
    const auto module = OpenPortableResourceModule(Module("sample"));
    const auto odd = OpenPortableResourceModule(Module("odd"));
    ASSERT_TRUE(module && odd);
    const auto english = module->Find(kResourceTypeGroupIcon, std::uint16_t{11}, kEnglish);
    const auto neutral = module->Find(kResourceTypeGroupIcon, std::uint16_t{11}, std::nullopt);
    const auto group20 = module->Find(kResourceTypeGroupIcon, std::uint16_t{20}, std::nullopt);
    ASSERT_TRUE(english && neutral && group20);
    EXPECT_EQ(english->language, kEnglish);
    EXPECT_EQ(neutral->language, kLanguageNeutral);
    EXPECT_EQ(group20->language, kEnglish);
    // German and French, neither neutral: the first in the directory, which sorts by language.
    const auto first = odd->Find(kResourceTypeGroupIcon, std::uint16_t{12}, std::nullopt);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->language, kGerman);
    const auto set = LoadIconGroupFrom(*odd, Module("odd"), std::uint16_t{12});
    ASSERT_TRUE(set);
    EXPECT_EQ(ImagesOf(*set), IcoImages("german.ico"));
    // An English group whose image exists in English and neutral takes the English one.
    const auto english50 = LoadIconGroupFrom(*odd, Module("odd"), std::uint16_t{50});
    ASSERT_TRUE(english50);
    EXPECT_EQ(ImagesOf(*english50),
              std::vector<ByteVector>{ReadBytes(FixturePath("image_904_english.bin"))});
}

TEST_P(ModuleReader, GroupsThatCannotBeReadWhole) {
    const auto odd = OpenPortableResourceModule(Module("odd"));
    ASSERT_TRUE(odd);
    EXPECT_EQ(IconGroupNames(*odd),
              (std::vector<ResourceName>{std::uint16_t{12}, std::uint16_t{30}, std::uint16_t{40},
                                         std::uint16_t{41}, std::uint16_t{50}}));
    EXPECT_FALSE(LoadIconGroup(Module("odd"), std::uint16_t{30})) << "one image missing";
    EXPECT_FALSE(LoadIconGroup(Module("odd"), std::uint16_t{41})) << "shorter than its entries";
    EXPECT_FALSE(LoadIconGroup(Module("odd"), std::uint16_t{77})) << "no such group";
    EXPECT_FALSE(LoadIconGroup(Module("odd"), std::nullopt));
    const auto empty = LoadIconGroup(Module("odd"), std::uint16_t{40});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->imageCount(), 0u);

    const auto none = OpenPortableResourceModule(Module("noicons"));
    ASSERT_TRUE(none);
    EXPECT_FALSE(
        none->EnumerateNames(kResourceTypeGroupIcon, [](const ResourceName&) { return true; }));
    EXPECT_FALSE(OpenPortableResourceModule(FixturePath("main.ico")));
    EXPECT_FALSE(OpenPortableResourceModule(FixturePath("no such module.dll")));
}

TEST_P(ModuleReader, EnumerationStopsWhenAsked) {
    const auto module = OpenPortableResourceModule(Module("sample"));
    ASSERT_TRUE(module);
    int visits = 0;
    EXPECT_TRUE(module->EnumerateNames(kResourceTypeGroupIcon,
                                       [&visits](const ResourceName&) { return ++visits < 2; }));
    EXPECT_EQ(visits, 2);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, ModuleReader, ::testing::Values("64", "32"));

// Where things are in a fixture module, found the long way so that they can be broken.
class ModuleBytes {
public:
    explicit ModuleBytes(ByteVector bytes) : bytes_(std::move(bytes)) {
        const std::size_t pe = Get32(bytes_, 0x3C);
        const std::size_t optional = pe + 24;
        const bool plus = Get16(bytes_, optional) == 0x20B;
        resourceRvaField_ = optional + (plus ? 112u : 96u) + 16;
        const std::uint32_t rva = Get32(bytes_, resourceRvaField_);
        const std::size_t sections = optional + Get16(bytes_, pe + 20);
        for (std::size_t i = 0; i < Get16(bytes_, pe + 6); ++i) {
            const std::size_t header = sections + 40 * i;
            const std::uint32_t start = Get32(bytes_, header + 12);
            if (rva >= start && rva - start < Get32(bytes_, header + 16)) {
                sectionHeader_ = header;
                root_ = Get32(bytes_, header + 20) + (rva - start);
            }
        }
    }

    ByteVector& bytes() { return bytes_; }
    std::size_t resourceRvaField() const { return resourceRvaField_; }
    std::size_t sectionHeader() const { return sectionHeader_; }
    std::size_t root() const { return root_; }

    // The file offset of the entry for `id` in the directory at `directory` (from the root).
    std::size_t EntryFor(std::uint32_t directory, std::uint32_t id) const {
        const std::size_t at = root_ + directory;
        const std::size_t count = Get16(bytes_, at + 12) + Get16(bytes_, at + 14);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry = at + 16 + 8 * i;
            if (Get32(bytes_, entry) == id) {
                return entry;
            }
        }
        ADD_FAILURE() << "no entry " << id;
        return at + 16;
    }
    std::uint32_t TargetOf(std::size_t entry) const {
        return Get32(bytes_, entry + 4) & ~kSubdirectory;
    }

    std::uint32_t GroupDirectory() const { return TargetOf(EntryFor(0, kResourceTypeGroupIcon)); }
    // The language directory of group 2, and its first data entry's place in the file.
    std::uint32_t Group2Languages() const { return TargetOf(EntryFor(GroupDirectory(), 2)); }
    std::size_t Group2Data() const {
        const std::size_t at = root_ + Group2Languages() + 16;
        return root_ + Get32(bytes_, at + 4);
    }

private:
    ByteVector bytes_;
    std::size_t resourceRvaField_ = 0;
    std::size_t sectionHeader_ = 0;
    std::size_t root_ = 0;
};

struct BrokenModule {
    const char* what;
    void (*breakIt)(ModuleBytes&);
    bool opens;       // the resource directory is found at all
    bool group2Loads; // group 2 still loads
};

const BrokenModule kBrokenModules[] = {
    {"group type points back to the root",
     [](ModuleBytes& m) {
         Put32(m.bytes(), m.EntryFor(0, kResourceTypeGroupIcon) + 4, kSubdirectory);
     },
     true, false},
    {"group name points back to its own directory",
     [](ModuleBytes& m) {
         Put32(m.bytes(), m.EntryFor(m.GroupDirectory(), 2) + 4,
               kSubdirectory | m.GroupDirectory());
     },
     true, false},
    {"language points back to its name directory",
     [](ModuleBytes& m) {
         Put32(m.bytes(), m.root() + m.Group2Languages() + 16 + 4,
               kSubdirectory | m.Group2Languages());
     },
     true, false},
    {"language points back to the root",
     [](ModuleBytes& m) {
         Put32(m.bytes(), m.root() + m.Group2Languages() + 16 + 4, kSubdirectory);
     },
     true, false},
    {"group data outside the file",
     [](ModuleBytes& m) { Put32(m.bytes(), m.Group2Data(), 0xFFFFFF00u); }, true, false},
    {"group data size beyond the section",
     [](ModuleBytes& m) { Put32(m.bytes(), m.Group2Data() + 4, 0xFFFFFFFFu); }, true, false},
    {"group data entry past the directory",
     [](ModuleBytes& m) { Put32(m.bytes(), m.root() + m.Group2Languages() + 16 + 4, 0x7FFFFFF0u); },
     true, false},
    {"root claims 65535 entries", [](ModuleBytes& m) { Put16(m.bytes(), m.root() + 14, 0xFFFF); },
     true, false},
    {"string name past the directory",
     [](ModuleBytes& m) {
         const std::size_t first = m.root() + m.GroupDirectory() + 16;
         Put32(m.bytes(), first, kSubdirectory | 0x7FFFFFF0u);
     },
     true, true},
    {"resource directory outside every section",
     [](ModuleBytes& m) { Put32(m.bytes(), m.resourceRvaField(), 0x7FFF0000u); }, false, false},
    {"resource section's bytes outside the file",
     [](ModuleBytes& m) { Put32(m.bytes(), m.sectionHeader() + 20, 0xFFFFF000u); }, false, false},
    {"no PE signature", [](ModuleBytes& m) { m.bytes()[Get32(m.bytes(), 0x3C)] = 'X'; }, false,
     false},
    {"e_lfanew past the end", [](ModuleBytes& m) { Put32(m.bytes(), 0x3C, 0xFFFFFFF0u); }, false,
     false},
};

TEST(BrokenModule, RefusedWithoutReadingPastItsBytes) {
    const ByteVector good = ReadBytes(FixturePath("sample64.dll"));
    TestDirectory dir;
    for (const BrokenModule& c : kBrokenModules) {
        SCOPED_TRACE(c.what);
        ModuleBytes module(good);
        c.breakIt(module);
        const std::string path = dir.Write("broken.dll", module.bytes());
        const auto resources = PeResources::Parse(module.bytes());
        ASSERT_EQ(resources.has_value(), c.opens);
        if (resources) {
            IconGroupNames(*resources);
            const auto set = LoadIconGroupFrom(*resources, path, std::uint16_t{2});
            EXPECT_EQ(set.has_value(), c.group2Loads);
        }
        // The whole export over the same bytes ends, whatever it finds.
        for (std::int32_t index = 1; index <= 7; ++index) {
            ExportIcon(path, 0, dir.Path(" 1.ico"), index);
        }
    }
}

TEST(BrokenModule, CutAtAnyLength) {
    const ByteVector good = ReadBytes(FixturePath("sample32.dll"));
    for (std::size_t length = 0; length < good.size(); length += 7) {
        const ByteVector cut(good.begin(), good.begin() + static_cast<long>(length));
        const auto resources = PeResources::Parse(cut);
        if (resources) {
            for (const ResourceName& name : IconGroupNames(*resources)) {
                LoadIconGroupFrom(*resources, "cut.dll", name);
            }
        }
    }
}

// Numeric names out of the order the format requires are still found, as a walk finds them.
TEST(BrokenModule, IconIdentifiersOutOfOrder) {
    const ByteVector good = ReadBytes(FixturePath("sample64.dll"));
    ModuleBytes module(good);
    const std::size_t icons =
        module.root() + module.TargetOf(module.EntryFor(0, kResourceTypeIcon));
    const std::size_t count = Get16(good, icons + 12) + Get16(good, icons + 14);
    ASSERT_GT(count, 2u);
    auto& bytes = module.bytes();
    for (std::size_t i = 0; i < count / 2; ++i) {
        std::swap_ranges(bytes.begin() + static_cast<long>(icons + 16 + 8 * i),
                         bytes.begin() + static_cast<long>(icons + 16 + 8 * i + 8),
                         bytes.begin() + static_cast<long>(icons + 16 + 8 * (count - 1 - i)));
    }
    const auto reversed = PeResources::Parse(bytes);
    const auto original = PeResources::Parse(good);
    ASSERT_TRUE(reversed && original);
    const auto names = IconGroupNames(*original);
    ASSERT_EQ(IconGroupNames(*reversed), names);
    for (const ResourceName& name : names) {
        const auto expected = LoadIconGroupFrom(*original, "", name);
        const auto found = LoadIconGroupFrom(*reversed, "", name);
        ASSERT_TRUE(expected && found);
        EXPECT_EQ(ImagesOf(*found), ImagesOf(*expected));
    }
}

// The neutral version is preferred wherever it stands in the directory.
TEST(BrokenModule, LanguagesOutOfOrder) {
    ModuleBytes module(ReadBytes(FixturePath("sample64.dll")));
    const std::uint32_t groups = module.GroupDirectory();
    const std::size_t languages = module.root() + module.TargetOf(module.EntryFor(groups, 11));
    ASSERT_EQ(Get16(module.bytes(), languages + 14), 2u);
    auto& bytes = module.bytes();
    std::swap_ranges(bytes.begin() + static_cast<long>(languages + 16),
                     bytes.begin() + static_cast<long>(languages + 24),
                     bytes.begin() + static_cast<long>(languages + 24));
    const auto resources = PeResources::Parse(bytes);
    ASSERT_TRUE(resources);
    const auto neutral = resources->Find(kResourceTypeGroupIcon, std::uint16_t{11}, std::nullopt);
    ASSERT_TRUE(neutral);
    EXPECT_EQ(neutral->language, kLanguageNeutral);
    const auto set = LoadIconGroupFrom(*resources, "", std::uint16_t{11});
    ASSERT_TRUE(set);
    EXPECT_EQ(ImagesOf(*set), IcoImages("neutral.ico"));
}

} // namespace
