// The function list of "DTMFunctions.xml" and the frame's "DTMFunctions" document.
#include "platform/rt/FunctionList.h"

#include <algorithm>

#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {
constexpr const char* kFunctionsFile = "DTMFunctions.xml";
}

void FunctionList::Offer(const std::string& key) {
    std::erase_if(withdrawn_, [&](const Withdrawn& w) { return w.key == key; });
}

void FunctionList::Withdraw(const std::string& key, int32_t code, int32_t code2) {
    Offer(key);
    withdrawn_.push_back({key, code, code2});
}

bool FunctionList::IsOffered(const std::string& key) const {
    return std::none_of(withdrawn_.begin(), withdrawn_.end(), [&](const Withdrawn& w) { return w.key == key; });
}

std::optional<std::pair<int32_t, int32_t>> FunctionList::WithdrawCodes(const std::string& key) const {
    for (const auto& w : withdrawn_)
        if (w.key == key) return std::make_pair(w.code, w.code2);
    return std::nullopt;
}

std::string FunctionList::Render(const P<DTMContext>& ctx, const std::string& name) {
    xml::Document out;
    auto root = out.CreateElement("FDT");
    out.SetDocumentElement(root);
    auto list = out.CreateElement("DtmFunctions");
    list->SetAttribute("name", name);
    root->AppendChild(list);

    xml::Document functions;
    const auto& pathInfo = com::Deref(com::Deref(ctx).PathInfo());
    if (functions.Load(pathInfo.XmlDataPath() + kFunctionsFile)) {
        for (const auto& entry : functions.SelectNodes("DTMFunctions/Function")) {
            const Variant key = entry->GetAttribute("key");
            if (!key.IsString() || !IsOffered(key.StrRef())) continue;
            std::string text;
            if (const Variant textKey = entry->GetAttribute("textKey"); textKey.IsString())
                ctx->LangText(textKey.StrRef(), text);
            auto function = out.CreateElement("Function");
            function->SetAttribute("functionId", com::CStr(entry->GetAttribute("functionId")));
            function->SetAttribute("name", text);
            list->AppendChild(function);
        }
    }
    return out.Xml();
}

}  // namespace platform::rt
