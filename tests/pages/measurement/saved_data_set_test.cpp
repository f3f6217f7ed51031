// A saved data set watched online and read again: the modified mark, and
// with it the frame's save request at the release, follows what the data set
// keeps. Live values that the windows read cyclically, and device answers
// equal to the settings held, leave it clear; a setting the device changed
// marks it.
#include "MeasurementFixture.h"
#include "platform/com/PropertyBag.h"

namespace {

namespace com = platform::com;

class SavedDataSet : public dtm::testing::MeasurementFixture {
protected:
    void Save() {
        com::PropertyBag bag;
        ASSERT_TRUE(frame->Session().Save(bag));
        ASSERT_FALSE(Params().Modified());
    }
    // The frame's release of the instance; how many save requests it brought.
    size_t SaveRequestsAtRelease() {
        const auto& container = frame->Session().Container();
        const size_t before = container->EventsNamed("SaveRequest").size();
        EXPECT_TRUE(frame->Session().IDtm().IDtm_PrepareToRelease());
        return container->EventsNamed("SaveRequest").size() - before;
    }
};

TEST_F(SavedDataSet, WatchingAWindowOnlineLeavesItUnmarked) {
    // Measured values, outputs, operating hours and diagnosis change while they
    // are watched; the online window also reads the service code back as blanks.
    for (const int32_t function : {7, 5, 71, 10}) {
        SCOPED_TRACE(function);
        if (function != 7) {
            TearDown();
            Start();
        }
        GoOnline();
        Save();
        const auto session = frame->Open(function);
        ASSERT_NE(session, nullptr);
        const size_t from = LogSize();
        Advance(10 * 1000 + 500);
        EXPECT_GT(Transactions(from).size(), 20u);  // the window read cyclically
        EXPECT_TRUE(frame->Close(*session));
        EXPECT_FALSE(Params().Modified());
        EXPECT_NE(com::CLng(El("~/DataStatus").TransientValue), 2);  // not "changed"
        EXPECT_EQ(SaveRequestsAtRelease(), 0u);
    }
}

TEST_F(SavedDataSet, AnUploadMarksItWhenTheDeviceChangedASetting) {
    struct Case {
        const char* name;
        const char* tag;  // set in the device before the second upload (nullptr: none)
        bool marks;
    };
    const Case cases[] = {{"SameSettings", nullptr, false}, {"NewTag", "FT-202", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            TearDown();
            Start();
        }
        GoOnline();
        Save();
        Advance(5000);  // the measured values move on
        if (c.tag) {
            ASSERT_TRUE(frame->Device().SetValue("PHYS/TAG_DESC", c.tag));
        }
        ASSERT_TRUE(frame->Session().Upload().ok);
        EXPECT_EQ(Params().Modified(), c.marks);
        EXPECT_EQ(SaveRequestsAtRelease(), c.marks ? 1u : 0u);
    }
}

}  // namespace
