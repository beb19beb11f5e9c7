#include "frmGrpAdr.h"

#include "ConnectTrapped.h"
#include "FormTexts.h"
#include "MainWindowServices.h"
#include "Messages.h"
#include "ModDefinition.h"
#include "ModelTables.h"
#include "Seams.h"
#include "SmallDialogs.h"
#include "corlink/Records.h"
#include "variant.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace corvane {

namespace {

using corlink::clsOrvekDali;
using corlink::TypObjectZuordnung;

// ComboPrio entry of the priority bits 1 and 0 (11 low, 01 high, 10 alarm, 00 system).
constexpr int kPrioIndex[4] = {3, 1, 2, 0};

// The number a text reads as (13 when it is none, 6 beyond 16 bits).
std::int16_t Number(const QString& text) { return automation::toInteger(automation::Variant(text.toStdString())); }

// A record property of the project by group index; the general times have none.
template <class Record>
Record Get(const clsOrvekDali& dali, Record (clsOrvekDali::*get)(std::int16_t) const, std::int16_t group) {
    return (dali.*get)(group);
}
template <class Record>
Record Get(const clsOrvekDali& dali, Record (clsOrvekDali::*get)() const, std::int16_t) {
    return (dali.*get)();
}
template <class Record>
void Let(clsOrvekDali& dali, void (clsOrvekDali::*let)(std::int16_t, const Record&), std::int16_t group,
         const Record& record) {
    (dali.*let)(group, record);
}
template <class Record>
void Let(clsOrvekDali& dali, void (clsOrvekDali::*let)(const Record&), std::int16_t, const Record& record) {
    (dali.*let)(record);
}

// The object of a record: one of its array by the object index, or its only one (the scene's
// extension unit, which the index does not select).
template <std::size_t N>
TypObjectZuordnung& ObjectIn(std::array<TypObjectZuordnung, N>& objects, std::int16_t index) {
    return corlink::fixedAt(objects, index);
}
TypObjectZuordnung& ObjectIn(TypObjectZuordnung& object, std::int16_t) { return object; }

// The catalogue entry of an object: in its group's list, or in the one list of the general objects.
const ObjectRec& EntryIn(const SafeArray<ObjectGroupRec>& list, std::int16_t group, std::int16_t index) {
    return list(group).Objects(index);
}
const ObjectRec& EntryIn(const SafeArray<ObjectRec>& list, std::int16_t, std::int16_t index) { return list(index); }

template <class Member>
struct RecordOf;
template <class Record, class Type>
struct RecordOf<Type Record::*> {
    using type = Record;
};

}  // namespace

// One kind of object by its key in the node's Key: the project's record that holds the object (read
// into the working copy at activation, written back on OK), the object within that record, and
// its entry in the model's catalogue, which gives the default flags and the object number.
struct GrpAdrObjectKind {
    const char* key;
    void (*read)(std::any& copy, const clsOrvekDali& dali, std::int16_t group);
    void (*write)(const std::any& copy, clsOrvekDali& dali, std::int16_t group);
    TypObjectZuordnung& (*object)(std::any& copy, std::int16_t index);
    const ObjectRec& (*catalogue)(std::int16_t group, std::int16_t index);
};

namespace {

// The row of a kind from the record's get and let, the record's member that holds the objects
// and the model's catalogue.
template <auto Getter, auto Letter, auto Objects, auto Catalogue>
constexpr GrpAdrObjectKind KindRow(const char* key) {
    using Record = typename RecordOf<decltype(Objects)>::type;
    return {key, [](std::any& copy, const clsOrvekDali& dali, std::int16_t group) { copy = Get(dali, Getter, group); },
            [](const std::any& copy, clsOrvekDali& dali, std::int16_t group) {
                Let(dali, Letter, group, std::any_cast<const Record&>(copy));
            },
            [](std::any& copy, std::int16_t index) -> TypObjectZuordnung& {
                return ObjectIn(std::any_cast<Record&>(copy).*Objects, index);
            },
            [](std::int16_t group, std::int16_t index) -> const ObjectRec& {
                return EntryIn(Model.*Catalogue, group, index);
            }};
}

using D = clsOrvekDali;
using M = ModelTables;
// The seven kinds: key, the record's get and let, the objects in the record, the catalogue.
constexpr GrpAdrObjectKind kObjectKinds[] = {
    KindRow<&D::BeleuchtungsGruppe, &D::letBeleuchtungsGruppe, &corlink::TypBeleuchtungsGruppe::Objekte,
            &M::LightingObjectList>("BObjekt"),
    KindRow<&D::BelueftungsGruppe, &D::letBelueftungsGruppe, &corlink::TypBelueftungsGruppe::Objekte,
            &M::VentilationObjectList>("LObjekt"),
    KindRow<&D::JalousieGruppe, &D::letJalousieGruppe, &corlink::TypJalousieGruppe::Objekte, &M::BlindObjectList>(
        "JObjekt"),
    KindRow<&D::TemperaturGruppe, &D::letTemperaturGruppe, &corlink::TypTemperaturGruppe::Objekte,
            &M::TemperatureObjectList>("TObjekt"),
    KindRow<&D::Szene, &D::letSzene, &corlink::TypSzene::ObjNebenstelle, &M::SceneObjectList>("SObjekt"),
    KindRow<&D::MeldeGruppe, &D::letMeldeGruppe, &corlink::TypMeldeGruppe::Objekte, &M::MessageObjectList>("MObjekt"),
    KindRow<&D::Zeiten, &D::letZeiten, &corlink::TypZeiten::ObjekteDatumZeitLCD, &M::DeviceObjectList>("AObjekt"),
};

}  // namespace

frmGrpAdr::frmGrpAdr(MainWindowServices& main, const std::optional<FormSubject>& node, QWidget* parent)
    : QDialog(parent), main_(main), node_(node) {
    setObjectName("frmGrpAdr");
    setAttribute(Qt::WA_DeleteOnClose);

    auto button = [this](const char* name, const char* tag) { return CommandButton(this, name, tag); };
    auto box = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setFixedWidth(TwipsToPixels(495));
        e->installEventFilter(this);
        return e;
    };
    Label2 = NamedLabel(this, "Label2", "664");
    GrpAdr_1 = box("GrpAdr_1");
    GrpAdr_2 = box("GrpAdr_2");
    GrpAdr_3 = box("GrpAdr_3");
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel("/", this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));
    }
    ListAdresse = new QTreeWidget(this);
    ListAdresse->setObjectName("ListAdresse");
    ListAdresse->setRootIsDecorated(false);
    ListAdresse->setSelectionMode(QAbstractItemView::SingleSelection);
    FrameFlags = new QGroupBox(this);
    FrameFlags->setObjectName("FrameFlags");
    auto* flags = new QVBoxLayout(FrameFlags);
    const char* flagTags[8] = {"", "", "650", "652", "651", "", "653", "654"};
    for (int i = 0; i < 8; ++i) {
        CheckFlags[i] = new QCheckBox(FrameFlags);
        CheckFlags[i]->setObjectName(QStringLiteral("CheckFlags(%1)").arg(i));
        if (*flagTags[i]) SetTag(*CheckFlags[i], flagTags[i]);
        CheckFlags[i]->installEventFilter(this);
        CheckFlags[i]->setVisible(false);
    }
    for (int i : {2, 4, 3, 6, 7}) {
        flags->addWidget(CheckFlags[i]);
        CheckFlags[i]->setVisible(true);
    }
    ComboPrio = new QComboBox(FrameFlags);
    ComboPrio->setObjectName("ComboPrio");
    ComboPrio->installEventFilter(this);
    flags->addWidget(ComboPrio);
    flags->addStretch();
    ComSendend = button("ComSendend", "655");
    ComAdd = button("ComAdd", "656");
    ComClear = button("ComClear", "657");
    ComZurueck = button("ComZurueck", "658");
    COMOK = button("COMOK", "659");

    auto* grid = new QGridLayout(this);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(GrpAdr_1);
    boxes->addWidget(Label1[0]);
    boxes->addWidget(GrpAdr_2);
    boxes->addWidget(Label1[1]);
    boxes->addWidget(GrpAdr_3);
    boxes->addStretch();
    grid->addWidget(Label2, 0, 0);
    grid->addLayout(boxes, 1, 0);
    grid->addWidget(ListAdresse, 2, 0);
    grid->addWidget(FrameFlags, 0, 1, 3, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ComSendend, ComAdd, ComClear, ComZurueck, COMOK}) buttons->addWidget(b);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    setTabOrder(GrpAdr_1, GrpAdr_2);
    setTabOrder(GrpAdr_2, GrpAdr_3);
    GrpAdr_1->setFocus();

    ConnectTrapped(this, ComAdd, &QPushButton::clicked, &frmGrpAdr::ComAdd_Click);
    ConnectTrapped(this, ComClear, &QPushButton::clicked, &frmGrpAdr::ComClear_Click);
    ConnectTrapped(this, ComSendend, &QPushButton::clicked, &frmGrpAdr::ComSendend_Click);
    ConnectTrapped(this, COMOK, &QPushButton::clicked, &frmGrpAdr::COMOK_Click);
    connect(ComZurueck, &QPushButton::clicked, this, &frmGrpAdr::ComZurueck_Click);
    ConnectTrapped(this, ComboPrio, &QComboBox::currentIndexChanged, &frmGrpAdr::ComboPrio_Click);
    // A flag changed by the user counts as the box having had the focus.
    for (QCheckBox* c : CheckFlags) connect(c, &QCheckBox::clicked, COMOK, [this] { COMOK->setEnabled(true); });
    connect(ComboPrio, &QComboBox::activated, COMOK, [this] { COMOK->setEnabled(true); });

    Trap([this] { Form_Load(); });
}

frmGrpAdr::~frmGrpAdr() = default;

void frmGrpAdr::Form_Load() {
    SetFormTexts(*this);
    GrpConverter = std::make_unique<brimcorbin::Converter>();
    if (ShowGrpAdr == 0) {
        GrpAdr_3->setVisible(false);
        Label1[1]->setVisible(false);
    }
    resize(std::max(TwipsToPixels(6375), sizeHint().width()), std::max(TwipsToPixels(4200), sizeHint().height()));
    ListAdresse->setColumnCount(2);
    ListAdresse->setHeaderLabels({"   ", "  "});
    const int half = TwipsToPixels(2895) / 2;
    ListAdresse->setColumnWidth(0, half);
    ListAdresse->setColumnWidth(1, half);
    ComboPrio->clear();
    for (int id = 660; id <= 663; ++id) ComboPrio->addItem(QText(id));
    ComboPrio->setCurrentIndex(0);
    ComboPrio_Click();
    FrameFlags->setVisible(false);
    COMOK->setEnabled(false);
}

void frmGrpAdr::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;  // returning to the window is no activation
    activated_ = true;
    try {
        Form_Activate();
    } catch (const std::exception& e) {
        activationError_ = ErrorNumber(e);
        ReportError(e);
    }
}

const GrpAdrObjectKind* frmGrpAdr::kind() const {
    for (const GrpAdrObjectKind& row : kObjectKinds) {
        if (GroupKindKey == QLatin1String(row.key)) return &row;
    }
    return nullptr;
}

void frmGrpAdr::Form_Activate() {
    activationError_ = 0;
    const QString key = node_ ? node_->key : QString();
    ObjectIndex = Number(key.left(1));
    const int colon = key.indexOf(':');
    if (colon < 1) automation::raiseRuntime(automation::errInvalidCall, "Corvane");
    GroupKindKey = key.mid(1, colon - 1);
    GroupIndex = Number(key.mid(colon + 1));

    if (const GrpAdrObjectKind* k = kind()) {
        k->read(WorkingCopy, main_.mDali(), GroupIndex);
        std::uint8_t defaults = k->catalogue(GroupIndex, ObjectIndex).Flags;
        SetFlags(defaults);
        TypObjectZuordnung& object = k->object(WorkingCopy, ObjectIndex);
        if (object.GrpAdrActive) {
            SetFlags(object.Flags);
            for (std::int32_t i = 0; i <= object.GrpAdr.ubound(); ++i) {
                // An address no group address can be has no text: left out, so OK does not
                // store it back. The project file keeps no bindings: only a caller of the project
                // library that set the record can bring one.
                const std::int32_t address = object.GrpAdr(i);
                if (address < 0 || address > 0xFFFF) continue;
                AddEntry(QString::fromStdString(GrpConverter->GrpAdrToText(address, ShowGrpAdr)));
            }
        }
    }
    ShowFrameFlags();
    if (ListAdresse->topLevelItemCount() > 0) ListAdresse->topLevelItem(0)->setText(1, SendMark);
    AssocCount = automation::toInteger(main_.mDali().GetAssozLen());
}

QTreeWidgetItem* frmGrpAdr::AddEntry(const QString& text) {
    auto* item = new QTreeWidgetItem(ListAdresse);
    item->setText(0, text);
    return item;
}

QTreeWidgetItem* frmGrpAdr::SelectedEntry() const {
    QTreeWidgetItem* current = ListAdresse->currentItem();
    return current && current->isSelected() ? current : nullptr;
}

void frmGrpAdr::ShowFrameFlags() { FrameFlags->setVisible(ListAdresse->topLevelItemCount() > 0); }

void frmGrpAdr::ClearBoxes() {
    for (QLineEdit* b : {GrpAdr_1, GrpAdr_2, GrpAdr_3}) b->clear();
}

void frmGrpAdr::ComAdd_Click() {
    QString text = GrpAdr_1->text() + "/" + GrpAdr_2->text();
    if (ShowGrpAdr != 0) text += "/" + GrpAdr_3->text();
    const std::int32_t address = GrpConverter->TextToGrpAdr(text.toStdString());
    // An address already listed, in whatever spelling, is not added twice.
    for (int i = 0; i < ListAdresse->topLevelItemCount(); ++i) {
        const QString listed = ListAdresse->topLevelItem(i)->text(0);
        if (listed == text || (address > 0 && GrpConverter->TextToGrpAdr(listed.toStdString()) == address)) return;
    }
    if (AssocCount + 1 > MaxLimits.MaxAssoziation) {
        ShowMessage(1, MessageText(MessageTexts.MsgMaxLinks, 919));
        return;
    }
    if (address <= 0) {
        ShowMessage(1, MessageText(MessageTexts.MsgEnterGroupAddress, 915));
        return;
    }
    ++AssocCount;
    QTreeWidgetItem* item = AddEntry(text);
    ShowFrameFlags();
    if (ListAdresse->topLevelItemCount() == 1) item->setText(1, SendMark);
    ClearBoxes();
    COMOK->setEnabled(true);
}

void frmGrpAdr::ComClear_Click() {
    if (ListAdresse->topLevelItemCount() == 0) return;
    if (QTreeWidgetItem* item = SelectedEntry()) {
        delete item;
        ListAdresse->clearSelection();
        --AssocCount;
    }
    ShowFrameFlags();
    ClearBoxes();
    COMOK->setEnabled(true);
}

void frmGrpAdr::ComSendend_Click() {
    if (ListAdresse->topLevelItemCount() == 0) return;
    QTreeWidgetItem* item = SelectedEntry();
    if (!item) return;  // no entry to mark: the marks stay as they are
    for (int i = 0; i < ListAdresse->topLevelItemCount(); ++i) ListAdresse->topLevelItem(i)->setText(1, "");
    item->setText(1, SendMark);
    // Sorted by the mark: the sending address first, the others in their order.
    ListAdresse->takeTopLevelItem(ListAdresse->indexOfTopLevelItem(item));
    ListAdresse->insertTopLevelItem(0, item);
    ListAdresse->setCurrentItem(item);
    COMOK->setEnabled(true);
}

void frmGrpAdr::ComboPrio_Click() {
    const int index = ComboPrio->currentIndex();
    if (index < 0 || index > 3) return;
    CheckFlags[0]->setChecked(index == 0 || index == 1);
    CheckFlags[1]->setChecked(index == 0 || index == 2);
}

void frmGrpAdr::SetFlags(std::uint8_t& FlagByte) {
    for (int i = 0; i < 8; ++i) CheckFlags[i]->setChecked(GrpConverter->TestBit(i, FlagByte));
    ComboPrio->setCurrentIndex(kPrioIndex[FlagByte & 3]);
    ComboPrio_Click();
}

std::uint8_t frmGrpAdr::SaveFlags(std::uint8_t& FlagByte) {
    std::int32_t value = FlagByte;
    for (int i = 0; i < 8; ++i) {
        value = CheckFlags[i]->isChecked() ? GrpConverter->SetBit(i, value) : GrpConverter->ClearBit(i, value);
    }
    FlagByte = static_cast<std::uint8_t>(value);
    return FlagByte;
}

void frmGrpAdr::COMOK_Click() {
    // A record that could not be read is never written back.
    if (activationError_ != 0) automation::raiseRuntime(activationError_, "Corvane");
    if (const GrpAdrObjectKind* k = kind()) {
        TypObjectZuordnung& object = k->object(WorkingCopy, ObjectIndex);
        const int n = ListAdresse->topLevelItemCount();
        if (n == 0) {
            object.GrpAdr.redim(0, 0);
            object.GrpAdrActive = false;
            object.GrpString.clear();
        } else {
            const ObjectRec& entry = k->catalogue(GroupIndex, ObjectIndex);
            corlink::SafeArray<std::int32_t> addresses(0, n - 1);
            object.Flags = SaveFlags(object.Flags);
            std::string text;
            for (int i = 0; i < n; ++i) {
                addresses(i) = GrpConverter->TextToGrpAdr(ListAdresse->topLevelItem(i)->text(0).toStdString());
                text += " " + GrpConverter->GrpAdrToText(addresses(i), brimcorbin::styleTwoLevels);
            }
            object.ObjNo = automation::toByte(static_cast<double>(entry.ObjectNumber));
            object.GrpAdr = std::move(addresses);
            object.GrpAdrActive = true;
            object.GrpString = text;
        }
        k->write(WorkingCopy, main_.mDali(), GroupIndex);
    }
    main_.CreateObjektDataTree();
    accept();
}

void frmGrpAdr::ComZurueck_Click() { close(); }

void frmGrpAdr::GrpAdr_KeyDown(QLineEdit& box, int key) {
    const bool third = !GrpAdr_3->isHidden();
    QLineEdit* to = nullptr;
    if (key == Qt::Key_Right) {
        to = &box == GrpAdr_1 ? GrpAdr_2 : &box == GrpAdr_2 ? (third ? GrpAdr_3 : nullptr) : GrpAdr_1;
    } else if (key == Qt::Key_Left) {
        to = &box == GrpAdr_1 ? (third ? GrpAdr_3 : nullptr) : &box == GrpAdr_2 ? GrpAdr_1 : GrpAdr_2;
    }
    if (to) to->setFocus(Qt::OtherFocusReason);
}

bool frmGrpAdr::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (QLineEdit* b : {GrpAdr_1, GrpAdr_2, GrpAdr_3}) {
            if (watched == b) GrpAdr_KeyDown(*b, static_cast<QKeyEvent*>(event)->key());
        }
    } else if (event->type() == QEvent::FocusIn && (watched == ComboPrio || qobject_cast<QCheckBox*>(watched))) {
        COMOK->setEnabled(true);
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace corvane
