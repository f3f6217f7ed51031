// Every transferable element of a new instance's model codes into a
// transaction, and a written record reads back intact.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "BlockTestSupport.h"
#include "frame/ModelInstance.h"
#include "RecordingModel.h"
#include "core/services/ProjectHelpers.h"
#include "model/elements/clsDataElement.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/Parameters.h"
#include "platform/rt/Transaction.h"
#include "platform/rt/UserInfo.h"

namespace dtm {
namespace {

using platform::P;
using platform::Variant;
using platform::rt::Transaction;

constexpr int32_t kCommunicationAndResponseBits = 0x00FF0000;

class AllProfileBlocks : public ::testing::Test {
protected:
    void SetUp() override { ctx->UserInfo()->UserLevel(4); }

    std::vector<P<clsDataElement>> Elements() const {
        std::vector<P<clsDataElement>> out;
        for (const auto& el : *ctx->Parameters()) out.push_back(std::dynamic_pointer_cast<clsDataElement>(el));
        return out;
    }

    // Change notices are recorded, not dispatched: the change dispatch is not under test.
    P<testing::RecordingModel> model = std::make_shared<testing::RecordingModel>();
    P<platform::rt::DTMContext> ctx = frame::NewModelInstance(model).ctx;
};

TEST_F(AllProfileBlocks, EveryUploadableElementCodesARead) {
    int reads = 0;
    for (const auto& el : Elements()) {
        if (!el->IsUploadParam(ctx)) continue;
        auto trans = std::make_shared<Transaction>();
        ASSERT_TRUE(model->BuildTransactionRequest(ctx, trans, false, el)) << el->Name;
        EXPECT_EQ(platform::com::CLng(trans->TransSlot()), el->Slot) << el->Name;
        EXPECT_EQ(platform::com::CLng(trans->TransIndex()), el->index) << el->Name;
        ++reads;
    }
    EXPECT_GT(reads, 250);
}

TEST_F(AllProfileBlocks, EveryDownloadableElementCodesAWriteThatReadsBack) {
    int writes = 0;
    for (const auto& el : Elements()) {
        if (!el->IsDownloadParam(ctx)) continue;
        SCOPED_TRACE(el->Name);
        const Variant written = el->TransientValue;
        auto request = std::make_shared<Transaction>();
        ASSERT_TRUE(model->BuildTransactionRequest(ctx, request, true, el));
        ++writes;

        // The device answers a read of the same address with the bytes just written.
        auto answer = std::make_shared<Transaction>();
        answer->TransSlot(request->TransSlot());
        answer->TransIndex(request->TransIndex());
        answer->TransData(request->TransData());
        ASSERT_TRUE(model->ReadTransactionResponse(ctx, answer, false, el));
        EXPECT_EQ(el->StatusFlags() & kCommunicationAndResponseBits, 0);
        // A value shown in another unit than the device's is converted on the way.
        if (el->ValueType != 0 && !written.IsEmpty() && el->nTransientUnit == el->nDeviceUnit) {
            // A visible string comes back without its trailing blanks.
            const Variant expected =
                written.IsString() ? Variant(platform::com::vb::RTrim(written.StrRef())) : written;
            EXPECT_TRUE(IsSameValue(el->DeviceValue, expected))
                << platform::com::TypeName(written) << " [" << platform::com::CStr(written) << "] ["
                << platform::com::CStr(el->DeviceValue) << "]";
        }
    }
    EXPECT_GT(writes, 100);
}

TEST_F(AllProfileBlocks, NoTwoPathsDifferOnlyInCaseAndAddressesAreSet) {
    std::set<std::string> lowered;
    for (const auto& el : Elements()) {
        std::string lower = el->Name;
        for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(lowered.insert(lower).second) << el->Name;
        if ((el->ElementMode & 0x3) != 0 && el->DataPosition >= 0) {
            EXPECT_GE(el->Slot, 0) << el->Name;
            EXPECT_GE(el->index, 0) << el->Name;
        }
    }
}

}  // namespace
}  // namespace dtm
