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

// Message numbers used by name in the code.
enum Msg : size_t {
    msgSaveDBAsTitle = 0,
    msgLoadDBTitle = 1,
    msgAddToDBTitle = 2,
    msgError = 13,
    msgConfirmation22 = 22,
    msgSaveQuestion = 25,
    msgConfirmation26 = 26,
    msgQuitQuestion = 39,
    msgModified = 40,
    msgDBFilter = 58,
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
};

} // namespace velmo
