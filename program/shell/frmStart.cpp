#include "frmStart.h"

#include "Icons.h"
#include "Messages.h"
#include "Seams.h"
#include "frm01.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace corvane {

frmStart::frmStart(QWidget* parent) : QWidget(parent) {
    setObjectName("frmStart");
    setWindowTitle("Brimcor Tool Software");
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    // The picture is drawn at the window's size; a label that scales it would keep two more
    // copies of it.
    Image1->setAlignment(Qt::AlignCenter);
    // The window's frame has the picture's size, so the inner area is a little smaller: the
    // picture's edges are cut rather than the window made larger.
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);
    Timer1 = new FormTimer("Timer1", 2000, this);
    connect(Timer1, &FormTimer::tick, this, &frmStart::Timer1_Timer);
    Form_Load();
}

void frmStart::Form_Load() {
    SetWindowTwips(*this, -1, -1, 5325, 7200);
    Image1->setPixmap(SplashPicture(TwipsToPixels(5325), TwipsToPixels(7200)));
}

void frmStart::Form_Activate() { Timer1->setEnabled(true); }

void frmStart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Form_Activate();
}

void frmStart::Timer1_Timer() {
    if (started_) return;
    started_ = true;
    Timer1->setEnabled(false);
    auto* w = new frm01;
    w->setAttribute(Qt::WA_DeleteOnClose);
    // The program cannot start without its main window: a failed start-up is reported and
    // ends the program.
    if (!Trap([w] { w->Form_Load(); })) {
        delete w;
        Unload();
        QCoreApplication::exit(1);
        return;
    }
    main_ = w;
    w->show();
    Unload();
}

void frmStart::Unload() {
    close();
    // The window is deleted later; its picture goes now.
    Image1->clear();
}

}  // namespace corvane
