// Extract, Delete and a dropped file, through a fake window and export. Delete works on real
// files in a directory of the test's own.
#include "file_access.h"
#include "icon_commands.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace app;
using iconexport::ExportOutcome;

struct ExportCall {
    std::string source;
    std::int32_t mode;
    std::string target;
    std::int32_t index;
};

class FakeEnvironment final : public CommandEnvironment {
public:
    std::string pathBox;
    std::string directory = "D:\\Tools";
    std::function<ExportOutcome(std::int32_t index)> outcomeOf = [](std::int32_t) {
        return ExportOutcome::notSelected;
    };
    std::vector<ExportCall> exports;
    std::vector<std::string> removed;
    std::vector<std::string> shown;

    std::string ReadPathBox() override { return pathBox; }
    void WritePathBox(const std::string& text) override { pathBox = text; }
    std::string ProgramDirectory() override { return directory; }
    std::int32_t ExportIcon(const std::string& source, std::int32_t mode, const std::string& target,
                            std::int32_t index, ExportOutcome* outcome) override {
        exports.push_back({source, mode, target, index});
        *outcome = outcomeOf(index);
        return 0;
    }
    bool RemoveFile(const std::string& path) override {
        removed.push_back(path);
        return iconexport::RemoveFile(path);
    }
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
};

std::vector<std::string> AllIconFilePaths(const std::string& directory) {
    std::vector<std::string> paths;
    for (int n = 1; n <= IconFileCount; ++n) {
        paths.push_back(IconFilePath(directory, n));
    }
    return paths;
}

TEST(Extract, RefusesAnEmptyBoxAndTheHintWithoutExporting) {
    for (const std::string& text : {std::string(), std::string(PathHint)}) {
        FakeEnvironment environment;
        environment.pathBox = text;
        OnExtractClicked(environment);
        EXPECT_TRUE(environment.exports.empty()) << "[" << text << "]";
        EXPECT_EQ(environment.shown, std::vector<std::string>{std::string(messages::kNoPath)});
    }
}

TEST(Extract, ExportsNumbersOneToAHundredFromTheUntrimmedText) {
    const std::string hint(PathHint);
    // The hint less a leading space is not the hint; spaces alone are not empty.
    for (const std::string& text :
         {hint.substr(1), std::string("   "), std::string("  D:\\My Apps\\tool.exe  ")}) {
        FakeEnvironment environment;
        environment.pathBox = text;
        OnExtractClicked(environment);
        ASSERT_EQ(environment.exports.size(), 100U) << "[" << text << "]";
        for (std::size_t i = 0; i < environment.exports.size(); ++i) {
            const ExportCall& call = environment.exports[i];
            const int n = static_cast<int>(i) + 1;
            EXPECT_EQ(call.index, n);
            EXPECT_EQ(call.mode, 0);
            EXPECT_EQ(call.source, text);
            EXPECT_EQ(call.target, IconFilePath(environment.directory, n));
        }
        EXPECT_EQ(environment.shown.size(), 1U);
    }
}

TEST(Extract, SaysWhetherAndWhyIconFilesWereSaved) {
    auto groups = [](int count, ExportOutcome within, ExportOutcome third = ExportOutcome::saved) {
        return [=](std::int32_t index) {
            if (index > count) {
                return ExportOutcome::notSelected;
            }
            return index == 3 ? third : within;
        };
    };
    struct Case {
        const char* what;
        std::function<ExportOutcome(std::int32_t)> outcomeOf;
        std::string expected;
    };
    const Case cases[] = {
        {"three groups, all saved", groups(3, ExportOutcome::saved), std::string(messages::kSaved)},
        {"a hundred groups, all saved", groups(100, ExportOutcome::saved),
         std::string(messages::kSaved)},
        {"no icons", groups(0, ExportOutcome::saved), std::string(messages::kNoIcons)},
        {"directory not writable",
         groups(3, ExportOutcome::writeFailed, ExportOutcome::writeFailed),
         std::string(messages::kDirectoryNotWritable)},
        {"groups unreadable", groups(3, ExportOutcome::unreadable, ExportOutcome::unreadable),
         std::string(messages::kIconsUnreadable)},
        {"two saved, one not written", groups(3, ExportOutcome::saved, ExportOutcome::writeFailed),
         PartlySavedMessage(2, 1)},
        {"two saved, one unreadable", groups(3, ExportOutcome::saved, ExportOutcome::unreadable),
         PartlySavedMessage(2, 1)},
    };
    for (const Case& c : cases) {
        FakeEnvironment environment;
        environment.pathBox = "D:\\tool.exe";
        environment.outcomeOf = c.outcomeOf;
        OnExtractClicked(environment);
        EXPECT_EQ(environment.shown, std::vector<std::string>{c.expected}) << c.what;
    }
}

TEST(FileDropped, ReplacesTheWholeBoxText) {
    for (const std::string& dropped : {std::string("D:\\Apps\\tool.exe"),
                                       std::string("D:\\a.exe\r\nD:\\b.dll\r\n"), std::string()}) {
        FakeEnvironment environment;
        environment.pathBox = std::string(PathHint);
        OnFileDropped(environment, dropped);
        EXPECT_EQ(environment.pathBox, dropped);
        EXPECT_TRUE(environment.exports.empty());
        EXPECT_TRUE(environment.shown.empty());
    }
}

// A directory of the test's own, removed with everything in it.
class DeleteTest : public testing::Test {
protected:
    void SetUp() override {
        char temporary[MAX_PATH] = {};
        ASSERT_NE(::GetTempPathA(MAX_PATH, temporary), 0U);
        directory_ =
            std::string(temporary) + "app-delete-" + std::to_string(::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryA(directory_.c_str(), nullptr));
        environment_.directory = directory_;
    }
    void TearDown() override {
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA((directory_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string path = directory_ + "\\" + found.cFileName;
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryA(directory_.c_str());
    }
    void MakeFile(const std::string& name) {
        const std::string path = directory_ + "\\" + name;
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
        ::CloseHandle(file);
    }
    bool Exists(const std::string& name) const {
        return ::GetFileAttributesA((directory_ + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string directory_;
    FakeEnvironment environment_;
};

const char* const kDecoys[] = {"7.ico", " 07.ico", " 101.ico", " 0.ico", "  7.ico", " 7.ico.bak"};

TEST_F(DeleteTest, RemovesExactlyTheHundredNamesAndSaysWhenOneStays) {
    for (int n = 1; n <= IconFileCount; ++n) {
        MakeFile(" " + std::to_string(n) + ".ico");
    }
    for (const char* decoy : kDecoys) {
        MakeFile(decoy);
    }
    ASSERT_TRUE(::SetFileAttributesA((directory_ + "\\ 50.ico").c_str(), FILE_ATTRIBUTE_READONLY));

    OnDeleteClicked(environment_);

    EXPECT_EQ(environment_.removed, AllIconFilePaths(directory_));
    EXPECT_EQ(environment_.shown, std::vector<std::string>{NotAllDeletedMessage(1)});
    for (int n = 1; n <= IconFileCount; ++n) {
        EXPECT_EQ(Exists(" " + std::to_string(n) + ".ico"), n == 50) << n;
    }
    for (const char* decoy : kDecoys) {
        EXPECT_TRUE(Exists(decoy)) << "[" << decoy << "]";
    }
    EXPECT_TRUE(environment_.exports.empty());
}

TEST_F(DeleteTest, SucceedsWhenNoneOfTheNamesIsLeft) {
    MakeFile(" 3.ico");
    MakeFile("7.ico");
    OnDeleteClicked(environment_);
    OnDeleteClicked(environment_); // nothing left to delete: still a success
    EXPECT_EQ(environment_.shown, (std::vector<std::string>{std::string(messages::kDeleted),
                                                            std::string(messages::kDeleted)}));
    EXPECT_FALSE(Exists(" 3.ico"));
    EXPECT_TRUE(Exists("7.ico"));
}

} // namespace
