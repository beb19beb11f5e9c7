// Shared set-up of the commissioning tests: the window fixture with a main window after its
// start-up, the commissioning dialogs registered, and the simulated gateway line as delivered.
#pragma once

#include "Commissioning.h"
#include "Forms.h"
#include "StringTable.h"
#include "corlink/GatewayHooks.h"
#include "frmphyAdr.h"
#include "gui_fixture.h"
#include "simulated_line.h"

#include <QColor>
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
    // Text colours of ballast nodes: in a group, in none, empty slot.
    static inline const QColor kGreen{0, 200, 0}, kRed{200, 0, 0}, kGrey{200, 200, 200};

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
    static busdriver::Ballast& onLine(int slot) { return *gateway().ballastInSlot(slot); }
    corlink::clsOrvekDali& project() { return main->mDali(); }

    // Stores a changed copy of one project record: `edit` works on the copy in between.
    template <typename Edit>
    void editBallast(int slot, Edit edit) {
        change(&corlink::clsOrvekDali::DaliGruppe, &corlink::clsOrvekDali::letDaliGruppe, slot, edit);
    }
    template <typename Edit>
    void editGroup(int group, Edit edit) {
        change(&corlink::clsOrvekDali::DaliEinzelgruppe, &corlink::clsOrvekDali::letDaliEinzelgruppe, group, edit);
    }
    template <typename Edit>
    void editScene(int scene, Edit edit) {
        change(&corlink::clsOrvekDali::DaliScene, &corlink::clsOrvekDali::letDaliScene, scene, edit);
    }
    template <typename Edit>
    void editHeader(Edit edit) {
        corlink::TypHeader h = project().Header();
        edit(h);
        project().letHeader(h);
    }

    // The header but for the dates of the last transfers, which every gateway command sets and a
    // failed transfer zeroes.
    static corlink::TypHeader withoutTransferDates(corlink::TypHeader h) {
        h.LetzterDownload = h.LetzterUpload = 0;
        return h;
    }

    // The project's 64 ballast records.
    std::vector<corlink::TypDaliGruppe> ballasts() {
        std::vector<corlink::TypDaliGruppe> out;
        for (std::int16_t i = 0; i < 64; ++i) out.push_back(project().DaliGruppe(i));
        return out;
    }

    // The project addresses the simulated gateway and counts as unchanged.
    void useGatewayAddress() {
        editHeader([](corlink::TypHeader& h) {
            h.phyAdr = kGateway;
            h.phyAdrString = "1.1.1";
        });
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
            editBallast(slot, [&](corlink::TypDaliGruppe& g) {
                g.Gruppe = e.group;
                g.pAdrL = e.low;
                g.pAdrM = e.middle;
                g.pAdrH = e.high;
            });
        }
    }

    // Selects the main window's tree node with this key, as a click would.
    void selectNode(const QString& key) {
        QTreeWidgetItem* node = main->TreeView1->NodeByKey(key);
        ASSERT_NE(node, nullptr) << "no node " << key.toStdString();
        main->TreeView1->setCurrentItem(node);
        SelectedNodeIndex = static_cast<std::int16_t>(KeyedTree::Index(*node));
    }

    // The main window's selected node, as a click on it gives it to the dialog it opens.
    std::optional<FormSubject> selectedNode() const {
        const QTreeWidgetItem* node = main->SelectedNode();
        if (!node) return std::nullopt;
        return FormSubject{KeyedTree::Key(*node), KeyedTree::Tag(*node)};
    }

    // A dialog by its registered name, shown (not modal), opened for `node` (by default the
    // selected one).
    template <typename T>
    QPointer<T> open(const char* name, const std::optional<FormSubject>& node) {
        QPointer<T> d = qobject_cast<T*>(LoadForm(name, *main, node));
        if (d) d->show();
        return d;
    }
    template <typename T>
    QPointer<T> open(const char* name) {
        return open<T>(name, selectedNode());
    }

    // The same after the windows closed before are gone, with the activation that follows the show.
    template <typename T>
    QPointer<T> openActivated(const char* name, const std::optional<FormSubject>& node) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QPointer<T> d = open<T>(name, node);
        QCoreApplication::processEvents();
        return d;
    }
    template <typename T>
    QPointer<T> openActivated(const char* name) {
        return openActivated<T>(name, selectedNode());
    }

    // Closes a dialog and lets it unload.
    static void closeNow(QWidget* d) {
        if (d) d->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The ways the user closes a dialog.
    static std::vector<std::pair<const char*, std::function<void(QDialog&)>>> closingWays() {
        return {{"close button", [](QDialog& d) { d.findChild<QPushButton*>("ComClose")->click(); }},
                {"close box", [](QDialog& d) { d.close(); }},
                {"Escape", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }}};
    }

    // Gateway operations so far: one connection is opened per operation.
    static int operations() {
        const auto& t = line().trace();
        return static_cast<int>(
            std::count_if(t.begin(), t.end(), [](const std::string& e) { return e.rfind("Open ", 0) == 0; }));
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

private:
    template <typename Record, typename Edit>
    void change(Record (corlink::clsOrvekDali::*get)(std::int16_t) const,
                void (corlink::clsOrvekDali::*let)(std::int16_t, const Record&), int index, Edit edit) {
        Record r = (project().*get)(static_cast<std::int16_t>(index));
        edit(r);
        (project().*let)(static_cast<std::int16_t>(index), r);
    }
};

}  // namespace corvane::test
