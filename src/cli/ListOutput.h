#pragma once
#include <iosfwd>

namespace velmo {
class ItemList;
class Tree;
} // namespace velmo

namespace velmo::cli {

// "IMAGE TAB CAPTION" for every item of a list, in list order.
void writeListLines(std::ostream& out, const ItemList& list);
// "TABS TEXT TAB IMAGE" for every node of a tree in tree order, one TAB per level below the top.
void writeTreeLines(std::ostream& out, const Tree& tree);

} // namespace velmo::cli
