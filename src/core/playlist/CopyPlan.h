#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/DiskPrompt.h"
#include "playlist/CopyContext.h"

namespace velmo {

struct TDataRec;

// One song to copy, in copy order.
struct CopyItem {
    std::string DestName;
    int32_t Size = 0; // bytes
    TDataRec* rec = nullptr;
};

// One disk with songs to copy, in copy order. Its songs are CopyList[firstItem] onwards.
struct PlannedDisk {
    std::string name;   // the display name, "D (L)"
    DiskNameParts parts; // its description and label
    double sizeMB = 0;  // the sum of its songs' sizes in MB, rounded to two decimals
    int songCount = 0;  // songs to copy from it (its plan line says one more)
    bool isCD = false;  // an optical disk, else a local drive
    bool doCopy = true; // false: a local drive whose songs stay where they are
    char driveLetter = 0; // a local drive's letter (from "Drive <C>"), 0 for optical disks
    size_t firstItem = 0;
};

// What a copy carries out: the songs by disk, each disk marked optical or local and to be copied
// or not.
struct CopyPlan {
    std::vector<CopyItem> CopyList;
    std::vector<PlannedDisk> DiskPlan;
    // Top-level disks of the music tree that are local drives.
    int HardDiskCount = 0;
    // The one question about local drives of this copy, and its answer.
    bool LocalAsked = false;
    bool LocalAnswer = false;

    int DisksTotal() const { return static_cast<int>(DiskPlan.size()); }

    // The plan as text lines: two per song (destination name, size in bytes) and five per disk
    // (display name; megabytes in the locale's number text; songs + 1; "IsCD" or "IsHard";
    // "DoCopy" or "DoNotCopy").
    std::vector<std::string> copyListLines() const;
    std::vector<std::string> diskPlanLines() const;
};

// The copy plan of the new playlist: the Music List walked in runs of one disk each, every song
// of the new playlist planned under its disk. A local drive's line asks the user, once for all of
// them with ConfirmCopyFromHDD, else by the chosen action (copy, don't, ask per drive).
CopyPlan PrepareCopyData(const CopyContext& context);

} // namespace velmo
