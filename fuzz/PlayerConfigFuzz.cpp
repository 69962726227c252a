// PlayerConfig.ini of any bytes: no crash, and configurations that were taken write out as lines
// that read back to the same configurations.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "external/PlayerConfig.h"
#include "util/TextEncoding.h"
#include "util/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmo;
    const std::string text = decodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size));
    auto configs = parsePlayerConfigLines(splitLines(text));
    if (!configs) return 0;
    if (configs->size() > kMaxPlayerConfigs) abort();
    auto again = parsePlayerConfigLines(splitLines(joinLinesCrLf(playerConfigLines(*configs))));
    if (!again || *again != *configs) abort();
    return 0;
}
