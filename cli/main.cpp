// iconextract: the icon export from the command line.
#include "file_access.h"
#include "icon_export.h"
#include "icon_sources.h"
#include "resource_module.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace iconexport;

// The same hundred names as the window program writes: a space, the number, ".ico".
constexpr int kIconFileCount = 100;

enum ExitCode {
    kOk = 0,
    kUsage = 1,
    kSourceMissing = 2,
    kNoIcons = 3,
    kFileFailures = 4,
};

#ifdef _WIN32
constexpr const char* kSeparator = "\\ ";
#else
constexpr const char* kSeparator = "/ ";
#endif

constexpr const char* kHelp =
    "usage: iconextract extract SOURCE [--dir DIR]\n"
    "       iconextract delete [--dir DIR]\n"
    "       iconextract list SOURCE\n"
    "\n"
    "SOURCE is an ICO file or a module (.exe, .dll, .icl); the kind is taken from the last\n"
    "three characters of its name.\n"
    "\n"
    "  extract  saves icon groups 1 to 100 of SOURCE, one ICO file each, named a space, the\n"
    "           group's number and \".ico\" (\" 1.ico\" ... \" 100.ico\"), in DIR (default: the\n"
    "           current directory). An ICO file gives one file holding all its images.\n"
    "  delete   removes exactly those hundred names from DIR and nothing else.\n"
    "  list     shows each icon group in the order extract numbers them, with its images.\n"
    "\n"
    "exit codes: 0 done; 1 usage error; 2 SOURCE does not exist; 3 SOURCE has no icons of a\n"
    "known kind; 4 some files could not be written or deleted.\n";

struct Arguments {
    std::string command;
    std::string source;
    std::string directory = ".";
};

int UsageError(const char* message) {
    std::fprintf(stderr, "iconextract: %s\n\n%s", message, kHelp);
    return kUsage;
}

std::string IconFilePath(const std::string& directory, int n) {
    return directory + kSeparator + std::to_string(n) + ".ico";
}

std::string NameText(const ResourceName& name) {
    if (const auto* id = std::get_if<std::uint16_t>(&name)) {
        return std::to_string(*id);
    }
    return "\"" + std::get<std::string>(name) + "\"";
}

void PrintImages(const IconSet& set) {
    for (const IconImage& image : set.images) {
        std::printf("    %dx%d, %u bpp, %s, %u bytes\n", image.width, image.height,
                    image.bitsPerPixel, image.isPng ? "PNG" : "bitmap", image.dataSize());
    }
}

int CheckSource(const std::string& source) {
    if (!IsExistingFile(source)) {
        std::fprintf(stderr, "iconextract: %s: no such file\n", source.c_str());
        return kSourceMissing;
    }
    return kOk;
}

int NoIcons(const std::string& source) {
    std::fprintf(stderr,
                 "iconextract: %s: no icons of a known kind (an ICO file, or a module with icon "
                 "groups)\n",
                 source.c_str());
    return kNoIcons;
}

int Extract(const Arguments& args) {
    if (const int missing = CheckSource(args.source)) {
        return missing;
    }
    int written = 0;
    int failed = 0;
    std::int32_t groups = 0;
    for (int n = 1; n <= kIconFileCount; ++n) {
        const std::string target = IconFilePath(args.directory, n);
        ExportOutcome outcome = ExportOutcome::notSelected;
        const std::int32_t count = ExportIcon(args.source, 0, target, n, &outcome);
        if (count > groups) {
            groups = count;
        }
        if (outcome == ExportOutcome::saved) {
            std::printf("wrote %s\n", target.c_str());
            ++written;
        } else if (outcome != ExportOutcome::notSelected) {
            std::fprintf(stderr, "iconextract: could not save group %d as %s\n", n, target.c_str());
            ++failed;
        }
    }
    if (groups == 0) {
        return NoIcons(args.source);
    }
    std::printf("%d icon file%s written to %s (the source has %d icon group%s)\n", written,
                written == 1 ? "" : "s", args.directory.c_str(), groups, groups == 1 ? "" : "s");
    return failed == 0 ? kOk : kFileFailures;
}

int Delete(const Arguments& args) {
    int failed = 0;
    for (int n = 1; n <= kIconFileCount; ++n) {
        const std::string target = IconFilePath(args.directory, n);
        if (!RemoveFile(target)) {
            std::fprintf(stderr, "iconextract: could not delete %s\n", target.c_str());
            ++failed;
        }
    }
    if (failed != 0) {
        std::printf("%d of the icon files in %s could not be deleted\n", failed,
                    args.directory.c_str());
        return kFileFailures;
    }
    std::printf("no icon files left in %s\n", args.directory.c_str());
    return kOk;
}

int ListModule(const std::string& source) {
    const auto module = OpenResourceModule(source);
    const auto names = module ? IconGroupNames(*module) : std::vector<ResourceName>{};
    if (names.empty()) {
        return NoIcons(source);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto set = LoadIconGroupFrom(*module, source, names[i]);
        std::printf("%zu: group %s%s\n", i + 1, NameText(names[i]).c_str(),
                    set ? "" : " (cannot be read)");
        if (set) {
            PrintImages(*set);
        }
    }
    return kOk;
}

int List(const Arguments& args) {
    if (const int missing = CheckSource(args.source)) {
        return missing;
    }
    const std::string kind = PathKind(args.source);
    if (kind == "ico") {
        const auto set = ReadIcoFile(args.source);
        if (!set) {
            return NoIcons(args.source);
        }
        std::printf("1: the whole file\n");
        PrintImages(*set);
        return kOk;
    }
    if (kind == "exe" || kind == "dll" || kind == "icl") {
        return ListModule(args.source);
    }
    return NoIcons(args.source);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> words(argv + 1, argv + argc);
    if (words.empty()) {
        return UsageError("no command given");
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        std::fputs(kHelp, stdout);
        return kOk;
    }
    Arguments args;
    args.command = words[0];
    const bool takesSource = args.command == "extract" || args.command == "list";
    const bool takesDirectory = args.command == "extract" || args.command == "delete";
    if (!takesSource && !takesDirectory) {
        return UsageError("unknown command");
    }
    bool haveSource = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "--dir" && takesDirectory) {
            if (i + 1 == words.size()) {
                return UsageError("--dir needs a directory");
            }
            args.directory = words[++i];
        } else if (takesSource && !haveSource) {
            args.source = words[i];
            haveSource = true;
        } else {
            return UsageError("unexpected argument");
        }
    }
    if (takesSource && !haveSource) {
        return UsageError("no SOURCE given");
    }
    if (args.command == "extract") {
        return Extract(args);
    }
    if (args.command == "delete") {
        return Delete(args);
    }
    return List(args);
}
