#pragma once
#include <array>
#include <string>
#include <vector>

namespace velmo {

// The 93 run-time texts of the program, numbered from 0. A language file replaces the whole
// table, so texts are looked up here each time they are shown.
class MessageTable {
public:
    static constexpr size_t kCount = 93;

    MessageTable();
    // The text of message `index`; an index out of range gives an empty text.
    const std::string& operator[](size_t index) const {
        static const std::string none;
        return index < messages_.size() ? messages_[index] : none;
    }
    // Replaces every message at once; refused (false) unless exactly kCount are given.
    bool replaceAll(std::vector<std::string> messages);
    const std::vector<std::string>& all() const { return messages_; }

    // The built-in English table.
    static const std::array<std::string, kCount>& english();

private:
    std::vector<std::string> messages_;
};

// Every message by its meaning; the number is its line in the message part of a language file.
enum Msg : size_t {
    msgSaveDBAsTitle = 0,
    msgLoadDBTitle = 1,
    msgAddToDBTitle = 2,
    msgChooseDiskFolder = 3,
    msgInsertDisk = 4,
    msgAddDiskCaption = 5,
    msgDetectingLabel = 6,
    msgNoDisk = 7,
    msgChooseFolderCaption = 8,
    msgOptionsCaption = 9,
    msgAddingInProgress = 10,
    msgDone = 11,
    msgProfileExists = 12,
    msgError = 13,
    msgCopyingCaption = 14,
    msgPlaylistTooLarge = 15,
    msgNotice = 16,
    msgSubstringNotFound = 17,
    msgInformation = 18,
    msgInsertCDQuestion = 19,
    msgCDInsertion = 20,
    msgSkipDiskQuestion = 21,
    // Two entries with the same English text, "Confirmation": a translation may tell them apart.
    msgConfirmation22 = 22, // the caption of the quit and skip questions
    msgAllCompleted = 23,
    msgPlaylistSaved = 24,
    msgSaveQuestion = 25,
    msgConfirmation26 = 26, // the caption of the save question
    msgAbortQuestion = 27,
    msgNoPlaylistYet = 28,
    msgGoodRemainUnused = 29,
    msgGoodCycle = 30,
    msgNoMoreSongs = 31,
    msgHeardAllSongs = 32,
    msgOnlyFavoritesLeft = 33,
    msgOnlyJustGoodLeft = 34,
    msgOnlyFavoritesAndJustGoodLeft = 35,
    msgApplyingChanges = 36,
    msgNewProfile = 37,
    msgDrive = 38,
    msgQuitQuestion = 39,
    msgModified = 40,
    msgCopyFromHDDQuestion = 41,
    msgSave = 42,
    msgDontSave = 43,
    msgCopyFromHDDAlso = 44,
    msgDontCopy = 45,
    msgAskForEachDrive = 46,
    msgSkipADisk = 47,
    msgSkipAFile = 48,
    msgSkipADiskOrAFile = 49,
    msgCopyFromDriveQuestion = 50,
    msgDontCopyFileQuestion = 51,
    msgSaveAs = 52,
    msgOfPlaylistSize = 53,
    msgOfAllJustGoodSize = 54,
    msgFolderHasNoFiles = 55,
    msgRefreshingJustGood = 56,
    msgChooseApplication = 57,
    msgDBFilter = 58,
    msgApplicationFilter = 59,
    msgPlayListName = 60,
    msgExPlayerConfig = 61,
    msgStatsMusic = 62,
    msgStatsBlack = 63,
    msgStatsPlayList = 64,
    msgStatsFavorites = 65,
    msgStatsJustGood = 66,
    msgTabMusicList = 67,
    msgTabPlayList = 68,
    msgTabBlackList = 69,
    msgTabFavorites = 70,
    msgTabJustGood = 71,
    msgOf = 72,
    msgSong = 73,
    msgMB = 74,
    msgDisk = 75,
    msgKB = 76,
    msgShellExConfig = 77,
    msgDeleteQuestion = 78,
    msgDeleteFromDiskQuestion = 79,
    msgConfirmDeleting = 80,
    msgHintArtist = 81,
    msgHintTitle = 82,
    msgHintAlbum = 83,
    msgHintYear = 84,
    msgHintTrack = 85,
    msgHintGenre = 86,
    msgReloadingTags = 87,
    msgHintFileSize = 88,
    msgHintComment = 89,
    msgTagUnreadable = 90,
    msgFileUnreadable = 91,
    msgFileNotFound = 92,
};
static_assert(msgFileNotFound + 1 == MessageTable::kCount);

} // namespace velmo
