#include "musicdb/TreeSearch.h"

#include <algorithm>
#include <unicode/ucasemap.h>


namespace velmo {

UpperCaser::UpperCaser(const std::string& icuLocale) {
    UErrorCode status = U_ZERO_ERROR;
    map_ = ucasemap_open(icuLocale.c_str(), 0, &status);
    if (U_FAILURE(status)) map_ = nullptr;
}

UpperCaser::~UpperCaser() {
    if (map_) ucasemap_close(map_);
}

std::string_view UpperCaser::upper(std::string_view text) {
    // ASCII in one pass; the first other byte hands the whole text to the locale's mapping.
    out_.resize(text.size());
    bool ascii = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
        out_[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    if (ascii) return out_;
    auto asciiOnly = [&] {
        out_.assign(text);
        for (char& c : out_)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return std::string_view(out_);
    };
    if (!map_) return asciiOnly();
    // Other scripts: the case mapping of the locale (German ß becomes SS, Turkish i İ), which
    // may make the text longer.
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        buffer_.resize(std::max(buffer_.size(), text.size() * 2 + 16));
        const int32_t length = ucasemap_utf8ToUpper(map_, buffer_.data(), static_cast<int32_t>(buffer_.size()),
                                                    text.data(), static_cast<int32_t>(text.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            buffer_.resize(static_cast<size_t>(length) + 1);
            continue;
        }
        if (U_FAILURE(status)) return asciiOnly();
        return std::string_view(buffer_.data(), static_cast<size_t>(length));
    }
}

TreeSearch::TreeSearch(const std::string& icuLocale) : upper_(icuLocale) {}

TreeSearch::~TreeSearch() { watch(nullptr); }

void TreeSearch::watch(const Tree* tree) {
    if (tree_ == tree) return;
    if (tree_) const_cast<Tree*>(tree_)->removeObserver(this);
    tree_ = tree;
    if (tree_) const_cast<Tree*>(tree_)->addObserver(this);
}

std::string TreeSearch::trimOuterStars(std::string text) {
    if (!text.empty() && text.front() == '*') text.erase(0, 1);
    if (!text.empty() && text.back() == '*') text.pop_back();
    return text;
}

std::vector<std::string> TreeSearch::splitWords(std::string_view text) {
    std::vector<std::string> words;
    size_t start = 0;
    for (;;) {
        const size_t star = text.find('*', start);
        words.emplace_back(upper_.upper(text.substr(start, star == std::string_view::npos ? star : star - start)));
        if (star == std::string_view::npos) return words;
        start = star + 1;
    }
}

bool TreeSearch::Satisfies(std::string_view upperText, const std::vector<std::string>& words) {
    if (words.empty()) return false;
    size_t previousEnd = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i].empty()) return false;
        const size_t at = upperText.find(words[i]);
        if (at == std::string_view::npos) return false;
        // Only first occurrences count: for "A" and "B", "BAB" fails.
        if (i > 0 && at < previousEnd) return false;
        previousEnd = at + words[i].size();
    }
    return true;
}

size_t TreeSearch::SearchInTree(const Tree& tree, std::vector<std::string> words) {
    watch(&tree);
    words_ = std::move(words);
    hits_.clear();
    stale_ = false;
    if (std::none_of(words_.begin(), words_.end(), [](const std::string& w) { return w.empty(); })) {
        tree.forEach([this](TreeNode* node, int) {
            if (Satisfies(upper_.upper(node->text()), words_)) hits_.push_back(node);
        });
    }
    return hits_.size();
}

void TreeSearch::refreshIfStale() {
    if (stale_ && tree_) SearchInTree(*tree_, std::move(words_));
}

const std::vector<const TreeNode*>& TreeSearch::hits() {
    refreshIfStale();
    return hits_;
}

bool TreeSearch::before(const TreeNode* a, const TreeNode* b) {
    // Compare the rows from the top down: the first ancestor level where the two paths part
    // decides; an ancestor comes before its descendants.
    auto pathOf = [](const TreeNode* n, std::vector<size_t>& rows) {
        rows.clear();
        for (; n; n = n->parent()) rows.push_back(n->row());
        std::reverse(rows.begin(), rows.end());
    };
    thread_local std::vector<size_t> pa, pb;
    pathOf(a, pa);
    pathOf(b, pb);
    return std::lexicographical_compare(pa.begin(), pa.end(), pb.begin(), pb.end());
}

const TreeNode* TreeSearch::next(const TreeNode* selected) {
    refreshIfStale();
    if (hits_.empty()) return nullptr;
    if (!selected) return hits_.front();
    auto it = std::upper_bound(hits_.begin(), hits_.end(), selected,
                               [](const TreeNode* s, const TreeNode* hit) { return before(s, hit); });
    return it == hits_.end() ? hits_.front() : *it;
}

const TreeNode* TreeSearch::previous(const TreeNode* selected) {
    refreshIfStale();
    if (hits_.empty()) return nullptr;
    if (!selected) return hits_.back();
    auto it = std::lower_bound(hits_.begin(), hits_.end(), selected,
                               [](const TreeNode* hit, const TreeNode* s) { return before(hit, s); });
    return it == hits_.begin() ? hits_.back() : *(it - 1);
}

} // namespace velmo
