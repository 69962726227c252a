#include "settings/ProfileFile.h"

#include "util/IntConversion.h"
#include "util/TextLines.h"

namespace velmo {

namespace {

const char* word(bool value, const char* yes, const char* no) { return value ? yes : no; }

// The three-way groups: their first flag and their three words in flag order.
struct Group {
    ConfirmFlag first;
    const char* words[3];
};
constexpr Group kSaving{AutoSave, {"AutoSave", "AutoSaveAs", "AutoDontSave"}};
constexpr Group kCopying{AutoCopy, {"AutoCopy", "AutoDontCopy", "AskForEach"}};
constexpr Group kSkipping{AutoSkipDisk, {"AutoSkipDisk", "AutoSkipFile", "AutoSkipDiskAndFile"}};

std::string groupWord(const ConfirmOptions& o, const Group& g) {
    for (int i = 0; i < 2; ++i)
        if (o[g.first + i]) return g.words[i];
    return g.words[2];
}

void readGroup(ConfirmOptions& o, const Group& g, const std::string& line) {
    for (int i = 0; i < 3; ++i) o[g.first + i] = line == g.words[i];
}

} // namespace

std::vector<std::string> profileFileLines(const ProfileSettings& s) {
    const ConfirmOptions& o = s.ConfirmOpts;
    return {
        "[Path to DB]",
        // Reading takes one trailing backslash off (files of the Windows program end the path
        // with one); a path that really ends with one gets one more, so it reads back whole.
        s.PathToDB.ends_with('\\') ? s.PathToDB + '\\' : s.PathToDB,
        "[Size of DB]",
        std::to_string(s.SizeOfDB),
        "[Language]",
        s.Language,
        "[Extensions]",
        joinListLineTerminated(s.StdExtensions),
        "[User extensions]",
        joinListLine(s.UserExtensions),
        "[DBName]",
        s.DBName,
        "[GoodBehavior]",
        word(s.GoodCycle, "Cycle", "RemainUnUsed"),
        "[TreeView]",
        word(!s.SaveLastTree || s.MusicTreeVisible, "Standard", "Folders"),
        "[Confirmations]",
        word(o[ConfirmClose], "DoConfirmClose", "DoNotConfirmClose"),
        word(o[ConfirmSavingOnExit], "DoConfirmSavingOnExit", "DoNotConfirmSavingOnExit"),
        groupWord(o, kSaving),
        word(o[ConfirmLargePL], "DoConfirmLargePL", "DoNotConfirmLargePL"),
        word(o[ConfirmCopyFromHDD], "DoConfirmCopyFromHDD", "DoNotConfirmCopyFromHDD"),
        groupWord(o, kCopying),
        word(o[ConfirmSkip], "DoConfirmSkip", "DoNotConfirmSkip"),
        groupWord(o, kSkipping),
        word(o[ShowResultWnd], "DoShowResultWnd", "DoNotShowResultWnd"),
        word(o[ShowNoFilesWarn], "DoShowNoFilesWarn", "DoNotShowNoFilesWarn"),
        word(o[ConfirmDel], "DoConfirmDel", "DoNotConfirmDel"),
        word(o[ConfirmDiskDel], "DoConfirmDiskDel", "DoNotConfirmDiskDel"),
        "[GoodFixed]",
        word(s.GoodFixed, "IsFixed", "IsNotFixed"),
        std::to_string(s.GoodPercent),
        word(s.GoodOfPlayList, "OfPlayList", "OfAllGood"),
        "[Other]",
        word(s.FocusAfterDrag, "DoFocusAfterDrag", "DoNotFocusAfterDrag"),
        word(s.SaveLastTab, "DoSaveLastTab", "DoNotSaveLastTab"),
        std::to_string(s.ActiveTab),
        word(s.SaveLastTree, "DoSaveLastTree", "DoNotSaveLastTree"),
        word(s.AutoExpand, "DoAutoExpand", "DoNotAutoExpand"),
        word(s.AutoCloseAddDiskForm, "DoAutoCloseAddDiskForm", "DoNotAutoCloseAddDiskForm"),
        word(s.OnlyAfterDnD, "OnlyAfterDnD", "NotOnlyAfterDnD"),
        word(s.SilentAddingMode, "DoUseSilentAddingMode", "DoNotUseSilentAddingMode"),
        word(s.OnlyForHDDs, "OnlyForHDDs", "NotOnlyForHDDs"),
        "[Player]",
        word(s.BuiltInPlayer, "BuiltIn", "External"),
        std::to_string(s.PlayerConfigIndex),
        "[ShellExecute]",
        s.ShellCommand,
        word(s.PassDir, "DoPassDir", "DoNotPassDir"),
        word(s.OnlyIfFile, "OnlyIfFile", "NotOnlyIfFile"),
        word(s.ShowHints, "DoShowHints", "DoNotShowHints"),
        word(s.ShowTag, "DoShowTag", "DoNotShowTag"),
    };
}

std::vector<BadProfileLine> readProfileFileLines(ProfileSettings& s, const std::vector<std::string>& lines) {
    const size_t count = lines.size();
    std::vector<BadProfileLine> bad;
    // Line n, counted from 1, when the file has it.
    auto has = [&](size_t n) { return count >= n; };
    auto at = [&](size_t n) -> const std::string& { return lines[n - 1]; };
    auto value = [&](size_t n) { return has(n) && !at(n).empty(); };
    auto gated = [&](size_t header, const char* text) { return has(header + 1) && at(header) == text && !at(header + 1).empty(); };
    // One bad number costs only its own value.
    auto number = [&](size_t n, int32_t& target) {
        try {
            target = strToInt(at(n));
        } catch (const ConversionError& e) {
            bad.push_back({n, e.what()});
        }
    };

    if (has(2) && at(1) == "[Path to DB]") {
        s.PathToDB = at(2);
        if (!s.PathToDB.empty() && s.PathToDB.back() == '\\') s.PathToDB.pop_back();
    }
    if (gated(3, "[Size of DB]")) number(4, s.SizeOfDB);
    if (gated(5, "[Language]")) s.Language = at(6);
    if (gated(7, "[Extensions]")) s.StdExtensions = splitListLine(at(8));
    if (gated(9, "[User extensions]")) s.UserExtensions = splitListLine(at(10));
    if (gated(11, "[DBName]")) s.DBName = at(12);
    if (gated(13, "[GoodBehavior]")) s.GoodCycle = at(14) == "Cycle";
    if (gated(15, "[TreeView]")) s.MusicTreeVisible = at(16) == "Standard";

    if (has(18) && at(17) == "[Confirmations]") {
        ConfirmOptions& o = s.ConfirmOpts;
        struct FlagLine {
            size_t line;
            ConfirmFlag flag;
            const char* yes;
        };
        const FlagLine flags[] = {{18, ConfirmClose, "DoConfirmClose"},
                                  {19, ConfirmSavingOnExit, "DoConfirmSavingOnExit"},
                                  {21, ConfirmLargePL, "DoConfirmLargePL"},
                                  {22, ConfirmCopyFromHDD, "DoConfirmCopyFromHDD"},
                                  {24, ConfirmSkip, "DoConfirmSkip"},
                                  {26, ShowResultWnd, "DoShowResultWnd"},
                                  {27, ShowNoFilesWarn, "DoShowNoFilesWarn"},
                                  {28, ConfirmDel, "DoConfirmDel"},
                                  {29, ConfirmDiskDel, "DoConfirmDiskDel"}};
        const std::pair<size_t, const Group*> groups[] = {{20, &kSaving}, {23, &kCopying}, {25, &kSkipping}};
        for (size_t n = 18; n <= 29; ++n) {
            if (!value(n)) continue;
            for (const FlagLine& f : flags)
                if (f.line == n) o[f.flag] = at(n) == f.yes;
            for (const auto& [line, group] : groups)
                if (line == n) readGroup(o, *group, at(n));
        }
    }

    if (gated(30, "[GoodFixed]")) s.GoodFixed = at(31) == "IsFixed";
    if (value(32)) number(32, s.GoodPercent);
    if (value(33)) s.GoodOfPlayList = at(33) == "OfPlayList";
    if (gated(34, "[Other]")) s.FocusAfterDrag = at(35) == "DoFocusAfterDrag";
    if (value(36)) s.SaveLastTab = at(36) == "DoSaveLastTab";
    if (s.SaveLastTab && value(37)) number(37, s.ActiveTab);
    if (value(38)) s.SaveLastTree = at(38) == "DoSaveLastTree";
    if (value(39)) s.AutoExpand = at(39) == "DoAutoExpand";
    if (value(40)) s.AutoCloseAddDiskForm = at(40) == "DoAutoCloseAddDiskForm";
    if (value(41)) s.OnlyAfterDnD = at(41) == "OnlyAfterDnD";
    if (value(42)) s.SilentAddingMode = at(42) == "DoUseSilentAddingMode";
    if (value(43)) s.OnlyForHDDs = at(43) == "OnlyForHDDs";
    if (gated(44, "[Player]")) s.BuiltInPlayer = at(45) == "BuiltIn";
    if (value(46)) number(46, s.PlayerConfigIndex);
    if (gated(47, "[ShellExecute]")) s.ShellCommand = at(48);
    if (value(49)) s.PassDir = at(49) == "DoPassDir";
    if (value(50)) s.OnlyIfFile = at(50) == "OnlyIfFile";
    if (value(51)) s.ShowHints = at(51) == "DoShowHints";
    if (value(52)) s.ShowTag = at(52) == "DoShowTag";
    return bad;
}

} // namespace velmo
