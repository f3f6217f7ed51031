#pragma once
// The forms of the four block views of the profile block view: their rows of
// parameter controls and their labels, as data.
#include <cstdint>
#include <span>

#include "platform/ctl/ctlParameter.h"

namespace dtm {

enum ProfilRowOption : uint8_t {
    kNoOption,
    kBlockIndexRow,  // labelled "Block Index", label width -70, no unit; keeps its width on resize
};

// One parameter control of a view: its index in the array ctlParameter, its
// parameter tag after the view's prefix, its row kind.
struct ProfilRow {
    int16_t index;
    const char* path;
    platform::ctl::RowKind type;
    ProfilRowOption option;
};

// A label placed above the row of that index.
struct ProfilLabel {
    const char* name;
    const char* caption;  // the design caption; the dictionary's text replaces it
    int16_t beforeRow;
};

struct ProfilBlockForm {
    const char* className;
    const char* tagPrefix;      // "%d" stands for the block number
    const char* captionPrefix;  // the Totaliser view takes the AI view's captions
    bool blockNumbered;         // the link replaces "%d" by BlockIndex
    bool hideOnRelease;
    std::span<const std::span<const ProfilRow>> rows;  // parts, in index order
    std::span<const ProfilLabel> labels;
};

extern const ProfilBlockForm kPhysicalBlockForm;
extern const ProfilBlockForm kTransducerBlockForm;
extern const ProfilBlockForm kAIBlockForm;
extern const ProfilBlockForm kTotaliserBlockForm;

}  // namespace dtm
