// The trace lines of the DTM's FDT operations, in a component folder of its
// own with tracing switched on.
#include <gtest/gtest.h>

#include <filesystem>

#include "ComponentFolder.h"
#include "DtmFixture.h"

namespace {

class DtmTrace : public dtm::testing::DtmFixture {
protected:
    DtmTrace() {
        folder.WriteIni("[TimeCritical]\nTrace=ExternalFile\nTraceFileSizeInMB=10\n");
        std::filesystem::copy(std::filesystem::path(DTM_TEST_DATA_DIR) / ".." / ".." / "XMLData",
                              folder.Dir() / "XMLData", std::filesystem::copy_options::recursive);
    }
    dtm::testing::ComponentFolder folder;
};

TEST_F(DtmTrace, OperationsWriteTheirLiteralsAndResults) {
    StartNew();
    ASSERT_TRUE(session.SetCommunication());
    ASSERT_TRUE(session.ReleaseCommunication());
    EXPECT_FALSE(session.IDtm().IDtm_Environment("", nullptr));
    ASSERT_TRUE(session.Release());
    const std::string trace = folder.Read("TraceInfoFile.txt");
    for (const char* line : {
             "RXD PA DTM 1.1.14: ",
             "PA_FT_101: DTMMain-IDtm_Environment: RetValue = TRUE\r\n",
             "DTMMain-IDtm_InitNew: RetValue = TRUE\r\n",
             "DTMMain-IDtm_Config: \r\n",
             "DTMMain-IDtm_SetCommunication: RetValue = TRUE\r\n",
             "DTMMain-IDtm_PrepareToReleaseCommunication: Communication is not active\r\n",
             "DTMMain-IDtm_PrepareToReleaseCommunication: OnPreparedToReleaseCommunication sended\r\n",
             "DTMMain-IDtm_ReleaseCommunication: RetValue = TRUE\r\n",
             "DTMMain-IDtm_Environment: RetValue = FALSE\r\n",
             "DTMMain-IDtm_PrepareToRelease: RetValue = TRUE\r\n",
         })
        EXPECT_NE(trace.find(line), std::string::npos) << line;
}

}  // namespace
