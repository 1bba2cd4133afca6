// The page framework: the page base and its tab button, the control base, the form base
// with its fonts per language, and the two-column panel layout.
#include "pages_test_support.h"

#include "common/utilities.h"

#include "pages/form_base.h"
#include "pages/tab_button.h"
#include "pages/tab_page_fm_base.h"
#include "pages/zarek_page_base.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// A page as the concrete pages are written: a refresh and a title that follows the language.
class title_page final : public zarek_page_base_c {
public:
    using zarek_page_base_c::zarek_page_base_c;
    void update() override { ++refreshes; }
    void language_changed(language_source_i* source, void* ignored) override {
        if (tab_button())
            tab_button()->setText(host_text(text_id));
        zarek_page_base_c::language_changed(source, ignored);
    }
    QPushButton* make_tab_button() { return create_text_tab_button(text_id); }

    int refreshes = 0;
    int32_t text_id = 27;
};

// A form with a label, a button and a number box, translated by update().
class probe_form final : public QWidget, public form_base_c {
public:
    explicit probe_form(QStringList* journal)
        : label(new QLabel(this))
        , button(new QPushButton(this))
        , number(new QSpinBox(this))
        , m_journal(journal) {
        set_widget_font(label, QStringLiteral("DejaVu Sans"), 13, 2, true, QFont::StyleItalic);
        set_widget_font(button, QStringLiteral("DejaVu Serif"), 11, 0, false);
        set_widget_font(number, QStringLiteral("DejaVu Sans Mono"), 12, 1, false);
    }
    void update() override {
        m_journal->append(QStringLiteral("update %1").arg(label->font().family()));
        label->setText(QStringLiteral("Speed %1").arg(++translations));
    }
    void fonts_applied() override {
        m_journal->append(QStringLiteral("fonts_applied %1").arg(label->font().family()));
    }

    QLabel* label;
    QPushButton* button;
    QSpinBox* number;
    int translations = 0;

private:
    QStringList* m_journal;
};

// Span 1 is a half-width panel, 2 a full-width one.
struct panel_spec {
    int span;
    int height;
    QVariant changing_height = {}; // set as the panel's property when valid
    bool with_box = false;
    bool with_control = true;
};

using panel_specs = QList<panel_spec>;
using rects = QList<QRect>;

} // namespace

Q_DECLARE_METATYPE(panel_spec)

class test_page_framework : public QObject {
    Q_OBJECT

    fake_host m_host;
    QTemporaryDir m_dir;
    QStringList m_journal;

    std::unique_ptr<journal_kernel> attached_kernel() {
        auto kernel = std::make_unique<journal_kernel>(&m_journal);
        kernel->data()->set_favourites_file(m_dir.filePath(QStringLiteral("favourites.ini")));
        kernel->data()->favourites().clear();
        kernel->attach(&m_host.center, nullptr);
        m_host.center.shown = kernel.get();
        return kernel;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        quil_init_module(&m_host);
        m_host.center.texts.table[0] = {{27, QStringLiteral("Main")}};
        m_host.center.texts.table[3] = {{27, QStringLiteral("Haupteinstellungen")}};
    }
    void cleanupTestCase() { quil_exit_module(); }
    void init() {
        m_journal.clear();
        m_host.center.language = 0;
        m_host.center.shown = nullptr;
    }

    // ------------------------------------------------------------ page base

    // Kinds 0 and 1 refresh, kind 2 does not; the page listens only while it lives.
    void page_listens_while_it_lives() {
        auto kernel = attached_kernel();
        const int centre_before = m_host.center.listeners.size();
        auto* page = new title_page(kernel.get());
        auto* as_listener = static_cast<listener_i*>(page);
        QVERIFY(kernel->kernel_listeners().contains(as_listener));
        QVERIFY(m_host.center.listeners.contains(as_listener));
        auto* listener = query<product_kernel_listener_i>(as_listener);
        listener->data_changed();
        listener->current_profile_changed();
        listener->everything_reset();
        kernel->set_current_profile(2);
        QCOMPARE(page->refreshes, 3);
        page->release();
        QVERIFY(!kernel->kernel_listeners().contains(as_listener));
        QCOMPARE(m_host.center.listeners.size(), centre_before);
    }

    void language_change_fits_the_tab_width_data() {
        QTest::addColumn<int>("text_id");
        QTest::addColumn<QString>("title");
        QTest::addRow("longer title") << 27 << "Haupteinstellungen";
        QTest::addRow("empty title keeps width") << 28 << "";
    }
    void language_change_fits_the_tab_width() {
        QFETCH(int, text_id);
        QFETCH(QString, title);
        auto kernel = attached_kernel();
        title_page page(kernel.get());
        page.text_id = text_id;
        std::unique_ptr<QPushButton> button(page.make_tab_button());
        button->setFixedWidth(77);
        m_host.center.switch_language(3);
        QCOMPARE(button->text(), title);
        const int fitted = button->fontMetrics().horizontalAdvance(title) + 48;
        QCOMPARE(button->width(), title.isEmpty() ? 77 : fitted);
        QCOMPARE(button->minimumWidth(), button->maximumWidth());
        // The host may destroy the button; the page must not touch it afterwards.
        button.reset();
        QVERIFY(!page.tab_button());
        m_host.center.switch_language(0);
    }

    void tab_button_is_forgotten_when_another_kernel_shows_data() {
        QTest::addColumn<bool>("own");
        QTest::addRow("own kernel") << true;
        QTest::addRow("other kernel") << false;
    }
    void tab_button_is_forgotten_when_another_kernel_shows() {
        QFETCH(bool, own);
        auto kernel = attached_kernel();
        journal_kernel other(&m_journal);
        title_page page(kernel.get());
        std::unique_ptr<QPushButton> button(page.make_tab_button());
        m_host.center.show_kernel(own ? static_cast<product_kernel_i*>(kernel.get()) : &other);
        QCOMPARE(page.tab_button() != nullptr, own); // forgetting never destroys it
        // A forgotten button no longer follows the language.
        button->setFixedWidth(5);
        m_host.center.switch_language(3);
        QCOMPARE(button->width() != 5, own);
    }

    void current_profile_slot_falls_back_to_zero() {
        QCOMPARE(int(zarek_page_base_c::current_profile_slot()), 0); // the host shows none
        m_host.center.slot = 4;
        QCOMPARE(int(zarek_page_base_c::current_profile_slot()), 4);
        m_host.center.slot = 0xFF;
    }

    // ------------------------------------------------------------ control base

    void favourite_mark_reaches_kernel_only_on_change_data() {
        QTest::addColumn<QList<bool>>("marks");
        QTest::addColumn<QStringList>("journal");
        QTest::addRow("set twice")
            << QList<bool>{true, true} << QStringList{"kernel add 13", "favorite_changed 13 1"};
        QTest::addRow("set, clear, clear")
            << QList<bool>{true, false, false}
            << QStringList{"kernel add 13", "favorite_changed 13 1", "kernel remove 13",
                           "favorite_changed 13 0"};
    }
    void favourite_mark_reaches_kernel_only_on_change() {
        QFETCH(QList<bool>, marks);
        QFETCH(QStringList, journal);
        auto kernel = attached_kernel();
        probe_ctrl ctrl(ctrl_type::lighting, &m_journal);
        ctrl.set_context(kernel.get(), nullptr);
        for (bool mark : marks)
            ctrl.set_favorite(mark);
        QCOMPARE(m_journal, journal);
        QCOMPARE(ctrl.is_favorite(), marks.last());
        // The kernel keeps the type in its favourites list and the control as favourite.
        QCOMPARE(kernel->data()->favourites().contains(ctrl_type::lighting), marks.last());
        QCOMPARE(kernel->favorite_ctrl_count(), marks.last() ? 1 : 0);
    }

    void listeners_are_kept_once_and_reached_by_interface() {
        // The listeners outlive the control: its destruction tells those still registered.
        probe_listener a(QStringLiteral("a"), &m_journal, true);
        probe_listener b(QStringLiteral("b"), &m_journal);
        probe_listener c(QStringLiteral("c"), &m_journal, true);
        probe_ctrl ctrl(1, &m_journal);
        interface_i* manager = static_cast<ctrl_funcs_i*>(&ctrl);
        for (probe_listener* l : {&a, &a, &b, &c})
            connect_listener(manager, static_cast<listener_i*>(l));
        ctrl.add_listener(nullptr);
        QCOMPARE(ctrl.listeners(), (QList<listener_i*>{&a, &b, &c}));
        ctrl.for_each_listener<dpi_switcher_ctrl_funcs_listener_i>(
            [](dpi_switcher_ctrl_funcs_listener_i* l) { l->step_enabled_changed(3, true); });
        QCOMPARE(m_journal, (QStringList{"a step 3 1", "c step 3 1"}));
        disconnect_listener(manager, static_cast<listener_i*>(&a));
        ctrl.remove_listener(&c);
        QCOMPARE(ctrl.listeners(), QList<listener_i*>{&b});
    }

    void destroyed_control_tells_remaining_listeners() {
        probe_listener a(QStringLiteral("a"), &m_journal), b(QStringLiteral("b"), &m_journal),
            c(QStringLiteral("c"), &m_journal);
        listener_mgr_i* manager = nullptr;
        {
            probe_ctrl ctrl(1, &m_journal);
            manager = &ctrl;
            for (probe_listener* l : {&a, &b, &c})
                ctrl.add_listener(l);
            ctrl.remove_listener(&b);
        }
        QCOMPARE(m_journal, (QStringList{"a closing", "c closing"}));
        QCOMPARE(a.closing, QList<listener_mgr_i*>{manager});
    }

    void reset_request_goes_to_the_page() {
        probe_ctrl ctrl(5, &m_journal);
        auto* client = query<ctrl_funcs_box_fm_client_i>(static_cast<ctrl_funcs_i*>(&ctrl));
        client->reset_requested(); // no page yet: nothing to reach
        probe_page page;
        ctrl.set_context(nullptr, &page);
        client->reset_requested();
        QCOMPARE(page.resets, QList<ctrl_funcs_i*>{&ctrl});
    }

    // ------------------------------------------------------------ form base

    void fonts_follow_the_language_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("label_family");
        QTest::addColumn<QString>("button_family");
        const QString cjk = QStringLiteral("WenQuanYi Micro Hei");
        QTest::addRow("language 0") << 0 << "DejaVu Sans" << QStringLiteral("DejaVu Serif");
        QTest::addRow("language 1") << 1 << cjk << cjk;
        QTest::addRow("language 2") << 2 << language_2_family << language_2_family;
        QTest::addRow("language 17 has no records") << 17 << QString() << QString();
    }
    // Translation first, then the fonts, then the hook; texts become tool tips.
    void fonts_follow_the_language() {
        QFETCH(int, language);
        QFETCH(QString, label_family);
        QFETCH(QString, button_family);
        probe_form form(&m_journal);
        form.number->setToolTip(QStringLiteral("kept"));
        const QFont before = form.label->font();
        form.apply_fonts(language);
        const QFont label = form.label->font();
        QCOMPARE(m_journal, (QStringList{QStringLiteral("update ") + before.family(),
                                         QStringLiteral("fonts_applied ") + label.family()}));
        if (label_family.isEmpty()) {
            QCOMPARE(label, before);
            return;
        }
        QCOMPARE(label.family(), label_family);
        QCOMPARE(label.pixelSize(), 13);
        QCOMPARE(label.weight(), 75);
        QCOMPARE(label.style(), QFont::StyleItalic);
        QCOMPARE(label.letterSpacing(), 2.0);
        QCOMPARE(form.button->font().family(), button_family);
        QCOMPARE(form.label->toolTip(), QStringLiteral("Speed 1"));
        QVERIFY(form.button->toolTip().isEmpty()); // no text, no tip
        QCOMPARE(form.number->toolTip(), QStringLiteral("kept"));
    }

    void bound_form_follows_its_manager_until_it_closes() {
        m_host.center.language = 1;
        const int before = m_host.center.listeners.size();
        auto form = std::make_unique<probe_form>(&m_journal);
        form->bind(module_ctrl_center());
        QCOMPARE(form->label->font().family(), QStringLiteral("WenQuanYi Micro Hei"));
        m_host.center.switch_language(3);
        QCOMPARE(form->label->toolTip(), QStringLiteral("Speed 2")); // the newest translation
        form.reset();
        QCOMPARE(m_host.center.listeners.size(), before);
        // A manager that announced its closing is not used again, not even to leave it.
        fake_center closing;
        form = std::make_unique<probe_form>(&m_journal);
        form->bind(static_cast<listener_mgr_i*>(&closing));
        form->manager_closing(&closing);
        QVERIFY(!form->language_manager());
        form.reset();
        QCOMPARE(closing.listeners.size(), 1);
    }

    // ------------------------------------------------------------ panel layout

    void two_column_layout_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<panel_specs>("specs");
        QTest::addColumn<rects>("expected");
        QTest::addColumn<int>("height");
        QTest::addRow("half, half, full")
            << 1000 << panel_specs{{1, 100}, {1, 150}, {2, 80}}
            << rects{{10, 10, 485, 100}, {505, 10, 485, 150}, {10, 170, 980, 80}} << 260;
        QTest::addRow("no panels") << 1000 << panel_specs{} << rects{} << 10;
        QTest::addRow("equal heights: right stays next while level")
            << 1000 << panel_specs{{1, 100}, {1, 100}, {1, 100}}
            << rects{{10, 10, 485, 100}, {505, 10, 485, 100}, {505, 120, 485, 100}} << 230;
        QTest::addRow("taller right sends the next left")
            << 1000 << panel_specs{{1, 50}, {1, 100}, {1, 100}}
            << rects{{10, 10, 485, 50}, {505, 10, 485, 100}, {10, 70, 485, 100}} << 180;
        QTest::addRow("odd width, span 0 is full")
            << 801 << panel_specs{{1, 100}, {1, 100}, {0, 10, {}}}
            << rects{{10, 10, 385, 100}, {405, 10, 385, 100}, {10, 120, 781, 10}} << 140;
        QTest::addRow("changing_height with a box")
            << 1000 << panel_specs{{1, 100, 40, true}, {2, 50}}
            << rects{{10, 10, 485, 40}, {10, 60, 980, 50}} << 120;
        QTest::addRow("changing_height without a box is ignored")
            << 1000 << panel_specs{{1, 100, 40}} << rects{{10, 10, 485, 100}} << 120;
        QTest::addRow("panel without control is skipped")
            << 1000 << panel_specs{{1, 100, {}, false, false}, {1, 60}}
            << rects{{0, 0, 33, 100}, {10, 10, 485, 60}} << 80;
    }
    void two_column_layout() {
        QFETCH(int, width);
        QFETCH(panel_specs, specs);
        QFETCH(rects, expected);
        QFETCH(int, height);
        QWidget parent;
        auto* form = new QWidget(&parent);
        form->resize(width, 500);
        std::vector<std::unique_ptr<probe_ctrl>> controls;
        std::vector<panel_entry> entries;
        for (const panel_spec& spec : specs) {
            auto* panel = new QWidget(form);
            panel->setGeometry(0, 0, 33, spec.height);
            if (spec.with_box)
                new QWidget(panel);
            if (spec.changing_height.isValid())
                panel->setProperty("changing_height", spec.changing_height);
            controls.push_back(std::make_unique<probe_ctrl>(1, &m_journal, spec.span));
            entries.push_back({panel, spec.with_control ? controls.back().get() : nullptr});
        }
        layout_panels(form, entries);
        for (int i = 0; i < int(entries.size()); ++i)
            QCOMPARE(entries[size_t(i)].panel->geometry(), expected.at(i));
        QCOMPARE(form->minimumHeight(), height);
        QCOMPARE(parent.minimumHeight(), height);
    }

    // A page's form: panels only for the page's own controls, shadowed, laid out on the
    // timer's tick and on a resize while visible, closed in order.
    void page_form_builds_lays_out_and_closes_its_panels() {
        probe_page page;
        probe_ctrl a(1, &m_journal, 1, 120), wide(8, &m_journal, 2, 80);
        page.controls = {{1, &a}, {8, &wide}};
        class form_c : public QWidget, public tab_page_fm_base_c {
        public:
            void resizeEvent(QResizeEvent* event) override {
                QWidget::resizeEvent(event);
                relayout_on_resize(this);
            }
        } form;
        form.resize(600, 50);
        auto* p1 = new QWidget(&form);
        auto* p2 = new QWidget(&form);
        auto* p3 = new QWidget(&form);
        form.add_panel(&page, 1, p1);
        form.add_panel(&page, 5, p2); // the page has no control of type 5
        form.add_panel(&page, 8, p3);
        QCOMPARE(form.panels().size(), size_t(2));
        QCOMPARE(m_journal, (QStringList{"create_box 1", "create_box 8"}));
        form.shadow_panels();
        QVERIFY(qobject_cast<QGraphicsDropShadowEffect*>(p3->graphicsEffect()));
        QVERIFY(!p2->graphicsEffect());

        form.schedule_layout(&form);
        QCOMPARE(p3->y(), 0); // not before the tick
        QTRY_COMPARE(p3->geometry(), QRect(10, 140, 580, 80));
        // A hidden form is not laid out on resize; a visible one is.
        form.resize(1000, 230);
        QCOMPARE(p3->width(), 580);
        form.show();
        form.resize(800, 230);
        QCOMPARE(p3->width(), 780);

        m_journal.clear();
        form.close_panels();
        QCOMPARE(m_journal, (QStringList{"close_box 1", "close_box 8"}));
    }
};

QTEST_MAIN(test_page_framework)
#include "test_page_framework.moc"
