// DtmCommService: the transaction groups of the instance and their requests.
#include <algorithm>

#include "platform/rt/DtmCommService.h"
#include "platform/rt/TransGrp.h"

namespace platform::rt {

void DtmCommService::RegisterGroup(const std::string& groupId, W<TransGrp> group) {
    if (groupId.empty()) return;
    std::erase_if(groups_, [&](const auto& entry) { return entry.second.expired() || SameInvokeId(entry.first, groupId); });
    groups_.emplace_back(groupId, std::move(group));
}

void DtmCommService::UnregisterGroup(const std::string& groupId) {
    std::erase_if(groups_, [&](const auto& entry) { return SameInvokeId(entry.first, groupId); });
    AgeResults(groupId);
}

bool DtmCommService::HasGroup(const std::string& invokeId) const {
    return std::any_of(groups_.begin(), groups_.end(),
                       [&](const auto& entry) { return SameInvokeId(entry.first, invokeId); });
}

std::vector<P<TransRequest>> DtmCommService::GetRequests(const std::string& groupId) const {
    for (const auto& [id, group] : groups_)
        if (SameInvokeId(id, groupId))
            if (const auto found = group.lock()) return found->Requests();
    return {};
}

}  // namespace platform::rt
