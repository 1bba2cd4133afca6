// The lighting control and its form with the host's real box, slider and colour-flow
// list: what lands in the lighting bytes and the custom colours, what the form shows
// of stored bytes (also out-of-range ones), and the colour palette's rules.
#include "buttons/box_widgets.h"
#include "common/utilities.h"
#include "host/components/colour_flow_list.h"
#include "host/components/component_context.h"
#include "host/components/ctrl_box.h"
#include "host/components/slider.h"
#include "kernel/zarek_black_kernel.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_white_kernel.h"
#include "lighting/led_masks.h"
#include "lighting/lighting_colors.h"
#include "lighting/lighting_ctrl_funcs.h"
#include "lighting/lighting_ctrl_funcs_fm.h"
#include "lighting/palette_fm.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QtTest>
#include <memory>

namespace {

// Hears what the lighting control tells its listeners.
class lighting_recorder final : public listener_i, public lighting_ctrl_funcs_listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_listener_i)
            return static_cast<listener_i*>(this);
        if (iid == iid_lighting_ctrl_funcs_listener_i)
            return static_cast<lighting_ctrl_funcs_listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override {}
    void update() override {}
    void lighting_on_changed() override { heard << QStringLiteral("on"); }
    void effect_changed(int32_t old) override { heard << QStringLiteral("effect %1").arg(old); }
    void speed_changed(int32_t old) override { heard << QStringLiteral("speed %1").arg(old); }
    void color_flow_changed(int32_t old) override { heard << QStringLiteral("flow %1").arg(old); }
    void colors_changed() override { heard << QStringLiteral("colors"); }
    QStringList heard;
};

QByteArray bytes_of(const uint8_t* at, int count) {
    return QByteArray(reinterpret_cast<const char*>(at), count);
}

} // namespace

class test_lighting : public QObject {
    Q_OBJECT

    fake_host* m_host = nullptr;
    std::unique_ptr<component_context_c> m_context;
    std::unique_ptr<zarek_black_kernel_c> m_kernel;
    std::unique_ptr<QWidget> m_window;
    QWidget* m_panel = nullptr;
    lighting_ctrl_funcs_c* m_ctrl = nullptr;
    lighting_recorder m_recorder;

    uint8_t* lighting() { return m_kernel->data()->settings(0).data() + lighting_byte::flags; }
    uint8_t* custom() { return m_kernel->data()->block_48(); }
    void set_lighting(const QByteArray& bytes) {
        std::fill(lighting(), lighting() + 12, uint8_t(0));
        std::copy(bytes.begin(), bytes.end(), lighting());
    }
    lighting_ctrl_funcs_fm_c* form() const { return m_ctrl->form(); }
    palette_fm_c* palette() const { return form()->palette(); }
    template <class T>
    T* child(const char* name) const {
        return m_panel->window()->findChild<T*>(QLatin1String(name));
    }
    template <class T>
    T* in_palette(const QString& name) const {
        return palette()->findChild<T*>(name);
    }
    // Runs palette steps: "open top|bottom", "std k", "cus k", "type r|g|b text", "add",
    // "delete", "ok", "cancel", "outside".
    void run(const QStringList& steps) {
        for (const QString& step : steps) {
            const QStringList w = step.split(QLatin1Char(' '));
            if (w[0] == QLatin1String("open"))
                form()->open_palette(w[1] == QLatin1String("top"));
            else if (w[0] == QLatin1String("std"))
                QTest::mouseClick(in_palette<QPushButton>("btn_color_" + w[1]), Qt::LeftButton);
            else if (w[0] == QLatin1String("cus"))
                QTest::mouseClick(in_palette<QPushButton>("btn_cus_color_" + w[1]), Qt::LeftButton);
            else if (w[0] == QLatin1String("type")) {
                auto* box = in_palette<QSpinBox>("sb_" + w[1]);
                box->selectAll();
                QTest::keyClicks(box, w[2]);
            } else if (w[0] == QLatin1String("outside")) {
                QEvent deactivate(QEvent::WindowDeactivate);
                QApplication::sendEvent(palette(), &deactivate);
            } else {
                QTest::mouseClick(in_palette<QPushButton>("btn_" + w[0]), Qt::LeftButton);
            }
        }
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        m_host = new fake_host;
        m_host->center.texts.table[0] = {{520, QStringLiteral("none")},
                                         {614, QStringLiteral("together")},
                                         {615, QStringLiteral("up")},
                                         {616, QStringLiteral("down")}};
        m_host->center.slot = 0;
        m_context = std::make_unique<component_context_c>(&m_host->center);
        m_host->factory = [this](int32_t id, const GUID& iid) -> interface_i* {
            if (id == class_id::ctrl_box && iid == iid_ctrl_box_i)
                return static_cast<ctrl_box_i*>(new ctrl_box_c(m_context.get()));
            if (id == class_id::slider && iid == iid_slider_i)
                return static_cast<slider_i*>(new slider_c(m_context.get()));
            if (id == class_id::colour_flow_list && iid == iid_colour_flow_list_i)
                return static_cast<colour_flow_list_i*>(new colour_flow_list_c(m_context.get()));
            return nullptr;
        };
        quil_init_module(m_host);
    }
    void cleanupTestCase() {
        quil_exit_module();
        delete m_host;
    }
    // A box in a shown 486 x 328 panel, with the reset defaults of slot 0.
    void init() {
        m_kernel = std::make_unique<zarek_black_kernel_c>();
        set_lighting(QByteArray("\x03\x01\x03\x02\x01\x00\x64\xFA\x01\x00\x64\xFA", 12));
        m_window = std::make_unique<QWidget>();
        m_window->resize(506, 348);
        m_panel = new QWidget(m_window.get());
        m_panel->setObjectName(QStringLiteral("wg_lighting_ctr"));
        m_panel->setGeometry(10, 10, 486, 328);
        m_window->show();
        m_ctrl = new lighting_ctrl_funcs_c(nullptr);
        m_ctrl->set_context(m_kernel.get(), nullptr);
        m_ctrl->create_box(m_panel);
        m_ctrl->refresh_colors();
        m_recorder.heard.clear();
        connect_listener(static_cast<ctrl_funcs_i*>(m_ctrl), static_cast<listener_i*>(&m_recorder));
        m_host->center.live_modes.clear();
    }
    void cleanup() {
        m_ctrl->release();
        m_window.reset();
        m_kernel.reset();
    }

    // Bytes 19..30 after one user change, and what the listeners heard.
    void record_bits_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("heard");
        const QByteArray rgb_top("\x33\x01\x03\x02\x04\x0A\x14\x1E\x05\x00\x00\x00", 12);
        QTest::addRow("lights off keeps the RGB bits")
            << rgb_top << "off"
            << QByteArray("\x30\x01\x03\x02\x04\x0A\x14\x1E\x05\x00\x00\x00", 12) << "on";
        QTest::addRow("standard colour after a custom one keeps the RGB bytes")
            << rgb_top << "index top 7"
            << QByteArray("\x23\x01\x03\x02\x07\x0A\x14\x1E\x05\x00\x00\x00", 12) << "colors";
        QTest::addRow("RGB for the bottom zone")
            << rgb_top << "rgb bottom 1 2 3"
            << QByteArray("\x33\x01\x03\x02\x04\x0A\x14\x1E\x05\x01\x02\x03", 12) << "colors";
        QTest::addRow("effect") << rgb_top << "effect 4"
                                << QByteArray("\x33\x01\x04\x02\x04\x0A\x14\x1E\x05\x00\x00\x00",
                                              12)
                                << "effect 3";
        QTest::addRow("speed") << rgb_top << "speed 3"
                               << QByteArray("\x33\x01\x03\x03\x04\x0A\x14\x1E\x05\x00\x00\x00", 12)
                               << "speed 2";
        QTest::addRow("flow") << rgb_top << "flow 0"
                              << QByteArray("\x33\x00\x03\x02\x04\x0A\x14\x1E\x05\x00\x00\x00", 12)
                              << "flow 1";
        // The cached effect is 3: the stored 9 is not written over.
        QTest::addRow("an equal effect writes nothing")
            << QByteArray("\x33\x01\x09\x02", 4) << "effect 3" << QByteArray("\x33\x01\x09\x02", 4)
            << "";
    }
    void record_bits() {
        QFETCH(QByteArray, before);
        QFETCH(QString, change);
        set_lighting(before);
        const QStringList w = change.split(QLatin1Char(' '));
        if (w[0] == QLatin1String("off"))
            m_ctrl->change_lighting_on(false);
        else if (w[0] == QLatin1String("index"))
            m_ctrl->set_zone_index(w[1] == QLatin1String("top"), w[2].toInt());
        else if (w[0] == QLatin1String("rgb"))
            m_ctrl->set_zone_rgb(w[1] == QLatin1String("top"), uint8_t(w[2].toInt()),
                                 uint8_t(w[3].toInt()), uint8_t(w[4].toInt()));
        else if (w[0] == QLatin1String("effect"))
            m_ctrl->change_effect(w[1].toInt());
        else if (w[0] == QLatin1String("speed"))
            m_ctrl->change_effect_speed(w[1].toInt());
        else if (w[0] == QLatin1String("flow"))
            m_ctrl->change_color_flow(w[1].toInt());
        QFETCH(QByteArray, after);
        QCOMPARE(bytes_of(lighting(), after.size()), after);
        QTEST(m_recorder.heard.join(QLatin1Char(',')), "heard");
    }

    // What the page's values look like; out-of-range stored bytes show the nearest valid
    // choice (or none for the effect) and index no table past its end.
    void form_shows_stored_values_data() {
        QTest::addColumn<int>("effect");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("flow");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<int>("slider");
        QTest::addColumn<QString>("flow_text");
        QTest::addRow("in range") << 2 << 1 << 2 << 4 << "rb_blinking" << 1 << "up";
        QTest::addRow("out of range") << 9 << 200 << 7 << 99 << "" << 3 << "down";
    }
    void form_shows_stored_values() {
        QFETCH(int, effect);
        QFETCH(int, speed);
        QFETCH(int, flow);
        QFETCH(int, index);
        lighting()[lighting_byte::top_index - lighting_byte::flags] = uint8_t(index);
        m_ctrl->set_effect(effect);
        m_ctrl->set_effect_speed(speed);
        m_ctrl->set_color_flow(flow);
        m_ctrl->refresh_colors();
        QString checked;
        for (QRadioButton* radio : form()->findChildren<QRadioButton*>()) {
            if (radio->isChecked())
                checked = radio->objectName();
        }
        QTEST(checked, "radio");
        QTEST(int(form()->speed_slider()->value()), "slider");
        QTEST(child<QPushButton>("btn_effect")->text(), "flow_text");
        QCOMPARE(form()->flow_list()->current_index(), qBound(0, flow, 3));
        QCOMPARE(form()->zone_color(true), standard_color(qMin(index, 29)));
        QVERIFY(m_recorder.heard.isEmpty());
        form()->open_palette(true);
        QVERIFY(in_palette<QPushButton>(QStringLiteral("btn_color_%1").arg(qMin(index, 29)))
                    ->isChecked());
        palette()->close();
    }

    // What the advanced page's reset writes for each slot; bytes around 19..30 stay.
    void reset_bytes_per_slot_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("slot 0") << 0
                                << QByteArray("\x03\x01\x03\x02\x01\x00\x64\xFA\x01\x00\x64\xFA",
                                              12);
        // The other slots differ only in their palette index (bytes 23 and 27).
        const char* row = "\x03\x00\x01\x02\x00\x00\x64\xFA\x00\x00\x64\xFA";
        const std::pair<int, char> colours[] = {{1, 20}, {2, 1}, {3, 10}, {4, 21}};
        for (const auto& [slot, c] : colours) {
            QByteArray bytes(row, 12);
            bytes[4] = bytes[8] = c;
            QTest::addRow("slot %d", slot) << slot << bytes;
        }
        QTest::addRow("no slot 7") << 7 << QByteArray(12, '\xEE');
    }
    void reset_bytes_per_slot() {
        QFETCH(int, slot);
        profile_settings_rec settings;
        settings.b.fill(0xEE);
        lighting_ctrl_funcs_c::write_reset_bytes(settings, slot);
        QTEST(bytes_of(settings.data() + lighting_byte::flags, 12), "bytes");
        QCOMPARE(int(settings.b[18]), 0xEE);
        QCOMPARE(int(settings.b[31]), 0xEE);
    }

    // The masks' tinted pictures are kept between frames and openings: a frame that
    // differs from the one before it only in alpha, only in colour or only in zone must
    // still show its own picture.
    void led_masks_follow_each_frame_data() {
        QTest::addColumn<QColor>("logo");
        QTest::addColumn<QColor>("pipe");
        QTest::addRow("opaque") << QColor(255, 0, 0) << QColor(0, 0, 255);
        QTest::addRow("alpha only") << QColor(255, 0, 0, 90) << QColor(0, 0, 255, 10);
        QTest::addRow("colour only") << QColor(0, 255, 0, 90) << QColor(0, 255, 0, 10);
        QTest::addRow("zones swapped") << QColor(0, 255, 0, 10) << QColor(0, 255, 0, 90);
        QTest::addRow("dark") << QColor(0, 0, 0) << QColor(0, 0, 0, 0);
    }
    void led_masks_follow_each_frame() {
        QFETCH(QColor, logo);
        QFETCH(QColor, pipe);
        const QImage logo_mask(QStringLiteral("://graphics/controls/Quil-Logo_Mask.png"));
        const QImage pipe_mask(QStringLiteral("://graphics/controls/Light-Pipe_Mask.png"));
        QVERIFY(!logo_mask.isNull() && !pipe_mask.isNull());
        // Each row after a frame of other colours, then again after itself.
        for (const QColor& before : {QColor(1, 2, 3, 4), logo}) {
            form()->show_led_colors(uint8_t(before.red()), uint8_t(before.green()),
                                    uint8_t(before.blue()), uint8_t(before.alpha()), 9, 9, 9, 9);
            form()->show_led_colors(uint8_t(logo.red()), uint8_t(logo.green()),
                                    uint8_t(logo.blue()), uint8_t(logo.alpha()),
                                    uint8_t(pipe.red()), uint8_t(pipe.green()),
                                    uint8_t(pipe.blue()), uint8_t(pipe.alpha()));
            const QImage shown_logo = child<QLabel>("lb_logo_led")
                                          ->pixmap(Qt::ReturnByValue)
                                          .toImage()
                                          .convertToFormat(QImage::Format_ARGB32);
            const QImage shown_pipe = child<QLabel>("lb_pipe_led")
                                          ->pixmap(Qt::ReturnByValue)
                                          .toImage()
                                          .convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(shown_logo, tinted(logo_mask, logo));
            QCOMPARE(shown_pipe, tinted(pipe_mask, pipe));
        }
    }

    // Where the colour buttons' leader lines end: the lit pixel (alpha 200 or more)
    // nearest to the button, the topmost and then leftmost of equally near ones.
    void nearest_lit_pixel_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("nearest");
        const QStringList tie{".....", "#...#", ".....", "#...#", "....."};
        QTest::addRow("four at the same distance") << tie << QPoint(2, 2) << QPoint(0, 1);
        QTest::addRow("below beats farther above")
            << QStringList{"#....", ".....", ".....", ".....", "..#.."} << QPoint(2, 3)
            << QPoint(2, 4);
        QTest::addRow("a nearer pixel far to the side of a near row")
            << QStringList{"#.......", "........", ".......#"} << QPoint(7, 0) << QPoint(7, 2);
        QTest::addRow("faint pixels do not count")
            << QStringList{"o....", "....#"} << QPoint(0, 0) << QPoint(4, 1);
        QTest::addRow("from outside the mask") << tie << QPoint(-3, 9) << QPoint(0, 3);
        QTest::addRow("nothing lit") << QStringList{"...", "ooo"} << QPoint(1, 1) << QPoint(1, 1);
    }
    void nearest_lit_pixel() {
        QFETCH(QStringList, rows);
        QFETCH(QPoint, from);
        QImage mask(rows.first().size(), rows.size(), QImage::Format_ARGB32);
        for (int y = 0; y < rows.size(); ++y) {
            for (int x = 0; x < rows[y].size(); ++x) {
                const QChar c = rows[y][x];
                mask.setPixel(x, y, qRgba(255, 255, 255, c == '#' ? 255 : c == 'o' ? 199 : 0));
            }
        }
        QTEST(::nearest_lit_pixel(mask, from), "nearest");
    }

    // The page's refresh: a record with only bit 0 of byte 19 counts as lights on.
    void page_refresh_shows_the_bytes() {
        m_ctrl->set_lighting_on(false);
        set_lighting(QByteArray("\x01\x02\x04\x03\x05", 5));
        lighting_ctrl_funcs_c::show_bytes(m_ctrl, m_kernel->data()->settings(0));
        QVERIFY(m_ctrl->is_lighting_on() && child<QCheckBox>("cb_enable")->isChecked());
        QVERIFY(child<QRadioButton>("rb_heartbeat")->isChecked());
        QCOMPARE(m_ctrl->effect_speed(), 3);
        QCOMPARE(m_ctrl->color_flow(), 2);
        QCOMPARE(form()->zone_color(true), standard_color(5));
        QVERIFY(m_recorder.heard.isEmpty());
    }

    void user_changes_reach_the_record() {
        auto* enable = child<QCheckBox>("cb_enable");
        QTest::mouseClick(enable, Qt::LeftButton);
        QCOMPARE(int(lighting()[0]), 0);
        QVERIFY(!child<QWidget>("widget_5")->isEnabled() &&
                !child<QWidget>("widget_7")->isEnabled());
        QTest::mouseClick(enable, Qt::LeftButton);
        QCOMPARE(int(lighting()[0]), 3);

        QTest::mouseClick(child<QRadioButton>("rb_heartbeat"), Qt::LeftButton);
        QCOMPARE(int(lighting()[lighting_byte::effect - lighting_byte::flags]), 4);

        auto* slider = slider_c::of(child<QWidget>("sld_speed"));
        QVERIFY(slider);
        QTest::keyClick(slider->widget(), Qt::Key_Right);
        QCOMPARE(int(lighting()[lighting_byte::speed - lighting_byte::flags]), 3);

        auto* list = dynamic_cast<colour_flow_list_c*>(form()->flow_list());
        QTest::mouseClick(child<QPushButton>("btn_effect"), Qt::LeftButton);
        QVERIFY(list->popup() && list->popup()->isVisible());
        QTest::keyClick(list->popup(), Qt::Key_End);
        QTest::keyClick(list->popup(), Qt::Key_Return);
        QCOMPARE(int(lighting()[lighting_byte::color_flow - lighting_byte::flags]), 3);
        QCOMPARE(child<QPushButton>("btn_effect")->text(), QStringLiteral("down"));
        QCOMPARE(m_recorder.heard, QStringList({"on", "on", "effect 3", "speed 2", "flow 1"}));

        // A hidden form's slider is being filled, not moved by a person.
        form()->hide();
        slider->set_value(1);
        form()->slider_value_changed(slider);
        QCOMPARE(int(lighting()[lighting_byte::speed - lighting_byte::flags]), 3);
    }

    // The palette's result as it lands in the zone's bytes (19, index, R, G, B), and the
    // host's live mode around it.
    void palette_result_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QByteArray>("after");
        const QByteArray index_4("\x03\x01\x03\x02\x04\x0A\x14\x1E", 8);
        QTest::addRow("standard colour") << index_4 << QStringList{"open top", "std 12", "ok"}
                                         << QByteArray("\x03\x0C\x0A\x14\x1E", 5);
        QTest::addRow("typing after a standard colour makes it RGB")
            << index_4 << QStringList{"open top", "std 10", "type g 99", "ok"}
            << QByteArray("\x13\x04\x00\x63\x00", 5);
        QTest::addRow("a click outside keeps the choice")
            << index_4 << QStringList{"open top", "std 12", "outside"}
            << QByteArray("\x03\x0C\x0A\x14\x1E", 5);
        QTest::addRow("cancel keeps the record")
            << index_4 << QStringList{"open top", "std 12", "cancel"}
            << QByteArray("\x03\x04\x0A\x14\x1E", 5);
        QTest::addRow("an RGB zone keeps its triple")
            << QByteArray("\x13\x01\x03\x02\x04\x0C\x22\x38", 8) << QStringList{"open top", "ok"}
            << QByteArray("\x13\x04\x0C\x22\x38", 5);
    }
    void palette_result() {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, steps);
        set_lighting(before);
        m_ctrl->refresh_colors();
        run(steps);
        QVERIFY(!palette()->isVisible());
        QFETCH(QByteArray, after);
        QCOMPARE(QByteArray(1, char(lighting()[0])) + bytes_of(lighting() + 4, 4), after);
        QCOMPARE(m_host->center.live_modes, QList<bool>({false, true}));
        // The zone shows what the profile holds, whatever the preview showed meanwhile.
        QCOMPARE(form()->zone_color(true), stored_zone_color(m_kernel->data()->settings(0), true));
    }

    void opening_preselects_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("checked");
        QTest::addColumn<QString>("rgb");
        QTest::addRow("palette index 4")
            << QByteArray("\x03\x01\x03\x02\x04", 5) << 4 << "255,157,71";
        QTest::addRow("own RGB") << QByteArray("\x13\x01\x03\x02\x04\x0C\x22\x38", 8) << -1
                                 << "12,34,56";
    }
    void opening_preselects() {
        QFETCH(QByteArray, before);
        set_lighting(before);
        form()->open_palette(true);
        int checked = -1;
        for (int k = 0; k < standard_color_count; ++k) {
            if (in_palette<QPushButton>(QStringLiteral("btn_color_%1").arg(k))->isChecked())
                checked = k;
        }
        QTEST(checked, "checked");
        QStringList shown;
        for (const char* box : {"sb_r", "sb_g", "sb_b"})
            shown << QString::number(in_palette<QSpinBox>(QLatin1String(box))->value());
        QTEST(shown.join(QLatin1Char(',')), "rgb");
        palette()->close();
    }

    // Custom colours 0..3 after the steps: 0 empty, 1 as before, 7 the colour typed (red 7).
    void custom_colours_data() {
        QTest::addColumn<int>("filled");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("held");
        QTest::addRow("add into the first empty slot")
            << 2 << QStringList{"type r 7", "add", "ok"} << "1,1,7,0";
        QTest::addRow("add into the marked slot")
            << 2 << QStringList{"cus 1", "type r 7", "add", "ok"} << "1,7,0,0";
        QTest::addRow("a full palette adds nothing")
            << 12 << QStringList{"type r 7", "add", "ok"} << "1,1,1,1";
        QTest::addRow("delete empties the marked slot")
            << 2 << QStringList{"cus 0", "delete", "ok"} << "0,1,0,0";
        QTest::addRow("cancel stores nothing")
            << 2 << QStringList{"type r 7", "add", "cancel"} << "1,1,0,0";
    }
    void custom_colours() {
        QFETCH(int, filled);
        for (int i = 0; i < 12; ++i) {
            const uint8_t entry[] = {1, 1, 1, uint8_t(i < filled ? 255 : 0)};
            std::copy(std::begin(entry), std::end(entry), custom() + 4 * i);
        }
        QFETCH(QStringList, steps);
        steps.prepend(QStringLiteral("open bottom"));
        run(steps);
        QStringList held;
        for (int i = 0; i < 4; ++i) {
            const uint8_t* e = custom() + 4 * i;
            held << (e[3] != 255 ? QStringLiteral("0") : QString::number(e[0] == 7 ? 7 : 1));
        }
        QTEST(held.join(QLatin1Char(',')), "held");
    }

    // The device picture under the light zones is the edition's own.
    void device_picture_follows_edition_data() {
        QTest::addColumn<bool>("white");
        QTest::addColumn<QString>("picture");
        QTest::addRow("black") << false << ":/graphics/controls/Quil-back_black.png";
        QTest::addRow("white") << true << ":/graphics/controls/Quil-back_white.png";
    }
    void device_picture_follows_edition() {
        QFETCH(bool, white);
        QFETCH(QString, picture);
        std::unique_ptr<zarek_kernel_c> kernel;
        if (white)
            kernel = std::make_unique<zarek_white_kernel_c>();
        else
            kernel = std::make_unique<zarek_black_kernel_c>();
        QWidget panel;
        panel.resize(486, 328);
        auto* ctrl = new lighting_ctrl_funcs_c(nullptr);
        ctrl->set_context(kernel.get(), nullptr);
        ctrl->create_box(&panel);
        auto* device = panel.findChild<picture_widget_c*>(QStringLiteral("wg_dev"));
        QVERIFY(device);
        QCOMPARE(device->shown_picture(), picture);
        // The form paints itself: none of its widgets goes through style-sheet styling.
        const QList<QWidget*> widgets = ctrl->form()->findChildren<QWidget*>();
        QVERIFY(widgets.size() >= 23);
        for (QWidget* widget : widgets) {
            QVERIFY2(!widget->style()->inherits("QStyleSheetStyle"),
                     qPrintable(widget->objectName()));
        }

        // Drawn centred at its own size, without the zones' children on top.
        QImage shown(device->size(), QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        device->render(&shown, QPoint(), QRegion(), QWidget::RenderFlags());
        const QImage source(picture);
        QVERIFY(!source.isNull());
        QImage expected(device->size(), QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::transparent);
        QPainter p(&expected);
        p.drawImage(QPoint((expected.width() - source.width()) / 2,
                           (expected.height() - source.height()) / 2),
                    source);
        p.end();
        QCOMPARE(shown, expected);
        ctrl->release();
    }
};

QTEST_MAIN(test_lighting)
#include "test_lighting.moc"
