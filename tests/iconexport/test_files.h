// Files for the icon export tests: a private directory per test, whole-file reads and writes,
// the fixtures made at build time, and ImageMagick as the judge of what image viewers open.
#pragma once

#include "../support/icon_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

namespace fs = std::filesystem;

inline std::string FixturePath(const std::string& name) {
    return std::string(ICON_FIXTURE_DIR) + "/" + name;
}

inline ByteVector ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const ByteVector& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

inline std::uint32_t Get16(const ByteVector& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes.at(at) | (bytes.at(at + 1) << 8));
}

inline std::uint32_t Get32(const ByteVector& bytes, std::size_t at) {
    return Get16(bytes, at) | (Get16(bytes, at + 2) << 16);
}

// A fresh directory for one test, removed with everything in it afterwards.
class TestDirectory {
public:
    TestDirectory() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name =
            std::string("iconexport_") + info->test_suite_name() + "_" + info->name();
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        path_ = fs::temp_directory_path() / name;
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    TestDirectory(const TestDirectory&) = delete;
    TestDirectory& operator=(const TestDirectory&) = delete;
    ~TestDirectory() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }

    std::string Path(const std::string& name) const { return (path_ / name).string(); }

    std::string Write(const std::string& name, const ByteVector& bytes) const {
        WriteBytes(Path(name), bytes);
        return Path(name);
    }

    // The names in the directory, sorted: shows stray temporary files.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

// What ImageMagick's identify makes of a file, one line per image; empty when it cannot read it.
inline std::string Identify(const std::string& path) {
    const std::string command = "identify -format '%m %wx%h\\n' '" + path + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string output;
    std::array<char, 256> buffer{};
    while (pipe && std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get())) {
        output += buffer.data();
    }
    return output;
}

} // namespace testing_support
