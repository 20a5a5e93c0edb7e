// Opening a module for its icons runs none of its code: the module's DllMain would leave a
// marker file in the current directory.
#include "icon_export.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr const char* kMarker = "dllmain_ran.marker";

bool MarkerExists() {
    return ::GetFileAttributesA(kMarker) != INVALID_FILE_ATTRIBUTES;
}

class NoCodeRuns : public ::testing::Test {
protected:
    void SetUp() override {
        char base[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, base);
        directory_ = std::string(base) + "no_code_runs_" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(directory_.c_str(), nullptr);
        ASSERT_TRUE(::SetCurrentDirectoryA(directory_.c_str()));
        ::DeleteFileA(kMarker);
    }
    void TearDown() override {
        ::DeleteFileA(kMarker);
        ::DeleteFileA((directory_ + "\\out.ico").c_str());
        char base[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, base);
        ::SetCurrentDirectoryA(base);
        ::RemoveDirectoryA(directory_.c_str());
    }
    std::string directory_;
};

TEST_F(NoCodeRuns, ExportingTheModulesIconsLeavesNoMarker) {
    iconexport::ExportOutcome outcome = iconexport::ExportOutcome::notSelected;
    for (const char* kind : {".dll", ".exe", ".icl", ".mun"}) {
        SCOPED_TRACE(kind);
        const std::string copy = directory_ + "\\marker" + kind;
        ASSERT_TRUE(::CopyFileA(MARKER_MODULE, copy.c_str(), FALSE));
        EXPECT_EQ(iconexport::ExportIcon(copy, 0, directory_ + "\\out.ico", 1, &outcome), 1);
        EXPECT_EQ(outcome, iconexport::ExportOutcome::saved);
        EXPECT_FALSE(MarkerExists());
        ::DeleteFileA(copy.c_str());
    }
}

// The marker really is what the module's code leaves when it is loaded to run.
TEST_F(NoCodeRuns, LoadingTheModuleToRunLeavesTheMarker) {
    HMODULE module = ::LoadLibraryA(MARKER_MODULE);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(MarkerExists());
    ::FreeLibrary(module);
}

} // namespace
