// The group-address editor: the group addresses (the first one sending), the communication
// flags and the priority of one communication object of the project. The opener gives it the
// tree node of the object, whose Key names it: object index (one digit), kind key, ":" and group
// index, e.g. "2TObjekt:1" for object 2 of temperature group 1. A new instance per opening; OK
// stores the object into its record of the project and rebuilds the tree, Cancel stores nothing.
#pragma once

#include "Forms.h"
#include "brimcorbin.h"

#include <QDialog>

#include <any>
#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane {

struct GrpAdrObjectKind;
class MainWindowServices;

class frmGrpAdr : public QDialog {
    Q_OBJECT
public:
    frmGrpAdr(MainWindowServices& main, const std::optional<FormSubject>& node, QWidget* parent = nullptr);
    ~frmGrpAdr() override;

    // The mark of the sending address in the list's second column.
    static constexpr const char* SendMark = "S";

    QLabel* Label2 = nullptr;
    QLineEdit* GrpAdr_1 = nullptr;  // main group
    QLineEdit* GrpAdr_2 = nullptr;  // middle group (two levels: the rest)
    QLineEdit* GrpAdr_3 = nullptr;  // subgroup; hidden in the two-level style
    QLabel* Label1[2] = {};
    QTreeWidget* ListAdresse = nullptr;  // column 0 the address text, column 1 the mark
    QGroupBox* FrameFlags = nullptr;     // shown while the list holds an address
    QCheckBox* CheckFlags[8] = {};       // box i shows bit i; 0, 1 and 5 are never visible
    QComboBox* ComboPrio = nullptr;
    QPushButton* ComSendend = nullptr;
    QPushButton* ComAdd = nullptr;
    QPushButton* ComClear = nullptr;
    QPushButton* ComZurueck = nullptr;
    QPushButton* COMOK = nullptr;

    // Taken from the node's Key at activation.
    std::int16_t ObjectIndex = 0;
    QString GroupKindKey;
    std::int16_t GroupIndex = 0;
    // The project's associations with the list as it stands.
    std::int16_t AssocCount = 0;

    // Event handlers (errors raised here reach the caller; the controls trap them).
    void Form_Load();
    // Reads the record of the node's object from the project and lists its addresses.
    void Form_Activate();
    void ComAdd_Click();
    void ComClear_Click();
    void ComSendend_Click();
    void ComboPrio_Click();
    void COMOK_Click();
    void ComZurueck_Click();
    // Arrow keys between the three address boxes; the key is not consumed.
    void GrpAdr_KeyDown(QLineEdit& box, int key);

    // Shows a flag byte in CheckFlags and ComboPrio.
    void SetFlags(std::uint8_t& FlagByte);
    // The flag byte with every bit taken from its box.
    std::uint8_t SaveFlags(std::uint8_t& FlagByte);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindowServices& main_;
    const std::optional<FormSubject> node_;
    // The row of GroupKindKey in the table of object kinds; nullptr for any other key.
    const GrpAdrObjectKind* kind() const;
    QTreeWidgetItem* AddEntry(const QString& text);
    QTreeWidgetItem* SelectedEntry() const;
    void ShowFrameFlags();
    void ClearBoxes();

    std::unique_ptr<brimcorbin::Converter> GrpConverter;
    bool activated_ = false;
    std::int32_t activationError_ = 0;  // the error that kept the record from loading

    // The working copy of the record that holds the edited object, of its kind's record type.
    std::any WorkingCopy;
};

}  // namespace corvane
