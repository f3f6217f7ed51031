#pragma once
// The device directory: directory header and composite list directory entries
// under "DEVICE_DIR/".
namespace platform::rt {
class Parameters;
}

namespace dtm {

// Creates the directory's elements in the collection, one slot-index entry per
// function block of "DEVICE_DIR/Comp_List_Dir_Entries/Number_FB".
void CreateDevDirModel(platform::rt::Parameters& Parameters);

}  // namespace dtm
