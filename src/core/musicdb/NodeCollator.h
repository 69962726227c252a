#pragma once
#include <string>
#include <string_view>

struct UCollator;

namespace velmo {

// Locale-aware, case-sensitive comparison of node texts (UTF-8). Texts that the collation
// calls equal but that differ in their bytes are ordered by their bytes, so two different
// file names never fall together into one node.
class NodeCollator {
public:
    // Uses the collation of LC_ALL, LC_COLLATE or LANG, in that order; the root collation when
    // that names the C or POSIX locale (whose ICU collation sorts every capital first).
    NodeCollator();
    // Uses the named ICU locale ("" for the root collation).
    explicit NodeCollator(const std::string& icuLocale);
    NodeCollator(const NodeCollator&) = delete;
    NodeCollator& operator=(const NodeCollator&) = delete;
    ~NodeCollator();

    // -1, 0 or 1 as a sorts before, equal to or after b.
    int compare(std::string_view a, std::string_view b) const;
    const std::string& localeName() const { return locale_; }

    // The ICU locale named by the environment, as the default constructor takes it.
    static std::string localeFromEnvironment();

private:
    UCollator* collator_ = nullptr;
    std::string locale_;
};

} // namespace velmo
