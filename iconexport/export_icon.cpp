#include "icon_export.h"

#include "clipboard.h"
#include "ico_writer.h"
#include "icon_sources.h"
#include "resource_module.h"

namespace iconexport {
namespace {

constexpr std::int32_t kModeWriteFile = 0;
constexpr std::int32_t kModeClipboard = 1;
constexpr std::size_t kKindLength = 3;

// Set afresh by every call of ExportIcon and read by the enumeration callback; like the
// export itself it serves one call at a time.
struct GroupEnumeration {
    std::int32_t wantedIndex = 0;
    std::int32_t runningCount = 0;
    std::optional<ResourceName> rememberedName;
};
GroupEnumeration groupEnumeration;

bool CountGroupName(const ResourceName& name) {
    ++groupEnumeration.runningCount;
    if (groupEnumeration.runningCount == groupEnumeration.wantedIndex) {
        groupEnumeration.rememberedName = name;
    }
    return true;
}

bool IsModuleKind(const std::string& kind) {
    // "mun": the resource-only modules that hold the system's icons since Windows 10 1903.
    return kind == "exe" || kind == "dll" || kind == "icl" || kind == "mun";
}

void Report(ExportOutcome* outcome, ExportOutcome value) {
    if (outcome) {
        *outcome = value;
    }
}

ExportOutcome SaveSet(const std::optional<IconSet>& set, std::int32_t mode,
                      std::string_view target) {
    if (!set) {
        return ExportOutcome::unreadable;
    }
    if (mode == kModeClipboard) {
        if (set->images.empty()) {
            return ExportOutcome::ignoredTarget;
        }
        return PlaceImageOnClipboard(set->images.front()) ? ExportOutcome::saved
                                                          : ExportOutcome::ignoredTarget;
    }
    const std::string kind = PathKind(target);
    const std::string path(target);
    if (kind == "ico") {
        return WriteIcoFile(*set, path) ? ExportOutcome::saved : ExportOutcome::writeFailed;
    }
    if (kind == "bmp") {
        const bool hasBitmap = !set->images.empty() && ColourBitmapDib(set->images.front());
        if (!hasBitmap) {
            return ExportOutcome::ignoredTarget;
        }
        return WriteBmpFile(*set, path) ? ExportOutcome::saved : ExportOutcome::writeFailed;
    }
    return ExportOutcome::ignoredTarget;
}

} // namespace

std::string PathKind(std::string_view path) {
    std::string kind(path.substr(path.size() > kKindLength ? path.size() - kKindLength : 0));
    for (char& c : kind) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return kind;
}

std::int32_t ExportIcon(std::string_view source, std::optional<std::int32_t> mode,
                        std::optional<std::string_view> target, std::optional<std::int32_t> index,
                        ExportOutcome* outcome) {
    Report(outcome, ExportOutcome::notSelected);
    const std::int32_t effectiveMode =
        (mode && *mode >= kModeWriteFile && *mode <= kModeClipboard) ? *mode : kModeClipboard;
    const std::string_view effectiveTarget = target.value_or(std::string_view{});
    const std::int32_t wanted = (index && *index >= 1) ? *index : 1;
    if (effectiveMode == kModeWriteFile && effectiveTarget.empty()) {
        return 0;
    }

    const std::string kind = PathKind(source);
    const std::string sourcePath(source);
    groupEnumeration = GroupEnumeration{wanted, 0, std::nullopt};

    std::optional<IconSet> set;
    std::unique_ptr<ResourceModule> module;
    if (kind == "ico") {
        set = ReadIcoFile(sourcePath);
        groupEnumeration.runningCount = 1;
    } else if (IsModuleKind(kind)) {
        module = OpenResourceModule(sourcePath);
        if (module && !module->EnumerateNames(kResourceTypeGroupIcon, CountGroupName)) {
            groupEnumeration.runningCount = 0;
        }
    }
    const std::int32_t count = groupEnumeration.runningCount;
    if (count == 0 || wanted > count) {
        return 0;
    }
    if (IsModuleKind(kind)) {
        // Opened a second time by the loader while the first stays open, as the count did.
        set = LoadIconGroup(sourcePath, groupEnumeration.rememberedName);
    }
    Report(outcome, SaveSet(set, effectiveMode, effectiveTarget));
    groupEnumeration.rememberedName.reset();
    return count;
}

} // namespace iconexport
