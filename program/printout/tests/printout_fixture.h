// Shared set-up of the printout tests: a main window after its start-up in German, a project
// with a file name, and a recording printer that keeps every text and rule with its page and
// place (one text line is exactly one row).
#pragma once

#include "ModPrinter.h"
#include "ModelTables.h"
#include "PrinterObject.h"
#include "gui_fixture.h"
#include "oledate.h"

#include <memory>
#include <string>
#include <vector>

namespace corvane::test {

struct Printed {
    int page;
    double x, y;
    std::string text;
    bool bold, underline;
};
struct Ruled {
    int page;
    double x1, y1, x2, y2;
};

// What the recording printers of a test received, job by job.
struct Recording {
    int jobs = 0;
    int pages = 0;  // of the last job
    bool ended = false, killed = false;
    std::vector<Printed> texts;  // of the last job
    std::vector<Ruled> rules;
    int failOnPage = 0;  // NewPage to this page raises error 1004
};

class RecordingPrinter : public PrinterObject {
public:
    explicit RecordingPrinter(std::shared_ptr<Recording> r) : r_(std::move(r)) {
        ++r_->jobs;
        r_->pages = 1;
        r_->ended = r_->killed = false;
        r_->texts.clear();
        r_->rules.clear();
    }
    void Print(const std::string& text) override {
        if (!text.empty()) r_->texts.push_back({r_->pages, CurrentX, CurrentY, text, FontBold, FontUnderline});
        CurrentY += 1;
    }
    void Line(double x1, double y1, double x2, double y2) override {
        r_->rules.push_back({r_->pages, x1, y1, x2, y2});
        CurrentX = x2;
        CurrentY = y2;
    }
    void NewPage() override {
        if (r_->pages + 1 == r_->failOnPage) automation::raise(1004, "Printer", "fault");
        ++r_->pages;
    }
    void EndDoc() override { r_->ended = true; }
    void KillDoc() override { r_->killed = true; }

private:
    std::shared_ptr<Recording> r_;
};

// An object bound to the group addresses main/middle/sub given as three-level triples.
inline corlink::TypObjectZuordnung bound(std::initializer_list<std::array<int, 3>> addresses, std::uint8_t flags) {
    corlink::TypObjectZuordnung o;
    o.GrpAdrActive = true;
    o.Flags = flags;
    o.GrpAdr.redim(0, static_cast<std::int32_t>(addresses.size()) - 1);
    int i = 0;
    for (const auto& a : addresses) o.GrpAdr(i++) = (a[0] << 11) | (a[1] << 8) | a[2];
    return o;
}

// An active function group of kind G with its name and actuator type.
template <class G>
G activeGroup(const std::string& name, std::uint8_t actor = 0) {
    G g;
    g.Active = true;
    g.Name = name;
    g.AktorTyp = actor;
    return g;
}

class Printout : public Gui {
protected:
    void SetUp() override {
        Gui::SetUp();
        main = start(kGerman);
        shown.clear();
        SetPrinterFactory([this] { return std::make_unique<RecordingPrinter>(rec); });
        clock = std::make_unique<automation::ScopedClock>([] { return automation::toOleDate({2024, 6, 3, 14, 5, 9}); });
        corlink::TypHeader h = dali().Header();
        h.DateiName = "/projects/hall.dal";
        h.phyAdrString = "1.1.7";
        h.LetzterDownload = automation::toOleDate({2024, 5, 18, 10, 0, 0});
        dali().letHeader(h);
        ShowGrpAdr = 1;
    }
    void TearDown() override {
        clock.reset();
        SetPrinterFactory({});
        main.reset();
        ShowGrpAdr = 0;
        Gui::TearDown();
    }

    corlink::clsOrvekDali& dali() { return main->mDali(); }

    // The texts printed on a page, in order.
    std::vector<std::string> textsOn(int page) const {
        std::vector<std::string> out;
        for (const Printed& p : rec->texts) {
            if (p.page == page) out.push_back(p.text);
        }
        return out;
    }
    // The texts printed in the body rows (8..74) after the first `from` and before the next `to`.
    std::vector<std::string> textsBetween(const std::string& from, const std::string& to) const {
        std::vector<std::string> out;
        bool inside = false;
        for (const Printed& p : rec->texts) {
            if (p.y < 8 || p.y > 74) continue;
            if (!inside) {
                inside = p.text == from;
            } else if (p.text == to) {
                break;
            } else {
                out.push_back(p.text);
            }
        }
        return out;
    }
    const Printed* find(const std::string& text) const {
        for (const Printed& p : rec->texts) {
            if (p.text == text) return &p;
        }
        return nullptr;
    }

    std::unique_ptr<frm01> main;
    std::shared_ptr<Recording> rec = std::make_shared<Recording>();
    std::unique_ptr<automation::ScopedClock> clock;
};

}  // namespace corvane::test
