// The frame's reading of the DTM's transaction requests: the requests in the
// runtime's own form are read without the XML parser, and every text reads
// as the parser reads it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/DeviceChannel.h"
#include "platform/rt/Transaction.h"
#include "platform/rt/TransactionDocuments.h"

namespace {

using dtm::frame::DeviceChannel;
using dtm::frame::DeviceRequest;

struct Reading {
    bool ok = false;
    DeviceRequest request;
    bool operator==(const Reading& o) const {
        return ok == o.ok && (!ok || (request.write == o.request.write && request.slot == o.request.slot &&
                                      request.index == o.request.index && request.data == o.request.data));
    }
};

Reading Read(const std::string& xml, bool parserOnly) {
    Reading r;
    r.ok = parserOnly ? DeviceChannel::ParseRequestDocument(xml, r.request) : DeviceChannel::ParseRequest(xml, r.request);
    return r;
}

TEST(DeviceChannelRequests, EveryTextReadsAsTheParserReadsIt) {
    const std::string texts[] = {
        // the runtime's own form
        "<FDT><ReadRequest slot=\"0\" index=\"255\"/></FDT>",
        "<FDT><WriteRequest slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"0aFF\"/></WriteRequest></FDT>",
        "<FDT><WriteRequest slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"\"/></WriteRequest></FDT>",
        // forms only the parser reads
        "<FDT><ReadRequest slot=\"007\" index=\"1\"/></FDT>",
        "<FDT><ReadRequest index=\"1\" slot=\"2\"/></FDT>",
        "<FDT> <ReadRequest slot=\"2\" index=\"1\" /></FDT>",
        "<FDT><ReadRequest slot=\"&#50;\" index=\"1\"/></FDT>",
        "<FDT><ReadRequest slot='2' index='1'/></FDT>",
        "<FDT><WriteRequest slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"0A\"></fdt:CommunicationData>"
        "</WriteRequest></FDT>",
        // no request
        "<FDT><ReadRequest slot=\"256\" index=\"1\"/></FDT>",
        "<FDT><ReadRequest slot=\"-1\" index=\"1\"/></FDT>",
        "<FDT><ReadRequest slot=\"\" index=\"1\"/></FDT>",
        "<FDT><ReadRequest slot=\"1\"/></FDT>",
        "<FDT><ReadRequest slot=\"1\" index=\"2\"/></FDT><extra/>",
        "<FDT><ReadRequest slot=\"1\" index=\"2\"/>",
        "<FDT><WriteRequest slot=\"1\" index=\"8\"/></FDT>",
        "<FDT><WriteRequest slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"0\"/></WriteRequest></FDT>",
        "<FDT><WriteRequest slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"zz\"/></WriteRequest></FDT>",
        "<FDT><WriteRequest slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"0A\"/></ReadRequest></FDT>",
        "<FDT><Abort/></FDT>",
        "",
    };
    for (const std::string& text : texts) EXPECT_TRUE(Read(text, false) == Read(text, true)) << text;
    EXPECT_TRUE(Read(texts[1], false).ok);
    EXPECT_EQ(Read(texts[1], false).request.data, (std::vector<uint8_t>{0x0A, 0xFF}));
}

TEST(DeviceChannelRequests, TheRuntimesDocumentsReadBack) {
    for (const bool write : {false, true}) {
        platform::rt::Transaction trans;
        trans.TransSlot(platform::Variant::Int(3));
        trans.TransIndex(platform::Variant::Int(200));
        if (write) trans.TransData(platform::Variant::ByteArray({1, 2, 0xAB}));
        std::string xml;
        ASSERT_TRUE(platform::rt::BuildTransactionDocument(trans, write, xml));
        const Reading r = Read(xml, false);
        ASSERT_TRUE(r.ok) << xml;
        EXPECT_EQ(r.request.write, write);
        EXPECT_EQ(r.request.slot, 3);
        EXPECT_EQ(r.request.index, 200);
        const std::vector<uint8_t> data = write ? std::vector<uint8_t>{1, 2, 0xAB} : std::vector<uint8_t>{};
        EXPECT_EQ(r.request.data, data);
    }
}

}  // namespace
