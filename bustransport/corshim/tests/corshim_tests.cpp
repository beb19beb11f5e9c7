#include "corshim.h"

#include "automation_error.h"
#include "connection_dialog.h"
#include "falcon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using busdriver::ConnectionRecord;
using corshim::CWrapConnectionManager;
namespace rec = corshim::record;

namespace {

// A connection manager whose dialog fills the record as the test scripts it.
class FakeManager : public busdriver::ConnectionManager {
public:
    std::function<std::int32_t(ConnectionRecord&)> dialog;
    std::string caption = "unset";
    std::int32_t flags = 0;
    bool recordWasZero = false;

    std::int32_t SelectConnection(const std::string& c, std::int32_t f, ConnectionRecord& r) override {
        caption = c;
        flags = f;
        recordWasZero = std::all_of(r.begin(), r.end(), [](std::uint8_t b) { return b == 0; });
        return dialog(r);
    }
};

class FakeDriver : public busdriver::Driver {
public:
    std::function<std::shared_ptr<busdriver::ConnectionManager>()> makeManager;

    std::shared_ptr<busdriver::ClassCreator> createClassCreator() override { return nullptr; }
    std::shared_ptr<busdriver::PropertyAccess> createPropertyAccess() override { return nullptr; }
    std::shared_ptr<busdriver::AuxiliaryObject> createAuxiliaryObject() override { return nullptr; }
    std::shared_ptr<busdriver::ConnectionManager> createConnectionManager() override { return makeManager(); }
};

void putUtf16(ConnectionRecord& r, std::size_t offset, const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        r[offset + 2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        r[offset + 2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
}

// {0826FFAB-FF34-11D3-B34B-009027434FFA}
void putGuid(ConnectionRecord& r) {
    const std::uint8_t bytes[16] = {0xAB, 0xFF, 0x26, 0x08, 0x34, 0xFF, 0xD3, 0x11,
                                    0xB3, 0x4B, 0x00, 0x90, 0x27, 0x43, 0x4F, 0xFA};
    std::copy(std::begin(bytes), std::end(bytes), r.begin() + rec::kGuidOffset);
}

class CorshimTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver = std::make_shared<FakeDriver>();
        manager = std::make_shared<FakeManager>();
        driver->makeManager = [this] { return manager; };
        busdriver::installDriver(driver);
    }
    void TearDown() override { busdriver::installDriver(nullptr); }

    // Runs GetConnection with out arguments that show whether they were touched.
    std::int32_t run() {
        guid = "old guid";
        parameter = "old parameter";
        result = true;
        return CWrapConnectionManager().GetConnection(guid, parameter, result);
    }

    std::shared_ptr<FakeDriver> driver;
    std::shared_ptr<FakeManager> manager;
    std::optional<std::string> guid;
    std::optional<std::string> parameter;
    bool result = false;
};

}  // namespace

TEST_F(CorshimTest, ChosenInterfaceGivesGuidTextAndParameters) {
    manager->dialog = [](ConnectionRecord& r) {
        putUtf16(r, rec::kNameOffset, u"USB interface");
        putGuid(r);
        putUtf16(r, rec::kParameterOffset, u"Port=1;Speed=9600");
        return corshim::kStatusOk;
    };
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_TRUE(result);
    EXPECT_EQ(guid, "{0826FFAB-FF34-11D3-B34B-009027434FFA}");
    EXPECT_EQ(parameter, "Port=1;Speed=9600");
    EXPECT_EQ(manager->caption, "");
    EXPECT_EQ(manager->flags, -1);
    EXPECT_TRUE(manager->recordWasZero);
}

TEST_F(CorshimTest, EmptyNameMeansNothingChosenWhateverElseIsFilled) {
    manager->dialog = [](ConnectionRecord& r) {
        putGuid(r);
        putUtf16(r, rec::kNameOffset + 2, u"junk after the terminator");
        putUtf16(r, rec::kParameterOffset, u"Port=1");
        return corshim::kStatusOk;
    };
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_FALSE(result);
    EXPECT_FALSE(guid.has_value());
    EXPECT_FALSE(parameter.has_value());
}

TEST_F(CorshimTest, LongAndEmptyParameterStrings) {
    std::u16string text(511, u'p');
    text[0] = u'A';
    text[510] = u'Z';
    manager->dialog = [&](ConnectionRecord& r) {
        putUtf16(r, rec::kNameOffset, u"n");
        putUtf16(r, rec::kParameterOffset, text);
        return corshim::kStatusOk;
    };
    EXPECT_EQ(run(), corshim::kStatusOk);
    ASSERT_TRUE(parameter.has_value());
    EXPECT_EQ(parameter->size(), 511u);
    EXPECT_EQ(parameter->front(), 'A');
    EXPECT_EQ(parameter->back(), 'Z');
    EXPECT_EQ(guid, "{00000000-0000-0000-0000-000000000000}");

    // A driver that leaves out the terminator: reading ends with the record.
    text.push_back(u'!');
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_EQ(parameter->size(), 512u);
    EXPECT_EQ(parameter->back(), '!');

    text.clear();
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_TRUE(result);
    EXPECT_EQ(parameter, "");
}

TEST_F(CorshimTest, ParameterTextIsConvertedToUtf8) {
    std::u16string text = u"Größe € 😀";
    manager->dialog = [&](ConnectionRecord& r) {
        putUtf16(r, rec::kNameOffset, u"Schnittstelle");
        putUtf16(r, rec::kParameterOffset, text);
        return corshim::kStatusOk;
    };
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_EQ(parameter, "Größe € 😀");

    text = u"a\xD800" "b\xDC00";  // lone high and low surrogates
    EXPECT_EQ(run(), corshim::kStatusOk);
    EXPECT_EQ(parameter, "a\uFFFDb\uFFFD");
}

TEST_F(CorshimTest, CreationFailureIsReturnedAndOutArgumentsStay) {
    const std::int32_t notRegistered = corshim::kStatusClassNotRegistered;
    driver->makeManager = [&]() -> std::shared_ptr<busdriver::ConnectionManager> {
        throw automation::AutomationError(notRegistered, "busdriver", "Class not registered");
    };
    EXPECT_EQ(run(), notRegistered);
    EXPECT_EQ(guid, "old guid");
    EXPECT_EQ(parameter, "old parameter");
    EXPECT_TRUE(result);

    driver->makeManager = [] { return nullptr; };
    EXPECT_EQ(run(), corshim::kStatusClassNotRegistered);
    EXPECT_EQ(guid, "old guid");
}

TEST_F(CorshimTest, DialogFailureIsReturnedOutArgumentsStayAndManagerIsReleased) {
    const std::int32_t failure = static_cast<std::int32_t>(0x80070005u);
    manager->dialog = [&](ConnectionRecord& r) {
        putUtf16(r, rec::kNameOffset, u"half filled");
        return failure;
    };
    std::weak_ptr<FakeManager> watch = manager;
    driver->makeManager = [&, m = std::move(manager)]() mutable { return std::exchange(m, nullptr); };
    EXPECT_EQ(run(), failure);
    EXPECT_EQ(guid, "old guid");
    EXPECT_EQ(parameter, "old parameter");
    EXPECT_TRUE(result);
    EXPECT_TRUE(watch.expired());

    // A raised error without a number must not read as success.
    driver->makeManager = [] {
        auto m = std::make_shared<FakeManager>();
        m->dialog = [](ConnectionRecord&) -> std::int32_t { throw automation::AutomationError(0, "", ""); };
        return m;
    };
    EXPECT_EQ(run(), corshim::kStatusFail);
    EXPECT_EQ(guid, "old guid");
}


TEST(CorshimWithDefaultDriver, ReadsWhatTheDriversDialogWrote) {
    busdriver::installDriver(nullptr);
    busdriver::setConnectionDialog([](const std::string&, const std::vector<busdriver::InterfaceChoice>&) {
        return std::optional<busdriver::InterfaceChoice>{{"Sim", "{0826ffab-ff34-11d3-b34b-009027434ffa}", "Büro=€2"}};
    });
    std::optional<std::string> guid, parameter;
    bool result = false;
    EXPECT_EQ(CWrapConnectionManager().GetConnection(guid, parameter, result), corshim::kStatusOk);
    EXPECT_TRUE(result);
    EXPECT_EQ(guid, "{0826FFAB-FF34-11D3-B34B-009027434FFA}");
    EXPECT_EQ(parameter, "Büro=€2");

    busdriver::setConnectionDialog([](const std::string&, const std::vector<busdriver::InterfaceChoice>&) {
        return std::optional<busdriver::InterfaceChoice>{};
    });
    EXPECT_EQ(CWrapConnectionManager().GetConnection(guid, parameter, result), corshim::kStatusOk);
    EXPECT_FALSE(result);
    EXPECT_FALSE(guid.has_value());
    busdriver::setConnectionDialog({});
}
