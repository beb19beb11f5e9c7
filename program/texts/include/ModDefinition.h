// The program's shared state that every window and the model definitions read.
#pragma once

#include "Languages.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// Language block of the string table: the offset of one of the languages (Languages.h), 1111
// while no language has been chosen.
extern std::int16_t LanguageOffset;

constexpr std::int16_t kLanguageNotChosen = 1111;
constexpr std::int16_t kGerman = OffsetOfLanguage("German");
constexpr std::int16_t kEnglish = OffsetOfLanguage("English");

// True for the offsets of the languages (Languages.h).
bool IsLanguageOffset(std::int32_t offset);

// The languages the language dialogs offer: the languages of Languages.h in their order, with
// their names and offsets, then one empty entry.
struct LanguageRec {
    std::string Name;
    std::int16_t Offset = 0;
};
extern std::vector<LanguageRec> LanguageTable;
void CreateLanguageTable();

// User settings (read at start-up, written at the end of the run).
extern std::int16_t COM;         // serial port of the interface dialog
extern std::int16_t COMTyp;      // interface type of the interface dialog
extern std::string EDI;          // bus interface identifier, passed to every gateway operation
extern std::string EDIPara;      // bus interface parameters
extern std::int16_t ShowGrpAdr;  // group addresses: 0 two levels, 1 three levels
extern std::string DefaultPath;  // start folder of the project file dialogs

// The gateway menu-language files "*.m??" of the program folder, listed at start-up.
struct LanguageFileRec {
    std::string Name;         // file name up to its first "."
    std::int16_t Number = 0;  // the last two digits of the file name
};
extern std::vector<LanguageFileRec> LanguageFileList;

// The project-tree node (1-based index) that the next rebuild of the tree selects.
extern std::int16_t SelectedNodeIndex;

// Message texts, fetched once at start-up in the language of the start-up and kept so until
// the program ends.
struct MessageTextSet {
    std::string MsgResourceFileMissing;  // 900
    std::string MsgSaveChanges;          // 901
    std::string MsgAssignmentsLost;      // 737
    std::string MsgTitle;                // 990
    std::string MsgNoDataToSave;         // 902
    std::string MsgNoNameGiven;          // 903
    std::string MsgGroupAddressesLost;   // 904
    std::string MsgFunctionGroupInUse;   // 905
    std::string MsgValueOutOfRange;      // 906
    std::string MsgErrorCode;            // 907
    std::string MsgFunctionGroupExists;  // 908
    std::string MsgSceneWithoutName;     // 909
    std::string MsgNoPhysAddress;        // 910
    std::string MsgLanguageAtRestart;    // 911
    std::string MsgNotSaved;             // 912
    std::string MsgDeviceDataOverwrite;  // 913
    std::string MsgEnterPhysAddress;     // 914
    std::string MsgEnterGroupAddress;    // 915
    std::string MsgUnknownFirmware;      // 916
    std::string MsgNoPrinter;            // 917
    std::string MsgDeviceDataDiffer;     // 918
    std::string MsgMaxLinks;             // 919
    std::string MsgCommAborted;          // 920
    std::string MsgCommSuccess;          // 921
    std::string MsgNoPrintData;          // 922
    std::string MsgFeedbackObjectAdded;  // 923
    std::string MsgAccessDenied;         // 924
    std::string MsgPropertyWriteFailed;  // 885
};
extern MessageTextSet MessageTexts;

// Fills MessageTexts in the language in force and sets SelectedNodeIndex to 1. A text that
// cannot be fetched raises its error to the caller.
void LoadMessageTexts();

}  // namespace corvane
