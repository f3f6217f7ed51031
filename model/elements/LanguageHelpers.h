#pragma once
// Texts in the user's language, from the "keys" section of the instance's
// dictionary: plain look-up with "%1".."%3" filled, $(key) references
// expanded, and the text of an element's current value from its value list.
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::rt {
class DTMContext;
}
namespace platform::ui {
class Control;
}
namespace platform::xml {
class Element;
}

namespace dtm {

class clsDataElement;

// The "text" of `key` in "keys" with "%1", "%2", "%3" replaced by the given
// arguments (in that order, every occurrence) and then its references
// expanded. A key without text answers the key itself, unchanged. A Null
// argument raises 94; no context raises 91.
std::string GetLangText(const platform::P<platform::rt::DTMContext>& DTMContext, const std::string& key,
                        const platform::Variant& arg1 = platform::Variant::Missing(),
                        const platform::Variant& arg2 = platform::Variant::Missing(),
                        const platform::Variant& arg3 = platform::Variant::Missing());

// Replaces each $(key) of `text` by the "text" of that key in `keys` (a
// section node of the context's dictionary), left to right in one pass: an
// inserted text is not scanned again. A reference whose key has no text, and
// an unterminated "$(", stay as they are. Looking a key up in a null section
// raises 91.
std::string ExpandTextRefs(const std::string& text, const platform::P<platform::rt::DTMContext>& DTMContext,
                           const platform::P<platform::xml::Element>& keys);

// Sets the captions of a page's controls, in collection order, from the
// "text" of their keys in "keys", expanded: a captioned control's key is
// `prefix` & its name (& "_" & its index for a control-array member), tab i of
// a tab strip that key & "." & i. A key without text leaves the caption; a
// parameter edit control and every other kind is skipped.
void SetLangCaptions(const platform::P<platform::rt::DTMContext>& DTMContext, const std::string& prefix,
                     const std::vector<platform::P<platform::ui::Control>>& controls);

// The text that the element's ValueList gives its TransientValue ("0:Off|1:On"
// with 1 gives "On"); "" when the list is empty, the value is not numeric or
// no item matches. Items without ":" or with a key that is no number are
// skipped. A value beyond 32 bits raises 6.
std::string GetValueListText(const clsDataElement& element);

}  // namespace dtm
