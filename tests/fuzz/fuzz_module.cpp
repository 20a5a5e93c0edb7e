// libFuzzer entry: module bytes (PE32, PE32+ and 16-bit NE).
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_checks::CheckModuleBytes({data, size});
    return 0;
}
