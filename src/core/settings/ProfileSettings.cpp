#include "settings/ProfileSettings.h"

namespace velmo {

ConfirmOptions SetDefaultConfirmOpts() {
    ConfirmOptions o{};
    for (ConfirmFlag f : {ConfirmClose, ConfirmSavingOnExit, AutoSave, ConfirmLargePL, ConfirmCopyFromHDD, AutoCopy,
                          ConfirmSkip, AutoSkipDisk, ShowResultWnd, ShowNoFilesWarn, ConfirmDel, ConfirmDiskDel})
        o[f] = true;
    return o;
}

std::string defaultDBName(const std::string& profile) { return "Profiles\\" + profile + "\\" + profile + ".vmdb"; }
std::string defaultPathToDB(const std::string& profile) { return "Profiles\\" + profile + "\\MusicBase"; }

ProfileSettings SetDefopts(const std::string& profile) {
    ProfileSettings s;
    s.PathToDB = defaultPathToDB(profile);
    s.DBName = defaultDBName(profile);
    return s;
}

} // namespace velmo
