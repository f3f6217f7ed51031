#pragma once
// The whole model of an instance as CSV: one element per line in collection
// order, behind a fixed header line.
#include <ostream>

namespace platform::rt {
class Parameters;
}

namespace dtm::frame {

inline constexpr const char* kModelListingHeader =
    "path,value_type,length,slot,index,block_type,block_number,rel_index,data_position,element_mode,"
    "status_flags,user_level,init_unit,initial_type,initial_value";

void WriteModelListing(std::ostream& out, const platform::rt::Parameters& parameters);

}  // namespace dtm::frame
