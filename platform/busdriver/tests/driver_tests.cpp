// The driver's objects against the simulated line: call order, data shapes, refusals and faults.
#include "automation_error.h"
#include "falcon.h"
#include "simulated_line.h"
#include "testing/error_of.h"

#include <gtest/gtest.h>

using namespace busdriver;
using automation::Variant;
using automation::testing::errorOf;

namespace {

class SimulatedLineTest : public ::testing::Test {
protected:
    void SetUp() override { line().reset(); }
    void TearDown() override {
        access.reset();
        connection.reset();
        line().reset();
    }

    static SimulatedLine& line() { return simulatedLine(); }

    // Creates the objects as a job does and opens a connection; returns Open's code.
    std::int32_t connect(const Variant& address = Variant("1.1.1"), const std::string& id = "1",
                         const std::string& parameters = "1") {
        const std::shared_ptr<Driver> driver = installedDriver();
        connection = driver->createClassCreator()->CreateInstance("Falcon.ConnectionObject.1");
        connection->setMode(modeTransferOnly);
        connection->setRemoteAddress(address);
        std::int32_t code = -1;
        connection->Open(id, Variant(parameters), code);
        access = driver->createPropertyAccess();
        access->Attach(connection);
        access->setRetryCount(2);
        return code;
    }

    Variant read(int object, int property, int type, int start = 1, int count = 1) {
        Variant v;
        access->ReadProperty(object, property, type, start, count, v);
        return v;
    }

    void write(int object, int property, int type, int start, int count, const Variant& value, bool verify = false) {
        access->WriteProperty(object, property, type, start, count, value, verify);
    }

    std::shared_ptr<ConnectionObject> connection;
    std::shared_ptr<PropertyAccess> access;
};

Variant block(std::vector<std::uint8_t> bytes) { return Variant::bytes(bytes); }

}  // namespace

TEST_F(SimulatedLineTest, TraceRecordsTheCallSequence) {
    ASSERT_EQ(connect(Variant(std::int32_t{4353})), openOk);
    EXPECT_EQ(connection->remoteAddress(), 4353);
    EXPECT_EQ(connection->RemoteMaskVersion(), 32);
    read(4, 51, 4, 0, 1);
    write(4, 59, 19, 1, 1, block({3, 0, 0}), true);
    connection->setMode(modeClose);
    EXPECT_EQ(line().openConnections(), 0);
    EXPECT_EQ(line().trace(),
              (std::vector<std::string>{"CreateClassCreator", "CreateInstance Falcon.ConnectionObject.1", "Mode 5",
                                        "RemoteAddress 4353", "Open 1 \"1\"", "CreatePropertyAccess", "Attach",
                                        "RetryCount 2", "MaskVersion", "Read 4/51 type 4 start 0 count 1",
                                        "Write 4/59 type 19 start 1 count 1 verify", "Mode 6"}));
}

TEST_F(SimulatedLineTest, OpenRefusals) {
    EXPECT_EQ(connect(Variant("1.1.2")), openNoDevice);
    EXPECT_EQ(connect(Variant("1.1.1"), "{00000000-0000-0000-0000-000000000000}"), openUnknownInterface);
    EXPECT_EQ(connect(Variant("1.1.1"), ""), openUnknownInterface);
    EXPECT_EQ(connect(Variant("1.1.1"), "1", "ballasts=65"), openBadParameters);
    EXPECT_EQ(connect(Variant("1.1.1"), "1", "colour=red"), openBadParameters);
    EXPECT_EQ(line().openConnections(), 0);
    // The line's GUID in any case, and a parameter string that moves the gateway.
    EXPECT_EQ(connect(Variant("2.3.4"), "{6d1c4a3e-52b7-4f0d-9a8e-3c7b15d2e940}", "address=2.3.4"), openOk);
    EXPECT_EQ(line().config().address, 0x2304);
    std::int32_t code = -1;
    connection->Open("1", Variant("1"), code);
    EXPECT_EQ(code, openAlreadyOpen);
    EXPECT_EQ(errorOf([&] { connection->setRemoteAddress(Variant("2.3.5")); }), statusUnexpected);
    EXPECT_EQ(line().openConnections(), 1);
    connection.reset();  // released while open: closed
    access.reset();
    EXPECT_EQ(line().openConnections(), 0);

    // Calls before opening or with bad arguments.
    auto fresh = installedDriver()->createClassCreator()->CreateInstance("Falcon.ConnectionObject.1");
    EXPECT_EQ(errorOf([&] { fresh->Open("1", Variant("1"), code); }), statusUnexpected);  // no mode
    EXPECT_EQ(errorOf([&] { fresh->RemoteMaskVersion(); }), statusNotConnected);
    EXPECT_EQ(errorOf([&] { fresh->setMode(7); }), statusInvalidArgument);
    for (const Variant& bad : {Variant("1.1"), Variant("16.1.1"), Variant("1.1.256"), Variant("a.1.1"), Variant(1.5),
                               Variant(std::int32_t{65536}), Variant()})
        EXPECT_EQ(errorOf([&] { fresh->setRemoteAddress(bad); }), statusInvalidArgument) << automation::toText(bad);
    EXPECT_EQ(errorOf([&] { installedDriver()->createClassCreator()->CreateInstance("Falcon.Other.1"); }),
              statusClassNotRegistered);
}

TEST_F(SimulatedLineTest, ParameterStrings) {
    LineConfig c;
    EXPECT_TRUE(parseLineParameters("1", c));
    EXPECT_TRUE(
        parseLineParameters(" address = 15.15.255 ; model=517204;ballasts=0;seed=4294967295;polls=0;mask=16;", c));
    EXPECT_EQ(c.address, 0xFFFF);
    EXPECT_EQ(c.model, "517204");
    EXPECT_EQ(c.ballasts, 0);
    EXPECT_EQ(c.seed, 4294967295u);
    EXPECT_EQ(c.polls, 0);
    EXPECT_EQ(c.maskVersion, 16);
    std::string why;
    for (const char* bad : {"address=0.0.0", "address=1.1", "model=51a", "model=12345678901", "ballasts=-1", "polls=x",
                            "seed=4294967296", "Address=1.1.1;speed=3"}) {
        LineConfig d = c;
        EXPECT_FALSE(parseLineParameters(bad, d, &why)) << bad;
        EXPECT_EQ(d.address, 0xFFFF);  // untouched
    }
    EXPECT_EQ(why, "unknown key: speed");
    EXPECT_TRUE(parseLineParameters("address=4353", c));
    EXPECT_EQ(c.address, 4353);

    // The check names the first key refused and the range of its values.
    const struct {
        const char* text;
        const char* key;  // nullptr: taken
        const char* low;
        const char* high;
    } checks[] = {
        {"address=1.1.1;model=517104;ballasts=5;seed=7;polls=3", nullptr, "", ""},
        {"1", nullptr, "", ""},
        {"ballasts=64;polls=10000;mask=65535;model=9999999999;address=15.15.255", nullptr, "", ""},
        {"ballasts=99", "ballasts", "0", "64"},
        {"polls=abc", "polls", "0", "10000"},
        {"address=0", "address", "0.0.1", "15.15.255"},
        {"address=1.16.1", "address", "0.0.1", "15.15.255"},
        {"seed=4294967296", "seed", "0", "4294967295"},
        {"mask=65536", "mask", "0", "65535"},
        {"model=12345678901", "model", "0", "9999999999"},
        {"ballasts=3; Polls=-1; mask=x", "polls", "0", "10000"},
        {"speed=3", "speed", "", ""},
    };
    for (const auto& k : checks) {
        const std::optional<ParameterFault> f = checkLineParameters(k.text);
        ASSERT_EQ(f.has_value(), k.key != nullptr) << k.text;
        const std::vector<std::string> named =
            f ? std::vector<std::string>{f->key, f->low, f->high} : std::vector<std::string>{"", "", ""};
        EXPECT_EQ(named, (std::vector<std::string>{k.key ? k.key : "", k.low, k.high})) << k.text;
    }
    for (const char* id :
         {"1", " 1 ", "{6D1C4A3E-52B7-4F0D-9A8E-3C7B15D2E940}", "{6d1c4a3e-52b7-4f0d-9a8e-3c7b15d2e940}"})
        EXPECT_TRUE(selectsSimulatedLine(id)) << id;
    for (const char* id : {"", "2", "{0826FFAB-FF34-11D3-B34B-009027434FFA}"})
        EXPECT_FALSE(selectsSimulatedLine(id)) << id;
}

TEST_F(SimulatedLineTest, TablesMoveAsTheJobsMoveThem) {
    ASSERT_EQ(connect(), openOk);
    // Element counts come back as numbers.
    EXPECT_EQ(read(4, 51, 4, 0, 1), Variant(std::int32_t{64}));
    EXPECT_EQ(read(4, 56, 3, 0, 1), Variant(std::int32_t{16}));
    // Download: length at index 0, then two ballast entries per telegram.
    write(4, 51, 3, 0, 1, Variant(std::int32_t{64}));
    write(4, 51, 20, 1, 2, Variant::variants({block({3, 0x11, 0x22, 0x33}), block({16, 1, 2, 3})}));
    write(4, 51, 20, 63, 2, Variant::variants({block({1, 0, 0, 0}), block({255, 0, 0, 0})}));
    write(4, 56, 18, 16, 1, block({0x0F, 0xF0}), true);  // a single element is passed on its own
    DaliGateway& g = line().gateway();
    EXPECT_EQ(g.ballastTable[0], (BallastEntry{3, 0x11, 0x22, 0x33}));
    EXPECT_EQ(g.ballastTable[62].group, 1);
    EXPECT_EQ(g.sceneTable[15], (SceneEntry{0x0F, 0xF0}));
    // Upload: an array of variants holding one byte array each, or one byte array.
    const Variant two = read(4, 51, 20, 1, 2);
    EXPECT_EQ(two, Variant::variants({block({3, 0x11, 0x22, 0x33}), block({16, 1, 2, 3})}));
    EXPECT_EQ(read(4, 51, 20, 64, 1), block({255, 0, 0, 0}));
    EXPECT_EQ(read(4, 56, 18, 12, 5),
              Variant::variants({block({0, 0}), block({0, 0}), block({0, 0}), block({0, 0}), block({0x0F, 0xF0})}));

    // Refusals.
    EXPECT_EQ(errorOf([&] { write(4, 51, 3, 0, 1, Variant(std::int32_t{10})); }), statusInvalidArgument);
    EXPECT_EQ(errorOf([&] { read(4, 51, 20, 64, 2); }), statusInvalidArgument);  // past the end
    EXPECT_EQ(errorOf([&] { read(4, 51, 20, 1, 3); }), statusInvalidArgument);   // 12 bytes
    EXPECT_EQ(errorOf([&] { read(4, 51, 18, 1, 1); }), statusInvalidArgument);   // wrong type
    EXPECT_EQ(errorOf([&] { read(4, 51, 20, 0, 1); }), statusInvalidArgument);   // count as a block
    EXPECT_EQ(errorOf([&] { write(4, 51, 20, 1, 1, block({1, 2, 3})); }), statusInvalidArgument);
    EXPECT_EQ(errorOf([&] { write(4, 51, 20, 1, 2, block({1, 2, 3, 4})); }), statusInvalidArgument);
    EXPECT_EQ(errorOf([&] { write(4, 51, 20, 1, 1, Variant::longs({1, 2, 3, 256})); }), statusInvalidArgument);
    EXPECT_EQ(errorOf([&] { write(5, 15, 12, 1, 1, block({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})); }), statusReadOnly);
    EXPECT_EQ(errorOf([&] { read(4, 52, 20, 1, 1); }), statusUnknownProperty);
    // Each property only in its own type: floats, dates, times and poll-group settings never.
    for (int type : {5, 6, 7, 10, 11, 13}) {
        EXPECT_EQ(errorOf([&] { read(3, 5, type); }), statusInvalidArgument) << type;
        EXPECT_EQ(errorOf([&] { write(3, 6, type, 1, 1, Variant(std::int32_t{1})); }), statusInvalidArgument) << type;
    }
    EXPECT_EQ(g.ballastTable[0], (BallastEntry{3, 0x11, 0x22, 0x33}));
}

// A number outside its type's range is refused and stores nothing: PT_UNSIGNED_CHAR takes
// 0..255, so -1 is no 255.
TEST_F(SimulatedLineTest, NumbersOutsideTheirTypesRangeAreRefused) {
    ASSERT_EQ(connect(), openOk);
    const std::pair<std::int32_t, bool> cases[] = {{0, true}, {255, true}, {-1, false}, {-128, false}, {256, false}};
    for (const auto& [value, taken] : cases) {
        const std::int32_t v = value;  // a binding cannot be captured by clang 14
        line().gateway().states.run = 7;
        EXPECT_EQ(errorOf([&] { write(3, 6, 2, 1, 1, Variant(v)); }), taken ? 0 : statusInvalidArgument) << value;
        EXPECT_EQ(line().gateway().states.run, taken ? value : 7) << value;
    }
}

TEST_F(SimulatedLineTest, CommandChannelAndPersistence) {
    line().configure("polls=2");
    ASSERT_EQ(connect(), openOk);
    write(4, 59, 19, 1, 1, block({1, 0, 0}));
    EXPECT_EQ(read(4, 59, 19), block({1, 0, 0}));
    EXPECT_EQ(read(4, 59, 19), block({1, 0, 0}));
    EXPECT_EQ(read(4, 59, 19), block({0xFF, 5, 0}));
    write(4, 59, 19, 1, 1, block({5, 4, 12}));  // answered at once
    EXPECT_EQ(read(4, 59, 19), block({0xFF, 4, 12}));
    connection->setMode(modeClose);

    // A new connection finds the gateway as it was left; reset restores a delivered gateway.
    ASSERT_EQ(connect(Variant("1.1.1"), "1", kSimulatedLineDefaultParameters), openOk);
    EXPECT_EQ(read(4, 51, 20, 5, 1).toBytes()[0], 12);
    line().reset();
    EXPECT_EQ(line().gateway().ballastTable[4], BallastEntry{});
    // More ballasts for the same seed: the first five stay, three are new.
    line().gateway().writeCommand({cmdNewInstallation, 0, 0});
    line().configure("ballasts=8");
    line().gateway().searchPolls = 0;
    line().gateway().writeCommand({cmdPostInstallation, 0, 0});
    EXPECT_EQ(line().gateway().pollReply(), (CommandBytes{0xFF, 0, 3}));
}

TEST_F(SimulatedLineTest, DeviceInformationShapes) {
    line().configure("model=517204");
    ASSERT_EQ(connect(), openOk);
    EXPECT_EQ(read(5, 15, 12), block({5, 1, 7, 2, 0, 4, 255, 255, 255, 255}));
    EXPECT_EQ(read(5, 202, 21), block({0x11, 0, 0, 0, 0}));
    line().gateway().states.load = 3;
    EXPECT_EQ(read(6, 5, 2), Variant(std::int32_t{1}));
    EXPECT_EQ(read(6, 6, 2), Variant(std::int32_t{1}));
    EXPECT_EQ(read(3, 5, 2), Variant(std::int32_t{3}));
    EXPECT_EQ(read(3, 6, 2), Variant(std::int32_t{1}));
    EXPECT_EQ(read(5, 15, 4, 0, 1), Variant(std::int32_t{1}));
    // A load-state control read and written as PT_CONTROL: byte 0 is the state.
    EXPECT_EQ(read(3, 5, 0), block({3, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    write(3, 5, 0, 1, 1, block({2, 9, 9, 9, 9, 9, 9, 9, 9, 9}), true);
    EXPECT_EQ(line().gateway().states.load, 2);
    EXPECT_EQ(errorOf([&] { read(3, 6, 0); }), statusInvalidArgument);
}

TEST_F(SimulatedLineTest, InjectedCallAndOpenFailures) {
    line().failOpen(7, 1);
    EXPECT_EQ(connect(), openOk);
    EXPECT_EQ(connect(), 7);
    EXPECT_EQ(connect(), 7);
    line().clearFaults();
    EXPECT_EQ(connect(), openOk);

    line().failCall(2, 0x1234, "Read");
    EXPECT_NO_THROW(read(4, 51, 4, 0, 1));
    EXPECT_NO_THROW(write(4, 51, 3, 0, 1, Variant(std::int32_t{64})));
    try {
        read(4, 51, 4, 0, 1);
        ADD_FAILURE() << "no error";
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), 0x1234);
        EXPECT_EQ(e.source(), "Falcon.PropertyAccess");
    }
    EXPECT_NO_THROW(read(4, 51, 4, 0, 1));
    line().failCall(1, statusFailed, "CreateInstance");
    EXPECT_EQ(errorOf([&] { connect(); }), statusFailed);
    EXPECT_EQ(line().trace().back(), "CreateInstance Falcon.ConnectionObject.1");
}

TEST_F(SimulatedLineTest, RetriesAbsorbTransientFailuresAndSilenceIsAnError) {
    ASSERT_EQ(connect(), openOk);  // retry count 2: three attempts per call
    line().failTransiently(2);
    EXPECT_EQ(read(4, 51, 4, 0, 1), Variant(std::int32_t{64}));
    EXPECT_EQ(line().retriesUsed(), 2);
    line().failTransiently(3);
    EXPECT_EQ(errorOf([&] { write(4, 59, 19, 1, 1, block({3, 0, 0})); }), statusNoAnswer);
    EXPECT_EQ(line().gateway().peekReply(), (CommandBytes{0, 0, 0}));  // nothing arrived
    EXPECT_EQ(read(4, 51, 4, 0, 1), Variant(std::int32_t{64}));

    line().stopAnswering(1);
    EXPECT_NO_THROW(connection->RemoteMaskVersion());
    EXPECT_EQ(errorOf([&] { read(4, 51, 4, 0, 1); }), statusNoAnswer);
    EXPECT_EQ(errorOf([&] { connection->RemoteMaskVersion(); }), statusNoAnswer);
    EXPECT_EQ(connect(), openNoDevice);
    line().configure("mask=16");
    line().clearFaults();
    ASSERT_EQ(connect(), openOk);
    EXPECT_EQ(connection->RemoteMaskVersion(), 16);
}

TEST_F(SimulatedLineTest, VerifyDifferenceAndReplyShapes) {
    ASSERT_EQ(connect(), openOk);
    line().setVerifyDifference(4, 56);
    EXPECT_NO_THROW(write(4, 56, 18, 1, 1, block({0x10, 0x20})));
    EXPECT_EQ(errorOf([&] { write(4, 56, 18, 1, 1, block({0x10, 0x20}), true); }), statusVerifyFailed);
    EXPECT_EQ(read(4, 56, 18), block({0x11, 0x20}));
    EXPECT_EQ(line().gateway().sceneTable[0], (SceneEntry{0x10, 0x20}));

    line().setReplyFault(4, 51, ReplyFault::tooShort);
    EXPECT_EQ(read(4, 51, 4, 0, 1), Variant(std::int32_t{63}));
    EXPECT_EQ(read(4, 51, 20, 1, 2), Variant::variants({block({255, 0, 0, 0})}));  // the second element missing
    EXPECT_EQ(read(4, 51, 20, 1, 1), block({255, 0, 0}));
    line().setReplyFault(4, 51, ReplyFault::empty);
    EXPECT_TRUE(read(4, 51, 4, 0, 1).isEmpty());
    EXPECT_TRUE(read(4, 51, 20, 1, 2).isEmpty());
    line().setReplyFault(4, 51, ReplyFault::outOfRange);
    EXPECT_EQ(read(4, 51, 4, 0, 1), Variant(std::int32_t{64}));
    EXPECT_EQ(read(4, 51, 20, 1, 1), Variant::longs({511, 0, 0, 0}));
    line().setReplyFault(3, 5, ReplyFault::outOfRange);
    EXPECT_EQ(read(3, 5, 2), Variant(std::int32_t{257}));
    line().setReplyFault(4, 51, ReplyFault::none);
    EXPECT_EQ(read(4, 51, 20, 1, 1), block({255, 0, 0, 0}));
}
