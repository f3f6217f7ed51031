#pragma once
// Helpers shared by the block table tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/clsDataElement.h"
#include "platform/rt/Parameters.h"

namespace dtm::testing {

inline std::shared_ptr<clsDataElement> ElementAt(const platform::rt::Parameters& params, const std::string& path) {
    auto el = std::dynamic_pointer_cast<clsDataElement>(params.Item(path));
    EXPECT_NE(el, nullptr) << path;
    return el;
}

// The paths of the collection in collection order.
inline std::vector<std::string> Paths(const platform::rt::Parameters& params) {
    std::vector<std::string> paths;
    for (const auto& el : params) paths.push_back(el->Name());
    return paths;
}

// Position of `path` in collection order, -1 when absent.
inline int PositionOf(const platform::rt::Parameters& params, const std::string& path) {
    const auto paths = Paths(params);
    for (size_t i = 0; i < paths.size(); ++i)
        if (paths[i] == path) return static_cast<int>(i);
    return -1;
}

// Every record member carries its header's relative index; headers of type 0
// carry no data position, members one.
inline void ExpectRecordMembersFollowTheirHeaders(const platform::rt::Parameters& params,
                                                  const std::string& prefix) {
    int members = 0;
    for (const auto& item : params) {
        auto el = std::dynamic_pointer_cast<clsDataElement>(item);
        const std::string& name = el->Name;
        if (name.rfind(prefix, 0) != 0 || name.back() == '/') continue;
        const auto slash = name.rfind('/');
        if (slash < prefix.size()) continue;  // a plain parameter of the block
        auto header = ElementAt(params, name.substr(0, slash + 1));
        EXPECT_EQ(el->RelIndex, header->RelIndex) << name;
        EXPECT_GE(el->DataPosition, 0) << name;
        if (header->ValueType == 0) {
            EXPECT_EQ(header->DataPosition, -1) << header->Name;
        }
        ++members;
    }
    EXPECT_GT(members, 0);
}

}  // namespace dtm::testing
