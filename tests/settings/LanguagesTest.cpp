// Language files: the file a first start writes, applying a translation to every window text and
// message, short files, and the list of languages.
#include <gtest/gtest.h>

#include "SettingsTestUtil.h"
#include "app/Languages.h"
#include "app/Lifecycle.h"
#include "musicdb/Statistics.h"
#include "util/TextLines.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

class Languages : public SessionTest {
protected:
    std::string english() const { return path("Language/English.lng"); }
    // The English file with line k (from 1) replaced.
    std::vector<std::string> englishLinesWith(size_t line, const std::string& text) {
        std::vector<std::string> lines = splitLines(readFile(english()));
        lines.at(line - 1) = text;
        return lines;
    }
    size_t lineOf(const char* window, const char* component, TextRole role) {
        const size_t entry = session.texts.find(window, component, role);
        for (size_t line = 1; line <= TextTable::kLanguageLines; ++line)
            if (session.texts.entryOfLine(line) == entry) return line;
        ADD_FAILURE() << component;
        return 0;
    }
};

TEST_F(Languages, TheFirstStartWritesEnglishWithEveryTextThenEveryMessage) {
    ASSERT_TRUE(Startup(session, {}));
    const std::string text = readFile(english());
    const std::vector<std::string> lines = splitLines(text);
    ASSERT_EQ(lines.size(), 293u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    std::vector<std::string> expected = TextTable::english().languageLines();
    for (const std::string& m : MessageTable::english()) expected.push_back(m);
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines[0], "Music Data Base");
    EXPECT_EQ(FindLangFiles(session), (std::vector<std::string>{"English"}));
}

TEST_F(Languages, ATranslationReachesTwinsMessagesAndTheStatisticsAndIsWrittenBack) {
    ASSERT_TRUE(Startup(session, {}));
    std::vector<std::string> lines = englishLinesWith(lineOf("TMainForm", "BitBtnUsed", TextRole::Hint), "Gehört");
    lines[TextTable::kLanguageLines + msgStatsMusic] = "Musik: %na";
    lines[TextTable::kLanguageLines + msgSong] = "Lied";
    // As a Windows program would have written it: Windows-1252, LF only.
    std::string legacy;
    for (const std::string& l : lines) legacy += l + "\n";
    const size_t at = legacy.find("Gehört");
    legacy.replace(at, std::string("Gehört").size(), "Geh\xf6rt");
    writeFile(path("Language/german.lng"), legacy);

    ASSERT_TRUE(SetLanguage(session, "german"));
    EXPECT_EQ(session.settings.Language, "german");
    EXPECT_EQ(*session.texts.textOf("TMainForm", "BitBtnUsed3", TextRole::Hint), "Gehört");
    EXPECT_EQ(*session.texts.textOf("TMainForm", "ContextMenuItemUsed", TextRole::Hint), "Gehört");
    EXPECT_EQ(session.messages[msgSong], "Lied");
    EXPECT_EQ(statisticsLine(session.db.counters(), session.messages, 0), "Musik: 0");
    EXPECT_EQ(readFile(path("Language/german.lng")), joinLinesCrLf(lines)); // UTF-8, CR LF now
    EXPECT_EQ(FindLangFiles(session), (std::vector<std::string>{"English", "german"}));

    // A language without a file is English, whose file holds the English texts.
    ASSERT_TRUE(SetLanguage(session, "klingon"));
    EXPECT_EQ(session.settings.Language, "English");
    EXPECT_EQ(session.messages[msgSong], "Song");
}

TEST_F(Languages, AShortFileGivesTheListErrorAndStaysAsItIs) {
    ASSERT_TRUE(Startup(session, {}));
    std::vector<std::string> lines = englishLinesWith(1, "Musikdatenbank");
    lines[TextTable::kLanguageLines + msgSong] = "Lied";
    lines.resize(250);
    std::string lfOnly;
    for (const std::string& l : lines) lfOnly += l + "\n";
    writeFile(path("Language/short.lng"), lfOnly);

    EXPECT_FALSE(SetLanguage(session, "short"));
    ASSERT_EQ(ui.errors().size(), 1u);
    // The list error as it has always read, then which file it was and what that means.
    EXPECT_EQ(ui.errors()[0], "List index out of bounds (250)\nFile: \"" + path("Language/short.lng") +
                                  "\" has 250 lines of the 293 a language file holds; the texts after line 250 stay as "
                                  "they were.");
    EXPECT_EQ(*session.texts.textOf("TMainForm", "TabSheetMusicDB", TextRole::Caption), "Musikdatenbank");
    EXPECT_EQ(session.messages[msgSong], "Song");
    EXPECT_EQ(readFile(path("Language/short.lng")), lfOnly);
}

} // namespace
} // namespace velmo::test
