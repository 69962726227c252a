#include "base/MessageTable.h"

namespace velmo {

const std::array<std::string, MessageTable::kCount>& MessageTable::english() {
    static const std::array<std::string, kCount> table = {
        "Save music data base as...", // 0
        "Load music data base", // 1
        "Adding an existing music data base to the current one", // 2
        "<choose disk/folder>", // 3
        "<insert disk>", // 4
        "Adding a disk/folder to your music data base", // 5
        "Detecting disk label...", // 6
        "<no disk, please, check the device>", // 7
        "Choose folder...", // 8
        "Options", // 9
        "[ Adding is in progress, please, wait... ]", // 10
        "[done]", // 11
        "This profile name already exists, please, try another one.", // 12
        "Error", // 13
        "Copying files...", // 14
        "Your playlist size is greater than the music data base size specified in options. Start anyway ?", // 15
        "Notice", // 16
        "The substring is not found.", // 17
        "Information", // 18
        "Please, insert CD %name.", // 19
        "CD insertion", // 20
        "Are you sure you want to skip this disk ?", // 21
        "Confirmation", // 22
        "All operations completed.", // 23
        "Your playlist was saved to %name.", // 24
        "Do you want to save your music data base ?", // 25
        "Confirmation", // 26
        "Are you sure you want to abort ?", // 27
        "First you have to create a playlist. Press \"Make playlist\" button to do it.", // 28
        "Remain unused", // 29
        "Cycle", // 30
        "You have no more songs to create a new playlist. Reset music data base ?", // 31
        "You have heard all songs", // 32
        "Only your Favorites are going to be in the next playlist. Reset music data base ?", // 33
        "Only Just Goods are going to be in the next playlist. Reset music data base ?", // 34
        "The next playlist is going to consist only of your Favorites and Just Goods. Reset music data base ?", // 35
        "[ Applying changes to database, please, wait... ]", // 36
        "New profile", // 37
        "Drive", // 38
        "Quit the program right now ?", // 39
        "Modified", // 40
        "Do you want to copy files from local drives to the music DB directory ? If you press \"No\", playlist will point to the original paths of the files.", // 41
        "Save", // 42
        "Don't save", // 43
        "Copy from HDD also", // 44
        "Don't copy", // 45
        "Ask for each drive", // 46
        "a disk", // 47
        "a file", // 48
        "a disk or a file", // 49
        "Do you want to copy fles from the local drive %name ?", // 50
        "Are you sure you don't want to copy the file %name ?", // 51
        "Save as...", // 52
        "of playlist's size", // 53
        "of all Just Good files' size", // 54
        "The folder you have chosen doesn't contain files of required file types. It won't be added.", // 55
        " [Refreshing Just Good files, please, wait...]", // 56
        "Choose the application", // 57
        "Music data base files (*.vmdb)|*.vmdb", // 58
        "Applications (*.exe)|*.exe", // 59
        "PlayList", // 60
        "External player configuration", // 61
        "[%na total (%sa MB)] - [%nn unused (%sn MB), %nu used (%su MB), %np in playlist (%sp MB)]", // 62
        "[%na total (%sa MB)] - [%nb BlackListed (%sb MB)]", // 63
        "[%na total (%sa MB)] - [%np in playlist (%sp MB), %n_gp Just Good among them (%s_gp MB)]", // 64
        "[%na total (%sa MB)] - [%nf in Favorites (%sf MB)]", // 65
        "[%ng Just Good total (%sg MB)] - [%n_gn unused (%s_gn MB), %n_gu used (%s_gu MB), %n_gp in playlist (%s_gp MB)]", // 66
        "Music List", // 67
        "Playlist", // 68
        "Black List", // 69
        "Favorites", // 70
        "Just Good", // 71
        "of", // 72
        "Song", // 73
        "MB", // 74
        "Disk", // 75
        "KB", // 76
        "Shell execute configuration", // 77
        "Are you sure you want to delete the selected files ?", // 78
        "Are you sure you want to delete the selected files physically from disk ?", // 79
        "Confirm deleting", // 80
        "Artist:       ", // 81
        "Title:         ", // 82
        "Album:      ", // 83
        "Year:        ", // 84
        "Track:       ", // 85
        "Genre:      ", // 86
        "Reloading tags:", // 87
        "File size:   ", // 88
        "Comment:  ", // 89
        "Failed to read tag, seems that the file is unreadable.", // 90
        "Failed to read file content, The file might be corrupted.", // 91
        "File not found. It must has been replaced.", // 92
    };
    return table;
}

MessageTable::MessageTable() {
    const auto& builtIn = english();
    messages_.assign(builtIn.begin(), builtIn.end());
}

bool MessageTable::replaceAll(std::vector<std::string> messages) {
    if (messages.size() != kCount) return false;
    messages_ = std::move(messages);
    return true;
}

} // namespace velmo
