// 16-bit NE icon libraries built in memory for tests: a DOS stub, an NE header, a resource
// table with RT_GROUP_ICON and RT_ICON, and the resources at the table's alignment.
#pragma once

#include "icon_images.h"

#include <algorithm>
#include <variant>

namespace testing_support {

struct NeGroup {
    std::variant<std::uint16_t, std::string> name;
    std::vector<ByteVector> images;
};

struct NeLayout {
    unsigned alignShift = 4;
    std::uint8_t linkerVersion = 0;
};

namespace ne_detail {

constexpr std::size_t kNeHeader = 0x40;
constexpr std::size_t kResourceTable = 0x40; // from the NE header
constexpr std::uint16_t kNumeric = 0x8000;

} // namespace ne_detail

// Groups are listed in the given order; their images get RT_ICON ids 1, 2, ... in order.
inline ByteVector NeIconLibrary(const std::vector<NeGroup>& groups, NeLayout layout = {}) {
    using namespace ne_detail;
    struct Item {
        std::variant<std::uint16_t, std::string> name;
        ByteVector data;
    };
    std::vector<Item> groupItems;
    std::vector<Item> iconItems;
    std::uint16_t nextId = 1;
    for (const NeGroup& group : groups) {
        std::vector<std::uint16_t> ids;
        for (const ByteVector& image : group.images) {
            ids.push_back(nextId);
            iconItems.push_back({nextId++, image});
        }
        groupItems.push_back({group.name, GroupResource(group.images, ids)});
    }

    // The table: shift, two TYPEINFO blocks, the terminator, then the Pascal-string names.
    ByteVector table;
    Append16(table, layout.alignShift);
    std::vector<std::size_t> nameInfos;
    std::vector<const Item*> items;
    for (const auto& [type, list] :
         {std::pair{std::uint16_t{14}, &groupItems}, std::pair{std::uint16_t{3}, &iconItems}}) {
        Append16(table, type | kNumeric);
        Append16(table, static_cast<std::uint32_t>(list->size()));
        Append32(table, 0);
        for (const Item& item : *list) {
            nameInfos.push_back(table.size());
            items.push_back(&item);
            table.resize(table.size() + 12);
        }
    }
    Append16(table, 0);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (const auto* id = std::get_if<std::uint16_t>(&items[i]->name)) {
            Put16(table, nameInfos[i] + 6, *id | kNumeric);
        } else {
            const auto& text = std::get<std::string>(items[i]->name);
            Put16(table, nameInfos[i] + 6, static_cast<std::uint32_t>(table.size()));
            table.push_back(static_cast<std::uint8_t>(text.size()));
            table.insert(table.end(), text.begin(), text.end());
        }
    }
    table.push_back(0);

    ByteVector file(kNeHeader + kResourceTable);
    file[0] = 'M';
    file[1] = 'Z';
    Put32(file, 0x3C, kNeHeader);
    file[kNeHeader] = 'N';
    file[kNeHeader + 1] = 'E';
    file[kNeHeader + 2] = layout.linkerVersion;
    Put16(file, kNeHeader + 0x24, kResourceTable);
    Put16(file, kNeHeader + 0x26, static_cast<std::uint32_t>(kResourceTable + table.size()));
    const std::size_t tableAt = file.size();
    file.resize(tableAt + table.size());
    std::copy(table.begin(), table.end(), file.begin() + static_cast<std::ptrdiff_t>(tableAt));

    const std::size_t unit = std::size_t{1} << layout.alignShift;
    for (std::size_t i = 0; i < items.size(); ++i) {
        file.resize((file.size() + unit - 1) / unit * unit);
        const std::size_t units = (items[i]->data.size() + unit - 1) / unit;
        Put16(file, tableAt + nameInfos[i], static_cast<std::uint32_t>(file.size() / unit));
        Put16(file, tableAt + nameInfos[i] + 2, static_cast<std::uint32_t>(units));
        file.insert(file.end(), items[i]->data.begin(), items[i]->data.end());
        file.resize(file.size() + (units * unit - items[i]->data.size()));
    }
    return file;
}

} // namespace testing_support
