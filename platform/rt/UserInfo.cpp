#include "platform/rt/UserInfo.h"

#include <charconv>
#include <optional>

#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmGuiRegistry.h"
#include "platform/xml/Dom.h"

namespace platform::rt {

namespace {

// The frame's role names, in level order.
constexpr const char* kRoles[] = {"observer",      "operator",      "maintenance",
                                  "planningEngineer", "administrator", "OEM"};

std::optional<int32_t> LevelOf(const std::string& value) {
    for (int32_t level = 0; level < static_cast<int32_t>(std::size(kRoles)); ++level)
        if (value == kRoles[level]) return level;
    int32_t number = 0;
    const char* end = value.data() + value.size();
    auto [ptr, ec] = std::from_chars(value.data(), end, number);
    if (value.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return number;
}

// The first `userLevel` or `level` attribute in document order, or nothing.
std::optional<std::string> FindLevelAttribute(const xml::Element& element) {
    for (const auto& [name, value] : element.Attributes())
        if (name == "userLevel" || name == "level") return value;
    for (const auto& child : element.ChildElements())
        if (auto found = FindLevelAttribute(*child)) return found;
    return std::nullopt;
}

}  // namespace

bool UserInfo::Config(const std::string& xml, const P<DTMContext>& /*ctx*/) {
    xml::Document doc;
    if (!doc.LoadXML(xml)) return false;
    auto root = doc.DocumentElement();
    if (!root) return false;
    auto text = FindLevelAttribute(*root);
    if (!text) return false;
    auto level = LevelOf(*text);
    if (!level) return false;
    UserLevel(*level);
    return true;
}

void UserInfo::UserLevel(int32_t level) {
    if (level == userLevel_) return;
    userLevel_ = level;
    if (auto ctx = context_.lock())
        if (auto registry = ctx->GuiRegistry()) registry->NotifyParameterSetChanged();
}

}  // namespace platform::rt
