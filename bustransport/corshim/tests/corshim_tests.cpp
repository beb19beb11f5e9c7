#include "corshim.h"

#include "automation_error.h"
#include "connection_dialog.h"
#include "simulated_line.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using busdriver::ConnectionRecord;
using busdriver::InterfaceChoice;
using corshim::CWrapConnectionManager;

namespace {

// Runs against the simulated driver, whose connection dialog offers `choice`.
class CorshimTest : public ::testing::Test {
protected:
    void SetUp() override {
        busdriver::simulatedLine().reset();
        busdriver::setConnectionDialog(
            [this](const std::string&, const std::vector<InterfaceChoice>&) { return choice; });
    }
    void TearDown() override {
        busdriver::setConnectionDialog({});
        busdriver::installDriver(nullptr);
        busdriver::simulatedLine().reset();
    }

    // Runs GetConnection with out arguments that show whether they were touched.
    std::int32_t run() {
        guid = "old guid";
        parameter = "old parameter";
        result = true;
        return CWrapConnectionManager().GetConnection(guid, parameter, result);
    }
    void expectUntouched() {
        EXPECT_EQ(guid, "old guid");
        EXPECT_EQ(parameter, "old parameter");
        EXPECT_TRUE(result);
    }

    std::optional<InterfaceChoice> choice;
    std::optional<std::string> guid;
    std::optional<std::string> parameter;
    bool result = false;
};

// A driver whose connection manager writes raw UTF-16 texts into the record.
struct RawDriver : busdriver::Driver {
    struct Manager : busdriver::ConnectionManager {
        std::int32_t SelectConnection(const std::string&, std::int32_t, ConnectionRecord& r) override {
            const auto put = [&](std::size_t offset, const std::u16string& text) {
                for (std::size_t i = 0; i < text.size(); ++i) {
                    r[offset + 2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
                    r[offset + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
                }
            };
            put(corshim::record::kNameOffset, name);
            put(corshim::record::kParameterOffset, parameters);
            return corshim::kStatusOk;
        }
        std::u16string name, parameters;
    };
    std::shared_ptr<busdriver::ClassCreator> createClassCreator() override { return nullptr; }
    std::shared_ptr<busdriver::PropertyAccess> createPropertyAccess() override { return nullptr; }
    std::shared_ptr<busdriver::AuxiliaryObject> createAuxiliaryObject() override { return nullptr; }
    std::shared_ptr<busdriver::ConnectionManager> createConnectionManager() override { return manager; }
    std::shared_ptr<Manager> manager = std::make_shared<Manager>();
};

}  // namespace

TEST_F(CorshimTest, ChosenInterfaceGivesGuidTextAndParameters) {
    choice = InterfaceChoice{"Sim", "{0826ffab-ff34-11d3-b34b-009027434ffa}", "Port=1;Größe € 😀"};
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_EQ(busdriver::simulatedLine().trace().back(), "SelectConnection \"\" -1");
    EXPECT_TRUE(result);
    EXPECT_EQ(guid, "{0826FFAB-FF34-11D3-B34B-009027434FFA}");
    EXPECT_EQ(parameter, "Port=1;Größe € 😀");

    const std::string longest = "A" + std::string(509, 'p') + "Z";
    choice = InterfaceChoice{"Sim", busdriver::kSimulatedLineGuid, longest};
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_EQ(guid, busdriver::kSimulatedLineGuid);
    EXPECT_EQ(parameter, longest);

    choice->parameters = "";
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_TRUE(result);
    EXPECT_EQ(parameter, "");
}

TEST_F(CorshimTest, NothingChosenResetsBothStrings) {
    choice.reset();
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_FALSE(result);
    EXPECT_FALSE(guid.has_value());
    EXPECT_FALSE(parameter.has_value());
}

TEST_F(CorshimTest, TextsEndAtTheirTerminatorOrTheirArea) {
    const auto driver = std::make_shared<RawDriver>();
    busdriver::installDriver(driver);
    // Only the first character of the name counts: empty means nothing chosen.
    driver->manager->name = std::u16string(u"\0junk after the terminator", 26);
    driver->manager->parameters = u"Port=1";
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_FALSE(result);

    // Parameters without a terminator end with the record; a lone surrogate becomes U+FFFD.
    driver->manager->name = u"n";
    driver->manager->parameters = u"a\xD800" + std::u16string(510, u'p');  // 512 units
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_EQ(parameter, "a\uFFFD" + std::string(510, 'p'));
}

TEST_F(CorshimTest, FailuresAreReturnedAndOutArgumentsStay) {
    busdriver::SimulatedLine& line = busdriver::simulatedLine();
    const std::int32_t denied = static_cast<std::int32_t>(0x80070005u);
    line.failCall(1, denied, "SelectConnection");
    EXPECT_EQ(run(), denied);
    expectUntouched();
    line.failCall(1, corshim::kStatusClassNotRegistered, "CreateConnectionManager");
    EXPECT_EQ(run(), corshim::kStatusClassNotRegistered);
    expectUntouched();
    // A raised error without a number must not read as success.
    line.failCall(1, 0, "CreateConnectionManager");
    EXPECT_EQ(run(), corshim::kStatusFail);
    expectUntouched();

    struct NoManager : RawDriver {
        std::shared_ptr<busdriver::ConnectionManager> createConnectionManager() override { return nullptr; }
    };
    busdriver::installDriver(std::make_shared<NoManager>());
    EXPECT_EQ(run(), corshim::kStatusClassNotRegistered);
    expectUntouched();
}
