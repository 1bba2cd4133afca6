// The effect tool: the frames each effect sends, where the colours flow on, the timer
// periods; and the per-profile previews that the kernel puts into the host's tiles.
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_kernel.h"
#include "lighting/led_effect_fm.h"
#include "lighting/led_effect_tool.h"
#include "lighting/lighting_colors.h"
#include "lighting/painted_fields.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QApplication>
#include <QStandardPaths>
#include <QStyle>
#include <QtTest>
#include <memory>

namespace {

struct frame {
    QColor top;
    QColor bottom;
};

class frame_recorder final : public led_effect_tool_client_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_led_effect_tool_client_i ? this : nullptr;
    }
    void release() override {}
    void show_led_colors(uint8_t r1, uint8_t g1, uint8_t b1, uint8_t a1, uint8_t r2, uint8_t g2,
                         uint8_t b2, uint8_t a2) override {
        frames.append({QColor(r1, g1, b1, a1), QColor(r2, g2, b2, a2)});
    }
    QVector<frame> frames;
};

// The standard colour a frame's zone shows, by its index; -1 for any other colour.
int standard_index(const QColor& c) {
    for (int k = 0; k < standard_color_count; ++k) {
        if (standard_color(k).rgb() == QColor(c.red(), c.green(), c.blue()).rgb())
            return k;
    }
    return -1;
}

const char* const tick_of[] = {"", "refresh_fully_light", "refresh_blinking", "refresh_breathing",
                               "refresh_heartbeat"};

QString joined(const QVector<int>& values) {
    QStringList parts;
    for (int v : values)
        parts << QString::number(v);
    return parts.join(QLatin1Char(','));
}

// Lengths of the runs of equal values: how many frames each colour lasts.
QVector<int> runs(const QVector<int>& values) {
    QVector<int> lengths;
    for (int i = 0; i < values.size(); ++i) {
        if (i == 0 || values[i] != values[i - 1])
            lengths.append(0);
        ++lengths.last();
    }
    return lengths;
}

} // namespace

class test_led_effect : public QObject {
    Q_OBJECT

    fake_host* m_host = nullptr;
    std::unique_ptr<zarek_black_kernel_c> m_kernel;
    frame_recorder m_client;
    std::unique_ptr<led_effect_tool_c> m_tool;

    uint8_t* lighting(int slot = 0) {
        return m_kernel->data()->settings(slot).data() + lighting_byte::flags;
    }
    // Lighting bytes 19.. of slot 0 as given (the rest zero), then a restart.
    void start(const QByteArray& bytes) {
        std::fill(lighting(), lighting() + 12, uint8_t(0));
        std::copy(bytes.begin(), bytes.end(), lighting());
        m_client.frames.clear();
        m_tool->restart();
    }
    // Runs `count` ticks of the effect's timer.
    void tick(int effect, int count) {
        for (int i = 0; i < count; ++i)
            QMetaObject::invokeMethod(m_tool.get(), tick_of[effect], Qt::DirectConnection);
    }
    QVector<int> alphas(bool top) const {
        QVector<int> a;
        for (const frame& f : m_client.frames)
            a << (top ? f.top.alpha() : f.bottom.alpha());
        return a;
    }
    QVector<int> top_indices() const {
        QVector<int> k;
        for (const frame& f : m_client.frames)
            k << standard_index(f.top);
        return k;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        m_host = new fake_host;
        quil_init_module(m_host);
    }
    void cleanupTestCase() {
        quil_exit_module();
        delete m_host;
    }
    void init() {
        m_kernel = std::make_unique<zarek_black_kernel_c>();
        m_tool = std::make_unique<led_effect_tool_c>();
        m_tool->set_context(m_kernel.get(), 0, &m_client);
    }
    void cleanup() {
        m_host->center.shown = nullptr;
        m_tool.reset();
        m_kernel.reset();
    }

    // Bytes: flags, flow, effect, speed, top index.
    void alpha_sequences_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("bottom");
        QTest::addRow("heartbeat from 140, two beats a cycle")
            << QByteArray("\x03\x00\x04\x02\x01", 5) << 15
            << "140,180,220,60,100,140,180,220,255,80,120,160,200,240,60"
            << "140,180,220,60,100,140,180,220,255,80,120,160,200,240,60";
        QTest::addRow("blinking alternates from on")
            << QByteArray("\x03\x00\x02\x02\x01", 5) << 4 << "255,0,255,0"
            << "255,0,255,0";
        QTest::addRow("breathing rises by 10 and turns at 255")
            << QByteArray("\x03\x00\x03\x02\x01", 5) << 28
            << "10,20,30,40,50,60,70,80,90,100,110,120,130,140,150,160,170,180,190,200,210,220,"
               "230,240,250,255,245,235"
            << "10,20,30,40,50,60,70,80,90,100,110,120,130,140,150,160,170,180,190,200,210,220,"
               "230,240,250,255,245,235";
        QTest::addRow("fully lit, top zone only (flags 1)")
            << QByteArray("\x01\x00\x01\x02\x01", 5) << 2 << "255,255"
            << "0,0";
        QTest::addRow("breathing keeps an unlit bottom zone dark")
            << QByteArray("\x01\x00\x03\x02\x01", 5) << 2 << "10,20"
            << "0,0";
    }
    void alpha_sequences() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, ticks);
        start(bytes);
        tick(bytes[2], ticks);
        QTEST(joined(alphas(true)), "top");
        QTEST(joined(alphas(false)), "bottom");
    }

    // How many frames each colour of the flow lasts, from top index 5.
    void flow_advance_points_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("colours");
        QTest::addColumn<QString>("frames_per_colour");
        QTest::addRow("fully lit: every frame")
            << QByteArray("\x03\x01\x01\x02\x05", 5) << 3 << "5,6,7"
            << "1,1,1";
        // The dark frame after an on frame already carries the next colour.
        QTest::addRow("blinking: after each on frame")
            << QByteArray("\x03\x01\x02\x02\x05", 5) << 5 << "5,6,7"
            << "1,2,2";
        QTest::addRow("breathing: 52 ticks a breath")
            << QByteArray("\x03\x01\x03\x02\x05", 5) << 105 << "5,6,7"
            << "52,52,1";
        QTest::addRow("heartbeat: at the second beat's top")
            << QByteArray("\x03\x01\x04\x02\x05", 5) << 30 << "5,6,7"
            << "8,11,11";
        QTest::addRow("no flow: the colour stays")
            << QByteArray("\x03\x00\x01\x02\x05", 5) << 4 << "5"
            << "4";
        QTest::addRow("wraps after the last standard colour")
            << QByteArray("\x03\x01\x01\x02\x1C", 5) << 3 << "28,29,0"
            << "1,1,1";
    }
    void flow_advance_points() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, ticks);
        start(bytes);
        tick(bytes[2], ticks);
        QVector<int> distinct;
        for (int k : top_indices()) {
            if (distinct.isEmpty() || distinct.last() != k)
                distinct << k;
        }
        QTEST(joined(distinct), "colours");
        QTEST(joined(runs(top_indices())), "frames_per_colour");
    }

    void timer_periods_data() {
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("period");
        const int table[4][3] = {{900, 600, 400}, {1000, 700, 400}, {110, 80, 50}, {180, 150, 120}};
        for (int effect = 1; effect <= 4; ++effect) {
            for (int speed = 1; speed <= 3; ++speed)
                QTest::addRow("effect %d speed %d", effect, speed)
                    << effect << speed << table[effect - 1][speed - 1];
            QTest::addRow("effect %d speed 0", effect) << effect << 0 << 0;
            QTest::addRow("effect %d speed 4", effect) << effect << 4 << 0;
        }
        QTest::addRow("stored speed 200") << 3 << 200 << 0;
    }
    void timer_periods() {
        QFETCH(int, effect);
        QFETCH(int, speed);
        const char bytes[] = {'\x03', '\x00', char(effect), char(speed)};
        start(QByteArray(bytes, 4));
        QCOMPARE(m_tool->running_effect(), effect);
        QTEST(m_tool->timer(effect)->interval(), "period");
    }

    void what_restart_starts_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("running");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<int>("frames");
        // Flags, flow, effect, speed, top index, RGB, bottom index.
        QTest::addRow("flow 2 moves the bottom zone ahead, past the end to 0")
            << QByteArray("\x03\x02\x01\x02\x1D\x00\x00\x00\x1D", 9) << 1 << 29 << 0 << 0;
        QTest::addRow("flow 3 moves the top zone ahead")
            << QByteArray("\x03\x03\x01\x02\x1D\x00\x00\x00\x1D", 9) << 1 << 0 << 29 << 0;
        QTest::addRow("flow 1 keeps both")
            << QByteArray("\x03\x01\x01\x02\x07\x00\x00\x00\x09", 9) << 1 << 7 << 9 << 0;
        QTest::addRow("stored index 99 starts from the last colour")
            << QByteArray("\x03\x00\x01\x02\x63\x00\x00\x00\x63", 9) << 1 << 29 << 29 << 0;
        QTest::addRow("stored effect 9 animates nothing")
            << QByteArray("\x03\x00\x09\x02\x01", 5) << 0 << 1 << 0 << 0;
        QTest::addRow("lights off: one dark frame, no timer")
            << QByteArray("\x30\x01\x03\x02\x01", 5) << 0 << 1 << 0 << 1;
    }
    void what_restart_starts() {
        QFETCH(QByteArray, bytes);
        start(bytes);
        QTEST(m_tool->running_effect(), "running");
        QTEST(int(m_tool->top_position()), "top");
        QTEST(int(m_tool->bottom_position()), "bottom");
        QTEST(int(m_client.frames.size()), "frames");
        for (const frame& f : m_client.frames)
            QVERIFY(f.top.alpha() == 0 && f.bottom.alpha() == 0);
    }

    // Flow 0 shows a zone's own RGB; any flow runs through the standard colours; an
    // override replaces its zone's colour only.
    void zone_colours_data() {
        QTest::addColumn<int>("flow");
        QTest::addColumn<bool>("override_top");
        QTest::addColumn<QColor>("top");
        QTest::addColumn<QColor>("bottom");
        QTest::addRow("flow 0: RGB top, standard bottom")
            << 0 << false << QColor(10, 20, 30) << standard_color(3);
        QTest::addRow("flow 1: both standard")
            << 1 << false << standard_color(2) << standard_color(3);
        QTest::addRow("top override") << 0 << true << QColor(200, 100, 50) << standard_color(3);
    }
    void zone_colours() {
        QFETCH(int, flow);
        QFETCH(bool, override_top);
        const char bytes[] = {'\x13', char(flow), '\x01', '\x02', '\x02',
                              '\x0A', '\x14',     '\x1E', '\x03'};
        start(QByteArray(bytes, 9));
        if (override_top)
            m_tool->set_top_override(true, QColor(200, 100, 50));
        m_client.frames.clear();
        tick(light_effect::fully_lighted, 1);
        QCOMPARE(m_client.frames.size(), 1);
        QTEST(m_client.frames[0].top, "top");
        QTEST(m_client.frames[0].bottom, "bottom");
    }

    // The kernel makes one preview per slot for the host's tiles while it is the device
    // shown, and lets go of them when another one is.
    void kernel_previews_live_in_the_host_tiles() {
        std::vector<std::unique_ptr<QWidget>> tiles;
        for (int slot = 0; slot < 5; ++slot) {
            tiles.push_back(std::make_unique<QWidget>());
            tiles.back()->resize(58, 82);
            tiles.back()->show();
            m_host->center.tiles[std::size_t(slot)] = tiles.back().get();
        }
        m_kernel->attach(&m_host->center, nullptr);
        m_host->center.shown = m_kernel.get();
        m_host->center.slot = 0;
        std::copy_n("\x03\x00\x01\x02\x10", 5, reinterpret_cast<char*>(lighting()));
        m_kernel->on_current_kernel_changed(nullptr);
        QCOMPARE(m_kernel->effect_object_count(), 5);

        auto preview = [&](int slot) {
            return tiles[std::size_t(slot)]->findChild<led_effect_fm_c*>();
        };
        auto visible = [&] {
            QVector<int> shown;
            for (int slot = 0; slot < 5; ++slot) {
                if (preview(slot) && preview(slot)->isVisible())
                    shown << slot;
            }
            return joined(shown);
        };
        for (int slot = 0; slot < 5; ++slot) {
            QVERIFY(preview(slot));
            QCOMPARE(preview(slot)->pos(), QPoint(5, 20));
            QCOMPARE(preview(slot)->profile_slot(), slot);
        }
        QCOMPARE(visible(), QStringLiteral("0"));
        m_kernel->append_profile();
        QCOMPARE(visible(), QStringLiteral("0,1"));
        m_kernel->delete_profile(0);
        QCOMPARE(visible(), QStringLiteral("0"));
        m_kernel->insert_profile(0);
        QCOMPARE(visible(), QStringLiteral("0,1"));
        m_kernel->delete_profile(1);

        // Each preview shows its own slot's colours in the colour fields.
        std::copy_n("\x03\x00\x01\x02\x10", 5, reinterpret_cast<char*>(lighting()));
        m_kernel->set_current_profile(0);
        QMetaObject::invokeMethod(preview(0)->tool(), "refresh_fully_light", Qt::DirectConnection);
        QCOMPARE(preview(0)->findChild<colour_field_c*>(QStringLiteral("wg_top_bg"))->colour(),
                 QColor(41, 197, 255, 255));
        // A new colour repaints the field; it restyles nothing.
        for (QWidget* widget : preview(0)->findChildren<QWidget*>())
            QVERIFY2(!widget->style()->inherits("QStyleSheetStyle"),
                     qPrintable(widget->objectName()));
        QVERIFY(preview(0)->masks_enabled());
        lighting()[0] = 0;
        m_kernel->set_current_profile(0);
        QVERIFY(!preview(0)->masks_enabled());

        // A tile that goes first takes its preview along; the kernel must not touch it.
        tiles[4].reset();
        m_kernel->append_profile();
        m_kernel->delete_profile(1); // refreshes every preview
        m_kernel->on_current_kernel_changed(m_kernel.get());
        QCOMPARE(m_kernel->effect_object_count(), 0);
        for (int slot = 0; slot < 4; ++slot)
            QVERIFY(!preview(slot));
        m_host->center.tiles = {};
    }

    // A host without tiles leaves the previews hidden instead of opening windows.
    void previews_without_tiles_stay_hidden() {
        m_kernel->attach(&m_host->center, nullptr);
        m_host->center.shown = m_kernel.get();
        m_kernel->on_current_kernel_changed(nullptr);
        QCOMPARE(m_kernel->effect_object_count(), 5);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!qobject_cast<led_effect_fm_c*>(w) || w->isHidden(), "a preview window");
    }
};

QTEST_MAIN(test_led_effect)
#include "test_led_effect.moc"
