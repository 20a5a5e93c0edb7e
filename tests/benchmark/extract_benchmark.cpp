// The hundred Extract passes over the largest module Wine installs, and, to compare with, the
// time it takes merely to write the same output bytes to the same hundred files.
#include "file_access.h"
#include "icon_export.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kIconFileCount = 100;
const char* const kSource = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";

// A directory of its own for the output, removed at the end.
class OutputDirectory {
public:
    OutputDirectory() {
        std::string pattern = (fs::temp_directory_path() / "extract_benchmark_XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    OutputDirectory(const OutputDirectory&) = delete;
    OutputDirectory& operator=(const OutputDirectory&) = delete;
    ~OutputDirectory() {
        if (!path_.empty()) {
            std::error_code ignored;
            fs::remove_all(path_, ignored);
        }
    }
    bool valid() const { return !path_.empty(); }
    std::string IconFilePath(int n) const { return path_ + "/ " + std::to_string(n) + ".ico"; }

private:
    std::string path_;
};

void ExtractPasses(benchmark::State& state) {
    OutputDirectory output;
    if (!output.valid() || !fs::exists(kSource)) {
        state.SkipWithError("no output directory or no source module");
        return;
    }
    std::vector<std::string> targets;
    for (int n = 1; n <= kIconFileCount; ++n) {
        targets.push_back(output.IconFilePath(n));
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const auto index = static_cast<std::int32_t>(i + 1);
            benchmark::DoNotOptimize(iconexport::ExportIcon(kSource, 0, targets[i], index));
        }
    }
}

std::vector<std::uint8_t> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteOnly(benchmark::State& state) {
    OutputDirectory output;
    if (!output.valid() || !fs::exists(kSource)) {
        state.SkipWithError("no output directory or no source module");
        return;
    }
    // The bytes the passes write, taken from one run of them.
    std::vector<std::string> targets;
    std::vector<std::vector<std::uint8_t>> contents;
    for (int n = 1; n <= kIconFileCount; ++n) {
        targets.push_back(output.IconFilePath(n));
        iconexport::ExportIcon(kSource, 0, targets.back(), n);
        contents.push_back(ReadWhole(targets.back()));
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < targets.size(); ++i) {
            benchmark::DoNotOptimize(iconexport::ReplaceFileContent(targets[i], contents[i]));
        }
    }
}

} // namespace

BENCHMARK(ExtractPasses)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteOnly)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
