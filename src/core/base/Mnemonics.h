#pragma once
#include <string>
#include <vector>

namespace velmo {

// Marks one letter of each caption as its keyboard mnemonic ("&Options"), none used twice
// within one group of controls that are visible together: the first free initial of a word,
// else the first free letter or digit; a caption without a free one gets none. `taken` holds
// the letters (lower case) used already, by the group and by those shown beside it, and
// receives the new ones. A caption with its own mnemonic ("&" before a letter or digit) keeps
// it; any other "&" is doubled, so it shows as itself.
std::vector<std::string> withMnemonics(const std::vector<std::string>& captions, std::string& taken);

} // namespace velmo
