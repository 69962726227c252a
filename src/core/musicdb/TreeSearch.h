#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "musicdb/Tree.h"

struct UCaseMap; // ICU

namespace velmo {

// Upper-casing of node texts with the rules of a locale, for comparisons that ignore case.
// Keeps its buffers between calls, so upper-casing every name of a large tree allocates
// nothing per name.
class UpperCaser {
public:
    explicit UpperCaser(const std::string& icuLocale = {});
    ~UpperCaser();
    UpperCaser(const UpperCaser&) = delete;
    UpperCaser& operator=(const UpperCaser&) = delete;
    // `text` (UTF-8) in upper case; valid until the next call.
    std::string_view upper(std::string_view text);

private:
    ::UCaseMap* map_ = nullptr;
    std::string out_;
    std::string buffer_;
};

// The search of the trees: one substring, or several separated by "*" that must occur in that
// order, found in node texts whatever their case.
class TreeSearch : private TreeObserver {
public:
    explicit TreeSearch(const std::string& icuLocale = {});
    ~TreeSearch() override;
    TreeSearch(const TreeSearch&) = delete;
    TreeSearch& operator=(const TreeSearch&) = delete;

    // The search field's text with one leading and then one trailing "*" removed.
    static std::string trimOuterStars(std::string text);
    // The words of a search text, split at every "*" (two adjacent stars give an empty word),
    // upper-cased.
    std::vector<std::string> splitWords(std::string_view text);
    // Whether an upper-cased node text holds the words: each first occurrence starting at or
    // after the end of the previous word's first occurrence. An empty word matches nothing.
    static bool Satisfies(std::string_view upperText, const std::vector<std::string>& words);

    // Collects the nodes of `tree` whose texts hold the words, in the tree's order (each node
    // before its children, collapsed branches included). Returns the number of hits.
    size_t SearchInTree(const Tree& tree, std::vector<std::string> words);

    // The hit after (before) `selected` in tree order, wrapping around at the end (start); the
    // first (last) hit when nothing is selected; nullptr without hits. When the tree changed
    // since the search, the hits are looked for again first, so a hit is never a node that has
    // gone.
    const TreeNode* next(const TreeNode* selected);
    const TreeNode* previous(const TreeNode* selected);

    const std::vector<const TreeNode*>& hits();
    const std::vector<std::string>& SearchWords() const { return words_; }

    // True when `a` comes before `b` in the tree's order.
    static bool before(const TreeNode* a, const TreeNode* b);

private:
    void refreshIfStale();
    void watch(const Tree* tree);
    void markStale() { stale_ = true; }
    // Any change of the tree's shape may leave a hit pointing at a node that went, or out of
    // order; renamed texts may match differently.
    void beginInsert(TreeNode*, size_t, size_t) override { markStale(); }
    void beginRemove(TreeNode*, size_t, size_t) override { markStale(); }
    void beginMove(TreeNode*, size_t, size_t) override { markStale(); }
    void nodeChanged(TreeNode*, ChangedRoles roles) override {
        if (roles & TextChanged) markStale();
    }
    void beginReset() override { markStale(); }

    UpperCaser upper_;
    const Tree* tree_ = nullptr;
    std::vector<std::string> words_;
    std::vector<const TreeNode*> hits_;
    bool stale_ = false;
};

} // namespace velmo
