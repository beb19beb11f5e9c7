// Shared set-up of the commissioning tests: the window fixture with a main window after its
// start-up, the commissioning dialogs registered, and the simulated gateway line as delivered.
#pragma once

#include "Commissioning.h"
#include "Forms.h"
#include "corlink/GatewayHooks.h"
#include "frmphyAdr.h"
#include "gui_fixture.h"
#include "simulated_line.h"
#include "StringTable.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>
#include <functional>

namespace corvane::test {

class Commissioning : public Gui {
protected:
    static constexpr std::int32_t kGateway = 0x1101;  // 1.1.1, the simulated gateway

    void SetUp() override {
        Gui::SetUp();
        line().reset();
        RegisterCommissioningForms();
        main = start(kGerman);
        shown.clear();
    }

    void TearDown() override {
        corlink::setMessagePump({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->parentWidget() && w != main.get()) delete w;
        }
        main.reset();
        Gui::TearDown();
    }

    static busdriver::SimulatedLine& line() { return busdriver::simulatedLine(); }
    static busdriver::DaliGateway& gateway() { return line().gateway(); }
    corlink::clsOrvekDali& project() { return main->mDali(); }

    // The project addresses the simulated gateway and counts as unchanged.
    void useGatewayAddress() {
        corlink::TypHeader h = project().Header();
        h.phyAdr = kGateway;
        h.phyAdrString = "1.1.1";
        project().letHeader(h);
        project().ClearChangeFlag();
    }

    // The gateway's new installation of the five ballasts of its line (slots 0..4).
    static void installLine() {
        gateway().writeCommand({1, 0, 0});
        for (int i = 0; i < 4; ++i) gateway().pollReply();
    }

    // Slots 0..4 of the project take the gateway's entries (group and long address); the
    // gateway's entries take `groups` first, where given.
    void mirrorLine(const std::vector<std::uint8_t>& groups = {}) {
        for (int slot = 0; slot < 5; ++slot) {
            busdriver::BallastEntry& e = gateway().ballastTable[static_cast<std::size_t>(slot)];
            if (slot < static_cast<int>(groups.size())) e.group = groups[static_cast<std::size_t>(slot)];
            corlink::TypDaliGruppe g = project().DaliGruppe(static_cast<std::int16_t>(slot));
            g.Gruppe = e.group;
            g.pAdrL = e.low;
            g.pAdrM = e.middle;
            g.pAdrH = e.high;
            project().letDaliGruppe(static_cast<std::int16_t>(slot), g);
        }
    }

    // A dialog by its registered name, shown (not modal).
    template <typename T> QPointer<T> open(const char* name) {
        QPointer<T> d = qobject_cast<T*>(LoadForm(name));
        if (d) d->show();
        return d;
    }

    // Gateway operations so far: one connection is opened per operation.
    static int operations() {
        const auto& t = line().trace();
        return static_cast<int>(std::count_if(t.begin(), t.end(), [](const std::string& e) { return e.rfind("Open ", 0) == 0; }));
    }

    // The physical-address dialog, played by `user`, whenever a modal dialog opens.
    void playAddressDialog(const std::function<void(frmphyAdr&)>& user) {
        SetModalRunner([this, user](QDialog& d) {
            ++modalRuns;
            user(dynamic_cast<frmphyAdr&>(d));
            return d.result();
        });
    }

    static void typeAddress(frmphyAdr& d, const QString& text) {
        d.TextphyAdr->setText(text);
        d.COMOK->click();
    }

    // Texts of the message boxes shown so far.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Shown& s : shown) out.push_back(s.text);
        return out;
    }

    std::unique_ptr<frm01> main;
    int modalRuns = 0;
};

}  // namespace corvane::test
