// What must hold for any bytes given to the readers; a broken property aborts, so the fuzzers
// and the corrupt-and-truncate loop report it like a crash.
#pragma once

#include <cstdint>
#include <span>

namespace fuzz_checks {

// Read as an ICO file, write the set, read the written file back: the same images come back,
// with only biSizeImage of bitmap images cleared.
void CheckIcoBytes(std::span<const std::uint8_t> bytes);

// Read as a module: enumerate the icon groups, load each and write it as an ICO file, which
// reads back.
void CheckModuleBytes(std::span<const std::uint8_t> bytes);

} // namespace fuzz_checks
