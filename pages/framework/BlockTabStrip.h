#pragma once
// The block tab strip of a container page: one tab per device block, the tab
// list chosen by "PHYS/IDENT_NUMBER_SELECTOR" (0: the profile list, any other
// value: the manufacturer list), each tab captioned from the dictionary and,
// for a function block, completed with the text of the block's channel.
//
// A tab key is the name of the view or child page the tab shows followed by
// the block number ("ctlProfilFunctionBlockAI2"); it is split at its last
// digit. The hosts differ only in the data of BlockTabHosts(): where the
// caption key and the channel text come from, what a caption without channel
// text becomes, how a CHANNEL change finds its tab and whether a click on the
// tab already loaded runs again.
//
// After Start (the host's closing click at the end of InitControls), a tab
// list that removes or re-keys the selected tab selects tab 1 and runs the
// host's click handler; an empty list leaves no tab, and Start on a strip
// without tabs fails the page.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "model/elements/ProfibusBlockFlags.h"
#include "platform/com/Variant.h"
#include "platform/ui/TabStrip.h"

namespace platform::rt {
class IPrivateDataElement;
class Parameters;
}  // namespace platform::rt
namespace platform::xml {
class Element;
}

namespace dtm {

class PageBase;

// A child page that names the CHANNEL element of block idx.
class IChannelParameterName : public virtual platform::com::Object {
public:
    virtual std::string ChannelParameterName(int16_t idx) const = 0;
};

// A child page that names the CHANNEL element of its blocks with "%d" for the number.
class IChannelParameterPattern : public virtual platform::com::Object {
public:
    virtual std::string ChannelParameterName() const = 0;
};

// The dictionary key of a tab's caption: page name & "_" & tab key, or the tab key.
enum class CaptionKey { PagePrefixed, Plain };

// Where the channel text of a tab comes from.
enum class ChannelSource {
    ViewKind,      // the kind of the tab's view in the host's view table (AI or Totaliser)
    BlockElement,  // the kind of block n by "~/BLOCK/n"
    ChildPage,     // the page control named by the view: IChannelParameterName or IChannelParameterPattern
    AIChannel,     // always AI block n
};

// A caption whose tab has no channel text.
enum class NoChannel { RemovePlaceholder, EmptyCaption, KeepPlaceholder };

// The tab re-captioned when the CHANNEL of block n changes.
enum class Recaption { ByKey, ByPosition };

// A click on the tab whose view is loaded.
enum class SameTab { SkipWhenLoaded, RunAgain };

// A name a tab key may carry, with the block kind it shows (pbfNoneBlock for
// a tab that shows no single block).
struct BlockTabView {
    const char* name;
    ProfibusBlockFlags kind;
};

struct BlockTabOptions {
    const char* page;  // the host's class name: key prefix of the lists and trace text
    CaptionKey captionKey;
    ChannelSource channel;
    NoChannel noChannel;
    Recaption recaption;
    SameTab sameTab;
    bool traceLists;  // GetTabs and Update write trace lines
    std::span<const BlockTabView> views;
};

// Every host of a block tab strip, and the one of a page (null when none).
std::span<const BlockTabOptions> BlockTabHosts();
const BlockTabOptions* FindBlockTabHost(std::string_view page);

// The kind of function block n by "~/BLOCK/n": AI, Totaliser, or none when missing.
ProfibusBlockFlags FunctionBlockKind(const platform::rt::Parameters& params, int16_t n);

struct TabKey {
    std::string view;
    int16_t n = 0;
};

class BlockTabStrip {
public:
    static constexpr const char* kSelectorPath = "PHYS/IDENT_NUMBER_SELECTOR";

    // `click` is the host's click handler, run by the selection repair.
    BlockTabStrip(PageBase& page, platform::ui::TabStrip& strip, const BlockTabOptions& options,
                  std::function<void()> click);

    const BlockTabOptions& Options() const { return options_; }
    platform::ui::TabStrip& Strip() const { return strip_; }

    // The dictionary's tab list for a selector value ("" when it has none).
    std::string GetTabs(int16_t selector) const;
    // Brings the tabs in line with the comma-separated list: a shorter list
    // removes tabs from the end, the others keep their keys; otherwise tabs
    // whose key differs are re-keyed and missing ones appended. Then Captions.
    void Update(const std::string& list);
    // Every tab's caption anew.
    void Captions();
    std::string BuildCaption(const platform::P<platform::xml::Element>& keys, const std::string& key) const;
    // "ctlProfilFunctionBlockTOT8" -> ("ctlProfilFunctionBlockTOT", 8); no digit -> (key, 0).
    static TabKey SplitKey(const std::string& key);
    // The kind of block n by "~/BLOCK/n": AI, Totaliser, or none when missing.
    ProfibusBlockFlags KindOf(int16_t n) const;
    // The kind of a view name in the host's table; pbfNoneBlock for others.
    ProfibusBlockFlags ViewKind(const std::string& view) const;
    bool KnowsView(const std::string& view) const;

    // Update with the list of the selector's current value.
    void UpdateFromSelector();
    // The selector rebuilds the list; the CHANNEL of a function block re-captions its tab.
    void OnParameterChanged(const platform::P<platform::rt::IPrivateDataElement>& element);

    // The selected tab's key and position ("" and 0 when none).
    std::string SelectedKey() const;
    int32_t SelectedIndex() const;
    // Whether a click has anything to do: always, unless the host skips a
    // click on the tab whose view is loaded (same position and same key).
    bool ClickNeeded() const;
    // The selected tab's view is loaded.
    void Loaded();
    // The closing click of InitControls: fails (error 5, "error_no_block_tabs")
    // when the strip has no tab; then runs the click handler and arms the
    // selection repair.
    void Start();
    // At release: forgets the loaded tab and disarms the repair.
    void Stop();

private:
    void Trace(const std::string& member, const std::string& message) const;
    // The text of the tab's channel: a tab of a view that shows no function
    // block has none to show; Missing when the block or its CHANNEL is not there.
    enum class Channel { NotShown, Missing, Found };
    Channel ChannelText(const TabKey& key, std::string& text) const;
    std::string ChannelPath(const TabKey& key) const;
    void RecaptionBlock(const std::string& channelPath, int16_t n);

    PageBase& page_;
    platform::ui::TabStrip& strip_;
    const BlockTabOptions& options_;
    std::function<void()> click_;
    bool started_ = false;
    int32_t loadedIndex_ = 0;
    std::string loadedKey_;
};

}  // namespace dtm
