// clsFunctionMan: the documentation document of a function call. The elements
// that the function's page shows are marked with one ElementMode bit (16 to
// 27), the runtime's builder writes the marked elements, and every element's
// bits 16 to 31 are given back what they held before, however the call ends.
#include <cstdint>
#include <vector>

#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "blocks/DataModel_P3_TB_Coriolis.h"
#include "core/dtm/IPrivateNavigation.h"
#include "core/dtm/clsFunctionMan.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/Collection.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DocumentationBuilder.h"
#include "platform/rt/DtmFunctionCall.h"
#include "platform/rt/DtmRuntimeGlobal.h"
#include "platform/rt/Parameters.h"

namespace dtm {

using platform::P;
using platform::Variant;
using platform::com::Deref;

namespace {

constexpr int32_t kLowModeBits = 0xFFFF;

int32_t Bit(int n) { return static_cast<int32_t>(1u << n); }

// The mark of a function call: by its numeric argument (bit 16 + n), else by its function id.
int32_t DocumentationMask(const platform::rt::DtmFunctionCall& call) {
    const Variant argument = call.Argument();
    if (!argument.IsEmpty() && platform::com::IsNumeric(argument)) {
        double n = 0;
        try {
            n = platform::com::CDbl(argument);
        } catch (const platform::com::ComError&) {
            return 0;
        }
        return n >= 0 && n <= 11 && n == static_cast<int32_t>(n) ? Bit(16 + static_cast<int>(n)) : 0;
    }
    switch (call.FunctionId()) {
        case 1: return Bit(25);
        case 2: return Bit(21);
        case 4: case 7: case 71: return Bit(23);
        case 5: return Bit(20);
        case 10: return Bit(27);
        default: return 0;
    }
}

std::string WithoutFinalSlash(std::string prefix) {
    if (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
    return prefix;
}

bool IsTotaliser(int block) { return block == 4 || block == 8; }

// Every element's ElementMode bits 16 to 31, given back when the call ends.
class ModeMarks {
public:
    explicit ModeMarks(platform::rt::Parameters& params) {
        saved_.reserve(static_cast<size_t>(params.Count()));
        for (const auto& el : params) saved_.emplace_back(el, el->ElementMode() & ~kLowModeBits);
    }
    ~ModeMarks() {
        for (const auto& [el, high] : saved_) {
            try {
                const int32_t mode = el->ElementMode();
                if ((mode & ~kLowModeBits) != high) el->ElementMode((mode & kLowModeBits) | high);
            } catch (...) {
            }
        }
    }
    ModeMarks(const ModeMarks&) = delete;
    ModeMarks& operator=(const ModeMarks&) = delete;

private:
    std::vector<std::pair<platform::rt::El, int32_t>> saved_;
};

// Marks the element at the path; a path that names no element is skipped.
void Mark(platform::rt::Parameters& params, const std::string& path, int32_t mask) {
    if (auto el = params.Find(path)) el->ElementMode(el->ElementMode() | mask);
}

void MarkTag(platform::rt::Parameters& params, const std::string& tag, int32_t mask) {
    using platform::com::vb::Replace;
    const bool perBlock = tag.find("%d") != std::string::npos;
    const bool byPrefix = tag.find("%blk") != std::string::npos;
    if (!perBlock && !byPrefix) {
        Mark(params, tag, mask);
        return;
    }
    int32_t selector = 1;
    try {
        selector = platform::com::CLng(params.Item("PHYS/IDENT_NUMBER_SELECTOR")->TransientValue());
    } catch (const platform::com::ComError&) {
    }
    const int blocks = selector == 0 ? 4 : 8;
    for (int i = 1; i <= blocks; ++i) {
        const auto n = static_cast<int16_t>(i);
        std::string path = Replace(tag, "%d", std::to_string(i));
        path = Replace(path, "%ch", IsTotaliser(i) ? "TOT" : "AI");
        path = Replace(path, "%blk", WithoutFinalSlash(IsTotaliser(i) ? GetTOTBlockPrefix(n) : GetAIBlockPrefix(n)));
        Mark(params, path, mask);
    }
    if (byPrefix) {
        Mark(params, Replace(tag, "%blk", "PHYS"), mask);
        Mark(params, Replace(tag, "%blk", WithoutFinalSlash(GetTBBlockPrefix(1))), mask);
    }
}

// Marks what the page of the program id shows; a page that cannot be created
// or lists no controls marks nothing.
void MarkPageElements(platform::rt::Parameters& params, const std::string& progId, int32_t mask) {
    P<platform::com::Object> page;
    try {
        page = platform::com::ClassRegistry::Global().TryCreateObject(progId);
    } catch (...) {
        return;
    }
    auto navigation = std::dynamic_pointer_cast<IPrivateNavigation>(page);
    if (!navigation) return;
    const auto controls = navigation->GetParameters("");
    if (!controls) return;
    for (int32_t i = 1; i <= controls->Count(); ++i) {
        try {
            const Variant item = controls->Item(i);
            if (!item.IsObject()) continue;
            auto control = std::dynamic_pointer_cast<platform::ctl::ctlParameter>(item.ObjRef());
            if (control) MarkTag(params, control->parameterTag(), mask);
        } catch (...) {
        }
    }
}

}  // namespace

std::string clsFunctionMan::GetDocumentation(const Ctx& DTMContext, const Call& FuncCall) {
    auto& ctx = Deref(DTMContext);
    auto& params = Deref(ctx.Parameters());
    const int32_t mask = DocumentationMask(Deref(FuncCall));
    const ModeMarks marks(params);

    const std::string progId = GetActiveXProgId(DTMContext, FuncCall);
    if (!progId.empty()) MarkPageElements(params, progId, mask);

    const std::string model = platform::com::CStr(params.Item("~/RXD214")->TransientValue());
    const std::string docId =
        Deref(ctx.DeviceType()).DeviceIdText() == model ? "DTMDocRXD214" : "DTMDocRXD218";
    auto builder = std::make_shared<platform::rt::DocumentationBuilder>();
    return builder->BuildDocument(DTMContext, docId, mask, "");
}

}  // namespace dtm
