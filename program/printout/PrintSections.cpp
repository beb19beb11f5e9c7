// The sections of the printout: the five kinds of function groups, the scenes, the push buttons
// and the general settings. Each opens with a page-room check and closes with a rule.
#include "ModPrinter.h"

#include "DeviceSelection.h"
#include "ModelTables.h"
#include "StringTable.h"
#include "brimcorbin.h"
#include "corlink/clsOrvekDali.h"

#include <algorithm>

namespace corvane {

namespace {

using corlink::TypObjectZuordnung;

std::string num(int value) { return std::to_string(value); }

// Entry i of a table, or nullptr when i lies outside it: a record that points past its table
// prints without that text instead of ending the whole printout.
template <class T>
const T* entry(const SafeArray<T>& table, int i) {
    if (!table.allocated() || i < table.lbound() || i > table.ubound()) return nullptr;
    return &table(i);
}

// The objects 0..count-1 that have group addresses, labelled with the texts firstText onwards.
template <std::size_t N>
void printObjects(const std::array<TypObjectZuordnung, N>& objects, int firstText, std::size_t count) {
    for (std::size_t k = 0; k < std::min(count, N); ++k) {
        const TypObjectZuordnung& o = objects[k];
        if (o.GrpAdrActive)
            PrintLine(PrintAddressList(o.GrpAdr, o.Flags) + " " + Text(firstText + static_cast<int>(k)));
    }
}

// Blank row, the name in bold and the actuator type beside it.
void printGroupHead(const std::string& name, std::uint8_t actor, int typeText) {
    PrintLine("");
    PrintBold(true);
    PrintLine(name);
    PrintBold(false);
    PrintLineMiddleSameRow(Text(typeText) + ": " + GetActorTypeText(actor));
}

// The read-object setting (0 no, 1 yes) beside the display line, or on a row of its own when no
// display line was printed (it would stand on top of the row printed before); other values print
// nothing.
void printReadObject(std::int32_t w, bool besideDisplay, int labelText, int yesText, int noText) {
    if (w != 0 && w != 1) return;
    const std::string text = Text(labelText) + ": " + Text(w == 1 ? yesText : noText);
    if (besideDisplay) {
        PrintLineMiddleSameRow(text);
    } else {
        PrintLineMiddle(text);
    }
}

// Lighting, ventilation and blinds share their layout; their texts lie at fixed places after
// the actuator-type text `base`: display label +2, read label +3, display values +4..+7,
// yes +8, no +9.
struct SimpleKind {
    int title;
    std::uint8_t corlink::TypZeiten::*readTime;
    std::uint8_t corlink::TypMaxGrenzwerte::*count;
    int base;
    int firstObject;
};

template <class Rec>
void printSimpleGroups(const SimpleKind& kind, Rec (corlink::clsOrvekDali::*get)(std::int16_t) const) {
    const brimcorbin::Converter PrintConverter;
    EnsurePageRoom7();
    PrintTitle(Text(kind.title));
    PrintLine(Text(490) + ": " + num(PrintTimes().*kind.readTime));
    for (int i = 0; i < MaxLimits.*kind.count; ++i) {
        const Rec g = (PrintedProject().*get)(static_cast<std::int16_t>(i));
        if (!g.Active) continue;
        printGroupHead(g.Name, g.AktorTyp, kind.base);
        const std::int32_t v = PrintConverter.GetBitField(brimcorbin::fieldDisplay, g.FeedBack);
        const bool display = v >= 0 && v <= 3;
        if (display) PrintLine(Text(kind.base + 2) + ": " + Text(kind.base + 4 + v));
        printReadObject(PrintConverter.GetBitField(brimcorbin::fieldReadObject, g.FeedBack), display, kind.base + 3,
                        kind.base + 8, kind.base + 9);
        printObjects(g.Objekte, kind.firstObject, 4);
    }
    PrintRule();
}

}  // namespace

void PrintLightingGroups() {
    printSimpleGroups(
        {101, &corlink::TypZeiten::ReadTimeLight, &corlink::TypMaxGrenzwerte::MaxBeleuchtungsgruppen, 300, 150},
        &corlink::clsOrvekDali::BeleuchtungsGruppe);
}

void PrintVentilationGroups() {
    printSimpleGroups(
        {102, &corlink::TypZeiten::ReadTimeAir, &corlink::TypMaxGrenzwerte::MaxBelueftungsgruppen, 320, 154},
        &corlink::clsOrvekDali::BelueftungsGruppe);
}

void PrintBlindGroups() {
    // The fifth object of a blind group is not printed.
    printSimpleGroups({104, &corlink::TypZeiten::ReadTimeJal, &corlink::TypMaxGrenzwerte::MaxJalousiegruppen, 360, 165},
                      &corlink::clsOrvekDali::JalousieGruppe);
}

void PrintTemperatureGroups() {
    const brimcorbin::Converter PrintConverter;
    EnsurePageRoom7();
    PrintTitle(Text(103));
    PrintLine(Text(490) + ": " + num(PrintTimes().ReadTimeTemp));
    // Per display line: its byte's label and the one value besides 0 that it shows.
    struct DisplayLine {
        std::uint8_t corlink::TypTemperaturGruppe::*byte;
        int label;
        std::int32_t value;
        int valueText;
    };
    constexpr DisplayLine lines[] = {{&corlink::TypTemperaturGruppe::FeedBack1, 342, 6, 347},
                                     {&corlink::TypTemperaturGruppe::FeedBack2, 343, 4, 352},
                                     {&corlink::TypTemperaturGruppe::FeedBack3, 344, 5, 353}};
    for (int i = 0; i < MaxLimits.MaxTemperaturgruppen; ++i) {
        const corlink::TypTemperaturGruppe g = PrintedProject().TemperaturGruppe(static_cast<std::int16_t>(i));
        if (!g.Active) continue;
        printGroupHead(g.Name, g.AktorTyp, 340);
        for (const DisplayLine& line : lines) {
            const std::uint8_t byte = g.*line.byte;
            const std::int32_t v = PrintConverter.GetBitField(brimcorbin::fieldDisplay, byte);
            const bool display = v == 0 || v == line.value;
            if (display) PrintLine(Text(line.label) + ": " + Text(v == 0 ? 346 : line.valueText));
            printReadObject(PrintConverter.GetBitField(brimcorbin::fieldReadObject, byte), display, 345, 348, 349);
        }
        printObjects(g.Objekte, 158, 7);
    }
    PrintRule();
}

void PrintSignalGroups() {
    EnsurePageRoom7();
    PrintTitle(Text(107));
    for (int i = 0; i < MaxLimits.MaxMeldegruppen; ++i) {
        const corlink::TypMeldeGruppe g = PrintedProject().MeldeGruppe(static_cast<std::int16_t>(i));
        if (!g.Active) continue;
        PrintLine("");
        PrintLine(Text(420) + ": " + g.Name0);
        PrintLine(Text(421) + ": " + g.Name1);
        printObjects(g.Objekte, 172, 1);
    }
    PrintRule();
}

void PrintScenes() {
    EnsurePageRoom7();
    PrintTitle(Text(105));
    for (int i = 0; i < MaxLimits.MaxSzenen; ++i) {
        const auto index = static_cast<std::int16_t>(i);
        const corlink::TypSzene scene = PrintedProject().Szene(index);
        if (!scene.Active) continue;
        PrintLine("");
        SafeArray<corlink::TypDynamicSzenen> values;
        PrintedProject().GetDynamicSzenenArray(values, index);
        PrintBold(true);
        PrintLine(scene.Name);
        PrintBold(false);
        PrintLineMiddleSameRow(Text(382) + ": " + num(scene.Verzoegerungszeit));
        for (const corlink::TypDynamicSzenen& v : values) {
            if (!v.Active) continue;
            PrintLine(v.Text);
            const ValueOptionRec* row = entry(ValueOptionList, v.RefAufSzenenWert);
            const OptionRec* option = row ? entry(row->Options, v.WertID - 1) : nullptr;
            PrintLineMiddleSameRow(option ? option->Text : "");
            if (!option) continue;
            if (option->Kind == 3) PrintLineRightSameRow(num(v.Wert1[0]) + " / " + num(v.Wert1[1]));
            if (option->Kind == 2) PrintLineRightSameRow(num(v.Wert1[0]));
        }
        const TypObjectZuordnung& extension = scene.ObjNebenstelle;
        if (extension.GrpAdrActive) PrintLine(PrintAddressList(extension.GrpAdr, extension.Flags) + " " + Text(381));
    }
    PrintRule();
}

void PrintKeys() {
    EnsurePageRoom7();
    PrintTitle(Text(106));
    // Buttons print in pairs: even indices on the left, odd ones in the middle column beside
    // them, from the row where the left block began. The pair then ends below the longer block.
    std::int16_t pairTop = 0;
    for (int i = 0; i < MaxLimits.MaxTasten; ++i) {
        const corlink::TypTasten key = PrintedProject().Tasten(static_cast<std::int16_t>(i));
        const bool right = i % 2 == 1;
        void (*const P)(const std::string&) = right ? PrintLineMiddle : PrintLine;
        std::int16_t leftEnd = 0;
        if (right) {
            leftEnd = PrintRow();
            SetPrintRow(pairTop);
        }
        EnsurePageRoom5();
        P("");
        if (!right) pairTop = static_cast<std::int16_t>(PrintRow() - 1);
        PrintBold(true);
        PrintUnderline(true);
        P(Text(106) + ": " + num(i + 1));
        PrintBold(false);
        PrintUnderline(false);

        const ButtonFunctionRec* function = entry(ButtonFunctionList, key.FunktionID);
        const ButtonActionRec* actions = entry(ButtonActionList, key.FunktionID);
        const std::string functionText = function ? function->Text : "";
        const DisplayModeRec* led = entry(DisplayModeList, key.FunktionLED);
        const std::string ledLine = Text(649) + " " + (led ? led->Text : "");
        const corlink::TypWerte& w = key.Wert;
        if (key.WertID != 0) {
            const OptionRec* action = actions ? entry(actions->Actions, key.WertID - 1) : nullptr;
            P(key.Name);
            P(functionText + ": " + (action ? action->Text : ""));
            P(ledLine);
        } else if (const OptionRec* first = actions ? entry(actions->Actions, 0) : nullptr) {
            std::string values;
            switch (first->Kind) {
            case 0:
                P("");
                P("");
                P("");
                break;
            case 2: values = num(w.Wert1[0]); break;
            case 3:
            case 5: values = num(w.Wert1[0]) + " / " + num(w.Wert2[0]); break;
            case 4:
                values = num(w.Wert1[0]) + " / " + num(w.Wert1[1]) + " / " + num(w.Wert2[0]) + " / " + num(w.Wert2[1]);
                break;
            default: break;
            }
            if (!values.empty()) {
                P(key.Name);
                P(functionText + ": " + values);
                P(ledLine);
            }
        }
        if (right) SetPrintRow(std::max(leftEnd, PrintRow()));
    }
    PrintRule();
}

void PrintGeneralSettings() {
    const corlink::TypZeiten& t = PrintTimes();
    EnsurePageRoom7();
    PrintTitle(Text(200));
    PrintLine("");
    if (t.ZeitDatumKonfig <= 3) PrintLine(Text(444) + ": " + Text(459 + t.ZeitDatumKonfig));
    PrintLine("");
    if (t.ZeitDatumFormat <= 1) PrintLine(Text(440) + ": " + Text(463 + t.ZeitDatumFormat));
    PrintLine("");
    PrintLine(Text(441));
    PrintLine(Text(447) + ": " + num(t.LangeTastZeit));
    PrintLine(Text(448) + ": " + num(t.SLangeTastZeit));
    PrintLine("");
    PrintLine(Text(442));
    PrintLine(Text(453) + ": " + num(t.LCDOnZeit));
    PrintLine(Text(454) + ": " + Text(t.ObjekteDatumZeitLCD[2].GrpAdrActive ? 455 : 456));
    PrintLine("");
    printObjects(t.ObjekteDatumZeitLCD, 169, 3);
    PrintRule();
}

}  // namespace corvane
