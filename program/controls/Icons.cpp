#include "Icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStyle>
#include <QStyleOption>

#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <vector>

namespace corvane {

namespace {

using Draw = std::function<void(QPainter&)>;

// An icon drawn from a drawing made on a unit x unit canvas, sharp at any size. Each size and
// mode is drawn once, when it is first asked for, and kept; only the latest few sizes are kept,
// so that a picture that follows the window's size does not pile up pixmaps.
class DrawnIconEngine : public QIconEngine {
public:
    DrawnIconEngine(int unit, Draw draw) : unit_(unit), draw_(std::move(draw)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        if (size.isEmpty()) return {};
        for (const Entry& e : cache_) {
            if (e.size == size && e.mode == mode) return e.pixmap;
        }
        QPixmap pm = mode == QIcon::Normal ? draw(size) : derived(pixmap(size, QIcon::Normal, QIcon::Off), mode);
        if (cache_.size() >= kKeptSizes) cache_.erase(cache_.begin());
        cache_.push_back({size, mode, pm});
        return pm;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap pm = pixmap(rect.size() * dpr, mode, state);
        pm.setDevicePixelRatio(dpr);
        painter->drawPixmap(rect.topLeft(), pm);
    }

    // The sizes the drawing was made for; window systems pick their icon sizes from these.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(unit_, unit_), QSize(unit_ * 2, unit_ * 2)};
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }
    QString key() const override { return QStringLiteral("corvane-drawn"); }

private:
    static constexpr std::size_t kKeptSizes = 12;

    QPixmap draw(const QSize& size) const {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const double side = std::min(size.width(), size.height());
        p.translate((size.width() - side) / 2, (size.height() - side) / 2);
        p.scale(side / unit_, side / unit_);
        draw_(p);
        return pm;
    }

    // Disabled and selected looks come from the style, as for icons made of pixmaps.
    static QPixmap derived(const QPixmap& normal, QIcon::Mode mode) {
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        const QPixmap pm = QApplication::style()->generatedIconPixmap(mode, normal, &option);
        return pm.isNull() ? normal : pm;
    }

    struct Entry {
        QSize size;
        QIcon::Mode mode;
        QPixmap pixmap;
    };
    int unit_;
    Draw draw_;
    std::vector<Entry> cache_;  // oldest first
};

// The icons of one application run by name, each made on first use; they go with the
// application (its pixmaps must not outlive it).
QIcon drawnIcon(const QString& name, int unit, const Draw& draw) {
    static std::map<QString, QIcon>* icons = nullptr;
    if (!icons) {
        icons = new std::map<QString, QIcon>;
        qAddPostRoutine([] {
            delete icons;
            icons = nullptr;
        });
    }
    auto it = icons->find(name);
    if (it == icons->end()) it = icons->emplace(name, QIcon(new DrawnIconEngine(unit, draw))).first;
    return it->second;
}

QPen outline(const QColor& c, double w = 1.0) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// A light bulb in a box of the given origin and size.
void bulb(QPainter& p, QPointF o, double s, const QColor& glass) {
    QRadialGradient g(o + QPointF(s * 0.42, s * 0.32), s * 0.45);
    g.setColorAt(0, glass.lighter(150));
    g.setColorAt(1, glass);
    p.setPen(outline(glass.darker(170), s / 16));
    p.setBrush(g);
    p.drawEllipse(QRectF(o.x() + s * 0.18, o.y() + s * 0.04, s * 0.64, s * 0.62));
    p.setBrush(QColor(0x8a, 0x8f, 0x98));
    p.setPen(outline(QColor(0x55, 0x5a, 0x62), s / 16));
    p.drawRoundedRect(QRectF(o.x() + s * 0.34, o.y() + s * 0.64, s * 0.32, s * 0.26), s * 0.05, s * 0.05);
    p.drawLine(QPointF(o.x() + s * 0.36, o.y() + s * 0.77), QPointF(o.x() + s * 0.64, o.y() + s * 0.77));
}

void plusBadge(QPainter& p, QPointF c, double r, const QColor& col) {
    p.setPen(outline(col.darker(150), 0.8));
    p.setBrush(col);
    p.drawEllipse(c, r, r);
    p.setPen(outline(Qt::white, r * 0.45));
    p.drawLine(c - QPointF(r * 0.55, 0), c + QPointF(r * 0.55, 0));
    p.drawLine(c - QPointF(0, r * 0.55), c + QPointF(0, r * 0.55));
}

void gatewayBox(QPainter& p, QRectF r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0x4f, 0x86, 0xc0));
    g.setColorAt(1, QColor(0x2a, 0x55, 0x88));
    p.setPen(outline(QColor(0x1d, 0x3d, 0x63)));
    p.setBrush(g);
    p.drawRoundedRect(r, r.height() * 0.18, r.height() * 0.18);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd5, 0x4a));
    p.drawEllipse(QPointF(r.right() - r.height() * 0.3, r.top() + r.height() * 0.3), r.height() * 0.12,
                  r.height() * 0.12);
    p.setPen(outline(QColor(0xd8, 0xe6, 0xf5), r.height() * 0.09));
    for (int i = 0; i < 3; ++i) {
        const double x = r.left() + r.width() * (0.18 + i * 0.16);
        p.drawLine(QPointF(x, r.top() + r.height() * 0.55), QPointF(x, r.bottom() - r.height() * 0.2));
    }
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& col, double w) {
    p.setPen(outline(col, w));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(to + d * w * 0.9);
    head.lineTo(to - d * w * 1.4 + n * w * 1.5);
    head.lineTo(to - d * w * 1.4 - n * w * 1.5);
    head.closeSubpath();
    p.setPen(outline(col, w * 0.4));
    p.setBrush(col);
    p.drawPath(head);
}

const QColor kBulbYellow(0xff, 0xd2, 0x3f);

void treeImage(QPainter& p, int index) {
    switch (index) {
    case 1:  // the DALI line: the gateway
        gatewayBox(p, QRectF(1, 3.5, 14, 9));
        break;
    case 2: {  // a folder
        p.setPen(outline(QColor(0xa8, 0x7a, 0x1c)));
        p.setBrush(QColor(0xf3, 0xc4, 0x5a));
        QPainterPath f;
        f.moveTo(1.5, 4);
        f.lineTo(6, 4);
        f.lineTo(7.5, 5.5);
        f.lineTo(14.5, 5.5);
        f.lineTo(14.5, 13.5);
        f.lineTo(1.5, 13.5);
        f.closeSubpath();
        p.drawPath(f);
        break;
    }
    case 3: {  // physical address: an address tag
        QPainterPath tag;
        tag.moveTo(1.5, 8);
        tag.lineTo(5.5, 3.5);
        tag.lineTo(14.5, 3.5);
        tag.lineTo(14.5, 12.5);
        tag.lineTo(5.5, 12.5);
        tag.closeSubpath();
        p.setPen(outline(QColor(0x2e, 0x7d, 0x32)));
        p.setBrush(QColor(0x66, 0xbb, 0x6a));
        p.drawPath(tag);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(5.2, 8), 1.2, 1.2);
        p.setPen(outline(Qt::white, 1.1));
        p.drawLine(QPointF(8, 6.5), QPointF(12.5, 6.5));
        p.drawLine(QPointF(8, 9.5), QPointF(11, 9.5));
        break;
    }
    case 4:  // a ballast (lamp); also new installation and scenes
        bulb(p, QPointF(0, 0), 16, kBulbYellow);
        break;
    case 5:  // post-installation: a lamp with a plus
        bulb(p, QPointF(-1.5, 0), 16, kBulbYellow);
        plusBadge(p, QPointF(12, 12), 3.4, QColor(0x43, 0xa0, 0x47));
        break;
    case 6: {  // scenes: stacked light settings
        const QColor cols[3] = {QColor(0x7e, 0x57, 0xc2), QColor(0xef, 0x6c, 0x00), QColor(0x26, 0xa6, 0x9a)};
        for (int i = 0; i < 3; ++i) {
            p.setPen(outline(cols[i].darker(150)));
            p.setBrush(cols[i]);
            p.drawRoundedRect(QRectF(1.5 + i * 2.5, 1.5 + i * 2.5, 9, 9), 2, 2);
        }
        break;
    }
    case 7:  // a group of lamps
        bulb(p, QPointF(3.5, -0.5), 9.5, kBulbYellow);
        bulb(p, QPointF(-0.5, 6.5), 9.5, kBulbYellow);
        bulb(p, QPointF(7.5, 6.5), 9.5, kBulbYellow);
        break;
    case 8:  // ballast assignment: a lamp pointed at
        bulb(p, QPointF(3, 0), 14, kBulbYellow);
        arrow(p, QPointF(0.8, 14.5), QPointF(5.2, 10.2), QColor(0x1e, 0x6f, 0xc8), 1.4);
        break;
    default: break;
    }
}

void page(QPainter& p) {
    QPainterPath pg;
    pg.moveTo(5, 2.5);
    pg.lineTo(14.5, 2.5);
    pg.lineTo(19.5, 7.5);
    pg.lineTo(19.5, 21.5);
    pg.lineTo(5, 21.5);
    pg.closeSubpath();
    p.setPen(outline(QColor(0x5f, 0x6b, 0x7a), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(pg);
    p.setBrush(QColor(0xdc, 0xe3, 0xea));
    QPainterPath fold;
    fold.moveTo(14.5, 2.5);
    fold.lineTo(14.5, 7.5);
    fold.lineTo(19.5, 7.5);
    fold.closeSubpath();
    p.drawPath(fold);
}

void floppy(QPainter& p) {
    p.setPen(outline(QColor(0x1d, 0x3d, 0x63), 1.2));
    p.setBrush(QColor(0x3d, 0x72, 0xb0));
    QPainterPath body;
    body.moveTo(3, 3);
    body.lineTo(18, 3);
    body.lineTo(21, 6);
    body.lineTo(21, 21);
    body.lineTo(3, 21);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(0xe8, 0xee, 0xf5));
    p.drawRect(QRectF(7, 3, 10, 6.5));
    p.setBrush(QColor(0x3d, 0x72, 0xb0));
    p.drawRect(QRectF(13.5, 4.2, 2, 4));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6, 13, 12, 8), 1, 1);
}

void toolbarImage(QPainter& p, const QString& key) {
    if (key == "New") {
        page(p);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xff, 0xb3, 0x00));
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
            const double r = i % 2 ? 2.2 : 5;
            const QPointF pt(7.5 + r * std::cos(a), 17 + r * std::sin(a));
            i ? star.lineTo(pt) : star.moveTo(pt);
        }
        star.closeSubpath();
        p.drawPath(star);
    } else if (key == "Open") {
        p.setPen(outline(QColor(0xa8, 0x7a, 0x1c), 1.2));
        p.setBrush(QColor(0xe9, 0xb0, 0x3c));
        QPainterPath back;
        back.moveTo(2.5, 5);
        back.lineTo(9, 5);
        back.lineTo(11, 7);
        back.lineTo(19.5, 7);
        back.lineTo(19.5, 19.5);
        back.lineTo(2.5, 19.5);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(0xf8, 0xd2, 0x6e));
        QPainterPath front;
        front.moveTo(2.5, 19.5);
        front.lineTo(6, 11);
        front.lineTo(22, 11);
        front.lineTo(19.5, 19.5);
        front.closeSubpath();
        p.drawPath(front);
    } else if (key == "Save") {
        floppy(p);
    } else if (key == "SaveAs") {
        floppy(p);
        p.setPen(outline(QColor(0x6d, 0x4c, 0x41), 1));
        p.setBrush(QColor(0xff, 0xca, 0x28));
        QPainterPath pencil;
        pencil.moveTo(12, 21);
        pencil.lineTo(12.6, 17.6);
        pencil.lineTo(21, 9.2);
        pencil.lineTo(23.6, 11.8);
        pencil.lineTo(15.2, 20.2);
        pencil.closeSubpath();
        p.drawPath(pencil);
    } else if (key == "Upload" || key == "Download") {
        gatewayBox(p, QRectF(2.5, 14, 19, 8));
        const bool up = key == "Upload";
        const QColor c = up ? QColor(0x2e, 0x9d, 0x4a) : QColor(0xe0, 0x6b, 0x10);
        if (up) {
            arrow(p, QPointF(12, 12.2), QPointF(12, 4.5), c, 2.6);
        } else {
            arrow(p, QPointF(12, 1.5), QPointF(12, 9.2), c, 2.6);
        }
    } else if (key == "Info") {
        QRadialGradient g(QPointF(10, 9), 11);
        g.setColorAt(0, QColor(0x64, 0xa8, 0xf0));
        g.setColorAt(1, QColor(0x1e, 0x6f, 0xc8));
        p.setPen(outline(QColor(0x15, 0x4c, 0x8a), 1.2));
        p.setBrush(g);
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(12, 7.3), 1.6, 1.6);
        p.drawRoundedRect(QRectF(10.6, 10.2, 2.8, 8), 1, 1);
    } else if (key == "Ausgang") {
        p.setPen(outline(QColor(0x5d, 0x40, 0x37), 1.2));
        p.setBrush(QColor(0x8d, 0x6e, 0x63));
        p.drawRect(QRectF(3.5, 2.5, 11, 19));
        p.setBrush(QColor(0xd7, 0xcc, 0xc8));
        p.drawEllipse(QPointF(12, 12.5), 1, 1);
        arrow(p, QPointF(10, 12), QPointF(19.5, 12), QColor(0xd3, 0x2f, 0x2f), 2.4);
    }
}

}  // namespace

QIcon TreeImage(int index) {
    if (index < 1 || index > kTreeImageCount) return {};
    return drawnIcon("tree" + QString::number(index), 16, [index](QPainter& p) { treeImage(p, index); });
}

QIcon ToolbarImage(const QString& key) {
    static const QStringList keys = {"New", "Open", "Save", "SaveAs", "Upload", "Download", "Info", "Ausgang"};
    if (!keys.contains(key)) return {};
    return drawnIcon("toolbar" + key, 24, [key](QPainter& p) { toolbarImage(p, key); });
}

QIcon ProgramIcon() {
    return drawnIcon("program", 32, [](QPainter& p) {
        gatewayBox(p, QRectF(2, 17, 28, 13));
        bulb(p, QPointF(7, -1), 19, kBulbYellow);
    });
}

QPixmap SplashPicture(int width, int height) {
    QPixmap pm(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, height);
    bg.setColorAt(0, QColor(0x12, 0x2b, 0x4a));
    bg.setColorAt(1, QColor(0x1f, 0x6f, 0x8b));
    p.fillRect(pm.rect(), bg);
    // A glow behind the lamp.
    QRadialGradient glow(QPointF(width / 2.0, height * 0.36), width * 0.5);
    glow.setColorAt(0, QColor(255, 230, 140, 150));
    glow.setColorAt(1, QColor(255, 230, 140, 0));
    p.fillRect(pm.rect(), glow);
    const double s = width * 0.5;
    bulb(p, QPointF((width - s) / 2, height * 0.13), s, kBulbYellow);
    p.setPen(QColor(0xf5, 0xf7, 0xfa));
    QFont title = p.font();
    title.setPixelSize(std::max(12, width / 8));
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(0, height * 0.64, width, height * 0.12), Qt::AlignCenter, QStringLiteral("Corvane"));
    QFont sub = title;
    sub.setBold(false);
    sub.setPixelSize(std::max(9, width / 22));
    p.setFont(sub);
    p.setPen(QColor(0xcf, 0xe3, 0xf2));
    p.drawText(QRectF(0, height * 0.76, width, height * 0.06), Qt::AlignCenter,
               QStringLiteral("KNX / EIB  \u2013  DALI"));
    gatewayBox(p, QRectF(width * 0.3, height * 0.86, width * 0.4, height * 0.07));
    return pm;
}

}  // namespace corvane
