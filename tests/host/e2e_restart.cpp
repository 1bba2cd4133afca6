// koral closed and started again, in one process, the way a person does it:
// every start loads the built module anew, makes a fresh control centre, hub
// and window over the same home folder, and the virtual mouse finds what the
// last run left in its memory. The main page must show the active profile,
// whichever slot that is, and nothing a person set may be lost on the way.
#include "host/components/slider.h"
#include "host/components/value_ctrl.h"
#include "host/ctrl_center.h"
#include "host/device_memory.h"
#include "host/host_catalogue.h"
#include "host/host_storage.h"
#include "host/hub.h"
#include "host/kernel_session.h"
#include "host/main_window.h"
#include "host/module_host.h"
#include "host/module_loader.h"
#include "host/texts.h"
#include "host/virtual_mouse.h"
#include "module/kernel_host_interfaces.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDataStream>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString k_module = QStringLiteral(QUIL_BIN_DIR "/quil");

// What the main page shows, field by field.
struct main_fields_t {
    int sensitivity = 0;
    int pointer = 0;
    bool pointer_precision = false;
    int v_scroll = 0;
    int h_scroll = 0;
    int double_click = 0;
    std::array<bool, 5> enabled{};
    std::array<int, 5> dpi{};
    // The active step's check box is the one that cannot be clicked.
    int active = -1;
};

bool operator==(const main_fields_t& a, const main_fields_t& b) {
    return a.sensitivity == b.sensitivity && a.pointer == b.pointer &&
           a.pointer_precision == b.pointer_precision && a.v_scroll == b.v_scroll &&
           a.h_scroll == b.h_scroll && a.double_click == b.double_click && a.enabled == b.enabled &&
           a.dpi == b.dpi && a.active == b.active;
}

char* describe(const main_fields_t& f) {
    QString dpi;
    for (int step = 0; step < 5; ++step)
        dpi += QStringLiteral(" %1%2%3")
                   .arg(f.dpi[size_t(step)])
                   .arg(f.enabled[size_t(step)] ? "" : "(off)")
                   .arg(step == f.active ? "*" : "");
    return qstrdup(qPrintable(QStringLiteral("sensitivity %1, pointer %2/%3, scroll %4/%5, "
                                             "double-click %6, DPI%7")
                                  .arg(f.sensitivity)
                                  .arg(f.pointer)
                                  .arg(f.pointer_precision)
                                  .arg(f.v_scroll)
                                  .arg(f.h_scroll)
                                  .arg(f.double_click)
                                  .arg(dpi)));
}

} // namespace

namespace QTest {
template <>
char* toString(const main_fields_t& fields) {
    return describe(fields);
}
} // namespace QTest

namespace {

// One run of koral: module, centre, hub and window; ends like closing the window.
class koral_run_c {
public:
    explicit koral_run_c(const QString& home)
        : m_hub(home + QStringLiteral("/hub"))
        , m_host(&m_centre)
        , m_loader(k_module) {
        m_centre.set_hub(&m_hub);
        m_ok = m_loader.load() && m_loader.enter(&m_host);
        if (!m_ok)
            return;
        m_window = std::make_unique<main_window_c>(&m_host, &m_centre, &m_catalogue, &m_hub);
        m_window->resize(1280, 900);
        m_window->show();
        m_window->select_edition(product_type::black);
    }
    ~koral_run_c() {
        if (m_window)
            m_window->close();
        m_window.reset();
    }

    bool ok() const { return m_ok && m_window && session()->is_open(); }
    QString error() const { return m_loader.error_string(); }
    kernel_session_c* session() const { return m_window->session(); }
    main_window_c* window() const { return m_window.get(); }
    ctrl_center_c& centre() { return m_centre; }
    hub_c& hub() { return m_hub; }
    QWidget* area() const { return m_window->findChild<QWidget*>(QStringLiteral("wg_page_area")); }

    // Clicks the main page's tab, as a person does.
    bool open_main_page() {
        for (QPushButton* tab : m_window->findChildren<QPushButton*>()) {
            const QVariant id = tab->property("koral_page_id");
            if (id.isValid() && id.toInt() == page_type::main) {
                tab->click();
                // The form lays its panels out on its first timer tick.
                QTest::qWait(20);
                return true;
            }
        }
        return false;
    }

    template <class T>
    T* find(const QString& name) const {
        return area()->findChild<T*>(name);
    }
    slider_widget_c* value_slider(const char* panel) const {
        QWidget* box = find<QWidget>(QLatin1String(panel));
        return box ? box->findChild<slider_widget_c*>(QStringLiteral("sld_value")) : nullptr;
    }
    QCheckBox* dpi_check(int step) const {
        return find<QCheckBox>(QStringLiteral("cb_dpi_%1").arg(step + 1));
    }
    QSpinBox* dpi_value(int step) const {
        return find<QSpinBox>(QStringLiteral("sb_value_%1").arg(step + 1));
    }

    // Reads every field off the open main page; false when one is missing.
    bool shown(main_fields_t* f) const {
        const std::pair<const char*, int*> values[] = {{"wg_sen", &f->sensitivity},
                                                       {"wg_pointer", &f->pointer},
                                                       {"wg_v_scroll", &f->v_scroll},
                                                       {"wg_h_scroll", &f->h_scroll},
                                                       {"wg_db_click", &f->double_click}};
        for (const auto& value : values) {
            slider_widget_c* slider = value_slider(value.first);
            if (!slider)
                return false;
            *value.second = slider->value();
        }
        auto* precision = find<option_toggle_c>(QStringLiteral("ckb_pointer_precision"));
        if (!precision)
            return false;
        f->pointer_precision = precision->isChecked();
        f->active = -1;
        for (int step = 0; step < 5; ++step) {
            if (!dpi_check(step) || !dpi_value(step))
                return false;
            f->enabled[size_t(step)] = dpi_check(step)->isChecked();
            f->dpi[size_t(step)] = dpi_value(step)->value();
            if (!dpi_check(step)->isEnabled())
                f->active = step;
        }
        return true;
    }

    // The profile settings of a slot as the mouse holds them.
    QByteArray stored_settings(int slot) const {
        device_memory_t memory;
        if (!session()->mouse() || !session()->mouse()->read_memory(&memory) ||
            slot >= memory.settings.size())
            return {};
        return memory.settings.at(slot);
    }

private:
    ctrl_center_c m_centre;
    hub_c m_hub;
    module_host_c m_host;
    module_loader_c m_loader;
    host_catalogue_c m_catalogue;
    std::unique_ptr<main_window_c> m_window;
    bool m_ok = false;
};

// A settings record's DPI mask and values as the page shows them.
void expect_stored(const QByteArray& settings, const main_fields_t& shown) {
    QCOMPARE(settings.size(), device_memory_t::settings_size);
    for (int step = 0; step < 5; ++step) {
        QCOMPARE(bool(uint8_t(settings[device_memory_t::dpi_mask_at]) & (1u << step)),
                 shown.enabled[size_t(step)]);
        QCOMPARE(device_memory_t::dpi_of(settings, step), shown.dpi[size_t(step)]);
    }
    QCOMPARE(int(settings[device_memory_t::active_step_at]), shown.active);
    // Sensitivities are kept as the shown value + 6.
    QCOMPARE(int(settings[4]) - 6, shown.sensitivity);
}

} // namespace

class e2e_restart : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(m_home->isValid());
        // Test mode keeps koral and the module under HOME; each case has its own.
        qputenv("HOME", QFile::encodeName(m_home->path()));
    }

    void cleanup() { m_home.reset(); }

    void restart_shows_the_active_profile_data() {
        QTest::addColumn<int>("profiles");
        QTest::addColumn<int>("active");
        QTest::addRow("second of two") << 2 << 1;
        QTest::addRow("last of five") << 5 << 4;
        QTest::addRow("first of three") << 3 << 0;
    }

    // DEVICE → Add → select the profile → MAIN SETTINGS: a DPI value typed,
    // a step switched off, sensitivity and a hub setting moved → close koral
    // → start it again: every field shows what was set, and a switch to
    // another profile and back loses nothing.
    void restart_shows_the_active_profile() {
        QFETCH(int, profiles);
        QFETCH(int, active);
        main_fields_t set;
        main_fields_t other;
        {
            koral_run_c run(m_home->path());
            QVERIFY2(run.ok(), qPrintable(run.error()));
            for (int added = 1; added < profiles; ++added)
                QVERIFY(run.session()->append_profile());
            // What the other profiles show is what a fresh profile holds.
            QVERIFY(run.open_main_page());
            run.session()->select_profile(active == 0 ? 1 : 0);
            QVERIFY(run.shown(&other));
            run.session()->select_profile(active);
            QCOMPARE(run.centre().current_profile_slot(), uint8_t(active));

            QSpinBox* first = run.dpi_value(0);
            first->setFocus();
            first->selectAll();
            QTest::keyClicks(first, QStringLiteral("450"));
            QTest::keyClick(first, Qt::Key_Enter);
            QCheckBox* fourth = run.dpi_check(3);
            QVERIFY(fourth->isChecked());
            QTest::mouseClick(fourth, Qt::LeftButton);
            QVERIFY(!fourth->isChecked());
            slider_widget_c* sensitivity = run.value_slider("wg_sen");
            QTest::keyClick(sensitivity, Qt::Key_Home);
            QTest::keyClick(sensitivity, Qt::Key_Right);
            QTest::keyClick(sensitivity, Qt::Key_Right);
            QTest::keyClick(run.value_slider("wg_v_scroll"), Qt::Key_End);
            QVERIFY(run.shown(&set));
            QCOMPARE(set.dpi[0], 450);
            QCOMPARE(set.sensitivity, -3);
            QCOMPARE(set.v_scroll, 10);
            QVERIFY(!set.enabled[3]);
            // The profile's edits belong to it alone; the hub's are the device's.
            other.pointer = set.pointer;
            other.pointer_precision = set.pointer_precision;
            other.v_scroll = set.v_scroll;
            other.h_scroll = set.h_scroll;
            other.double_click = set.double_click;
            QVERIFY(!(set == other));
        }
        {
            koral_run_c run(m_home->path());
            QVERIFY2(run.ok(), qPrintable(run.error()));
            QCOMPARE(run.session()->kernel()->profile_count(), profiles);
            QCOMPARE(run.session()->kernel()->current_profile(), active);
            QCOMPARE(run.centre().current_profile_slot(), uint8_t(active));
            QVERIFY(run.open_main_page());
            main_fields_t shown;
            QVERIFY(run.shown(&shown));
            QCOMPARE(shown, set);
            // Opening the page wrote nothing over the profile: the mouse keeps
            // the step switched off after the next commit too.
            run.session()->commit_now();
            expect_stored(run.stored_settings(active), set);

            const int elsewhere = active == 0 ? 1 : 0;
            run.session()->select_profile(elsewhere);
            QVERIFY(run.shown(&shown));
            QCOMPARE(shown, other);
            run.session()->select_profile(active);
            QVERIFY(run.shown(&shown));
            QCOMPARE(shown, set);
        }
        {
            // And once more: what the second run kept is still whole.
            koral_run_c run(m_home->path());
            QVERIFY2(run.ok(), qPrintable(run.error()));
            expect_stored(run.stored_settings(active), set);
            QVERIFY(run.open_main_page());
            main_fields_t shown;
            QVERIFY(run.shown(&shown));
            QCOMPARE(shown, set);
        }
    }

    // A memory the module cannot read is not swapped for the factory state
    // behind the person's back: the file is kept aside unchanged, the window
    // opens the device tab and says where it went and what happens next, in
    // the person's language, and the mouse works on from the factory state.
    void unreadable_memory_is_kept_aside_and_told() {
        QFETCH(QByteArray, file_bytes);
        const QString memory =
            virtual_mouse_c::memory_file(host_storage::data_folder(), product_type::black);
        QVERIFY(QDir().mkpath(QFileInfo(memory).absolutePath()));
        {
            QFile file(memory);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(file_bytes), qint64(file_bytes.size()));
        }
        koral_run_c run(m_home->path());
        QVERIFY2(run.ok(), qPrintable(run.error()));
        virtual_mouse_c* mouse = run.session()->mouse();
        const QString aside = memory + QStringLiteral(".damaged");
        QCOMPARE(mouse->set_aside(), aside);
        QVERIFY(!mouse->aside_failed());
        QFile kept(aside);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), file_bytes);
        // Nobody is left busy, and the mouse holds a set the module reads.
        QVERIFY(!run.centre().is_busy());
        QVERIFY(run.session()->kernel()->data_loaded());
        device_memory_t read;
        QVERIFY(mouse->read_memory(&read));

        auto* tab = run.window()->findChild<QPushButton*>(QStringLiteral("btn_tab_device"));
        QVERIFY(tab && tab->isChecked());
        auto* notice = run.window()->findChild<QLabel*>(QStringLiteral("lb_mouse_aside"));
        QVERIFY(notice && notice->isVisible());
        QCOMPARE(notice->text(), host_texts::text(host_text::memory_kept_aside, host_texts::english)
                                     .arg(QDir::toNativeSeparators(aside)));
        run.centre().set_language(host_texts::german);
        QCOMPARE(notice->text(), host_texts::text(host_text::memory_kept_aside, host_texts::german)
                                     .arg(QDir::toNativeSeparators(aside)));
    }
    void unreadable_memory_is_kept_aside_and_told_data() {
        QTest::addColumn<QByteArray>("file_bytes");
        QTest::addRow("not a memory file") << QByteArray("a note, not a mouse's memory");
        // A memory file whose own check passes, holding what the module refuses.
        QByteArray blob(2048, '\0');
        for (int i = 0; i < blob.size(); ++i)
            blob[i] = char((i * 37 + 5) & 0xFF);
        QTest::addRow("a profile set the module refuses") << virtual_mouse_c::file_bytes(blob);
    }

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_MAIN(e2e_restart)
#include "e2e_restart.moc"
