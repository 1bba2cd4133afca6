// The advanced page and the favourites of the built module, loaded by the stand-in host
// as the koral program does it and driven through widgets only: a palette colour, the
// polling rate and a device reset reach the virtual mouse's memory; the calibration is
// answered by the mouse; the lift-off level is confirmed in koral's message box; and
// whatever a person stars shows on the favourites tab, in list order, across a restart.
#include "host/components/advanced_ctrls.h"
#include "host/components/advanced_texts.h"
#include "host/components/component_texts.h"
#include "host/components/ctrl_box.h"
#include "host/components/dialog_frame.h"
#include "host/ctrl_center.h"
#include "host/hub.h"
#include "host/module_host.h"
#include "host/module_loader.h"
#include "host/mouse_memory.h"
#include "host/texts.h"
#include "host/virtual_mouse.h"
#include "module/kernel_host_interfaces.h"
#include "module/lighting_interfaces.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace {

const QString k_module = QStringLiteral(QUIL_BIN_DIR "/quil");

struct release_t {
    void operator()(product_kernel_i* kernel) const { kernel->release(); }
};
using kernel_ref = std::unique_ptr<product_kernel_i, release_t>;

template <class T>
T* find(QWidget* root, const QString& name) {
    return root ? root->findChild<T*>(name) : nullptr;
}

ctrl_box_frame_c* box_in(QWidget* area, const char* panel) {
    return find<ctrl_box_frame_c>(find<QWidget>(area, QLatin1String(panel)),
                                  QStringLiteral("wg_ctrl_box"));
}

// The settings record of the active profile as the mouse's own reader sees it.
std::array<uint8_t, mouse_memory::settings_size> active_settings(const virtual_mouse_c& mouse) {
    mouse_memory::memory_t memory;
    QString error;
    if (!mouse_memory::read(mouse.blob(), &memory, &error))
        return {};
    return memory.profiles.at(qBound(0, memory.current_slot, 4)).settings;
}

// Runs `steps` once the next modal dialog is open; a dialog still open after 5 s is closed.
void when_modal(std::function<void(QWidget*)> steps) {
    QTimer::singleShot(0, [steps] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        steps(dialog);
    });
    QTimer::singleShot(5000, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
}

// Titles of the boxes on the favourites page, in layout order (column by column, top down).
QStringList shown_titles(QWidget* area) {
    QList<ctrl_box_frame_c*> boxes = area->findChildren<ctrl_box_frame_c*>();
    QStringList titles;
    for (ctrl_box_frame_c* box : boxes) {
        if (box->isVisible())
            titles.append(box->title_label()->text());
    }
    return titles;
}

} // namespace

class e2e_advanced : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        // The favourites file lives in the module's per-user folder: keep it out of the others'.
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toUtf8());
    }

    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_centre = std::make_unique<ctrl_center_c>();
        m_hub = std::make_unique<hub_c>(m_dir->path());
        m_centre->set_hub(m_hub.get());
        m_host = std::make_unique<module_host_c>(m_centre.get());
        m_loader = std::make_unique<module_loader_c>(k_module);
        QVERIFY2(m_loader->load(), qPrintable(m_loader->error_string()));
        QVERIFY(m_loader->enter(m_host.get()));
        m_area = std::make_unique<QWidget>();
        m_mouse = std::make_unique<virtual_mouse_c>(m_centre.get(), product_type::black,
                                                    QStringLiteral("QuilBlack"), m_dir->path());
        m_kernel.reset(open_kernel());
        QVERIFY(m_kernel && m_kernel->data_loaded());
    }

    void cleanup() {
        close_kernel();
        m_mouse.reset();
        m_area.reset();
        m_loader.reset();
        m_host.reset();
        m_hub.reset();
        m_centre.reset();
        m_dir.reset();
    }

    void palette_colour_reaches_the_mouse() {
        open_page(page_type::advanced);
        auto* top = find<QPushButton>(m_area.get(), QStringLiteral("btn_t_color"));
        QVERIFY(top);
        QTest::mouseClick(top, Qt::LeftButton);
        QWidget* palette = find<QWidget>(m_area.get(), QStringLiteral("palette_fm_c"));
        QVERIFY(palette && palette->isVisible());
        QCOMPARE(m_centre->live_mode(), false);
        QTest::mouseClick(find<QPushButton>(palette, QStringLiteral("btn_color_16")),
                          Qt::LeftButton);
        QTest::mouseClick(find<QPushButton>(palette, QStringLiteral("btn_ok")), Qt::LeftButton);
        QVERIFY(!palette->isVisible());
        QCOMPARE(m_centre->live_mode(), true);
        QVERIFY(m_kernel->commit());
        const auto settings = active_settings(*m_mouse);
        QCOMPARE(int(settings[lighting_byte::top_index]), 16);
        QCOMPARE(settings[lighting_byte::flags] & lighting_flag::top_rgb, 0);
        QVERIFY(settings[lighting_byte::flags] & lighting_flag::lit);
    }

    void device_reset_publishes_the_defaults() {
        open_page(page_type::advanced);
        // A change first: the polling rate and the lights, through the widgets.
        QTest::mouseClick(find<QPushButton>(m_area.get(), QStringLiteral("btn_rate_125")),
                          Qt::LeftButton);
        QTest::mouseClick(find<QCheckBox>(m_area.get(), QStringLiteral("cb_enable")),
                          Qt::LeftButton);
        QVERIFY(m_kernel->commit());
        auto settings = active_settings(*m_mouse);
        QCOMPARE(int(settings[18]), 0);
        QCOMPARE(settings[lighting_byte::flags] & lighting_flag::lit, 0);

        auto* reset = find<QPushButton>(m_area.get(), QStringLiteral("btn_reset_device"));
        QVERIFY(reset);
        when_modal([](QWidget* dialog) {
            auto* frame = qobject_cast<dialog_frame_c*>(dialog);
            QVERIFY(frame);
            QCOMPARE(frame->ok_button()->text(),
                     host_texts::text(advanced_text::reset_confirm_ok, host_texts::english));
            frame->ok_button()->click();
        });
        const int commands = m_mouse->commands().size();
        QTest::mouseClick(reset, Qt::LeftButton);
        QCOMPARE(m_mouse->commands().size(), commands + 1);
        QCOMPARE(m_mouse->last_command(), int(kernel_command::all_data_reset));
        settings = active_settings(*m_mouse);
        QCOMPARE(int(settings[18]), 3);
        QCOMPARE(int(settings[lighting_byte::flags]), 3);
        // Every page shows the defaults.
        QVERIFY(find<QPushButton>(m_area.get(), QStringLiteral("btn_rate_1000"))->isChecked());
        QVERIFY(find<QCheckBox>(m_area.get(), QStringLiteral("cb_enable"))->isChecked());
        QVERIFY(find<QRadioButton>(m_area.get(), QStringLiteral("rb_lift_off"))->isChecked());
        // Nothing new to publish; the next change is published, kept and reported back.
        QVERIFY(!m_kernel->commit());
        QTest::mouseClick(find<QPushButton>(m_area.get(), QStringLiteral("btn_rate_500")),
                          Qt::LeftButton);
        QVERIFY(m_kernel->commit());
        QCOMPARE(m_mouse->last_command(), int(kernel_command::data_changed));
        QVERIFY(m_mouse->send_stored_blob());
        QVERIFY(find<QPushButton>(m_area.get(), QStringLiteral("btn_rate_500"))->isChecked());
        QCOMPARE(int(active_settings(*m_mouse)[18]), 2);
    }

    void the_mouse_answers_the_calibration_data() {
        QTest::addColumn<bool>("succeeds");
        QTest::addRow("failure") << false;
        QTest::addRow("success") << true;
    }
    void the_mouse_answers_the_calibration() {
        QFETCH(bool, succeeds);
        m_mouse->set_calibration_outcome(succeeds);
        m_mouse->set_calibration_delay(50);
        open_page(page_type::advanced);
        QString shown;
        when_modal([&shown, succeeds](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("surf_calibration_fm_c"));
            auto* start = find<QPushButton>(dialog, QStringLiteral("btn_calibrate"));
            QVERIFY(start->isEnabled());
            QTest::mouseClick(start, Qt::LeftButton);
            QVERIFY(!start->isEnabled());
            const QString label = succeeds ? QStringLiteral("lb_calibration_success")
                                           : QStringLiteral("lb_calibration_failed");
            QTRY_VERIFY(find<QLabel>(dialog, label)->isVisible());
            shown = start->text();
            if (succeeds)
                QTest::mouseClick(start, Qt::LeftButton); // CONTINUE
            else
                QTest::mouseClick(find<QPushButton>(dialog, QStringLiteral("btn_close")),
                                  Qt::LeftButton);
        });
        QTest::mouseClick(find<QRadioButton>(m_area.get(), QStringLiteral("rb_surf_on")),
                          Qt::LeftButton);
        QCOMPARE(shown, m_centre->get_text_provider()->text(succeeds ? 202 : 203, 0));
        QVERIFY(m_mouse->messages_sent().contains(host_message::calibration_result));
        QCOMPARE(m_mouse->tuning_commands(),
                 succeeds ? QVector<int32_t>({0, 2}) : QVector<int32_t>({0}));
        QCOMPARE(m_mouse->surface_tuning(), succeeds);
        QCOMPARE(find<QRadioButton>(m_area.get(), QStringLiteral("rb_surf_on"))->isChecked(),
                 succeeds);
    }

    void lift_level_is_confirmed_in_koral_s_message_box() {
        open_page(page_type::advanced);
        auto* normal = find<QRadioButton>(m_area.get(), QStringLiteral("rb_lift_nor"));
        QString title;
        when_modal([&title](QWidget* dialog) {
            auto* frame = qobject_cast<dialog_frame_c*>(dialog);
            QVERIFY(frame);
            title = frame->title_label()->text();
            frame->cancel_button()->click();
        });
        QTest::mouseClick(normal, Qt::LeftButton);
        QCOMPARE(title, m_centre->get_text_provider()->text(628, 0).toUpper());
        // The new distance at once, the old one back after "undo".
        QCOMPARE(m_mouse->tuning_commands(), QVector<int32_t>({6, 5}));
        QCOMPARE(m_mouse->lift_level(), 0);
        QVERIFY(find<QRadioButton>(m_area.get(), QStringLiteral("rb_lift_off"))->isChecked());
        when_modal(
            [](QWidget* dialog) { qobject_cast<dialog_frame_c*>(dialog)->ok_button()->click(); });
        QTest::mouseClick(normal, Qt::LeftButton);
        QCOMPARE(m_mouse->lift_level(), 3);
        QVERIFY(normal->isChecked());
    }

    // Starred on the main and advanced pages, shown in the order of the favourites list.
    // (The list read back from its file and the empty tab's hint: the favourites suite.)
    void starred_controls_show_on_the_favourites_tab() {
        open_page(page_type::main);
        // Un-star the DPI switcher and the pointer speed, star sensitivity and both scrolls.
        for (const char* panel : {"wg_dpi", "wg_pointer", "wg_sen", "wg_v_scroll", "wg_h_scroll"})
            QTest::mouseClick(box_in(m_area.get(), panel)->favorite_button(), Qt::LeftButton);
        open_page(page_type::advanced);
        QTest::mouseClick(box_in(m_area.get(), "wg_sound")->favorite_button(), Qt::LeftButton);
        const auto title = [this](int32_t id) {
            return m_centre->get_text_provider()->text(id, 0);
        };
        const QStringList expected = {
            title(3), host_texts::text(component_text::sensitivity_title, host_texts::english),
            host_texts::text(component_text::v_scroll_title, host_texts::english),
            host_texts::text(component_text::h_scroll_title, host_texts::english),
            host_texts::text(advanced_text::sound_title, host_texts::english)};
        open_page(page_type::favorites);
        QCOMPARE(box_titles_in_list_order(), expected);
        QVERIFY(!find<QLabel>(m_area.get(), QStringLiteral("lb_favorites_empty"))->isVisible());
        // The button page's two boxes are starred from the start and show with their stars.
        int shown_stars = 0;
        for (QCheckBox* star : m_area->findChildren<QCheckBox*>(QStringLiteral("cb_favorite")))
            shown_stars += star->isVisible() && star->isChecked() ? 1 : 0;
        QCOMPARE(shown_stars, 2);
        // A visible box may still be cut to a sliver: each button box keeps the height it
        // has on its own page, and no two panels of the tab overlap.
        QWidget* form = find<QWidget>(m_area.get(), QStringLiteral("favorites_fm_c"));
        QMap<QString, int> box_heights;
        QVector<QRect> panels;
        for (QObject* child : form->children()) {
            auto* panel = qobject_cast<QWidget*>(child);
            if (!panel || !panel->isVisible() || panel->children().isEmpty())
                continue;
            for (const QRect& other : qAsConst(panels))
                QVERIFY2(!other.intersects(panel->geometry()), "favourites panels overlap");
            panels.append(panel->geometry());
            for (const char* name : {"btn_assignment_box_fm_c", "top_btn_assignment_box_fm_c"}) {
                if (panel->findChild<QWidget*>(QLatin1String(name)))
                    box_heights.insert(QLatin1String(name), panel->height());
            }
        }
        QCOMPARE(box_heights.value(QStringLiteral("btn_assignment_box_fm_c")), 459);
        QCOMPARE(box_heights.value(QStringLiteral("top_btn_assignment_box_fm_c")), 548);

        // Taking a star off on the favourites tab takes the box away.
        const QString sound = host_texts::text(advanced_text::sound_title, host_texts::english);
        for (ctrl_box_frame_c* box : m_area->findChildren<ctrl_box_frame_c*>()) {
            if (box->isVisible() && box->title_label()->text() == sound) {
                QTest::mouseClick(box->favorite_button(), Qt::LeftButton);
                break;
            }
        }
        QTRY_VERIFY(!shown_titles(m_area.get()).contains(sound));
        QCOMPARE(box_titles_in_list_order(), expected.mid(0, 4));

        // Every star taken off, the host's boxes' and the module's own forms' alike, the tab
        // says how to fill it. Each click rebuilds the tab, so the stars are found anew.
        const auto next_star = [this]() -> QAbstractButton* {
            for (ctrl_box_frame_c* box : m_area->findChildren<ctrl_box_frame_c*>()) {
                if (box->isVisible())
                    return box->favorite_button();
            }
            for (QCheckBox* star :
                 m_area->findChildren<QCheckBox*>(QStringLiteral("cb_favorite"))) {
                if (star->isVisible() && star->isChecked())
                    return star;
            }
            return nullptr;
        };
        for (int left = 12; left > 0; --left) {
            QAbstractButton* star = next_star();
            if (!star)
                break;
            QTest::mouseClick(star, Qt::LeftButton);
            QTest::qWait(20);
        }
        QVERIFY(!next_star());
        QLabel* hint = nullptr;
        QTRY_VERIFY((hint = find<QLabel>(m_area.get(), QStringLiteral("lb_favorites_empty"))) &&
                    hint->isVisible());
        QVERIFY(hint->text().contains(QStringLiteral("star")));
    }

private:
    // The boxes' titles sorted as the favourites layout fills its columns: the page fills
    // the shorter column next, so the list order is the order of the panels' creation,
    // which the layout keeps as left/right alternation. Their top-left corners tell it.
    QStringList box_titles_in_list_order() {
        QTest::qWait(20);
        QWidget* form = find<QWidget>(m_area.get(), QStringLiteral("favorites_fm_c"));
        QStringList titles;
        if (!form)
            return titles;
        // Panels are the form's direct children, created in list order.
        for (QObject* child : form->children()) {
            auto* panel = qobject_cast<QWidget*>(child);
            if (!panel || !panel->isVisible())
                continue;
            if (auto* box = panel->findChild<ctrl_box_frame_c*>())
                titles.append(box->title_label()->text());
        }
        return titles;
    }

    product_kernel_i* open_kernel() {
        m_area->resize(1002, 720);
        m_area->show();
        auto* kernel =
            query<product_kernel_i>(m_host->create_module_object(class_id::black_kernel));
        if (!kernel)
            return nullptr;
        kernel->attach(m_centre.get(), m_area.get());
        m_centre->set_current_kernel(kernel);
        m_mouse->attach(kernel);
        return kernel;
    }

    void close_kernel() {
        if (!m_kernel)
            return;
        m_kernel->close_page();
        m_mouse->detach();
        if (m_centre->current_kernel() == m_kernel.get())
            m_centre->set_current_kernel(nullptr);
        m_kernel.reset();
    }

    void open_page(int32_t page) {
        m_kernel->open_page(page);
        QTest::qWait(20);
    }

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ctrl_center_c> m_centre;
    std::unique_ptr<hub_c> m_hub;
    std::unique_ptr<module_host_c> m_host;
    std::unique_ptr<module_loader_c> m_loader;
    std::unique_ptr<QWidget> m_area;
    std::unique_ptr<virtual_mouse_c> m_mouse;
    kernel_ref m_kernel;
};

QTEST_MAIN(e2e_advanced)
#include "e2e_advanced.moc"
