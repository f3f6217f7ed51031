#pragma once
// A page's form as a table: its constituents in collection order, one line
// per control. Frames and picture boxes hold the rows and frames placed in
// them; rows are members of the control array "ctlParameter" with their
// parameter tag and the design widths of label and unit; a tab strip carries
// its tab keys (design captions equal to the keys). The collection order
// fixes the order of search hits and parameter lists, so the tables follow
// the forms line by line.
#include <cstdint>
#include <span>

#include "pages/framework/PageBase.h"

namespace dtm {

enum class FormKind : uint8_t { Frame, Picture, Row, Tabs, HelpPane, Site };

struct FormLine {
    FormKind kind;
    const char* name;        // the control's name; "ctlParameter" for a row
    const char* in;          // the container's name, "" for the page itself
    int16_t index;           // a row's index in the array
    const char* text;        // a row's parameter tag; a tab strip's keys, comma-separated
    int16_t labelWidth;      // a row's "labelwidth" (0: none stored)
    int16_t unitWidth;       // a row's "unitwidth" (0: none stored)
    bool unitText;           // a row's design unit text "Unit"
    bool locked = false;     // a row locked by design
};

constexpr FormLine Frame(const char* name, const char* in = "") {
    return {FormKind::Frame, name, in, 0, "", 0, 0, false};
}
constexpr FormLine Picture(const char* name) { return {FormKind::Picture, name, "", 0, "", 0, 0, false}; }
constexpr FormLine Row(const char* in, int16_t index, const char* tag, int16_t labelWidth, int16_t unitWidth,
                       bool unitText = false, bool locked = false) {
    return {FormKind::Row, "ctlParameter", in, index, tag, labelWidth, unitWidth, unitText, locked};
}
constexpr FormLine Tabs(const char* keys) { return {FormKind::Tabs, "TabStrip", "", 0, keys, 0, 0, false}; }
constexpr FormLine HelpPane() { return {FormKind::HelpPane, "ctlParamHelp1", "", 0, "", 0, 0, false}; }
constexpr FormLine Site() { return {FormKind::Site, "ctlParamSite1", "", 0, "", 0, 0, false}; }

// Places the lines' controls on `page` in table order. Every row gets
// "controltype" 1 and its tag as design label; the help pane and the site
// become the page's ctlParamHelp1 and ctlParamSite1.
void PlaceForm(PageBase& page, std::span<const FormLine> lines);

}  // namespace dtm
