#pragma once
// The function list of "DTMFunctions.xml": every entry starts offered; the
// function manager withdraws what the state and configuration do not allow.
#include <cstdint>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "platform/com/Variant.h"

namespace platform::rt {

class DTMContext;

class FunctionList : public com::Object {
public:
    void Offer(const std::string& key);
    // Hides the entry and records its codes; an unknown key is ignored.
    void Withdraw(const std::string& key, int32_t code, int32_t code2);
    // Offered unless withdrawn since its last offer.
    bool IsOffered(const std::string& key) const;
    // The codes of the last withdrawal of an entry not offered again since.
    std::optional<std::pair<int32_t, int32_t>> WithdrawCodes(const std::string& key) const;
    // The offered entries in file order, texts translated:
    // <FDT><DtmFunctions name=".."><Function functionId=".." name="text"/>...
    std::string Render(const P<DTMContext>& ctx, const std::string& name);

private:
    struct Withdrawn {
        std::string key;
        int32_t code = 0;
        int32_t code2 = 0;
    };
    std::vector<Withdrawn> withdrawn_;
};

}  // namespace platform::rt
