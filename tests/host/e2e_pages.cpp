// The built module's pages in the stand-in host: the main page filled with the
// host's own components (control boxes, sliders, value controls), driven by
// mouse and keys on the real widgets, committed to the virtual mouse, and read
// back by another kernel that loads what the mouse kept.
#include "host/components/component_texts.h"
#include "host/components/ctrl_box.h"
#include "host/components/slider.h"
#include "host/components/value_ctrl.h"
#include "host/ctrl_center.h"
#include "host/hub.h"
#include "host/module_host.h"
#include "host/module_loader.h"
#include "host/texts.h"
#include "host/virtual_mouse.h"
#include "module/kernel_host_interfaces.h"

#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

const QString k_module = QStringLiteral(QUIL_BIN_DIR "/quil");
const QString k_alias = QStringLiteral("QuilBlack");

// The main page's panels and the host class that fills each.
struct panel_t {
    const char* name;
    int32_t class_id;
    int32_t title;
};
const panel_t k_host_panels[] = {
    {"wg_sen", class_id::sensitivity_ctrl, component_text::sensitivity_title},
    {"wg_pointer", class_id::pointer_speed_ctrl, component_text::pointer_title},
    {"wg_v_scroll", class_id::v_scroll_ctrl, component_text::v_scroll_title},
    {"wg_h_scroll", class_id::h_scroll_ctrl, component_text::h_scroll_title},
    {"wg_db_click", class_id::double_click_ctrl, component_text::double_click_title},
};

// Releases a module object at the end of a scope.
struct kernel_ref {
    product_kernel_i* kernel = nullptr;
    explicit kernel_ref(product_kernel_i* k)
        : kernel(k) {}
    kernel_ref(const kernel_ref&) = delete;
    kernel_ref& operator=(const kernel_ref&) = delete;
    ~kernel_ref() {
        if (kernel)
            kernel->release();
    }
    product_kernel_i* operator->() const { return kernel; }
    product_kernel_i* get() const { return kernel; }
};

template <class T>
T* find(QWidget* root, const QString& name) {
    return root ? root->findChild<T*>(name) : nullptr;
}

// The value slider of a host value control in a panel of the page.
slider_widget_c* value_slider(QWidget* area, const char* panel) {
    return find<slider_widget_c>(find<QWidget>(area, QLatin1String(panel)),
                                 QStringLiteral("sld_value"));
}

ctrl_box_frame_c* box_in(QWidget* area, const char* panel) {
    return find<ctrl_box_frame_c>(find<QWidget>(area, QLatin1String(panel)),
                                  QStringLiteral("wg_ctrl_box"));
}

QString english(int32_t id) {
    return host_texts::text(id, host_texts::english);
}

QByteArray exported(product_kernel_i* kernel, uint8_t slot) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!kernel->export_profile(&buffer, slot))
        return {};
    return buffer.data();
}

// Types a number into a number box the way a person does: select, type, enter.
void type_number(QSpinBox* box, int value) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::number(value));
    QTest::keyClick(box, Qt::Key_Enter);
}

} // namespace

class e2e_pages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The module shares this process's Qt, so test mode reaches its folders too.
        QStandardPaths::setTestModeEnabled(true);
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
    }

    void cleanup() {
        m_loader.reset(); // leaves the module
        m_host.reset();
        m_hub.reset();
        m_centre.reset();
        m_dir.reset();
    }

    void main_page_is_built_from_host_components() {
        QWidget area;
        virtual_mouse_c mouse(m_centre.get(), product_type::black, k_alias, m_dir->path());
        kernel_ref kernel(open_kernel(&area, &mouse));
        QVERIFY(kernel.get());
        if (!kernel->page(page_type::main))
            QSKIP("The module offers no main page yet (page(0) is null)");
        open_main_page(kernel.get());

        for (const panel_t& panel : k_host_panels) {
            ctrl_box_frame_c* box = box_in(&area, panel.name);
            QVERIFY2(box, panel.name);
            QVERIFY(box->isVisible());
            QCOMPARE(box->title_label()->text(), english(panel.title));
            QVERIFY2(value_slider(&area, panel.name), panel.name);
            QVERIFY(m_host->instance_requests().end() !=
                    std::find_if(m_host->instance_requests().begin(),
                                 m_host->instance_requests().end(),
                                 [&panel](const module_host_c::instance_request_t& r) {
                                     return r.class_id == panel.class_id && r.answered;
                                 }));
        }
        // The DPI switcher is the module's own form in the host's box, with host sliders.
        ctrl_box_frame_c* dpi = box_in(&area, "wg_dpi");
        QVERIFY(dpi);
        QCOMPARE(dpi->title_label()->text(), m_centre->get_text_provider()->text(205, 0));
        for (int step = 1; step <= 5; ++step) {
            auto* slider = find<slider_widget_c>(&area, QStringLiteral("sld_slider_%1").arg(step));
            QVERIFY(slider);
            QCOMPARE(slider->maximum(), 12000);
            QCOMPARE(slider->minimum(), 200);
            QCOMPARE(slider->marks().size(), 6);
        }

        // The hub's settings show in their controls.
        QCOMPARE(value_slider(&area, "wg_v_scroll")->value(), m_hub->value(hub_c::vertical_scroll));
        QCOMPARE(value_slider(&area, "wg_db_click")->value(),
                 m_hub->value(hub_c::double_click_speed));
        QCOMPARE(find<option_toggle_c>(&area, QStringLiteral("ckb_pointer_precision"))->isChecked(),
                 m_hub->value(hub_c::pointer_precision) != 0);

        // A language switch reaches the host's boxes and the module's.
        m_centre->set_language(host_texts::german);
        QCOMPARE(box_in(&area, "wg_sen")->title_label()->text(),
                 host_texts::text(component_text::sensitivity_title, host_texts::german));
        QCOMPARE(dpi->title_label()->text(), m_centre->get_text_provider()->text(205, 0));
        close_kernel(kernel.get(), &mouse);
    }

    void edits_through_host_widgets_reach_the_device() {
        QWidget area;
        auto mouse = std::make_unique<virtual_mouse_c>(m_centre.get(), product_type::black, k_alias,
                                                       m_dir->path());
        kernel_ref kernel(open_kernel(&area, mouse.get()));
        QVERIFY(kernel.get());
        if (!kernel->page(page_type::main))
            QSKIP("The module offers no main page yet (page(0) is null)");
        open_main_page(kernel.get());
        const QByteArray before = mouse->blob();
        const int commands = mouse->commands().size();

        // Sensitivity: a click on its slider, then two steps by key.
        slider_widget_c* sensitivity = value_slider(&area, "wg_sen");
        QVERIFY(sensitivity);
        QTest::mouseClick(sensitivity, Qt::LeftButton, Qt::NoModifier,
                          sensitivity->handle_centre(1));
        QTest::keyClick(sensitivity, Qt::Key_Right);
        QTest::keyClick(sensitivity, Qt::Key_Right);
        QCOMPARE(sensitivity->value(), 3);

        // DPI: switch steps on, type a value for the second, drag the fourth to the end.
        for (int step : {2, 3, 4}) {
            auto* check = find<QCheckBox>(&area, QStringLiteral("cb_dpi_%1").arg(step));
            QVERIFY(check);
            if (!check->isChecked())
                QTest::mouseClick(check, Qt::LeftButton);
            QVERIFY(check->isChecked());
        }
        auto* second = find<QSpinBox>(&area, QStringLiteral("sb_value_2"));
        QVERIFY(second);
        type_number(second, 4000);
        QCOMPARE(second->value(), 4000);
        auto* fourth_slider = find<slider_widget_c>(&area, QStringLiteral("sld_slider_4"));
        QVERIFY(fourth_slider);
        QTest::keyClick(fourth_slider, Qt::Key_End);
        QCOMPARE(find<QSpinBox>(&area, QStringLiteral("sb_value_4"))->value(), 12000);

        // Hub settings go to the host's hub, not into the profile.
        slider_widget_c* h_scroll = value_slider(&area, "wg_h_scroll");
        QTest::keyClick(h_scroll, Qt::Key_End);
        QCOMPARE(m_hub->value(hub_c::horizontal_scroll), 10);

        QVERIFY(kernel->commit());
        QCOMPARE(mouse->commands().size(), commands + 1);
        QCOMPARE(mouse->last_command(), 3);
        QVERIFY(mouse->blob() != before);
        const QByteArray profile = exported(kernel.get(), 0);
        QVERIFY(!profile.isEmpty());
        close_kernel(kernel.get(), mouse.get());
        mouse.reset();

        // Another kernel loads what the mouse kept and shows the same values.
        QWidget reader_area;
        virtual_mouse_c reader(m_centre.get(), product_type::black, k_alias, m_dir->path());
        kernel_ref loaded(open_kernel(&reader_area, &reader));
        QVERIFY(loaded->data_loaded());
        QCOMPARE(exported(loaded.get(), 0), profile);
        open_main_page(loaded.get());
        QCOMPARE(value_slider(&reader_area, "wg_sen")->value(), 3);
        QCOMPARE(find<QSpinBox>(&reader_area, QStringLiteral("sb_value_2"))->value(), 4000);
        QCOMPARE(find<QSpinBox>(&reader_area, QStringLiteral("sb_value_4"))->value(), 12000);
        for (int step : {2, 3, 4})
            QVERIFY(
                find<QCheckBox>(&reader_area, QStringLiteral("cb_dpi_%1").arg(step))->isChecked());
        QCOMPARE(value_slider(&reader_area, "wg_h_scroll")->value(), 10);
        close_kernel(loaded.get(), &reader);
    }

    void box_reset_restores_a_hub_setting() {
        QWidget area;
        virtual_mouse_c mouse(m_centre.get(), product_type::black, k_alias, m_dir->path());
        kernel_ref kernel(open_kernel(&area, &mouse));
        QVERIFY(kernel.get());
        if (!kernel->page(page_type::main))
            QSKIP("The module offers no main page yet (page(0) is null)");
        open_main_page(kernel.get());
        slider_widget_c* v_scroll = value_slider(&area, "wg_v_scroll");
        QTest::keyClick(v_scroll, Qt::Key_End);
        QCOMPARE(m_hub->value(hub_c::vertical_scroll), 10);

        // A fresh mouse's pages reset the hub too; only the box's own reset counts here.
        const int resets_before = m_hub->reset_calls().size();
        QTest::mouseClick(box_in(&area, "wg_v_scroll")->reset_button(), Qt::LeftButton);
        QCOMPARE(m_hub->reset_calls().mid(resets_before), QVector<int32_t>{ctrl_type::v_scroll});
        const int default_lines = hub_c::default_bytes()[hub_c::vertical_scroll];
        QCOMPARE(m_hub->value(hub_c::vertical_scroll), default_lines);
        // The page refreshed the control from the hub.
        QCOMPARE(v_scroll->value(), default_lines);
        close_kernel(kernel.get(), &mouse);
    }

    void star_in_a_host_box_makes_a_favourite() {
        QWidget area;
        virtual_mouse_c mouse(m_centre.get(), product_type::black, k_alias, m_dir->path());
        kernel_ref kernel(open_kernel(&area, &mouse));
        QVERIFY(kernel.get());
        if (!kernel->page(page_type::main) || !kernel->page(page_type::favorites))
            QSKIP("The module offers no main or favorites page yet");
        open_main_page(kernel.get());
        ctrl_box_frame_c* box = box_in(&area, "wg_h_scroll");
        QVERIFY(!box->favorite_button()->isChecked());
        QVERIFY(!listed_favourite(kernel.get(), ctrl_type::h_scroll));
        const int favourites = kernel->favorite_ctrl_count();

        QTest::mouseClick(box->favorite_button(), Qt::LeftButton);
        QVERIFY(box->favorite_button()->isChecked());
        QCOMPARE(kernel->favorite_ctrl_count(), favourites + 1);
        QVERIFY(listed_favourite(kernel.get(), ctrl_type::h_scroll));
        QVERIFY(kernel->page(page_type::main)->ctrl_funcs(ctrl_type::h_scroll)->is_favorite());

        // The favorites page builds the boxes of favourites anew, marked as such.
        kernel->open_page(page_type::favorites);
        QTest::qWait(20);
        const QList<ctrl_box_frame_c*> shown = area.findChildren<ctrl_box_frame_c*>();
        QVERIFY(!shown.isEmpty());
        for (ctrl_box_frame_c* frame : shown)
            QVERIFY2(frame->favorite_button()->isChecked(),
                     qPrintable(frame->title_label()->text()));

        // Back on the main page, clearing the star takes it off the kernel's list.
        open_main_page(kernel.get());
        box = box_in(&area, "wg_h_scroll");
        QVERIFY(box->favorite_button()->isChecked());
        QTest::mouseClick(box->favorite_button(), Qt::LeftButton);
        QCOMPARE(kernel->favorite_ctrl_count(), favourites);
        QVERIFY(!listed_favourite(kernel.get(), ctrl_type::h_scroll));
        close_kernel(kernel.get(), &mouse);
    }

private:
    // Whether the profile set's favourites list names the control type.
    static bool listed_favourite(product_kernel_i* kernel, int32_t type) {
        for (int i = 0; i < 64; ++i) {
            if (kernel->favorite_item(uint8_t(i)) == type)
                return true;
        }
        return false;
    }

    // As koral does it: a kernel of the edition, attached to a shown page area,
    // shown as the current device, then the device reports what it holds.
    product_kernel_i* open_kernel(QWidget* area, virtual_mouse_c* mouse) {
        area->resize(1002, 720);
        area->show();
        auto* kernel =
            query<product_kernel_i>(m_host->create_module_object(class_id::black_kernel));
        if (!kernel)
            return nullptr;
        kernel->attach(m_centre.get(), area);
        m_centre->set_current_kernel(kernel);
        mouse->attach(kernel);
        return kernel;
    }

    void close_kernel(product_kernel_i* kernel, virtual_mouse_c* mouse) {
        kernel->close_page();
        mouse->detach();
        if (m_centre->current_kernel() == kernel)
            m_centre->set_current_kernel(nullptr);
    }

    void open_main_page(product_kernel_i* kernel) {
        kernel->open_page(page_type::main);
        // The form lays its panels out on its first timer tick.
        QTest::qWait(20);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ctrl_center_c> m_centre;
    std::unique_ptr<hub_c> m_hub;
    std::unique_ptr<module_host_c> m_host;
    std::unique_ptr<module_loader_c> m_loader;
};

QTEST_MAIN(e2e_pages)
#include "e2e_pages.moc"
