#pragma once
// A component folder of its own for a page script: a copy of the data files
// (XMLData, Resources) in a new temporary folder, made the component folder
// while the object lives. What the DTM writes there (the method analysis
// report, a switched-on developer feature or trace) never reaches the real folder.
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
    // The component folder it stands in for.
    const std::string& Original() const { return previous_; }
    // Offers the developer functions (the transaction monitor) from now on.
    bool EnableDeveloperFeatures() const;
    // Switches both trace files ("TraceInfoFile.txt", "ChannelTraceFile.txt")
    // on or off; the DTM reads the switch again at its next trace.
    bool SwitchTrace(bool on) const;

private:
    // Sets `key` of `[section]` in the copy's "Resources/DTM.ini"; False when
    // the file has no such key or cannot be written.
    bool SetConfiguration(const std::string& section, const std::string& key, const std::string& value) const;

    std::string path_;
    std::string previous_;
};

// The host path of the relative `name` ("\\" or "/" between its folders) in
// `folder`; "" when the name is empty or absolute, or leads out of the folder
// with its ".." and symbolic links resolved (a dangling link leads nowhere known).
// A name too long for the system is handed on as it is: no file can be made,
// read or written by it.
std::string PathInFolder(const std::string& folder, const std::string& name);

}  // namespace dtm::frame
