// The batch print dialog: lists of folders and files, the pattern, the keys in the lists, and
// printing the selected project files one after another after the save question.
#include "Forms.h"
#include "StringTable.h"
#include "frmPrint.h"
#include "printout_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace corvane;
using corvane::test::Printout;

namespace {

class BatchPrint : public Printout {
protected:
    void SetUp() override {
        Printout::SetUp();
        RegisterPrintout();
        ASSERT_TRUE(QDir(dir.path()).mkpath("projects/sub"));
        folder = dir.filePath("projects");
        DefaultPath = folder.toStdString();
        writeProject("a.bts", "517104", "11", "A");
        writeProject("b.bts", "517104", "11", "B");
        writeProject("c.dal", "517104", "11", "C");
        writeProject("sub/d.bts", "517104", "11", "D");
        writeProject(".e.bts", "517104", "11", "hidden");
        dali().ClearChangeFlag();
    }
    void TearDown() override {
        delete d.data();
        SetPrintCommand({});
        Printout::TearDown();
    }

    void writeProject(const QString& name, const std::string& order, const std::string& version,
                      const std::string& description) {
        corlink::clsOrvekDali p;
        p.IniInterface(MaxLimits, FunctionGroupList, PropertyObjectIds);
        corlink::TypHeader h;
        h.Bestellnummer = order;
        h.Version = version;
        h.ProjektBeschreibung = description;
        p.letHeader(h);
        p.SaveProjektData(QDir(folder).filePath(name).toStdString());
    }

    void open() { d = qobject_cast<frmPrint*>(LoadForm("frmPrint", *main)); }

    QStringList entries() const {
        QStringList out;
        for (int i = 0; i < d->ListView1->count(); ++i) out << d->ListView1->item(i)->text();
        return out;
    }
    void select(const QStringList& names) {
        for (int i = 0; i < d->ListView1->count(); ++i) {
            d->ListView1->item(i)->setSelected(names.contains(d->ListView1->item(i)->text()));
        }
    }

    QStringList selected() const {
        QStringList out;
        for (const QListWidgetItem* item : d->ListView1->selectedItems()) out << item->text();
        return out;
    }
    // The dialog on the screen and active, as the user sees it (keys reach it, Enter its buttons).
    void showActive() {
        d->show();
        QApplication::setActiveWindow(d);
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    }

    QString folder;
    QPointer<frmPrint> d;
};

}  // namespace

TEST_F(BatchPrint, ListsTheProjectFilesOfTheFolderAndPattern) {
    open();
    ASSERT_TRUE(d);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(d->Label1->text(), QString::fromUtf8("gewünschtes Muster eingeben "));
    EXPECT_EQ(d->ComDrucken->text(), "Drucken");
    EXPECT_EQ(d->Text1->text(), "*");
    EXPECT_FALSE(d->File1->isVisibleTo(d));
    EXPECT_EQ(entries(), (QStringList{"a.bts", "b.bts"}));  // no hidden file
    EXPECT_EQ(d->Dir1->Path(), QDir(folder).absolutePath());

    // A bare name gets ".bts"; a pattern with an extension is taken as typed.
    const struct {
        const char* typed;
        QStringList listed;
    } patterns[] = {{"b", {"b.bts"}},
                    {"", {}},
                    {"*.dal", {"c.dal"}},
                    {"c.dal", {"c.dal"}},
                    {"*.*", {"a.bts", "b.bts", "c.dal"}},
                    {"*", {"a.bts", "b.bts"}}};
    for (const auto& p : patterns) {
        d->Text1->setText(p.typed);
        d->ComSelect->click();
        EXPECT_EQ(entries(), p.listed) << p.typed;
    }

    // A click on a folder lists its files; another drive leaves the files until a folder is clicked.
    const auto sub = d->Dir1->findItems("sub", Qt::MatchContains);
    ASSERT_EQ(sub.size(), 1);
    d->Dir1_Click(*sub.front());
    EXPECT_EQ(entries(), QStringList{"d.bts"});
    d->Drive1->setCurrentIndex(0);
    d->Drive1_Change();
    EXPECT_EQ(entries(), QStringList{"d.bts"});
    EXPECT_TRUE(shown.empty());

    d->COMAbbruch->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull());
}

TEST_F(BatchPrint, KeysMoveThroughTheFoldersAndEnterKeepsTheSelection) {
    open();
    showActive();
    // Down from the start folder to its subfolder lists that folder's files, as a click does.
    d->Dir1->setFocus();
    QTest::keyClick(d->Dir1, Qt::Key_Down);
    EXPECT_EQ(entries(), QStringList{"d.bts"});
    QTest::keyClick(d->Dir1, Qt::Key_Up);
    EXPECT_EQ(entries(), (QStringList{"a.bts", "b.bts"}));

    // Enter in either list presses no button: the list and its selection stay.
    select({"b.bts"});
    d->Text1->setText("a");  // what a search would now list
    for (QWidget* list : {static_cast<QWidget*>(d->ListView1), static_cast<QWidget*>(d->Dir1)}) {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QTest::keyClick(list, Qt::Key_Enter);
        EXPECT_EQ(entries(), (QStringList{"a.bts", "b.bts"})) << list->objectName().toStdString();
        EXPECT_EQ(selected(), QStringList{"b.bts"}) << list->objectName().toStdString();
    }
    EXPECT_EQ(rec->jobs, 0);
    EXPECT_TRUE(shown.empty());
}

TEST_F(BatchPrint, AMissingStartFolderIsReported) {
    DefaultPath = dir.filePath("gone").toStdString();
    open();
    ASSERT_TRUE(d);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, Text(907) + " 76");
    EXPECT_EQ(d->ListView1->count(), 0);
}

TEST_F(BatchPrint, PrintsEverySelectedFileAndKeepsTheLastOpen) {
    open();
    d->ComDrucken->click();  // nothing selected
    EXPECT_EQ(rec->jobs, 0);

    select({"a.bts", "b.bts"});
    d->ComDrucken->click();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(rec->jobs, 2);
    EXPECT_TRUE(rec->ended);
    EXPECT_NE(find("Projektierung: " + QDir(folder).filePath("b.bts").toStdString()), nullptr);
    EXPECT_EQ(dali().Header().ProjektBeschreibung, "B");
    EXPECT_FALSE(dali().GetChangeFlag());
    EXPECT_EQ(d->ListView1->selectedItems().size(), 2);
    EXPECT_EQ(DefaultPath, folder.toStdString());  // not changed by the dialog
}

TEST_F(BatchPrint, UnsavedChangesAreAskedForBeforeTheFirstFileReplacesThem) {
    open();
    select({"a.bts", "b.bts"});
    const struct {
        int answer;
        int jobs;
    } cases[] = {{msgCancel, 0}, {msgNo, 2}};
    for (const auto& c : cases) {
        dali().letDaliGruppeName(0, "unsaved");
        shown.clear();
        rec->jobs = 0;
        answers = {c.answer};
        d->ComDrucken->click();
        ASSERT_EQ(shown.size(), 1u) << c.answer;  // asked once, not per file
        EXPECT_EQ(shown[0].style, styleYesNoCancelInformation);
        EXPECT_EQ(shown[0].text, Text(901));
        EXPECT_EQ(rec->jobs, c.jobs) << c.answer;
        EXPECT_EQ(dali().DaliGruppe(0).Name == "unsaved", c.answer == msgCancel) << c.answer;
        EXPECT_EQ(dali().GetChangeFlag(), c.answer == msgCancel) << c.answer;
    }
}

TEST_F(BatchPrint, ARefusedModelEndsTheRunAndAnUnreadableFileIsSkipped) {
    writeProject("a.bts", "517204", "99", "unknown firmware");
    QFile broken(QDir(folder).filePath("0.bts"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("no project");
    broken.close();
    open();
    const std::string before = dali().Header().ProjektBeschreibung;

    select({"0.bts", "a.bts", "b.bts"});
    d->ComDrucken->click();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text.rfind(Text(907), 0), 0u);  // 0.bts: reported, skipped
    EXPECT_EQ(shown[1].text, Text(916));               // a.bts: the model is refused
    EXPECT_EQ(rec->jobs, 0);                           // b.bts is not printed
    EXPECT_EQ(dali().Header().ProjektBeschreibung, before);
    EXPECT_EQ(MaxLimits.MaxTasten, 8);  // the model in force stays
}
