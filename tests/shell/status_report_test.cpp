#include <cstring>

#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tests/support/engine_fixture.h"

namespace {

using StatusReportTest = EngineTest;

const char kUnregisteredMessage[] =
    "Unable to start Corvane.\n\nError: UNREGISTERED\n\nUnregistered error with Corvane. Please "
    "report.";

TEST_F(StatusReportTest, NewEngineHasNoInitAndUnsetRequest) {
    EXPECT_EQ(Corvane.GetStatus(), NO_INIT);
    EXPECT_EQ(Corvane.requestedWidth, -1);
    EXPECT_EQ(Corvane.requestedHeight, -1);
    EXPECT_EQ(Corvane.addTable, nullptr);
    EXPECT_EQ(Corvane.soundCount, 0);
    EXPECT_EQ(Corvane.soundCapacity, 0);
    EXPECT_EQ(Corvane.keyCount, 0);
    EXPECT_EQ(Corvane.active, 0);
}

TEST_F(StatusReportTest, CodesWithoutTextAndOutOfRangeGiveTheUnregisteredReport) {
    for (int code : {2, 4, 6, 8, 10, 12, 14, 16, 18, 19, 20, 34, -1}) {
        SCOPED_TRACE(code);
        headless::ClearMessageBoxes();
        Corvane.status = code;
        Corvane.ReportError();
        ASSERT_EQ(headless::MessageBoxes().size(), 1u);
        const auto& box = headless::MessageBoxes()[0];
        EXPECT_EQ(box.text, kUnregisteredMessage);
        EXPECT_EQ(box.caption, "Corvane");
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK));
        EXPECT_EQ(Corvane.GetStatus(), code) << "the report changes no field";
    }
    const std::string log = ReadDebugLog();
    EXPECT_EQ(log.find("Corvane Error: UNREGISTERED\n"), 0u);
}

TEST_F(StatusReportTest, NoInitReportNamesTheInitializeCall) {
    Corvane.ReportError();
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text,
              "Unable to start Corvane.\n\nError: NO_INIT (User did not initialize Corvane)\n\n"
              "You must start Corvane by calling:\n  Corvane.Initialize (fullscreen, xres, yres)"
              "\n\nfrom the initialize() function. See documentation for starting Corvane.");
    EXPECT_EQ(ReadDebugLog(), "Corvane Error: NO_INIT (User did not initialize Corvane)\n  ");
}

TEST_F(StatusReportTest, EveryFailureCodeHasItsTitleAndTextThatFitTheBuffers) {
    const int failures[] = {0,  1,  3,  5,  7,  9,  11, 13, 15, 17, 21, 22,
                            23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33};
    for (int code : failures) {
        SCOPED_TRACE(code);
        const StatusReport report = ReportFor(code);
        EXPECT_STRNE(report.title, "Error: UNREGISTERED");
        EXPECT_LT(std::strlen(report.title), 100u);
        EXPECT_LT(std::strlen(report.text), 300u);
        headless::ClearMessageBoxes();
        Corvane.RaiseError(code);
        EXPECT_EQ(Corvane.GetStatus(), code);
        ASSERT_EQ(headless::MessageBoxes().size(), 1u);
        EXPECT_EQ(headless::MessageBoxes()[0].text, std::string("Unable to start Corvane.\n\n") +
                                                        report.title + "\n\n" + report.text);
    }
}

TEST_F(StatusReportTest, TitlesAreShownExactlyAsTheEngineAlwaysHad) {
    EXPECT_STREQ(ReportFor(32).title, "Error: SOUNDPARAM_FAIL (Direct Sound needs Priority Level");
    EXPECT_STREQ(ReportFor(31).title, "Error: SOUNDPARAM_FAIL (Direct Sound Invalid Parameter.");
    EXPECT_STRNE(ReportFor(31).text, ReportFor(32).text);
    EXPECT_STREQ(ReportFor(24).title,
                 "Error: SOUNDCOOP_FAILED (Unable to set Direct Sound Cooperative Level");
    EXPECT_STREQ(ReportFor(22).title, "Error: BPP_FAILED (Screen depth not supported)");
    EXPECT_STREQ(ReportFor(1).text, ReportFor(7).text);
    EXPECT_STREQ(ReportFor(9).text, ReportFor(17).text);
    EXPECT_NE(std::strstr(ReportFor(26).text, "Edit WAV files accordinging."), nullptr);
}

TEST_F(StatusReportTest, ReportLogsTitleLineAfterEachOther) {
    Corvane.RaiseError(IMAGEUSE_FAILED);
    Corvane.RaiseError(REQSIZE_FAILED);
    EXPECT_EQ(ReadDebugLog(),
              "Corvane Error: IMAGEUSE_FAILED (Image used incorrectly)\n"
              "  Corvane Error: REQSIZE_FAILED (Requested size too large)\n  ");
}

}  // namespace
