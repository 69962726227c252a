#include "base/Mnemonics.h"

#include "util/AsciiCase.h"

namespace velmo {

namespace {

bool isMnemonicChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Where the mnemonic of `caption` goes, or npos.
size_t mnemonicAt(const std::string& caption, const std::string& taken) {
    auto free = [&](size_t i) {
        return isMnemonicChar(caption[i]) && taken.find(asciiLower(caption[i])) == std::string::npos;
    };
    for (size_t i = 0; i < caption.size(); ++i)
        if ((i == 0 || caption[i - 1] == ' ') && free(i)) return i;
    for (size_t i = 0; i < caption.size(); ++i)
        if (free(i)) return i;
    return std::string::npos;
}

} // namespace

std::vector<std::string> withMnemonics(const std::vector<std::string>& captions, std::string& taken) {
    std::vector<std::string> out;
    out.reserve(captions.size());
    for (const std::string& caption : captions) {
        // A caption that brings its own (a translation's "&Datei") keeps it.
        size_t own = caption.find('&');
        while (own != std::string::npos && own + 1 < caption.size() && caption[own + 1] == '&')
            own = caption.find('&', own + 2);
        if (own != std::string::npos && own + 1 < caption.size() && isMnemonicChar(caption[own + 1])) {
            taken += asciiLower(caption[own + 1]);
            out.push_back(caption);
            continue;
        }
        const size_t at = mnemonicAt(caption, taken);
        std::string marked;
        for (size_t i = 0; i < caption.size(); ++i) {
            if (i == at) marked += '&';
            marked += caption[i];
            if (caption[i] == '&') marked += '&';
        }
        if (at != std::string::npos) taken += asciiLower(caption[at]);
        out.push_back(std::move(marked));
    }
    return out;
}

} // namespace velmo
