#include "playlist/CopyPlan.h"

#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "musicdb/MusicDatabase.h"
#include "playlist/DestinationCleanUp.h"
#include "playlist/DestinationFolder.h"
#include "settings/ProfileSettings.h"
#include "util/FloatText.h"
#include "util/IntConversion.h"

namespace velmo {

namespace {

bool isHardDiskImage(int image) { return image == iiHardDiskRoot || image == iiHardDisk; }

const TreeNode* diskOf(const TreeNode* node) {
    while (node->parent()) node = node->parent();
    return node;
}

bool decideLocalDrive(const CopyContext& c, CopyPlan& plan, const std::string& displayName) {
    const ConfirmOptions& o = c.settings.ConfirmOpts;
    const std::string& caption = c.messages[msgConfirmation26];
    if (o[ConfirmCopyFromHDD]) {
        if (!plan.LocalAsked) {
            plan.LocalAsked = true;
            plan.LocalAnswer = c.ui.askYesNo(caption, c.messages[msgCopyFromHDDQuestion], false);
        }
        return plan.LocalAnswer;
    }
    if (o[AutoCopy]) return true;
    if (o[AutoDontCopy]) return false;
    if (o[AskForEach])
        return c.ui.askYesNo(caption, replaceAll(c.messages[msgCopyFromDriveQuestion], "%name", displayName), false);
    return false;
}

} // namespace

std::vector<std::string> CopyPlan::copyListLines() const {
    std::vector<std::string> lines;
    lines.reserve(CopyList.size() * 2);
    for (const CopyItem& item : CopyList) {
        lines.push_back(item.DestName);
        lines.push_back(std::to_string(item.Size));
    }
    return lines;
}

std::vector<std::string> CopyPlan::diskPlanLines() const {
    std::vector<std::string> lines;
    lines.reserve(DiskPlan.size() * 5);
    for (const PlannedDisk& disk : DiskPlan) {
        lines.push_back(disk.name);
        lines.push_back(floatToText(disk.sizeMB));
        lines.push_back(std::to_string(disk.songCount + 1));
        lines.push_back(disk.isCD ? "IsCD" : "IsHard");
        lines.push_back(disk.doCopy ? "DoCopy" : "DoNotCopy");
    }
    return lines;
}

CopyPlan PrepareCopyData(const CopyContext& c) {
    CopyPlan plan;
    const Tree& tree = c.db.musicTree();
    for (size_t i = 0; i < tree.topLevelCount(); ++i)
        if (isHardDiskImage(tree.topLevel(i)->imageIndex())) ++plan.HardDiskCount;

    // A run is the songs of one disk, consecutive in the Music List (the songs of a disk are
    // together there, as in the tree, so the playlist songs in list order fall into the same runs;
    // a run without a playlist song plans nothing). Whether a disk is a local drive is read from
    // its own node rather than from its position among the runs, so a disk out of place cannot
    // shift the kinds of the disks after it.
    const TreeNode* runDisk = nullptr;
    double runMB = 0;
    int runCount = 0;
    size_t runFirst = 0;
    auto closeRun = [&] {
        if (runCount == 0) return;
        PlannedDisk disk;
        disk.name = diskDisplayName(runDisk->text());
        disk.parts = splitDiskText(runDisk->text());
        disk.sizeMB = roundHalfEven(runMB, 2);
        disk.songCount = runCount;
        disk.firstItem = runFirst;
        disk.isCD = !isHardDiskImage(runDisk->imageIndex());
        if (disk.isCD) {
            disk.doCopy = true;
        } else {
            const size_t lt = runDisk->text().find('<');
            disk.driveLetter = lt != std::string::npos && lt + 1 < runDisk->text().size() ? runDisk->text()[lt + 1] : 0;
            disk.doCopy = decideLocalDrive(c, plan, disk.name);
        }
        plan.DiskPlan.push_back(std::move(disk));
    };

    const std::vector<TDataRec*> songs = newPlaylistInListOrder(c.db);
    plan.CopyList.reserve(songs.size());
    for (TDataRec* rec : songs) {
        const TreeNode* disk = diskOf(rec->MusicNode);
        if (disk != runDisk && (!runDisk || disk->text() != runDisk->text())) {
            closeRun();
            runDisk = disk;
            runMB = 0;
            runCount = 0;
            runFirst = plan.CopyList.size();
        }
        runMB += rec->Size / 1048576.0;
        ++runCount;
        plan.CopyList.push_back({DestName(musicTreePath(rec->MusicNode)), rec->Size, rec});
    }
    closeRun();
    return plan;
}

} // namespace velmo
