// A language file of any bytes: no crash, and a file that was taken whole is written back in a
// form that a second start takes whole with the same texts and messages.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "FuzzSupport.h"
#include "app/Languages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmo;
    fuzz::FuzzSession first;
    Session& s = first.session;
    mkdir((s.AppDir + "/Language").c_str(), 0700);
    fuzz::writeInput(languageFilePath(s, "Fuzz"), data, size);
    if (!SetLanguage(s, "Fuzz")) return 0;
    if (!SaveLanguage(s)) abort();
    fuzz::FuzzSession second;
    if (!SetLanguage(second.session, "Fuzz")) abort();
    if (second.session.texts.languageLines() != s.texts.languageLines() ||
        second.session.messages.all() != s.messages.all())
        abort();
    return 0;
}
