#include "ModDefinition.h"

#include "Languages.h"
#include "StringTable.h"

namespace corvane {

std::int16_t LanguageOffset = kLanguageNotChosen;
std::vector<LanguageRec> LanguageTable;
std::int16_t COM = 1;
std::int16_t COMTyp = 1;
std::string EDI = "1";
std::string EDIPara = "1";
std::int16_t ShowGrpAdr = 0;
std::string DefaultPath;
std::vector<LanguageFileRec> LanguageFileList;
std::int16_t SelectedNodeIndex = 1;
MessageTextSet MessageTexts;

bool IsLanguageOffset(std::int32_t offset) { return LanguageOf(offset) != nullptr; }

// The languages of the list, then one empty entry.
void CreateLanguageTable() {
    LanguageTable.assign(kLanguages.size() + 1, LanguageRec{});
    for (std::size_t i = 0; i < kLanguages.size(); ++i) LanguageTable[i] = {kLanguages[i].Name, kLanguages[i].Offset};
}

void LoadMessageTexts() {
    MessageTextSet& m = MessageTexts;
    const struct {
        std::string MessageTextSet::*text;
        std::int32_t id;
    } ids[] = {
        {&MessageTextSet::MsgResourceFileMissing, 900},
        {&MessageTextSet::MsgSaveChanges, 901},
        {&MessageTextSet::MsgAssignmentsLost, 737},
        {&MessageTextSet::MsgTitle, 990},
        {&MessageTextSet::MsgNoDataToSave, 902},
        {&MessageTextSet::MsgNoNameGiven, 903},
        {&MessageTextSet::MsgGroupAddressesLost, 904},
        {&MessageTextSet::MsgFunctionGroupInUse, 905},
        {&MessageTextSet::MsgValueOutOfRange, 906},
        {&MessageTextSet::MsgErrorCode, 907},
        {&MessageTextSet::MsgFunctionGroupExists, 908},
        {&MessageTextSet::MsgSceneWithoutName, 909},
        {&MessageTextSet::MsgNoPhysAddress, 910},
        {&MessageTextSet::MsgLanguageAtRestart, 911},
        {&MessageTextSet::MsgNotSaved, 912},
        {&MessageTextSet::MsgDeviceDataOverwrite, 913},
        {&MessageTextSet::MsgEnterPhysAddress, 914},
        {&MessageTextSet::MsgEnterGroupAddress, 915},
        {&MessageTextSet::MsgUnknownFirmware, 916},
        {&MessageTextSet::MsgNoPrinter, 917},
        {&MessageTextSet::MsgDeviceDataDiffer, 918},
        {&MessageTextSet::MsgMaxLinks, 919},
        {&MessageTextSet::MsgCommAborted, 920},
        {&MessageTextSet::MsgCommSuccess, 921},
        {&MessageTextSet::MsgNoPrintData, 922},
        {&MessageTextSet::MsgFeedbackObjectAdded, 923},
        {&MessageTextSet::MsgAccessDenied, 924},
        {&MessageTextSet::MsgPropertyWriteFailed, 885},
    };
    for (const auto& e : ids) m.*(e.text) = Text(e.id);
    SelectedNodeIndex = 1;
}

}  // namespace corvane
