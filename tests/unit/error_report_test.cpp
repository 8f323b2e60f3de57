#include <gtest/gtest.h>

#include "setup/ui/error_report.h"
#include "tests/unit/setup_fixture.h"

namespace {

using testing_support::SetupFixture;

class ErrorReportTest : public SetupFixture {
protected:
    ErrorReportTest() {
        context = std::make_unique<setup::SetupContext>(windows.platform(), dialogs, false);
        context->state.productName = "Quillet Writer";
    }
};

TEST_F(ErrorReportTest, LastErrorZeroShowsOnlyTheFormattedMessage) {
    context->feedback.ReportError(0);
    ASSERT_EQ(windows.ui.shown.size(), 1u);
    EXPECT_EQ(windows.ui.shown[0].text, "Install Quillet Writer failed.");
    EXPECT_EQ(windows.ui.shown[0].caption, "Quillet Writer Setup");
    EXPECT_EQ(windows.ui.shown[0].buttons, platform::MessageBoxButtons::Ok);
    EXPECT_FALSE(windows.ui.shown[0].applicationBox);
}

TEST_F(ErrorReportTest, LastErrorFiveAddsTheSystemText) {
    context->feedback.ReportError(5);
    ASSERT_EQ(windows.ui.shown.size(), 1u);
    EXPECT_EQ(windows.ui.shown[0].text, "Install Quillet Writer failed.\nAccess is denied.\r\n");
}

TEST_F(ErrorReportTest, UnknownErrorCodeAddsNothing) {
    context->feedback.ReportError(987654);
    EXPECT_EQ(windows.ui.shown.at(0).text, "Install Quillet Writer failed.");
}

TEST_F(ErrorReportTest, SilentShowsAndLogsNothing) {
    context->state.silent = true;
    context->state.destinationFolder = "C:\\Program Files";
    context->feedback.PointErrorLogAt(context->state.destinationFolder);
    context->feedback.ReportError(5);
    EXPECT_TRUE(windows.ui.shown.empty());
    EXPECT_FALSE(windows.files.Exists(context->feedback.ErrorLogPath()));
}

TEST_F(ErrorReportTest, CaptionFollowsProductNameAndSuffix) {
    context->state.captionSuffix = " -";
    context->feedback.ReportError(0);
    context->state.productName.clear();
    context->state.captionSuffix.clear();
    context->feedback.ReportError(0);
    EXPECT_EQ(windows.ui.shown.at(0).caption, "Quillet Writer - Setup");
    EXPECT_EQ(windows.ui.shown.at(1).caption, " Setup");
    EXPECT_EQ(windows.ui.shown.at(1).text, "Install  failed.");
}

TEST_F(ErrorReportTest, LongProductNameAndSystemTextStayWithinTheMessageBuffer) {
    context->state.productName = std::string(263, 'P');
    windows.system.systemMessages[5] = std::string(400, 'e');
    context->feedback.ReportError(5);
    EXPECT_EQ(windows.ui.shown.at(0).text.size(), 255u);
    EXPECT_EQ(windows.ui.shown.at(0).text.substr(0, 8), "Install ");
}

TEST_F(ErrorReportTest, PercentInProductNameIsShownAsItIs) {
    context->state.productName = "100% %s %d Writer";
    context->feedback.ReportError(0);
    EXPECT_EQ(windows.ui.shown.at(0).text, "Install 100% %s %d Writer failed.");
}

TEST_F(ErrorReportTest, ErrorLogLinesAreAppendedWithCrLf) {
    windows.files.AddFolder("C:\\Dest");
    setup::AppendToErrorLog(windows.files, "C:\\Dest\\Error.log", "A");
    setup::AppendToErrorLog(windows.files, "C:\\Dest\\Error.log", "B");
    EXPECT_EQ(windows.files.Content("C:\\Dest\\Error.log"), std::string("A\r\nB\r\n"));
    // A later run adds after what is there.
    setup::AppendToErrorLog(windows.files, "C:\\Dest\\Error.log", "C");
    EXPECT_EQ(windows.files.Content("C:\\Dest\\Error.log"), std::string("A\r\nB\r\nC\r\n"));
}

TEST_F(ErrorReportTest, ErrorLogWithoutFolderOrPathWritesNothing) {
    setup::AppendToErrorLog(windows.files, "", "A");
    setup::AppendToErrorLog(windows.files, "C:\\Missing\\Error.log", "A");
    EXPECT_FALSE(windows.files.Exists("C:\\Missing\\Error.log"));
}

TEST_F(ErrorReportTest, ComposedFailureIsShownOrLoggedNeverBoth) {
    windows.files.AddFolder("C:\\Dest");
    context->state.destinationFolder = "C:\\Dest";
    context->feedback.PointErrorLogAt(context->state.destinationFolder);
    context->feedback.ReportFailure("Install Printer failed. - (Error 5)");
    ASSERT_EQ(windows.ui.shown.size(), 1u);
    EXPECT_TRUE(windows.ui.shown[0].applicationBox);
    EXPECT_FALSE(windows.files.Exists("C:\\Dest\\Error.log"));

    context->state.silent = true;
    context->feedback.ReportFailure("Install Printer failed. - (Error 5)");
    EXPECT_EQ(windows.ui.shown.size(), 1u);
    EXPECT_EQ(windows.files.Content("C:\\Dest\\Error.log"), std::string("Install Printer failed. - (Error 5)\r\n"));
}

}  // namespace
