// Profile.ini of any bytes: no crash, and what is read writes out as lines that read back to the
// same lines without a bad value, so a saved profile always loads as it was saved.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/ProfileFile.h"
#include "util/TextEncoding.h"
#include "util/TextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmo;
    const std::string text = decodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size));
    ProfileSettings settings = SetDefopts("Default");
    (void)readProfileFileLines(settings, splitLines(text));
    const std::vector<std::string> written = profileFileLines(settings);
    if (written.size() != kProfileFileLines) abort();
    ProfileSettings again = SetDefopts("Default");
    if (!readProfileFileLines(again, splitLines(joinLinesCrLf(written))).empty()) abort();
    if (profileFileLines(again) != written) abort();
    return 0;
}
