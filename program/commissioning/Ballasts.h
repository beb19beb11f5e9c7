// What the two assignment dialogs (frmEVGAssign, frmGrpAssign) share: the working copy of the
// project's 64 ballast slots, a ballast node's text and colour, and the list of DALI groups.
#pragma once

#include "corlink/Records.h"

#include <QColor>
#include <QString>

#include <array>
#include <cstdint>

class QComboBox;

namespace corlink {
class clsOrvekDali;
}

namespace corvane {

constexpr int kBallasts = 64;
using BallastTable = std::array<corlink::TypDaliGruppe, kBallasts>;

// Reads the project's ballast records 0..63 into `records`, one after the other.
void ReadBallastRecords(corlink::clsOrvekDali& project, BallastTable& records);

// "EVG", the 1-based ballast number and the name in parentheses, no blank: "EVG5(Büro)".
QString BallastNodeText(int slot, const corlink::TypDaliGruppe& record);

// Text colour of a ballast node by its group byte: green in a group (0..15), red in none (16),
// grey for an empty slot (above 16).
QColor BallastColour(std::uint8_t group);

// Adds the 16 DALI groups: "Gruppe1 (name)" to "Gruppe16 (name)" with item data 0..15.
void AddGroupEntries(QComboBox& list, corlink::clsOrvekDali& project);

}  // namespace corvane
