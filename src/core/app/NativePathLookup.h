#pragma once
#include <string>
#include <vector>

namespace velmo {

struct Session;
class TreeNode;

// The music-tree nodes that an absolute native path stands for: the path is placed on its drive
// through the drive table ("/srv/music/Pop" -> "M:\Pop"), then looked up below every disk of
// that drive (a local drive's "Drive <M> /LABEL/", or for an optical drive the disk whose label
// is in it now). The drive's root gives the disk itself. Empty when no drive holds the path or
// nothing is catalogued there.
std::vector<TreeNode*> nodesOfNativePath(Session& s, const std::string& nativePath);

} // namespace velmo
