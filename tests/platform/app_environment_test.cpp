#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/app/ErrorSink.h"
#include "platform/app/MessageBox.h"
#include "platform/app/Path.h"
#include "platform/app/Version.h"
#include "platform/com/Error.h"

using namespace platform::app;

namespace {

class AppPath : public ::testing::Test {
protected:
    void TearDown() override { SetPath(""); }
};

class AppErrorSink : public ::testing::Test {
protected:
    void SetUp() override { ErrorSink::Instance().Clear(); }
    void TearDown() override { ErrorSink::Instance().Clear(); }
};

class AppMessageBox : public ::testing::Test {
protected:
    void SetUp() override { MessageBoxHandler::Instance().Clear(); }
    void TearDown() override { MessageBoxHandler::Instance().Clear(); }
};

template <class F>
TrappedError Describe(F&& f) {
    try {
        f();
    } catch (...) {
        return DescribeCurrentException("here");
    }
    return {};
}

}  // namespace

TEST_F(AppPath, DefaultIsTheComponentSourceFolder) {
    const auto source = std::filesystem::path(DTM_TEST_DATA_DIR).parent_path().parent_path();
    EXPECT_EQ(std::filesystem::path(Path()), source);
    EXPECT_EQ(std::filesystem::path(File("\\XMLData\\DTMInformation.xml")), source / "XMLData" / "DTMInformation.xml");
}

TEST_F(AppPath, FileMapsBackslashPathsOntoTheFolder) {
    SetPath("/opt/dtm/");
    EXPECT_EQ(Path(), "/opt/dtm");
    struct Case {
        std::string relative, expected;
    } const cases[] = {
        {"\\XMLData\\DTMInformation.xml", "/opt/dtm/XMLData/DTMInformation.xml"},
        {"XMLData\\RXD214.bmp", "/opt/dtm/XMLData/RXD214.bmp"},
        {"Resources/DTM.ini", "/opt/dtm/Resources/DTM.ini"},
        {"\\\\TraceInfoFile.txt", "/opt/dtm/TraceInfoFile.txt"},
        {"\\DTMHelp1033.chm", "/opt/dtm/DTMHelp1033.chm"},
        {"", "/opt/dtm"},
        {"\\", "/opt/dtm"},
    };
    for (const auto& c : cases) EXPECT_EQ(File(c.relative), c.expected) << c.relative;

    SetPath("/");
    EXPECT_EQ(File("\\a.txt"), "/a.txt");
}

TEST(AppVersion, IdentityConstants) {
    EXPECT_EQ(Version(), "1.1.14");
    EXPECT_EQ(ProjectName(), "RG38N226_4_07");
}

TEST_F(AppErrorSink, DescribesEveryKindOfException) {
    const auto raised = Describe([] { platform::com::Raise(13, "", "clsDataElement"); });
    EXPECT_EQ(raised.number, 13);
    EXPECT_EQ(raised.description, "Type mismatch");
    EXPECT_EQ(raised.source, "clsDataElement");
    EXPECT_EQ(raised.where, "here");

    const auto cpp = Describe([] { throw std::runtime_error("broken"); });
    EXPECT_EQ(cpp.number, kInternalErrorNumber);
    EXPECT_EQ(cpp.description, "broken");

    const auto other = Describe([] { throw 42; });
    EXPECT_EQ(other.number, kInternalErrorNumber);
    EXPECT_EQ(other.description, "Unknown exception");

    EXPECT_EQ(DescribeCurrentException("outside").number, kInternalErrorNumber);
    EXPECT_TRUE(ErrorSink::Instance().Empty());  // describing records nothing
}

TEST_F(AppErrorSink, RecordsInOrderUntilCleared) {
    auto& sink = ErrorSink::Instance();
    EXPECT_EQ(&sink, &ErrorSink::Instance());
    sink.Record({5, "src", "text", "trap"});
    try {
        platform::com::Raise(91);
    } catch (...) {
        EXPECT_EQ(sink.RecordCurrentException("dispatch").number, 91);
    }
    ASSERT_EQ(sink.Errors().size(), 2u);
    EXPECT_EQ(sink.Errors()[0].description, "text");
    EXPECT_EQ(sink.Errors()[1].where, "dispatch");
    sink.Clear();
    EXPECT_TRUE(sink.Empty());
}

TEST_F(AppMessageBox, DefaultAnswerIsTheDefaultButton) {
    struct Case {
        int buttons, answer;
    } const cases[] = {
        {0, kAnswerOK},    {48, kAnswerOK},        {52, kAnswerYes},     {292, kAnswerNo},
        {1, kAnswerOK},    {257, kAnswerCancel},   {2, kAnswerAbort},    {514, kAnswerIgnore},
        {3, kAnswerYes},   {515, kAnswerCancel},   {5, kAnswerRetry},    {261, kAnswerCancel},
        {768, kAnswerOK},  {516, kAnswerYes},      {15, kAnswerOK},      {64 + 4, kAnswerYes},
    };
    for (const auto& c : cases) EXPECT_EQ(MessageBoxHandler::DefaultAnswer(c.buttons), c.answer) << c.buttons;
}

TEST_F(AppMessageBox, ABoxWithOnlyOKTakesOnlyAScriptedOK) {
    auto& boxes = MessageBoxHandler::Instance();
    boxes.QueueAnswer(kAnswerYes);
    boxes.QueueAnswer(kAnswerOK);
    EXPECT_EQ(boxes.Show("Done", 0), kAnswerOK);      // no Yes on it: its own OK, the Yes waits
    EXPECT_EQ(boxes.Show("Careful", 48), kAnswerOK);
    EXPECT_EQ(boxes.Show("Go on?", 292), kAnswerYes);  // the Yes
    EXPECT_EQ(boxes.Show("Done", 0), kAnswerOK);      // the scripted OK
    EXPECT_TRUE(boxes.DropAnswers().empty());
}

TEST_F(AppMessageBox, AQuestionAnswerWaitsForAQuestion) {
    auto& boxes = MessageBoxHandler::Instance();
    boxes.QueueQuestionAnswer(kAnswerNo);
    EXPECT_EQ(boxes.Show("Done", 0), kAnswerOK);      // informs only: its own answer
    EXPECT_EQ(boxes.Show("Careful", 48), kAnswerOK);
    EXPECT_EQ(boxes.Show("Go on?", 52), kAnswerNo);   // the question takes it
    EXPECT_EQ(boxes.Show("Again?", 52), kAnswerYes);  // used up: the default again
    boxes.QueueQuestionAnswer(kAnswerYes);
    boxes.Clear();
    EXPECT_EQ(boxes.Show("Sure?", 292), kAnswerNo);
}

TEST_F(AppMessageBox, AnswersNoBoxTookCanBeDropped) {
    auto& boxes = MessageBoxHandler::Instance();
    boxes.QueueAnswer(kAnswerYes);
    boxes.QueueAnswer(kAnswerCancel);
    boxes.QueueQuestionAnswer(kAnswerYes);
    EXPECT_EQ(boxes.DropQuestionAnswers(), std::vector<int32_t>{kAnswerYes});
    EXPECT_EQ(boxes.DropAnswers(), (std::vector<int32_t>{kAnswerYes, kAnswerCancel}));
    EXPECT_TRUE(boxes.DropAnswers().empty());
    EXPECT_EQ(boxes.Show("Sure?", 292), kAnswerNo);  // the default button, no leftover
    EXPECT_EQ(boxes.Records().size(), 1u);
}

TEST_F(AppMessageBox, RecordsBoxesAndUsesScriptedAnswersFirst) {
    auto& boxes = MessageBoxHandler::Instance();
    boxes.QueueAnswer(kAnswerNo);
    boxes.QueueAnswer(kAnswerCancel);
    EXPECT_EQ(boxes.Show("Save?", 52), kAnswerNo);
    EXPECT_EQ(boxes.Show("Sure?", 292), kAnswerCancel);
    EXPECT_EQ(boxes.Show("Reset?", 292), kAnswerNo);
    EXPECT_EQ(boxes.Show("Done", 0), kAnswerOK);
    ASSERT_EQ(boxes.Records().size(), 4u);
    EXPECT_EQ(boxes.Records()[0].prompt, "Save?");
    EXPECT_EQ(boxes.Records()[0].buttons, 52);
    EXPECT_EQ(boxes.Records()[1].answer, kAnswerCancel);

    boxes.QueueAnswer(kAnswerYes);
    boxes.Clear();  // drops the script too
    EXPECT_TRUE(boxes.Records().empty());
    EXPECT_EQ(boxes.Show("Again?", 292), kAnswerNo);
}
