#include "ne_resources.h"

#include <algorithm>

namespace iconexport {
namespace {

constexpr std::uint64_t kResourceTableField = 0x24;     // ne_rsrctab
constexpr std::uint64_t kResidentNameTableField = 0x26; // ne_restab
constexpr std::uint64_t kTypeInfoSize = 8;
constexpr std::uint64_t kNameInfoSize = 12;
constexpr std::uint16_t kNumericBit = 0x8000;
// A shift of 16 or more would move every offset out of reach of a 16-bit file.
constexpr unsigned kMaxAlignShift = 15;

} // namespace

std::optional<NeResources> NeResources::Parse(Bytes file) {
    const ByteReader ne(file);
    const auto lfanew = NewHeaderOffset(file);
    const auto tableOffset = lfanew ? ne.U16(*lfanew + kResourceTableField) : std::nullopt;
    const auto namesOffset = lfanew ? ne.U16(*lfanew + kResidentNameTableField) : std::nullopt;
    if (!tableOffset || !namesOffset) {
        return std::nullopt;
    }
    const std::uint64_t start = std::uint64_t{*lfanew} + *tableOffset;
    const auto rest = ne.From(start);
    if (!rest) {
        return std::nullopt;
    }
    NeResources resources;
    resources.file_ = file;
    resources.table_ = *rest;
    if (*namesOffset > *tableOffset) {
        resources.table_ = rest->first(static_cast<std::size_t>(
            std::min<std::uint64_t>(*namesOffset - *tableOffset, rest->size())));
    }
    const ByteReader table(resources.table_);
    const auto shift = table.U16(0);
    if (!shift || *shift > kMaxAlignShift) {
        return std::nullopt;
    }
    resources.alignShift_ = *shift;
    // Each step moves forward by at least one TYPEINFO, so the walk ends within the table; a
    // table that runs out before its terminating zero is refused.
    for (std::uint64_t at = 2;;) {
        const auto type = table.U16(at);
        if (!type) {
            return std::nullopt;
        }
        if (*type == 0) {
            break;
        }
        const auto count = table.U16(at + 2);
        const std::uint64_t first = at + kTypeInfoSize;
        if (!count || !table.Has(first, *count * kNameInfoSize)) {
            return std::nullopt;
        }
        resources.types_.push_back(TypeInfo{*type, first, *count});
        at = first + *count * kNameInfoSize;
    }
    return resources;
}

// A numeric identifier, or a Pascal string within the resource table.
std::optional<ResourceName> NeResources::NameOf(std::uint64_t nameInfo) const {
    const ByteReader table(table_);
    const std::uint16_t id = *table.U16(nameInfo + 6);
    if ((id & kNumericBit) != 0) {
        return static_cast<std::uint16_t>(id & ~kNumericBit);
    }
    const auto length = table.U8(id);
    const auto text = length ? table.Sub(std::uint64_t{id} + 1, *length) : std::nullopt;
    if (!text) {
        return std::nullopt;
    }
    return std::string(text->begin(), text->end());
}

std::optional<Resource> NeResources::Data(std::uint64_t nameInfo) const {
    const ByteReader table(table_);
    const ByteReader file(file_);
    const std::uint64_t offset = std::uint64_t{*table.U16(nameInfo)} << alignShift_;
    const std::uint64_t length = std::uint64_t{*table.U16(nameInfo + 2)} << alignShift_;
    if (offset >= file.size()) {
        return std::nullopt;
    }
    const auto bytes = file.Sub(offset, std::min(length, file.size() - offset));
    return Resource{*bytes, kLanguageNeutral, true};
}

const NeResources::TypeInfo* NeResources::FindType(std::uint16_t type) const {
    const auto found = std::find_if(types_.begin(), types_.end(), [type](const TypeInfo& info) {
        return info.type == (type | kNumericBit);
    });
    return found == types_.end() ? nullptr : &*found;
}

bool NeResources::EnumerateNames(std::uint16_t type,
                                 const std::function<bool(const ResourceName&)>& visit) const {
    const TypeInfo* info = FindType(type);
    if (!info) {
        return false;
    }
    std::vector<ResourceName> names;
    for (std::uint64_t i = 0; i < info->count; ++i) {
        if (auto name = NameOf(info->firstName + i * kNameInfoSize)) {
            names.push_back(std::move(*name));
        }
    }
    return VisitInEnumerationOrder(names, visit);
}

std::optional<Resource> NeResources::Find(std::uint16_t type, const ResourceName& name,
                                          std::optional<std::uint16_t>) const {
    const TypeInfo* info = FindType(type);
    if (!info) {
        return std::nullopt;
    }
    for (std::uint64_t i = 0; i < info->count; ++i) {
        const std::uint64_t nameInfo = info->firstName + i * kNameInfoSize;
        const auto entryName = NameOf(nameInfo);
        if (entryName && SameResourceName(*entryName, name)) {
            return Data(nameInfo);
        }
    }
    return std::nullopt;
}

} // namespace iconexport
