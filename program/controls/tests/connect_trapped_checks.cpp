// ConnectTrapped takes only a handler of the window's own class or of one of its bases: a
// handler of a sibling window class, written by mistake, must not compile.
#include "ConnectTrapped.h"

#include <QPushButton>

namespace corvane {
namespace connect_trapped_checks {

struct Dialog : QObject {
    void Shared() {}
};
struct GroupDialog : Dialog {
    void Blink() {}
};
struct SceneDialog : Dialog {
    void Recall() {}
};
struct NoWindow {
    void Run() {}
};

template <typename Window, typename Handler>
concept Connects = requires(Window* window, QPushButton* button, Handler handler) {
    ConnectTrapped(window, button, &QPushButton::clicked, handler);
};

static_assert(Connects<GroupDialog, decltype(&GroupDialog::Blink)>);
static_assert(Connects<GroupDialog, decltype(&Dialog::Shared)>);
static_assert(!Connects<GroupDialog, decltype(&SceneDialog::Recall)>);
static_assert(!Connects<Dialog, decltype(&GroupDialog::Blink)>);
static_assert(!Connects<NoWindow, decltype(&NoWindow::Run)>);

}  // namespace connect_trapped_checks
}  // namespace corvane
