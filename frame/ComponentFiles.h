#pragma once
// The files a data set must not replace: those the DTM reads from its
// component folder and the component's module.
#include <string>
#include <vector>

namespace dtm::frame {

// Why a data set is not stored at `path`: it names a file in the XMLData or
// Resources folder of one of `folders` (the DTM's dictionary, information,
// pictures, settings and icons; a new file there too), or `moduleFile`.
// Links are followed. "" when it names none of them.
std::string ComponentFileRefusal(const std::string& path, const std::vector<std::string>& folders,
                                 const std::string& moduleFile);

}  // namespace dtm::frame
