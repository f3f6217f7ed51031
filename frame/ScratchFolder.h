#pragma once
// A component folder of its own for a page script: a copy of the data files
// (XMLData, Resources) in a new temporary folder, made the component folder
// while the object lives. What the DTM writes there (the method analysis
// report, a switched-on developer feature) never reaches the real folder.
#include <string>

namespace dtm::frame {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder ("" when it could not be made; the real folder stays then).
    const std::string& Path() const { return path_; }
    // Offers the developer functions (the transaction monitor) from now on.
    bool EnableDeveloperFeatures() const;

private:
    std::string path_;
    std::string previous_;
};

}  // namespace dtm::frame
