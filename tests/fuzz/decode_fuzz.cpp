// Fuzz target: "tarnix-fit --decode" on arbitrary bytes.
#include "tests/fuzz/fuzz_support.h"
#include "tools/tarnix_fit/fit_session.h"
#include "tools/tarnix_fit/tool_main.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::wstring path = WriteScratchFile("record.bin", data, size).wstring();
    int status = RunTarnixFit({L"--decode", path});
    FUZZ_CHECK(status == kExitFitted || status == kExitBadInput);
    return 0;
}
