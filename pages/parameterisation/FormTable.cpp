#include "pages/parameterisation/FormTable.h"

#include <algorithm>
#include <memory>
#include <string>

#include "platform/ctl/ctlParameter.h"
#include "platform/ui/CaptionControls.h"
#include "platform/ui/IntrinsicControls.h"
#include "platform/ui/TabStrip.h"

namespace dtm {

namespace ui = platform::ui;
namespace ctl = platform::ctl;
using platform::P;

namespace {

P<ui::Control> Make(PageBase& page, const FormLine& line) {
    switch (line.kind) {
        case FormKind::Frame:
            return std::make_shared<ui::Frame>();
        case FormKind::Picture:
            return std::make_shared<ui::PictureBox>();
        case FormKind::Row: {
            auto row = std::make_shared<ctl::ctlParameter>();
            row->parameterTag(line.text);
            row->LabelText(line.text);
            if (line.unitText) row->UnitText("Unit");
            row->ControlType(ctl::kRowPlain);
            row->labelwidth(line.labelWidth);
            row->unitwidth(line.unitWidth);
            row->Locked(line.locked);
            return row;
        }
        case FormKind::Tabs: {
            auto strip = std::make_shared<ui::TabStrip>();
            const std::string keys = line.text;
            for (size_t start = 0; start <= keys.size();) {
                const size_t comma = std::min(keys.find(',', start), keys.size());
                const std::string key = keys.substr(start, comma - start);
                strip->Tabs().Add(0, key, key);
                start = comma + 1;
            }
            return strip;
        }
        case FormKind::HelpPane:
            return page.ctlParamHelp1 = std::make_shared<ctl::ctlParamHelp>();
        case FormKind::Site:
            return page.ctlParamSite1 = std::make_shared<ctl::ctlParamSite>();
    }
    return nullptr;
}

}  // namespace

void PlaceForm(PageBase& page, std::span<const FormLine> lines) {
    for (const auto& line : lines) {
        auto control = Make(page, line);
        control->Name = line.name;
        if (line.kind == FormKind::Row) control->Index = line.index;
        ui::Control* container = *line.in ? page.Controls().Item(line.in).get() : nullptr;
        page.Controls().Append(control, container);
    }
}

}  // namespace dtm
