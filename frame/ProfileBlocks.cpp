#include "frame/ProfileBlocks.h"

#include "blocks/DataModel_DevDir.h"
#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "blocks/DataModel_P3_PB.h"
#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "model/DataModelHelpers.h"
#include "model/clsDataElement.h"
#include "platform/rt/Parameters.h"

namespace dtm::frame {

void BuildProfileBlocks(const std::shared_ptr<platform::rt::DTMContext>& ctx) {
    auto& params = *ctx->Parameters();
    CreateDevDirModel(params);
    CreatePBBlockModel(0, ctx);
    CreateTBBlockModel(1, ctx);
    for (int16_t n = 1; n <= 8; ++n) {
        if (n == 4 || n == 8)
            CreateTOTBlockModel(n, platform::Variant(), ctx);
        else
            CreateAIBlockModel(n, ctx);
    }
    for (const auto& item : params) CalcSlotIndex(*std::dynamic_pointer_cast<clsDataElement>(item));
}

}  // namespace dtm::frame
