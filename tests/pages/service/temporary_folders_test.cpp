// The service pages' tests make component folders of their own in the
// temporary folder: when the tests of this process have run, none is left.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace {

class NoTemporaryFolderLeft : public ::testing::Environment {
public:
    void TearDown() override {
        namespace fs = std::filesystem;
        // The tests name what they make "dtm_…_<pid>_…".
        const std::string process = "_" + std::to_string(::getpid()) + "_";
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(fs::temp_directory_path(), ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("dtm_", 0) == 0 && name.find(process) != std::string::npos)
                ADD_FAILURE() << "left in the temporary folder: " << entry.path();
        }
    }
};

[[maybe_unused]] const auto* const kCheck = ::testing::AddGlobalTestEnvironment(new NoTemporaryFolderLeft);

}  // namespace
