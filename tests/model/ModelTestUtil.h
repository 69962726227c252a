#pragma once
// Helpers of the model tests: a database with a fixed collation and scripted random numbers.
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/DatabaseBuilders.h"
#include "support/StatusConsistency.h"
#include "support/TestSupport.h"
#include "musicdb/MusicDatabase.h"

namespace velmo::test {

// Sets an environment variable for the lifetime of the object and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1);
        else unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A database whose collation follows `locale` (a POSIX locale name), whatever the machine's
// environment says, and whose random numbers come from `random`.
inline std::unique_ptr<MusicDatabase> makeModelDatabase(std::unique_ptr<RandomSource> random =
                                                            std::make_unique<ScriptedRandom>(),
                                                        const char* locale = "en_US.UTF-8") {
    ScopedEnv all("LC_ALL", locale);
    return std::make_unique<MusicDatabase>(std::move(random));
}

inline std::vector<std::string> childTexts(const Tree& tree, const TreeNode* parent) {
    std::vector<std::string> out;
    for (size_t i = 0; i < tree.childCount(parent); ++i) out.push_back(tree.child(parent, i)->text());
    return out;
}

} // namespace velmo::test
