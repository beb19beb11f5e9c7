// Opening a project file into the open project: read once, parsed aside under the model its
// header names, taken over whole or not at all.
#include "DeviceSelection.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModelTables.h"
#include "ProjectDocument.h"
#include "testing/error_of.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace corvane;
using automation::testing::errorOf;
namespace fs = std::filesystem;

namespace {

struct Events : corlink::clsOrvekDaliEvents {
    void HeaderChanged() override { ++headerChanged; }
    int headerChanged = 0;
};

class Document : public ::testing::Test {
protected:
    void SetUp() override {
        LanguageOffset = kEnglish;
        CreateDeviceTable();
        SetMessageBox([this](std::int32_t, const std::string& text, const std::string&) {
            messages.push_back(text);
            return 1;
        });
        fs::remove_all(dir);
        fs::create_directories(dir);
        // The open project: model 517104, unsaved work, and what no file holds.
        corlink::TypHeader h;
        h.DateiName = "mine.dal";
        h.Bestellnummer = "517104";
        openProject(h);
        ballast(project, 64, 7, "beyond the limits");
        corlink::TypDeviceInfo info;
        info.Bestellnummer = "517104";
        project.letDeviceInfo(info);
        project.setEventSink(&events);
    }
    void TearDown() override {
        project.setEventSink(nullptr);
        SetMessageBox({});
        LanguageOffset = kLanguageNotChosen;
        fs::remove_all(dir);
    }
    // The project sized for model 517104 with its header and ballast 9 in group 2, unsaved.
    void openProject(const corlink::TypHeader& h) {
        ASSERT_TRUE(SelectDeviceDefinition("517104", "11"));
        project.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
        project.letHeader(h);
        ballast(project, 9, 2, "unsaved work");
    }
    static void ballast(corlink::clsOrvekDali& p, std::int16_t i, std::uint8_t group, const std::string& name) {
        corlink::TypDaliGruppe b = p.DaliGruppe(i);
        b.Gruppe = group;
        b.Name = name;
        p.letDaliGruppe(i, b);
    }
    // A project file of a model, with ballast 9 in group 4.
    std::string fileOf(const std::string& order, const std::string& version) {
        const std::optional<ModelTables> model = ChooseDeviceDefinition(order, "11");
        corlink::clsOrvekDali other;
        other.IniInterface(model->MaxLimits, model->FunctionGroupList, model->PropertyObjectIds);
        corlink::TypHeader h;
        h.Bestellnummer = order;
        h.Version = version;
        other.letHeader(h);
        ballast(other, 9, 4, "file ballast");
        const std::string name = path(order + "-" + version + ".dal");
        other.SaveProjektData(name);
        return name;
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    // The file `name` in the test folder, holding `bytes`.
    std::string written(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary | std::ios::trunc) << bytes;
        return path(name);
    }

    fs::path dir = fs::temp_directory_path() / ("corvane-document-" + std::to_string(::getpid()));
    corlink::clsOrvekDali project;
    Events events;
    std::vector<std::string> messages;
};

std::string bytesOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Fields by kind: T a text at its longest (65535 bytes), a digit that many bytes of a number.
std::string longest(const std::string& fields) {
    std::string out;
    for (const char kind : fields)
        out += kind == 'T' ? "\xFF\xFF" + std::string(65535, 'x')
                           : std::string(static_cast<std::size_t>(kind - '0'), '\0');
    return out;
}

}  // namespace

TEST_F(Document, AFileOpensWholeUnderTheModelItsHeaderNames) {
    const std::string name = fileOf("517204", "11");
    const ProjectDocument::OpenResult result = ProjectDocument(project).Open(name);
    EXPECT_EQ(result.outcome, ProjectDocument::Outcome::Opened);
    EXPECT_EQ(MaxLimits.MaxTasten, 18);  // model 517204
    EXPECT_EQ(errorOf([&] { project.Tasten(18); }), 0);
    EXPECT_EQ(project.DaliGruppe(9).Name, "file ballast");
    EXPECT_EQ(project.DaliGruppe(9).Gruppe, 4);
    EXPECT_EQ(project.Header().Bestellnummer, "517204");
    EXPECT_EQ(project.Header().DateiName, name);
    EXPECT_FALSE(project.GetChangeFlag());
    EXPECT_EQ(events.headerChanged, 1);
    // What the file does not hold stays.
    EXPECT_EQ(project.DaliGruppe(64).Name, "beyond the limits");
    EXPECT_EQ(project.DeviceInfo().Bestellnummer, "517104");
    EXPECT_TRUE(messages.empty());
}

TEST_F(Document, AnyFailureLeavesTheProjectAndTheModelAsTheyWere) {
    const std::string good = fileOf("517204", "11");
    const std::string whole = bytesOf(good);
    const std::size_t header = 48 + good.size() + 6 + 2;  // texts empty but DateiName, Bestellnummer, Version
    ASSERT_EQ(::mkfifo(path("fifo.dal").c_str(), 0666), 0);
    using Outcome = ProjectDocument::Outcome;
    struct Case {
        const char* what;
        std::function<std::string()> file;
        std::int32_t raised;  // the error raised, else 0
        Outcome outcome;
        std::int16_t error;
        std::size_t messages;
    };
    const Case cases[] = {
        {"missing", [&] { return path("gone.dal"); }, 53, {}, 0, 0},
        {"folder", [&] { return dir.string(); }, 75, {}, 0, 0},
        {"FIFO", [&] { return path("fifo.dal"); }, 75, {}, 0, 0},
        {"empty", [&] { return written("e.dal", ""); }, 62, {}, 0, 0},
        {"header cut", [&] { return written("h.dal", whole.substr(0, header - 1)); }, 62, {}, 0, 0},
        {"header alone", [&] { return written("a.dal", whole.substr(0, header)); }, 0, Outcome::NotRead, 62, 0},
        {"one byte short", [&] { return written("s.dal", whole.substr(0, whole.size() - 1)); }, 0, Outcome::NotRead, 62,
         0},
        {"unknown firmware", [&] { return fileOf("517204", "12"); }, 0, Outcome::ModelRefused, 0, 1},
    };
    const corlink::TypHeader header0 = project.Header();
    const ModelTables model = Model;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        const std::string name = c.file();
        ProjectDocument::OpenResult result{Outcome::Opened};
        EXPECT_EQ(errorOf([&] { result = ProjectDocument(project).Open(name); }), c.raised);
        if (!c.raised) {
            EXPECT_EQ(result.outcome, c.outcome);
            EXPECT_EQ(result.error, c.error);
        }
        EXPECT_EQ(messages.size(), c.messages);
        EXPECT_EQ(project.Header(), header0);
        EXPECT_EQ(project.DaliGruppe(9).Name, "unsaved work");
        EXPECT_TRUE(project.GetChangeFlag());
        EXPECT_EQ(errorOf([&] { project.Tasten(9); }), 9);  // still sized for 517104
        EXPECT_EQ(Model, model);
        EXPECT_EQ(events.headerChanged, 0);
    }
    EXPECT_EQ(messages, std::vector<std::string>{
                            "Device with this version of firmware is unknown,  please contact manufacturer!"});
}

TEST_F(Document, FilesUpToTheLargestThatASaveWritesAreRead) {
    // Every text at its longest under the models' limits (G 64, S 16, E 16, D 32): the header's
    // 48 bytes and 9 texts, 13 bytes and 4 texts per ballast, 3 bytes per scene, 8 bytes and
    // 2 texts per group, 9 bytes per scene data (the bytes counting each text's length).
    ASSERT_EQ(ProjectDocument::MaxFileSize(),
              48u + 13u * 64 + 3u * 16 + 8u * 16 + 9u * 32 + (9u + 4u * 64 + 2u * 16) * 65535);
    std::string largest = longest("TTT4TTT888T2TT");
    for (int i = 0; i < 64; ++i) largest += longest("1111TT1TT");
    largest += std::string(3 * 16, '\0');
    for (int i = 0; i < 16; ++i) largest += longest("T111T1");
    largest += std::string(9 * 32, '\0');
    ASSERT_EQ(largest.size(), ProjectDocument::MaxFileSize());
    const std::string name = written("largest.dal", largest + '\0');
    EXPECT_EQ(errorOf([&] { ProjectDocument(project).Open(name); }), 6);
    EXPECT_EQ(project.DaliGruppe(9).Name, "unsaved work");

    written("largest.dal", largest);
    EXPECT_EQ(ProjectDocument(project).Open(name).outcome, ProjectDocument::Outcome::Opened);
    EXPECT_EQ(project.DaliGruppe(63).Des2.size(), 65535u);
    EXPECT_EQ(project.DaliEinzelgruppe(15).Desc1.size(), 65535u);
}

TEST_F(Document, StartingAfreshSelectsTheModelSizesTheProjectAndTakesTheHeader) {
    // The open project's header gives the fresh one all but its file, address and dates.
    corlink::TypHeader full{"Hall",  "P-7",    "/p/hall.dal", 0x1101,  "1.1.1", "517104", "11",
                            40000.5, 40001.25, 40002.75,      "first", 11,      "second", "12"};
    project.letHeader(full);
    const corlink::TypHeader fresh = ProjectDocument(project).FreshHeader("517204", "11");
    EXPECT_EQ(fresh, (corlink::TypHeader{"Hall", "P-7", "", 0, "0.0.0", "517204", "11", 0, 0, 0, "first", 11, "second",
                                         "12"}));

    using Sizing = ProjectDocument::Sizing;
    const struct {
        const char *order, *version;
        Sizing sizing;
        bool started;
        std::int32_t button9;     // the error of button 9: 9 while sized for 517104 (buttons 0..8)
        const char* ballastName;  // ballast 9, named "unsaved work" in group 2 before
        int ballastGroup;
    } cases[] = {
        {"305719", "1.3", Sizing::IniInterface, true, 9, "unsaved work", 255},  // the start-up: model 517104
        {"0", "0", Sizing::IniInterfaceStart, true, 9, "", 255},                // New
        {"517204", "11", Sizing::IniInterface, true, 0, "unsaved work", 255},   // the gateway-model dialog
        {"517204", "12", Sizing::IniInterface, false, 9, "unsaved work", 2},    // refused with message 916
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order);
        openProject(full);
        events.headerChanged = 0;
        messages.clear();
        const ModelTables before = Model;

        corlink::TypHeader h;
        h.Bestellnummer = c.order;
        h.Version = c.version;
        EXPECT_EQ(ProjectDocument(project).StartAfresh(h, c.sizing), c.started);
        EXPECT_EQ(errorOf([&] { project.Tasten(9); }), c.button9);
        EXPECT_EQ(project.DaliGruppe(9).Name, c.ballastName);
        EXPECT_EQ(project.DaliGruppe(9).Gruppe, c.ballastGroup);
        EXPECT_EQ(project.Header(), c.started ? h : full);
        EXPECT_EQ(project.GetChangeFlag(), !c.started);
        EXPECT_EQ(events.headerChanged, c.started ? 1 : 0);
        if (c.started) {
            EXPECT_TRUE(messages.empty());
        } else {
            EXPECT_EQ(Model, before);
            EXPECT_EQ(messages, std::vector<std::string>{
                                    "Device with this version of firmware is unknown,  please contact manufacturer!"});
        }
    }
}
