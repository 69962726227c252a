// Runs every Qt Test case of the window front end in one application.
#include <QApplication>

namespace velmo::gui::test {
int runMainWindowViewsTest(int argc, char** argv);
int runStatusCommandsTest(int argc, char** argv);
int runKeyboardAndWheelTest(int argc, char** argv);
int runExitAndProfileTest(int argc, char** argv);
int runScreenshotTest(int argc, char** argv);
int runAddDiskFormTest(int argc, char** argv);
int runItemModelsTest(int argc, char** argv);
} // namespace velmo::gui::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    using namespace velmo::gui::test;
    int failed = 0;
    for (auto run : {runMainWindowViewsTest, runStatusCommandsTest, runKeyboardAndWheelTest, runExitAndProfileTest,
                     runScreenshotTest, runAddDiskFormTest, runItemModelsTest})
        failed += run(argc, argv);
    return failed == 0 ? 0 : 1;
}
