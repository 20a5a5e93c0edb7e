// libFuzzer entry: ICO bytes.
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_checks::CheckIcoBytes({data, size});
    return 0;
}
