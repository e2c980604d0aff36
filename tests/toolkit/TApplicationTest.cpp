#include <gtest/gtest.h>

#include "platform/system/Exception.h"
#include "tests/TestSupport.h"
#include "toolkit/Events.h"
#include "toolkit/TApplication.h"

TEST(TApplication, ErrorBoxTextAppendsFullStopAfterCharactersAboveIt) {
    EXPECT_EQ(TApplication::ErrorBoxText("File not found"), "File not found.");
    EXPECT_EQ(TApplication::ErrorBoxText("I/O error 21"), "I/O error 21.");
    EXPECT_EQ(TApplication::ErrorBoxText("Really?"), "Really?.");
    EXPECT_EQ(TApplication::ErrorBoxText("Colon:"), "Colon:.");
    EXPECT_EQ(TApplication::ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(TApplication::ErrorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(TApplication::ErrorBoxText("(x)"), "(x)");
    EXPECT_EQ(TApplication::ErrorBoxText("a,"), "a,");
    EXPECT_EQ(TApplication::ErrorBoxText("trailing "), "trailing ");
    EXPECT_EQ(TApplication::ErrorBoxText(""), "");
}

TEST(TApplication, SafeCallReportsEscapingErrorsWithTitleAndCarriesOn) {
    ErrorBoxRecorder::Take();
    bool after = false;
    SafeCall([] { throw EInOutError("I/O error 21", 21); });
    SafeCall([] { throw EAbort("silent"); });
    SafeCall([&] { after = true; });
    auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "I/O error 21.");
    EXPECT_EQ(boxes[0].Caption, "Quillet 3.1+");
    EXPECT_TRUE(after);
}
