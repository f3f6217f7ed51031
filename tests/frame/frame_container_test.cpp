#include <gtest/gtest.h>

#include "frame/FrameContainer.h"
#include "platform/app/MessageBox.h"

using dtm::frame::FrameContainer;

TEST(FrameContainer, RecordsEventsInOrderWithTheirArguments) {
    auto frame = std::make_shared<FrameContainer>();
    platform::fdt::IDtmEvents& events = *frame;
    events.OnProgress("TAG1", "Upload", 50, true);
    events.OnProgress("TAG1", "Upload", 100, false);
    events.OnUploadFinished("TAG1", "ID-1", true);
    ASSERT_EQ(frame->Events().size(), 3u);
    EXPECT_EQ(frame->Events()[1].args, (std::vector<std::string>{"Upload", "100", "False"}));
    const auto finished = frame->EventsNamed("OnUploadFinished");
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished[0].systemTag, "TAG1");
    EXPECT_EQ(finished[0].args, (std::vector<std::string>{"ID-1", "True"}));
}

TEST(FrameContainer, RequestsAnswerAsScripted) {
    auto frame = std::make_shared<FrameContainer>();
    EXPECT_TRUE(frame->SaveRequest("TAG"));
    frame->closeAnswer = false;
    EXPECT_FALSE(frame->CloseRequest("ID"));
    EXPECT_EQ(frame->EventsNamed("CloseRequest").at(0).args.at(0), "ID");
}

TEST(FrameMessageBox, ScriptedAnswersThenDefaultButton) {
    auto& box = platform::app::MessageBoxHandler::Instance();
    box.Clear();
    box.QueueAnswer(7);
    EXPECT_EQ(box.Show("Overwrite?", 52), 7);
    EXPECT_EQ(box.Show("Overwrite?", 52), 6);
    EXPECT_EQ(box.Show("Note", 0), 1);
    EXPECT_EQ(box.Show("Delete?", 292), 7);
    EXPECT_EQ(box.Records().size(), 4u);
    box.Clear();
}

TEST(FrameContainer, KeepsOnlyItsLastEventsAndTheirPositions) {
    auto frame = std::make_shared<FrameContainer>();
    frame->KeepLast(2);
    for (int i = 0; i < 5; ++i) frame->OnProgress("TAG", "Upload", i, true);
    const auto& events = frame->Events();
    EXPECT_EQ(events.size(), 5u);  // positions count every event
    EXPECT_EQ(events.first(), 3u);
    EXPECT_EQ(events[3].args.at(1), "3");
    EXPECT_EQ(events.back().args.at(1), "4");
    EXPECT_EQ(std::distance(events.begin(), events.end()), 2);
    EXPECT_FALSE(frame->HasEventSince(0, "OnUploadFinished"));
    frame->OnUploadFinished("TAG", "ID", true);
    EXPECT_TRUE(frame->HasEventSince(5, "OnUploadFinished"));
    EXPECT_FALSE(frame->HasEventSince(6, "OnUploadFinished"));
}
