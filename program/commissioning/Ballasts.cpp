#include "Ballasts.h"

#include "GatewayCommands.h"
#include "corlink/clsOrvekDali.h"

#include <QComboBox>

namespace corvane {

void ReadBallastRecords(corlink::clsOrvekDali& project, BallastTable& records) {
    for (int i = 0; i < kBallasts; ++i) records[i] = project.DaliGruppe(static_cast<std::int16_t>(i));
}

QString BallastNodeText(int slot, const corlink::TypDaliGruppe& record) {
    return "EVG" + QString::number(slot + 1) + "(" + QString::fromStdString(record.Name) + ")";
}

QColor BallastColour(std::uint8_t group) {
    if (group < kGroupNotAssigned) return QColor(0, 200, 0);
    if (group == kGroupNotAssigned) return QColor(200, 0, 0);
    return QColor(200, 200, 200);
}

void AddGroupEntries(QComboBox& list, corlink::clsOrvekDali& project) {
    for (int i = 0; i < 16; ++i) {
        const QString name = QString::fromStdString(project.DaliEinzelgruppe(static_cast<std::int16_t>(i)).Name);
        list.addItem(QStringLiteral("Gruppe%1 (%2)").arg(i + 1).arg(name), i);
    }
}

}  // namespace corvane
