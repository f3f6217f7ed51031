#pragma once
// The functions a DTM offers, read from its IDtm_GetFunctions document.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace dtm::frame {

// Id and name of every offered function, in document order; empty when the
// document does not load.
std::vector<std::pair<std::string, std::string>> OfferedFunctions(const std::string& document);

// Whether the component's function file ("XMLData\DTMFunctions.xml" in its
// folder) lists the function at all, offered or not.
bool ListedFunction(int32_t functionId);

}  // namespace dtm::frame
