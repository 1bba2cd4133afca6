// The module's drop shadow against Qt's own with the same settings, through real
// repaints: what is on the window after a child of a shadowed panel changes must be
// what Qt's effect leaves there. Qt re-renders the whole panel on every repaint; the
// module's shadow renders only the repainted part and keeps its shadow while the
// alpha there stays the same, so a shadow that failed to follow would show here.
#include "common/kept_drop_shadow.h"
#include "common/utilities.h"

#include <QGraphicsDropShadowEffect>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QtTest>
#include <algorithm>
#include <cstdlib>

namespace {

// The module's shadow, or Qt's own with the same settings to compare with.
void give_shadow(QWidget* panel, bool ours) {
    if (ours) {
        add_drop_shadow(panel);
        return;
    }
    auto* shadow = new QGraphicsDropShadowEffect(panel);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(10);
    shadow->setColor(QColor(15, 15, 15));
    panel->setGraphicsEffect(shadow);
}

// A backdrop with a panel that paints nothing itself: its shape is what its children
// paint. A header strip across the top, a block and a label in the open part.
struct scene_t {
    QWidget backdrop;
    QWidget* panel;
    QWidget* header;
    QWidget* block;
    QLabel* label;
    QLabel* title;
    QWidget* spare;

    explicit scene_t(bool ours) {
        backdrop.setStyleSheet(QStringLiteral("QWidget#backdrop { background: #404448; }"));
        backdrop.setObjectName(QStringLiteral("backdrop"));
        backdrop.setAttribute(Qt::WA_StyledBackground);
        backdrop.resize(240, 180);
        panel = new QWidget(&backdrop);
        panel->setGeometry(30, 30, 170, 110);
        header = coloured(QStringLiteral("#8090a0"), QRect(0, 0, 170, 30));
        block = coloured(QStringLiteral("#c04030"), QRect(20, 60, 30, 24));
        label = new QLabel(QStringLiteral("ab"), panel);
        label->setGeometry(100, 60, 50, 20);
        label->setStyleSheet(QStringLiteral("color: #e0e0e0;"));
        title = new QLabel(QStringLiteral("Title"), header);
        title->setGeometry(10, 5, 80, 20);
        title->setStyleSheet(QStringLiteral("color: #10161c;"));
        spare = coloured(QStringLiteral("#d0b040"), QRect(70, 40, 16, 40));
        spare->hide();
        give_shadow(panel, ours);
    }
    QWidget* coloured(const QString& colour, const QRect& place) {
        auto* widget = new QWidget(panel);
        widget->setAttribute(Qt::WA_StyledBackground);
        widget->setStyleSheet(QStringLiteral("background: %1;").arg(colour));
        widget->setGeometry(place);
        return widget;
    }
    // What the window shows: its backing store, painted by the repaints Qt made.
    QImage shown() const {
        return backdrop.screen()
            ->grabWindow(backdrop.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    QImage rendered() { return backdrop.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// The largest difference of one colour channel between two pictures of one size. Qt
// draws anti-aliased text a few levels differently when its painting is clipped (a
// repaint of part of a widget) than when it is not; a shadow that failed to follow
// its panel differs by far more than that.
int largest_difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 255;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            largest = std::max({largest, std::abs(qRed(p[x]) - qRed(q[x])),
                                std::abs(qGreen(p[x]) - qGreen(q[x])),
                                std::abs(qBlue(p[x]) - qBlue(q[x]))});
    }
    return largest;
}
constexpr int text_tolerance = 6;

// Shows the scenes' windows and lets them paint.
bool on_screen(std::initializer_list<scene_t*> scenes) {
    for (scene_t* scene : scenes) {
        scene->backdrop.show();
        if (!QTest::qWaitForWindowExposed(&scene->backdrop))
            return false;
    }
    QCoreApplication::processEvents();
    return true;
}

const kept_drop_shadow_c* kept(const scene_t& scene) {
    return dynamic_cast<const kept_drop_shadow_c*>(scene.panel->graphicsEffect());
}

void change(scene_t& scene, const QString& what) {
    if (what == QLatin1String("block hidden"))
        scene.block->hide();
    else if (what == QLatin1String("hidden child shown"))
        scene.spare->show();
    else if (what == QLatin1String("block moved"))
        scene.block->move(60, 70);
    else if (what == QLatin1String("block grown"))
        scene.block->resize(44, 30);
    else if (what == QLatin1String("block made translucent"))
        scene.block->setStyleSheet(QStringLiteral("background: rgba(192, 64, 48, 90);"));
    else if (what == QLatin1String("block recoloured"))
        scene.block->setStyleSheet(QStringLiteral("background: #30c040;"));
    else if (what == QLatin1String("new child"))
        scene.coloured(QStringLiteral("#3aa7c9"), QRect(120, 88, 20, 14))->show();
    else if (what == QLatin1String("title text"))
        scene.title->setText(QStringLiteral("Other"));
    else if (what == QLatin1String("label text"))
        scene.label->setText(QStringLiteral("wider text"));
    else if (what == QLatin1String("header rounded"))
        scene.header->setStyleSheet(
            QStringLiteral("background: #8090a0; border-bottom-left-radius: 9px;"));
    else if (what == QLatin1String("panel resized"))
        scene.panel->resize(150, 120);
    else if (what == QLatin1String("panel moved"))
        scene.panel->move(44, 24);
}

} // namespace

class test_drop_shadow : public QObject {
    Q_OBJECT

private slots:
    // The module's shadow keeps what it blurred; it must look exactly like Qt's drop
    // shadow with the same settings, on the first paint, when a kept shadow is reused,
    // and after the panel's shape changes.
    void looks_like_qts_data() {
        QTest::addColumn<QString>("change");
        for (const char* change : {"none", "same shape, other colour", "resized", "rounded",
                                   "barely rounded", "translucent", "hollow", "dotted border"})
            QTest::addRow("%s", change) << QString::fromLatin1(change);
    }
    void looks_like_qts() {
        QFETCH(QString, change);
        struct scene {
            QWidget backdrop;
            QWidget* panel;
            explicit scene(bool ours) {
                backdrop.resize(160, 120);
                backdrop.setStyleSheet(QStringLiteral("background: #404448;"));
                panel = new QWidget(&backdrop);
                panel->setGeometry(20, 20, 100, 60);
                panel->setStyleSheet(QStringLiteral("background: #8090a0;"));
                panel->setAttribute(Qt::WA_StyledBackground);
                give_shadow(panel, ours);
            }
            QImage shot() { return backdrop.grab().toImage(); }
        };
        scene ours(true), qts(false);
        QVERIFY(qobject_cast<QGraphicsDropShadowEffect*>(ours.panel->graphicsEffect()));
        QCOMPARE(ours.shot(), qts.shot());
        for (scene* s : {&ours, &qts}) {
            if (change == QLatin1String("same shape, other colour"))
                s->panel->setStyleSheet(QStringLiteral("background: #c04030;"));
            else if (change == QLatin1String("resized"))
                s->panel->resize(70, 80);
            else if (change == QLatin1String("rounded"))
                s->panel->setStyleSheet(
                    QStringLiteral("background: #8090a0; border-radius: 12px;"));
            else if (change == QLatin1String("barely rounded"))
                s->panel->setStyleSheet(QStringLiteral("background: #8090a0; border-radius: 1px;"));
            // The shadow shows through the whole panel, through a hole in it, or between
            // many small covered pieces.
            else if (change == QLatin1String("translucent"))
                s->panel->setStyleSheet(QStringLiteral("background: rgba(128, 144, 160, 120);"));
            else if (change == QLatin1String("hollow"))
                s->panel->setStyleSheet(
                    QStringLiteral("background: transparent; border: 7px solid #8090a0;"));
            else if (change == QLatin1String("dotted border"))
                s->panel->setStyleSheet(
                    QStringLiteral("background: transparent; border: 3px dotted #8090a0;"));
        }
        const QImage after = ours.shot();
        QCOMPARE(after, qts.shot());
        // A second panel of the same shape, painted from the kept shadow.
        scene again(true);
        if (change == QLatin1String("resized"))
            again.panel->resize(70, 80);
        else if (change != QLatin1String("none"))
            again.panel->setStyleSheet(ours.panel->styleSheet());
        QCOMPARE(again.shot(), after);
    }
    void follows_the_panel_data() {
        QTest::addColumn<QString>("what");
        // Whether only part of the panel is painted again (the kept render serves
        // for the rest).
        QTest::addColumn<bool>("in_part");
        QTest::newRow("block hidden") << QStringLiteral("block hidden") << false;
        QTest::newRow("hidden child shown") << QStringLiteral("hidden child shown") << false;
        QTest::newRow("block moved") << QStringLiteral("block moved") << false;
        QTest::newRow("block grown") << QStringLiteral("block grown") << false;
        QTest::newRow("block made translucent")
            << QStringLiteral("block made translucent") << false;
        QTest::newRow("block recoloured") << QStringLiteral("block recoloured") << true;
        QTest::newRow("title text") << QStringLiteral("title text") << true;
        QTest::newRow("new child") << QStringLiteral("new child") << false;
        QTest::newRow("label text") << QStringLiteral("label text") << false;
        QTest::newRow("header rounded") << QStringLiteral("header rounded") << false;
        QTest::newRow("panel resized") << QStringLiteral("panel resized") << false;
        QTest::newRow("panel moved") << QStringLiteral("panel moved") << false;
    }
    void follows_the_panel() {
        QFETCH(QString, what);
        QFETCH(bool, in_part);
        scene_t ours(true), qts(false);
        QVERIFY(kept(ours));
        QVERIFY(on_screen({&ours, &qts}));
        const QImage before = ours.shown();
        QCOMPARE(before, qts.shown());
        const int parts_before = kept(ours)->counts().part_renders;
        const int shadows_before = kept(ours)->counts().shadows_made;

        for (scene_t* scene : {&ours, &qts})
            change(*scene, what);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        const QImage after = ours.shown();
        QVERIFY2(largest_difference(after, before) > text_tolerance,
                 "the change is not on the window");
        QVERIFY(largest_difference(after, qts.shown()) <= text_tolerance);
        QCOMPARE(ours.rendered(), qts.rendered());
        QCOMPARE(kept(ours)->counts().part_renders > parts_before, in_part);
        // The same shape keeps its shadow; no blur is made again.
        if (in_part || what == QLatin1String("panel moved"))
            QCOMPARE(kept(ours)->counts().shadows_made, shadows_before);
    }

    // A repaint that changes nothing keeps the shadow and needs no full render; the
    // window shows what Qt's effect leaves (with several parts dirty at once, Qt paints
    // the shadow over their bounding rectangle).
    void repaint_keeps_the_shadow_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("in_part");
        QTest::newRow("block updated") << QStringLiteral("block") << true;
        QTest::newRow("title repainted") << QStringLiteral("title") << true;
        QTest::newRow("block and title") << QStringLiteral("block and title") << true;
        QTest::newRow("backdrop corner") << QStringLiteral("corner") << false;
        QTest::newRow("beside the panel") << QStringLiteral("beside") << false;
    }
    void repaint_keeps_the_shadow() {
        QFETCH(QString, what);
        QFETCH(bool, in_part);
        scene_t ours(true), qts(false);
        QVERIFY(on_screen({&ours, &qts}));
        const kept_drop_shadow_c::counts_t counts = kept(ours)->counts();
        for (scene_t* scene : {&ours, &qts}) {
            if (what == QLatin1String("block")) {
                scene->block->update();
            } else if (what == QLatin1String("title")) {
                scene->title->repaint();
            } else if (what == QLatin1String("block and title")) {
                scene->block->update();
                scene->title->update();
            } else if (what == QLatin1String("corner")) {
                scene->backdrop.update(QRect(0, 0, 24, 24)); // the shadow's margin only
            } else {
                scene->backdrop.update(QRect(206, 60, 20, 40));
            }
        }
        QCoreApplication::processEvents();
        QVERIFY(largest_difference(ours.shown(), qts.shown()) <= text_tolerance);
        QCOMPARE(kept(ours)->counts().shadows_made, counts.shadows_made);
        QCOMPARE(kept(ours)->counts().full_renders, counts.full_renders);
        QCOMPARE(kept(ours)->counts().part_renders > counts.part_renders, in_part);
    }
};

QTEST_MAIN(test_drop_shadow)
#include "test_drop_shadow.moc"
