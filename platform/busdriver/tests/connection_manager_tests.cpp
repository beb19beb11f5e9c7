// The connection manager: the dialog seam and the connection record it fills.
#include "automation_error.h"
#include "connection_dialog.h"
#include "simulated_line.h"

#include <gtest/gtest.h>

using namespace busdriver;

namespace {

std::u16string textAt(const ConnectionRecord& record, std::size_t offset) {
    std::u16string out;
    for (std::size_t i = offset; i + 1 < record.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(record[i] | (record[i + 1] << 8));
        if (c == 0) break;
        out.push_back(c);
    }
    return out;
}

std::u16string wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class ConnectionManagerTest : public ::testing::Test {
protected:
    void SetUp() override { simulatedLine().reset(); }
    void TearDown() override {
        setConnectionDialog({});
        installDriver(nullptr);
        simulatedLine().reset();
    }

    // The connection dialog answers with `choice`.
    static void offer(std::optional<InterfaceChoice> choice) {
        setConnectionDialog([choice](const std::string&, const std::vector<InterfaceChoice>&) { return choice; });
    }

    std::int32_t select(ConnectionRecord& record) {
        record.fill(0);
        return installedDriver()->createConnectionManager()->SelectConnection("", -1, record);
    }
};

}  // namespace

TEST_F(ConnectionManagerTest, HeadlessDefaultChoosesTheSimulatedLine) {
    ConnectionRecord record;
    ASSERT_EQ(select(record), 0);
    EXPECT_EQ(textAt(record, 0), wide(kSimulatedLineName));
    EXPECT_EQ(textAt(record, 148), wide(kSimulatedLineDefaultParameters));
    // {6D1C4A3E-52B7-4F0D-9A8E-3C7B15D2E940}: three little-endian numbers, then eight bytes in order.
    const std::vector<std::uint8_t> guid(record.begin() + 132, record.begin() + 148);
    EXPECT_EQ(guid, (std::vector<std::uint8_t>{0x3E, 0x4A, 0x1C, 0x6D, 0xB7, 0x52, 0x0D, 0x4F, 0x9A, 0x8E, 0x3C, 0x7B,
                                               0x15, 0xD2, 0xE9, 0x40}));
    EXPECT_EQ(simulatedLine().trace(),
              (std::vector<std::string>{"CreateConnectionManager", "SelectConnection \"\" -1"}));
}

TEST_F(ConnectionManagerTest, DialogChoiceCancelAndFailures) {
    std::vector<InterfaceChoice> seen;
    setConnectionDialog(
        [&](const std::string&, const std::vector<InterfaceChoice>& offered) -> std::optional<InterfaceChoice> {
            seen = offered;
            return InterfaceChoice{"Schnittstelle \xC3\xBC \xF0\x9F\x92\xA1", "{0826ffab-ff34-11d3-b34b-009027434ffa}",
                                   std::string(600, 'p')};
        });
    ConnectionRecord record;
    ASSERT_EQ(select(record), 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].interfaceId, kSimulatedLineGuid);
    EXPECT_EQ(textAt(record, 0), u"Schnittstelle \u00FC \U0001F4A1");
    EXPECT_EQ(record[132], 0xAB);
    EXPECT_EQ(record[147], 0xFA);
    EXPECT_EQ(textAt(record, 148), std::u16string(511, u'p'));  // cut to 511 characters, terminated

    // A name longer than its area is cut to 65 characters, never half a surrogate pair.
    offer(InterfaceChoice{std::string(70, 'n'), kSimulatedLineGuid, ""});
    ASSERT_EQ(select(record), 0);
    EXPECT_EQ(textAt(record, 0), std::u16string(65, u'n'));
    offer(InterfaceChoice{std::string(64, 'n') + "\xF0\x9F\x92\xA1", kSimulatedLineGuid, ""});
    ASSERT_EQ(select(record), 0);
    EXPECT_EQ(textAt(record, 0), std::u16string(64, u'n'));

    offer(std::nullopt);
    EXPECT_EQ(select(record), 0);
    EXPECT_EQ(record, ConnectionRecord{});

    offer(InterfaceChoice{"x", "0826FFAB-FF34-11D3-B34B-009027434FFA", ""});  // no braces
    EXPECT_EQ(select(record), statusInvalidArgument);
    EXPECT_EQ(record, ConnectionRecord{});

    setConnectionDialog([](const std::string&, const std::vector<InterfaceChoice>&) -> std::optional<InterfaceChoice> {
        throw automation::AutomationError(0x4711, "dialog", "broken");
    });
    EXPECT_EQ(select(record), 0x4711);

    setConnectionDialog({});
    simulatedLine().failCall(1, statusFailed, "SelectConnection");
    EXPECT_EQ(select(record), statusFailed);
    EXPECT_EQ(record, ConnectionRecord{});
    simulatedLine().failCall(1, statusClassNotRegistered, "CreateConnectionManager");
    EXPECT_THROW(select(record), automation::AutomationError);
}
