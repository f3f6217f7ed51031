#include "pages/framework/BlockTabStrip.h"

#include <array>

#include "blocks/DataModel_P3_FB_AI.h"
#include "blocks/DataModel_P3_FB_TOT.h"
#include "core/services/StrFkt.h"
#include "core/services/Trace.h"
#include "model/elements/LanguageHelpers.h"
#include "model/elements/clsDataElement.h"
#include "pages/framework/PageBase.h"
#include "platform/com/Error.h"
#include "platform/com/VbText.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/LanguageDictionary.h"
#include "platform/rt/Parameters.h"

namespace dtm {

namespace com = platform::com;
namespace ui = platform::ui;
namespace vb = platform::com::vb;
using platform::P;

namespace {

constexpr ProfibusBlockFlags kNone = pbfNoneBlock, kPhys = pbfPhysicalBlock, kTrans = pbfTransducerBlock,
                             kAI = pbfFunctionAIBlock, kTOT = pbfFunctionTOTBlock;

constexpr BlockTabView kProfileViews[] = {
    {"ctlProfilPhysicalBlock", kPhys},
    {"ctlProfilTBFlowCoriolis", kTrans},
    {"ctlProfilFunctionBlockAI", kAI},
    {"ctlProfilFunctionBlockTOT", kTOT},
};
constexpr BlockTabView kIOViews[] = {{"ctlIOpFuncAI", kAI}, {"ctlIOpFuncTOT", kTOT}};
constexpr BlockTabView kAlarmViews[] = {{"ctlAlarmAI", kNone}};
constexpr BlockTabView kDiagnosisViews[] = {
    {"frmDiagOverview", kNone}, {"frmDiagDetails", kNone}, {"frmDiagBlockInfo", kNone}, {"ctlDiagBlockPB", kPhys},
    {"ctlDiagBlockTB", kTrans}, {"ctlDiagBlockAI", kAI},    {"ctlDiagBlockTOT", kTOT},
};
constexpr BlockTabView kOutputViews[] = {{"ctlMeasOutOView", kNone}, {"ctlMeasOutAI", kAI}, {"ctlMeasOutTOT", kTOT}};
constexpr BlockTabView kSimulationViews[] = {{"ctlSimuChAI", kAI}};

std::string ChannelOf(ProfibusBlockFlags kind, int16_t n) {
    if (kind == pbfFunctionAIBlock) return GetAIBlockPrefix(n) + "CHANNEL";
    if (kind == pbfFunctionTOTBlock) return GetTOTBlockPrefix(n) + "CHANNEL";
    return {};
}

}  // namespace

std::span<const BlockTabOptions> BlockTabHosts() {
    using enum CaptionKey;
    using enum ChannelSource;
    using enum NoChannel;
    using enum Recaption;
    using enum SameTab;
    // page, caption key, channel text, without channel, CHANNEL change, same tab, traced lists, views
    static constexpr std::array<BlockTabOptions, 6> kHosts{{
        {"ctlProfilViewDyn", PagePrefixed, ViewKind, RemovePlaceholder, ByKey, SkipWhenLoaded, false, kProfileViews},
        {"ctlIOp", Plain, ChildPage, RemovePlaceholder, ByPosition, RunAgain, false, kIOViews},
        {"ctlAlarm", Plain, BlockElement, EmptyCaption, ByPosition, RunAgain, true, kAlarmViews},
        {"ctlDiagnosis", PagePrefixed, BlockElement, RemovePlaceholder, ByKey, RunAgain, false, kDiagnosisViews},
        {"ctlMeasOutputs", Plain, ChildPage, RemovePlaceholder, ByKey, RunAgain, false, kOutputViews},
        {"ctlSimulation", PagePrefixed, AIChannel, KeepPlaceholder, ByKey, RunAgain, false, kSimulationViews},
    }};
    return kHosts;
}

const BlockTabOptions* FindBlockTabHost(std::string_view page) {
    for (const auto& host : BlockTabHosts())
        if (page == host.page) return &host;
    return nullptr;
}

BlockTabStrip::BlockTabStrip(PageBase& page, ui::TabStrip& strip, const BlockTabOptions& options,
                             std::function<void()> click)
    : page_(page), strip_(strip), options_(options), click_(std::move(click)) {}

void BlockTabStrip::Trace(const std::string& member, const std::string& message) const {
    TraceOut(std::string(options_.page) + "-" + member, message, page_.GetContext());
}

std::string BlockTabStrip::GetTabs(int16_t selector) const {
    if (options_.traceLists) Trace("GetTabs", selector == 0 ? "identvalue = 0 (Profil)" : "identvalue = 1 (Manufacturer)");
    const std::string key = std::string(options_.page) + (selector != 0 ? "_TabStrip_Manu" : "_TabStrip_Profil");
    const auto text = com::Deref(com::Deref(page_.GetContext()).Dictionary()).LookupText("keys", key, "text");
    return text.IsEmpty() ? "" : com::CStr(text);
}

void BlockTabStrip::Update(const std::string& list) {
    if (options_.traceLists) Trace("TabStrip_Update", "");
    auto& tabs = strip_.Tabs();
    const auto selected = strip_.SelectedItem();
    const std::string selectedKey = selected ? selected->Key() : "";
    const int32_t count = tabs.Count();
    const auto items = vb::Split(list, ",");
    const auto n = static_cast<int32_t>(items.size());
    if (n < count) {
        for (int32_t i = count; i > n; --i) tabs.Remove(i);
    } else {
        for (int32_t i = 1; i <= count; ++i) {
            const auto tab = tabs.Item(i);
            const std::string& item = items[static_cast<size_t>(i - 1)];
            if (item == tab->Key()) continue;
            tab->Caption(item);
            tab->Key(item);
        }
        for (int32_t i = count + 1; i <= n; ++i) tabs.Add(0, items[static_cast<size_t>(i - 1)], items[static_cast<size_t>(i - 1)]);
    }
    Captions();
    // The selected tab was removed or shows another block now: tab 1 takes its place.
    const bool lost = selected && (selected->Index() == 0 || selected->Key() != selectedKey);
    if (!started_ || !lost || tabs.Count() == 0) return;
    const auto first = tabs.Item(1);
    if (strip_.SelectedItem() != first)
        strip_.SelectedItem(first);  // raises Click
    else
        click_();
}

void BlockTabStrip::Captions() {
    const auto keys = com::Deref(com::Deref(page_.GetContext()).Dictionary()).SectionNode("keys");
    for (const auto& tab : strip_.Tabs()) tab->Caption(BuildCaption(keys, tab->Key()));
}

std::string BlockTabStrip::BuildCaption(const P<platform::xml::Element>& keys, const std::string& key) const {
    Trace("TabStrip_BuildCaption", "");
    const auto ctx = page_.GetContext();
    const std::string captionKey = options_.captionKey == CaptionKey::PagePrefixed ? std::string(options_.page) + "_" + key : key;
    const auto found = com::Deref(com::Deref(ctx).Dictionary()).LookupText(keys, captionKey, "text");
    if (found.IsEmpty()) return "";
    std::string text = ExpandTextRefs(com::CStr(found), ctx, keys);
    std::string channel;
    switch (ChannelText(SplitKey(key), channel)) {
        case Channel::NotShown: return text;
        case Channel::Found: return vb::Replace(text, "%d", channel);
        case Channel::Missing: break;
    }
    switch (options_.noChannel) {
        case NoChannel::RemovePlaceholder: return vb::Replace(text, "%d", "");
        case NoChannel::EmptyCaption: return "";
        case NoChannel::KeepPlaceholder: break;
    }
    return text;
}

std::string BlockTabStrip::ChannelPath(const TabKey& key) const {
    switch (options_.channel) {
        case ChannelSource::ViewKind: return ChannelOf(ViewKind(key.view), key.n);
        case ChannelSource::BlockElement: return ChannelOf(KindOf(key.n), key.n);
        case ChannelSource::AIChannel: return ChannelOf(pbfFunctionAIBlock, key.n);
        case ChannelSource::ChildPage: {
            // The child's answer is asked with errors ignored: a child without it has no channel.
            try {
                const auto child = page_.Controls().Find(key.view);
                const auto object = child ? child->Object() : nullptr;
                if (const auto named = std::dynamic_pointer_cast<IChannelParameterName>(object))
                    return named->ChannelParameterName(key.n);
                if (const auto pattern = std::dynamic_pointer_cast<IChannelParameterPattern>(object))
                    return vb::Replace(pattern->ChannelParameterName(), "%d", std::to_string(key.n));
            } catch (const com::ComError&) {
            }
            return {};
        }
    }
    return {};
}

BlockTabStrip::Channel BlockTabStrip::ChannelText(const TabKey& key, std::string& text) const {
    // Only a function block has a channel: a view of the Physical or the
    // Transducer Block shows none, whatever block its number names. A view
    // that shows no single block has none either when its kind is the source.
    const auto kind = ViewKind(key.view);
    const bool functionBlock = kind == pbfFunctionAIBlock || kind == pbfFunctionTOTBlock;
    if (!functionBlock && (kind != pbfNoneBlock || options_.channel == ChannelSource::ViewKind)) return Channel::NotShown;
    // A tab whose block has no "~/BLOCK/n" shows no block and so no channel.
    if (options_.channel == ChannelSource::ChildPage && KindOf(key.n) == pbfNoneBlock) return Channel::Missing;
    const std::string path = ChannelPath(key);
    const auto element = path.empty() ? nullptr
                                      : std::dynamic_pointer_cast<clsDataElement>(
                                            com::Deref(com::Deref(page_.GetContext()).Parameters()).Find(path));
    if (!element) return Channel::Missing;
    text = element->GetStrValueFromIdxList(com::CLng(element->TransientValue));
    return Channel::Found;
}

TabKey BlockTabStrip::SplitKey(const std::string& key) {
    const int32_t p = InStrRevLike(key, "#", 0);
    if (p < 1) return {key, 0};
    return {vb::Left(key, p - 1), com::CInt(platform::Variant::Str(vb::Mid(key, p)))};
}

ProfibusBlockFlags FunctionBlockKind(const platform::rt::Parameters& params, int16_t n) {
    const auto element = std::dynamic_pointer_cast<clsDataElement>(params.Find("~/BLOCK/" + std::to_string(n)));
    if (!element || !element->InitialValue.IsString()) return pbfNoneBlock;
    const std::string kind = com::CStr(element->InitialValue);
    return kind == "AI" ? pbfFunctionAIBlock : kind == "TOT" ? pbfFunctionTOTBlock : pbfNoneBlock;
}

ProfibusBlockFlags BlockTabStrip::KindOf(int16_t n) const {
    return FunctionBlockKind(com::Deref(com::Deref(page_.GetContext()).Parameters()), n);
}

ProfibusBlockFlags BlockTabStrip::ViewKind(const std::string& view) const {
    for (const auto& v : options_.views)
        if (view == v.name) return v.kind;
    return pbfNoneBlock;
}

bool BlockTabStrip::KnowsView(const std::string& view) const {
    for (const auto& v : options_.views)
        if (view == v.name) return true;
    return false;
}

void BlockTabStrip::UpdateFromSelector() {
    const auto selector = com::Deref(com::Deref(page_.GetContext()).Parameters()).Item(kSelectorPath);
    Update(GetTabs(com::CInt(selector->TransientValue())));
}

void BlockTabStrip::OnParameterChanged(const P<platform::rt::IPrivateDataElement>& element) {
    const auto pda = std::dynamic_pointer_cast<clsDataElement>(element);
    if (!pda) return;
    if (pda->Name == kSelectorPath) {
        Update(GetTabs(com::CInt(pda->TransientValue)));
        return;
    }
    const int16_t n = pda->BlockNumber;
    if (pda->Name == ChannelOf(pbfFunctionAIBlock, n) || pda->Name == ChannelOf(pbfFunctionTOTBlock, n))
        RecaptionBlock(pda->Name, n);
}

void BlockTabStrip::RecaptionBlock(const std::string& channelPath, int16_t n) {
    auto& tabs = strip_.Tabs();
    if (options_.recaption == Recaption::ByPosition) {
        if (n < 1 || n > tabs.Count()) return;
        const auto tab = tabs.Item(n);
        tab->Caption(BuildCaption(com::Deref(com::Deref(page_.GetContext()).Dictionary()).SectionNode("keys"), tab->Key()));
        return;
    }
    const ProfibusBlockFlags kind = channelPath == ChannelOf(pbfFunctionAIBlock, n) ? pbfFunctionAIBlock : pbfFunctionTOTBlock;
    P<platform::xml::Element> keys;
    for (const auto& tab : tabs) {
        const TabKey key = SplitKey(tab->Key());
        if (key.n != n || ViewKind(key.view) != kind) continue;
        if (!keys) keys = com::Deref(com::Deref(page_.GetContext()).Dictionary()).SectionNode("keys");
        tab->Caption(BuildCaption(keys, tab->Key()));
    }
}

std::string BlockTabStrip::SelectedKey() const {
    const auto tab = strip_.SelectedItem();
    return tab ? tab->Key() : "";
}

int32_t BlockTabStrip::SelectedIndex() const {
    const auto tab = strip_.SelectedItem();
    return tab ? tab->Index() : 0;
}

bool BlockTabStrip::ClickNeeded() const {
    return options_.sameTab == SameTab::RunAgain || SelectedIndex() != loadedIndex_ || SelectedKey() != loadedKey_;
}

void BlockTabStrip::Loaded() {
    loadedIndex_ = SelectedIndex();
    loadedKey_ = SelectedKey();
}

void BlockTabStrip::Start() {
    if (strip_.Tabs().Count() == 0) {
        Trace("TabStrip_Update", "no tab list");
        com::Raise(5, GetLangText(page_.GetContext(), "error_no_block_tabs"), options_.page);
    }
    click_();
    started_ = true;
}

void BlockTabStrip::Stop() {
    started_ = false;
    loadedIndex_ = 0;
    loadedKey_.clear();
}

}  // namespace dtm
