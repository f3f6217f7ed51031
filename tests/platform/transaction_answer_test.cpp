// The decoding of the frame's transaction answers: the compact-form reader
// must read every text exactly as the XML parser does, whether it takes the
// text or leaves it to the parser.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/Variant.h"
#include "platform/rt/Transaction.h"
#include "platform/rt/TransactionDocuments.h"
#include "platform/xml/Dom.h"

namespace {

using platform::Variant;
using platform::rt::Transaction;

Transaction Request() {
    Transaction trans;
    trans.TransSlot(Variant::Byte(1));
    trans.TransIndex(Variant::Byte(8));
    trans.TransData(Variant::ByteArray({0xEE}));  // what a failed decoding must leave
    trans.ErrorInfo(Variant::ByteArray({1, 2, 3}));
    return trans;
}

struct Decoded {
    int32_t status;
    Transaction trans;
};

Decoded Decode(const std::string& text, bool write, bool parserOnly) {
    Decoded out{0, Request()};
    out.status = parserOnly ? platform::rt::DecodeTransactionAnswerDocument(text, write, out.trans)
                            : platform::rt::DecodeTransactionAnswer(text, write, out.trans);
    return out;
}

// Every text decodes to the same status, data and error bytes both ways; the
// number of texts that decode well.
int ExpectSameAsTheParser(const std::vector<std::string>& texts, bool write) {
    int good = 0;
    for (const auto& text : texts) {
        const Decoded fast = Decode(text, write, false);
        const Decoded parsed = Decode(text, write, true);
        EXPECT_EQ(fast.status, parsed.status) << text;
        EXPECT_TRUE(platform::com::Identical(fast.trans.TransData(), parsed.trans.TransData())) << text;
        EXPECT_TRUE(platform::com::Identical(fast.trans.ErrorInfo(), parsed.trans.ErrorInfo())) << text;
        if (parsed.status == platform::rt::kTransportOk) ++good;
    }
    return good;
}

// The text, every prefix, every text with one character left out, and every
// text with one character replaced by one of a few that matter to XML.
std::vector<std::string> Variations(const std::string& text) {
    std::vector<std::string> out{text};
    for (size_t i = 0; i < text.size(); ++i) {
        out.push_back(text.substr(0, i));
        out.push_back(text.substr(0, i) + text.substr(i + 1));
        for (const char c : std::string(" \"'x0F</>&=:\n"))
            if (c != text[i]) out.push_back(text.substr(0, i) + c + text.substr(i + 1));
    }
    return out;
}

TEST(TransactionAnswer, TheCompactReaderReadsEveryTextAsTheParserDoes) {
    struct Case {
        const char* text;
        bool write;
    };
    const Case bases[] = {
        {"<FDT><ReadResponse slot=\"1\" index=\"8\" errorCode=\"0\"><fdt:CommunicationData byteArray=\"41a0\"/>"
         "</ReadResponse></FDT>", false},
        {"<FDT><ReadResponse slot=\"1\" index=\"8\" errorCode=\"182\" errorDecode=\"128\" errorCode2=\"0\"/></FDT>",
         false},
        {"<FDT><WriteResponse slot=\"1\" index=\"8\" errorCode=\"0\"/></FDT>", true},
        {"<FDT><WriteResponse slot=\"1\" index=\"8\" errorCode=\"176\" errorDecode=\"128\" errorCode2=\"7\"/></FDT>",
         true},
    };
    for (const auto& base : bases) {
        SCOPED_TRACE(base.text);
        EXPECT_GT(ExpectSameAsTheParser(Variations(base.text), base.write), 0);
        EXPECT_EQ(ExpectSameAsTheParser(Variations(base.text), !base.write), 0);
    }

    // Forms the compact reader must leave to the parser or read the same.
    const std::vector<std::string> reads = {
        "<FDT><ReadResponse slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse index=\"8\" slot=\"1\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot=\"1\" slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot=\"1\" index=\"8\" extra=\"1\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot=\"01\" index=\"+8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot=\"&#49;\" index=\"8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot='1' index='8'><fdt:CommunicationData byteArray='41'/></ReadResponse></FDT>",
        "<FDT><ReadResponse  slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot=\"1\" index=\"8\" errorCode=\"256\"/></FDT>",
        "<FDT><ReadResponse slot=\"1\" index=\"8\" errorCode=\"-1\"/></FDT>",
        "<FDT><ReadResponse slot=\"1\" index=\"8\"/></FDT>",
        "<FDT><ReadResponse slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse><Abort/></FDT>",
        "<FDT xmlns:fdt=\"urn:fdt:types\"><ReadResponse slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<?xml version=\"1.0\"?><FDT><ReadResponse slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>\n",
        std::string("<FDT><ReadResponse slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>") +
            '\0',
        "<FDT><ReadResponse 1=\"2\" slot=\"1\" index=\"8\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot=\"1\" index=\"8\" -a=\"2\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot=\"1\" index=\"8\" _a=\"2\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
        "<FDT><ReadResponse slot=\"1\" index=\"8\" a:slot=\"2\"><fdt:CommunicationData byteArray=\"41\"/></ReadResponse></FDT>",
    };
    EXPECT_GT(ExpectSameAsTheParser(reads, false), 0);
}

TEST(TransactionAnswer, ACompactReadAnswerGivesItsBytes) {
    const Decoded read = Decode(
        "<FDT><ReadResponse slot=\"1\" index=\"8\" errorCode=\"0\"><fdt:CommunicationData byteArray=\"41A0\"/>"
        "</ReadResponse></FDT>", false, false);
    EXPECT_EQ(read.status, platform::rt::kTransportOk);
    EXPECT_EQ(read.trans.TransData().ToBytes(), (std::vector<uint8_t>{0x41, 0xA0}));
    EXPECT_TRUE(read.trans.ErrorInfo().IsEmpty());
}

TEST(TransactionAnswer, ByteAttributesAndHexBytesTakeOnlyWhatTheyShould) {
    const std::pair<const char*, int> bytes[] = {{"0", 0},    {"255", 255}, {"007", 7},  {"256", -1},
                                                 {"-0", 0},   {"-00", 0},   {"-", -1},   {"-1", -1},
                                                 {"+1", -1},  {" 1", -1},   {"", -1},    {"1a", -1},
                                                 {"99999999999", -1}};
    for (const auto& [text, value] : bytes) {
        platform::xml::Document doc;
        ASSERT_TRUE(doc.LoadXML(std::string("<a v=\"") + text + "\"/>"));
        EXPECT_EQ(platform::rt::ByteAttribute(*doc.DocumentElement(), "v", 99), value) << text;
        EXPECT_EQ(platform::rt::ByteAttribute(*doc.DocumentElement(), "w", 99), 99);
    }
    std::vector<uint8_t> out;
    EXPECT_TRUE(platform::rt::BytesFromHex("00fFa09B", out));
    EXPECT_EQ(out, (std::vector<uint8_t>{0x00, 0xFF, 0xA0, 0x9B}));
    for (const char* bad : {"0", "0G", "G0", "0\xff", "\xff" "0", " 0"})
        EXPECT_FALSE(platform::rt::BytesFromHex(bad, out)) << bad;
}

}  // namespace

TEST(TransactionAnswer, ACompactResponseIsReadOnlyInItsExactForm) {
    using platform::rt::CompactResponse;
    using platform::rt::ReadCompactResponse;
    CompactResponse r;
    ASSERT_TRUE(ReadCompactResponse(
        R"(<FDT><ReadResponse slot="0" index="16" errorCode="0"><fdt:CommunicationData byteArray="00AD"/></ReadResponse></FDT>)", r));
    EXPECT_EQ(r.kind, "ReadResponse");
    bool found = false;
    EXPECT_EQ(r.Value("index", found), "16");
    EXPECT_TRUE(found);
    EXPECT_EQ(r.Value("errorDecode", found), "");
    EXPECT_FALSE(found);
    EXPECT_TRUE(r.hasData);
    EXPECT_EQ(r.data, "00AD");
    ASSERT_TRUE(ReadCompactResponse(R"(<FDT><fdt:CommunicationError communicationError="busy"/></FDT>)", r));
    EXPECT_EQ(r.kind, "fdt:CommunicationError");
    EXPECT_FALSE(r.hasData);
    // Anything the XML parser might read otherwise is left to it.
    for (const char* text : {R"(<?xml version="1.0"?><FDT><Abort/></FDT>)",
                             R"(<FDT><WriteResponse slot="0" slot="1"/></FDT>)",
                             R"(<FDT><WriteResponse slot='0'/></FDT>)",
                             R"(<FDT><WriteResponse tag="a b"/></FDT>)",
                             R"(<FDT><WriteResponse tag="&amp;"/></FDT>)",
                             R"(<FDT><WriteResponse  slot="0"/></FDT>)",
                             R"(<FDT><ReadResponse><fdt:CommunicationData byteArray="00"/></WriteResponse></FDT>)",
                             R"(<FDT><ReadResponse><Other/></ReadResponse></FDT>)",
                             R"(<FDT><A a="1" b="2" c="3" d="4" e="5" f="6" g="7" h="8" i="9"/></FDT>)",
                             R"(<FDT><WriteResponse/></FDT> )", "<FDT><WriteResponse/>", ""})
        EXPECT_FALSE(ReadCompactResponse(text, r)) << text;
}

TEST(TransactionAnswer, TheCompactReaderTakesOnlyNamesTheParserTakes) {
    using platform::rt::CompactResponse;
    using platform::rt::ReadCompactResponse;
    // A name starts with a letter or "_" and goes on with letters, digits,
    // "_", "-", "." and ":"; any other name is left to the parser.
    struct Case {
        const char* name;
        bool compact;
    };
    const Case cases[] = {{"a", true},    {"_", true},    {"_a1", true},  {"Z9", true},   {"a-b", true},
                          {"a.b", true},  {"a:b", true},  {"a_b-c.d", true}, {"1", false}, {"1a", false},
                          {"-a", false},  {".a", false},  {":a", false},  {"9slot", false}};
    for (const Case& c : cases) {
        for (const std::string& text : {std::string("<FDT><ReadResponse ") + c.name + "=\"2\" slot=\"3\"/></FDT>",
                                        std::string("<FDT><") + c.name + " slot=\"3\"/></FDT>"}) {
            SCOPED_TRACE(text);
            CompactResponse r;
            EXPECT_EQ(ReadCompactResponse(text, r), c.compact);
            // What the compact reader takes, the parser takes too.
            if (c.compact) {
                platform::xml::Document doc;
                EXPECT_TRUE(doc.LoadXML(text));
            }
        }
    }
}
