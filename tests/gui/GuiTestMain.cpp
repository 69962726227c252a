// The Qt Test classes of the window front end in one executable: `gui_tests CLASS [QTest
// options]` runs one class (ctest runs each as its own entry, with its own timeout);
// without a class name every class runs.
#include <QApplication>

#include <cstdio>
#include <cstring>
#include <vector>

namespace velmo::gui::test {
int runMainWindowViewsTest(int argc, char** argv);
int runStatusCommandsTest(int argc, char** argv);
int runKeyboardAndWheelTest(int argc, char** argv);
int runExitAndProfileTest(int argc, char** argv);
int runScreenshotTest(int argc, char** argv);
int runAddDiskFormTest(int argc, char** argv);
int runItemModelsTest(int argc, char** argv);
int runCopyWindowTest(int argc, char** argv);
int runSearchRenameDeleteTest(int argc, char** argv);
int runLanguageTextsTest(int argc, char** argv);
int runPlayNowWindowTest(int argc, char** argv);
int runOptionsWindowTest(int argc, char** argv);
} // namespace velmo::gui::test

namespace {

struct TestClass {
    const char* name;
    int (*run)(int argc, char** argv);
};

using namespace velmo::gui::test;
const TestClass kClasses[] = {
    {"MainWindowViewsTest", runMainWindowViewsTest}, {"StatusCommandsTest", runStatusCommandsTest},
    {"KeyboardAndWheelTest", runKeyboardAndWheelTest}, {"ExitAndProfileTest", runExitAndProfileTest},
    {"ScreenshotTest", runScreenshotTest},           {"AddDiskFormTest", runAddDiskFormTest},
    {"ItemModelsTest", runItemModelsTest},           {"CopyWindowTest", runCopyWindowTest},
    {"SearchRenameDeleteTest", runSearchRenameDeleteTest}, {"LanguageTextsTest", runLanguageTextsTest},
    {"PlayNowWindowTest", runPlayNowWindowTest},     {"OptionsWindowTest", runOptionsWindowTest},
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc > 1 && argv[1][0] != '-') {
        // QTest must not see the class name: it would take it for a test function.
        std::vector<char*> args(argv, argv + argc);
        args.erase(args.begin() + 1);
        for (const TestClass& c : kClasses)
            if (std::strcmp(c.name, argv[1]) == 0) return c.run(static_cast<int>(args.size()), args.data());
        std::fprintf(stderr, "gui_tests: no test class %s\n", argv[1]);
        return 2;
    }
    int failed = 0;
    for (const TestClass& c : kClasses) failed += c.run(argc, argv);
    return failed == 0 ? 0 : 1;
}
