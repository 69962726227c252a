// Options.ini of any bytes: no crash, the current profile is one a folder can carry, and the
// file the program writes back reads to the same profile and list.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "app/Profiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmo;
    fuzz::FuzzSession first;
    Session& s = first.session;
    fuzz::writeInput(s.AppDir + "/Options.ini", data, size);
    ReadOpt(s);
    if (s.CurrentProfile.empty() || s.CurrentProfile.find_first_of("\\/") != std::string::npos) abort();
    if (s.SelectedProfile >= static_cast<int>(s.Profiles.size())) abort();
    SaveOpt(s);
    fuzz::FuzzSession second;
    ReadOpt(second.session);
    if (second.session.CurrentProfile != s.CurrentProfile || second.session.Profiles != s.Profiles) abort();
    return 0;
}
