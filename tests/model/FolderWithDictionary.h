#pragma once
// A component folder of its own for a test, holding the component's dictionary.
#include <filesystem>

#include "core/ComponentFolder.h"

namespace dtm::testing {

struct FolderWithDictionary : ComponentFolder {
    FolderWithDictionary() {
        std::filesystem::create_directory_symlink(
            std::filesystem::path(DTM_TEST_DATA_DIR).parent_path().parent_path() / "XMLData", Dir() / "XMLData");
    }
};

}  // namespace dtm::testing
