#include "musicdb/NodeCollator.h"

#include <cstdlib>
#include <stdexcept>
#include <unicode/ucol.h>

namespace velmo {

std::string NodeCollator::localeFromEnvironment() {
    for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(var);
        if (!value || !*value) continue;
        std::string name(value);
        // "de_DE.UTF-8@euro" -> "de_DE"
        name = name.substr(0, name.find_first_of(".@"));
        if (name == "C" || name == "POSIX") return {};
        return name;
    }
    return {};
}

NodeCollator::NodeCollator() : NodeCollator(localeFromEnvironment()) {}

NodeCollator::NodeCollator(const std::string& icuLocale) : locale_(icuLocale) {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(icuLocale.c_str(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        collator_ = ucol_open("", &status);
        locale_.clear();
    }
    if (U_FAILURE(status) || !collator_) throw std::runtime_error("ICU collation is not available");
}

NodeCollator::~NodeCollator() { ucol_close(collator_); }

int NodeCollator::compare(std::string_view a, std::string_view b) const {
    if (a == b) return 0;
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r = ucol_strcollUTF8(collator_, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                          static_cast<int32_t>(b.size()), &status);
    if (U_SUCCESS(status) && r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
    return a < b ? -1 : 1;
}

} // namespace velmo
