// The cycle's group over the runtime's transaction group. Kept in a file of its
// own: only code that creates such groups links the runtime's group calls.
#include "pages/framework/CycleGroup.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmCommService.h"
#include "platform/rt/TransGrp.h"
#include "platform/rt/TransRequest.h"

namespace dtm {

namespace rt = platform::rt;

namespace {

class TransGrpCycleGroup : public ICycleGroup {
public:
    rt::TransGrp& Group() override { return *group_; }
    void InitGroup(const platform::P<rt::DTMContext>& ctx) override { group_->InitGroup(ctx); }
    void ReleaseGroup() override { group_->ReleaseGroup(); }
    int32_t CheckConnection() override { return group_->CheckConnection(); }
    bool IsBusy() override { return group_->IsBusy(); }
    int32_t ResetGroup() override { return group_->ResetGroup(); }
    int32_t Execute(const platform::P<rt::IPrivateProcess>& callback) override {
        return group_->Execute(callback, false, false);
    }
    std::vector<rt::El> RequestElements(const platform::P<rt::DTMContext>& ctx) override {
        std::vector<rt::El> elements;
        for (const auto& request : ctx->CommService()->GetRequests(group_->GroupInvokeId()))
            elements.push_back(request ? request->DataElement : nullptr);
        return elements;
    }

private:
    platform::P<rt::TransGrp> group_ = std::make_shared<rt::TransGrp>();
};

}  // namespace

platform::P<ICycleGroup> NewTransGrpCycleGroup() { return std::make_shared<TransGrpCycleGroup>(); }

}  // namespace dtm
