// The one main of every test program: the application object on the offscreen platform, with
// the error box replaced by a recorder so that no test blocks on a modal window.
#include <gtest/gtest.h>

#include "tests/TestSupport.h"
#include "toolkit/TApplication.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    app.Title = "Quillet 3.1+";
    app.MessageBoxHook = [](const std::string& text, const std::string& caption) {
        ErrorBoxRecorder::Record(text, caption);
    };
    return RUN_ALL_TESTS();
}
