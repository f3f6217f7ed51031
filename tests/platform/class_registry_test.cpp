#include "platform/com/ClassRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "platform/com/Error.h"
#include "platform/com/IClassInit.h"

namespace {

using platform::P;
using platform::com::ClassRegistry;
using platform::com::ComError;
using platform::com::Guid;
using platform::com::IClassInit;
using platform::com::Object;

// Records the creation steps; Class_Initialize needs the owning shared_ptr.
class TwoPhaseClass : public IClassInit, public std::enable_shared_from_this<TwoPhaseClass> {
public:
    explicit TwoPhaseClass(std::vector<std::string>& log) : log_(log) { log_.push_back("construct"); }
    void Class_Initialize() override {
        self = weak_from_this();
        log_.push_back(self.expired() ? "initialize without owner" : "initialize");
    }
    std::weak_ptr<TwoPhaseClass> self;

private:
    std::vector<std::string>& log_;
};

class PlainClass : public Object {};

class FailingInit : public IClassInit {
public:
    void Class_Initialize() override { platform::com::Raise(380); }
};

class ClassRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        registry.Register("RG38N226_4_07.TwoPhase",
                          [this] { return std::make_shared<TwoPhaseClass>(log); });
        registry.Register("RG38N226_4_07.Plain", [] { return std::make_shared<PlainClass>(); });
    }
    ClassRegistry registry;
    std::vector<std::string> log;
};

TEST_F(ClassRegistryTest, CreateObjectConstructsThenInitialisesOnceOwned) {
    P<Object> obj = registry.CreateObject("RG38N226_4_07.TwoPhase");
    auto created = std::dynamic_pointer_cast<TwoPhaseClass>(obj);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"construct", "initialize"}));
    EXPECT_EQ(created->self.lock(), created);

    // A class without the hook is simply constructed.
    EXPECT_NE(std::dynamic_pointer_cast<PlainClass>(registry.CreateObject("RG38N226_4_07.Plain")),
              nullptr);
}

TEST_F(ClassRegistryTest, EachCreationMakesANewObject) {
    auto a = registry.CreateObject("RG38N226_4_07.TwoPhase");
    auto b = registry.CreateObject("RG38N226_4_07.TwoPhase");
    EXPECT_NE(a, b);
    EXPECT_EQ(log.size(), 4u);
}

TEST_F(ClassRegistryTest, ProgIdsIgnoreAsciiCase) {
    EXPECT_NE(registry.CreateObject("rg38n226_4_07.twophase"), nullptr);
    EXPECT_TRUE(registry.IsRegistered("RG38N226_4_07.PLAIN"));
}

TEST_F(ClassRegistryTest, UnknownIdRaises429AndTryGivesNull) {
    EXPECT_EQ(ErrorOf([&] { registry.CreateObject("RG38N226_4_07.Unknown"); }), 429);
    EXPECT_EQ(ErrorOf([&] { registry.CreateObject(""); }), 429);
    EXPECT_EQ(registry.TryCreateObject("RG38N226_4_07.Unknown"), nullptr);

    registry.Register("RG38N226_4_07.Nothing", [] { return P<Object>(); });
    EXPECT_EQ(ErrorOf([&] { registry.CreateObject("RG38N226_4_07.Nothing"); }), 429);
    EXPECT_EQ(registry.TryCreateObject("RG38N226_4_07.Nothing"), nullptr);
}

TEST_F(ClassRegistryTest, InitialiseErrorReachesTheCaller) {
    registry.Register("RG38N226_4_07.Failing", [] { return std::make_shared<FailingInit>(); });
    EXPECT_EQ(ErrorOf([&] { registry.CreateObject("RG38N226_4_07.Failing"); }), 380);
    EXPECT_EQ(ErrorOf([&] { registry.TryCreateObject("RG38N226_4_07.Failing"); }), 380);
}

TEST_F(ClassRegistryTest, RegisteringAgainReplacesTheClass) {
    registry.Register("rg38n226_4_07.twophase", [] { return std::make_shared<PlainClass>(); });
    EXPECT_NE(std::dynamic_pointer_cast<PlainClass>(registry.CreateObject("RG38N226_4_07.TwoPhase")),
              nullptr);
    EXPECT_TRUE(log.empty());
}

TEST_F(ClassRegistryTest, RegisterRefusesEmptyIdOrFactory) {
    EXPECT_EQ(ErrorOf([&] { registry.Register("", [] { return std::make_shared<PlainClass>(); }); }),
              5);
    EXPECT_EQ(ErrorOf([&] { registry.Register("RG38N226_4_07.X", nullptr); }), 5);
}

TEST_F(ClassRegistryTest, ClassIdIsNameBasedAndStable) {
    registry.Register("RG38N226_4_07.DTMMain", [] { return std::make_shared<PlainClass>(); });
    Guid id;
    ASSERT_TRUE(registry.CLSIDFromProgID("RG38N226_4_07.DTMMain", id));
    // A version-5 id of the lower-cased program id: the same text in every run.
    EXPECT_EQ(ClassRegistry::GuidToString(id), "{AD02B924-F835-55F1-9979-00EAEC0C2784}");

    Guid sameInOtherCase;
    ASSERT_TRUE(registry.CLSIDFromProgID("rg38n226_4_07.dtmmain", sameInOtherCase));
    EXPECT_EQ(sameInOtherCase, id);

    Guid other;
    ASSERT_TRUE(registry.CLSIDFromProgID("RG38N226_4_07.Plain", other));
    EXPECT_NE(other, id);
}

TEST_F(ClassRegistryTest, ClassIdOfUnregisteredIdFailsAndKeepsTheArgument) {
    Guid id;
    id.Data1 = 0x12345678;
    const Guid before = id;
    EXPECT_FALSE(registry.CLSIDFromProgID("RG38N226_4_07.Unknown", id));
    EXPECT_FALSE(registry.CLSIDFromProgID("", id));
    EXPECT_EQ(id, before);
}

TEST(ClassRegistryText, GuidTextIsBracedUpperCase8_4_4_4_12) {
    Guid g;
    g.Data1 = 0x0a1b2c3d;
    g.Data2 = 0x4e5f;
    g.Data3 = 0x0607;
    const uint8_t tail[8] = {0x89, 0xab, 0xcd, 0xef, 0x00, 0x01, 0xfe, 0x0a};
    for (int i = 0; i < 8; ++i) g.Data4[i] = tail[i];
    EXPECT_EQ(ClassRegistry::GuidToString(g), "{0A1B2C3D-4E5F-0607-89AB-CDEF0001FE0A}");
    EXPECT_EQ(ClassRegistry::GuidToString(Guid{}), "{00000000-0000-0000-0000-000000000000}");
}

TEST(ClassRegistryGlobal, IsOneInstance) {
    EXPECT_EQ(&ClassRegistry::Global(), &ClassRegistry::Global());
}

}  // namespace
