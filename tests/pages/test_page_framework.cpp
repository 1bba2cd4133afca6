// The page framework: the page base and its tab button, the control base, the form base
// with its fonts per language, and the two-column panel layout.
#include "pages_test_support.h"

#include "common/utilities.h"

#include "pages/form_base.h"
#include "pages/tab_button.h"
#include "pages/tab_page_fm_base.h"
#include "pages/zarek_page_base.h"

#include <QCheckBox>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

namespace {

// A page as the concrete pages are written: a refresh and a title that follows the language.
class title_page final : public zarek_page_base_c {
public:
    explicit title_page(product_kernel_i* kernel)
        : zarek_page_base_c(kernel) {}
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
        : m_journal(journal) {
        label = new QLabel(this);
        button = new QPushButton(this);
        empty_label = new QLabel(this);
        number = new QSpinBox(this);
        set_widget_font(label, QStringLiteral("DejaVu Sans"), 13, 2, true, QFont::StyleItalic);
        set_widget_font(button, QStringLiteral("DejaVu Serif"), 11, 0, false);
        set_widget_font(empty_label, QStringLiteral("DejaVu Sans"), 12, 0, false);
        set_widget_font(number, QStringLiteral("DejaVu Sans Mono"), 12, 1, false);
    }
    void update() override {
        m_journal->append(QStringLiteral("update %1").arg(label->font().family()));
        label->setText(QStringLiteral("Speed %1").arg(++translations));
        button->setText(QStringLiteral("&Reset"));
    }
    void fonts_applied() override {
        m_journal->append(QStringLiteral("fonts_applied %1").arg(label->font().family()));
    }

    QLabel* label;
    QPushButton* button;
    QLabel* empty_label;
    QSpinBox* number;
    int translations = 0;

private:
    QStringList* m_journal;
};

// A listener manager that only counts.
class counting_manager final : public listener_mgr_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return (iid == iid_interface_i || iid == iid_listener_mgr_i) ? this : nullptr;
    }
    void release() override {}
    void add_listener(listener_i*) override { ++added; }
    void remove_listener(listener_i*) override { ++removed; }
    int added = 0;
    int removed = 0;
};

struct panel_spec {
    int span;
    int height;
    QVariant changing_height; // set as property when valid
    bool with_child;
    bool with_control;
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
        m_host.center.texts.table[0] = {{27, QStringLiteral("Main")},
                                        {28, QStringLiteral("Buttons")}};
        m_host.center.texts.table[3] = {{27, QStringLiteral("Haupteinstellungen")},
                                        {28, QString()}};
    }
    void cleanupTestCase() { quil_exit_module(); }
    void init() {
        m_journal.clear();
        m_host.center.language = 0;
        m_host.center.with_texts = true;
        m_host.center.shown = nullptr;
    }

    // ------------------------------------------------------------ page base

    void page_listens_to_kernel_and_centre_while_it_lives() {
        auto kernel = attached_kernel();
        const int centre_before = m_host.center.listeners.size();
        auto* page = new title_page(kernel.get());
        auto* as_listener = query<listener_i>(static_cast<listener_i*>(page));
        QVERIFY(kernel->kernel_listeners().contains(as_listener));
        QVERIFY(m_host.center.listeners.contains(as_listener));
        QCOMPARE(m_host.center.listeners.size(), centre_before + 1);
        page->release();
        QVERIFY(!kernel->kernel_listeners().contains(as_listener));
        QCOMPARE(m_host.center.listeners.size(), centre_before);
    }

    void page_answers_its_interfaces() {
        auto kernel = attached_kernel();
        std::unique_ptr<title_page> page(new title_page(kernel.get()));
        interface_i* identity = page->query_interface(iid_interface_i);
        QCOMPARE(identity, static_cast<interface_i*>(static_cast<listener_i*>(page.get())));
        for (const GUID& iid : {iid_listener_i, iid_language_listener_i, iid_ctrl_center_listener_i,
                                iid_product_kernel_listener_i}) {
            interface_i* sub = page->query_interface(iid);
            QVERIFY(sub);
            QCOMPARE(sub->query_interface(iid_interface_i), identity);
        }
        QVERIFY(!page->query_interface(iid_product_function_page_i));
    }

    void kernel_notifications_refresh_the_page_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("refreshes");
        QTest::addRow("kind 1 current profile") << 1 << 1;
        QTest::addRow("kind 0 data") << 0 << 1;
        QTest::addRow("kind 2 full reset") << 2 << 0;
    }
    void kernel_notifications_refresh_the_page() {
        QFETCH(int, kind);
        QFETCH(int, refreshes);
        auto kernel = attached_kernel();
        std::unique_ptr<title_page> page(new title_page(kernel.get()));
        // Delivered the way the kernel delivers them: through the listener interface.
        auto* listener = query<product_kernel_listener_i>(static_cast<listener_i*>(page.get()));
        QVERIFY(listener);
        if (kind == 1)
            listener->current_profile_changed();
        else if (kind == 0)
            listener->data_changed();
        else
            listener->everything_reset();
        QCOMPARE(page->refreshes, refreshes);
    }

    void switching_profile_in_the_kernel_refreshes_the_page() {
        auto kernel = attached_kernel();
        std::unique_ptr<title_page> page(new title_page(kernel.get()));
        kernel->set_current_profile(2);
        QCOMPARE(page->refreshes, 1);
    }

    void tab_button_has_the_page_look() {
        auto kernel = attached_kernel();
        std::unique_ptr<title_page> page(new title_page(kernel.get()));
        std::unique_ptr<QPushButton> button(page->make_tab_button());
        QCOMPARE(button.get(), page->tab_button());
        QCOMPARE(button->text(), QStringLiteral("Main"));
        QVERIFY(button->isCheckable());
        QCOMPARE(button->minimumHeight(), 34);
        QCOMPARE(button->maximumHeight(), 34);
        const QString style = button->styleSheet();
        for (const char* image : {"tab_normal", "tab_hover", "tab_down"}) {
            QVERIFY2(
                style.contains(QStringLiteral("border-image: url(://graphics/page_tab/%1.png);")
                                   .arg(QLatin1String(image))),
                image);
        }
        for (const char* colour : {"#505050", "#8a8a8a", "#bcbcbc"})
            QVERIFY2(style.contains(QLatin1String(colour)), colour);
        QVERIFY(!style.contains(QLatin1String("favorite")));
    }

    void tab_style_pairs_each_state_with_its_image_data() {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("colour");
        QTest::addRow("normal") << "QPushButton {"
                                << "tab_normal"
                                << "#505050";
        QTest::addRow("unchecked") << "QPushButton:!checked {"
                                   << "tab_normal"
                                   << "#505050";
        QTest::addRow("hover") << "QPushButton:hover {"
                               << "tab_hover"
                               << "#8a8a8a";
        QTest::addRow("checked") << "QPushButton:checked {"
                                 << "tab_down"
                                 << "#bcbcbc";
    }
    void tab_style_pairs_each_state_with_its_image() {
        QFETCH(QString, selector);
        QFETCH(QString, image);
        QFETCH(QString, colour);
        const QString style = tab_button_style(text_tab_images());
        const int at = style.indexOf(selector);
        QVERIFY(at >= 0);
        const QString rule = style.mid(at, style.indexOf(QLatin1Char('}'), at) - at);
        QVERIFY2(rule.contains(QStringLiteral("url(://graphics/page_tab/%1.png)").arg(image)),
                 qPrintable(rule));
        QVERIFY2(rule.contains(colour), qPrintable(rule));
    }

    void checked_tab_wins_over_hover() {
        // Style rules of equal weight: the later one wins, so checked must come last.
        const QString style = tab_button_style(text_tab_images());
        QVERIFY(style.indexOf(QLatin1String(":hover")) < style.indexOf(QLatin1String(":checked")));
        QVERIFY(style.indexOf(QLatin1String(":!checked")) < style.indexOf(QLatin1String(":hover")));
    }

    void tab_title_is_empty_without_text_provider() {
        m_host.center.with_texts = false;
        auto kernel = attached_kernel();
        std::unique_ptr<title_page> page(new title_page(kernel.get()));
        std::unique_ptr<QPushButton> button(page->make_tab_button());
        QVERIFY(button->text().isEmpty());
    }

    void language_change_fits_the_tab_width_data() {
        QTest::addColumn<int>("text_id");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("keeps_width");
        QTest::addRow("english") << 27 << 0 << "Main" << false;
        QTest::addRow("german, longer") << 27 << 3 << "Haupteinstellungen" << false;
        QTest::addRow("empty title keeps width") << 28 << 3 << "" << true;
        QTest::addRow("unknown text keeps width") << 99 << 0 << "" << true;
    }
    void language_change_fits_the_tab_width() {
        QFETCH(int, text_id);
        QFETCH(int, language);
        QFETCH(QString, title);
        QFETCH(bool, keeps_width);
        auto kernel = attached_kernel();
        std::unique_ptr<title_page> page(new title_page(kernel.get()));
        page->text_id = text_id;
        std::unique_ptr<QPushButton> button(page->make_tab_button());
        button->setFixedWidth(77);
        m_host.center.switch_language(language);
        QCOMPARE(button->text(), title);
        if (keeps_width)
            QCOMPARE(button->width(), 77);
        else
            QCOMPARE(button->width(), button->fontMetrics().horizontalAdvance(title) + 48);
        QCOMPARE(button->minimumWidth(), button->maximumWidth());
    }

    void tab_button_destroyed_by_host_is_forgotten() {
        auto kernel = attached_kernel();
        std::unique_ptr<title_page> page(new title_page(kernel.get()));
        delete page->make_tab_button();
        QVERIFY(!page->tab_button());
        m_host.center.switch_language(3); // must not touch the destroyed button
    }

    void tab_button_is_forgotten_when_another_kernel_shows_data() {
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("kept");
        QTest::addRow("own kernel") << 0 << true;
        QTest::addRow("other kernel") << 1 << false;
        QTest::addRow("no kernel") << 2 << false;
    }
    void tab_button_is_forgotten_when_another_kernel_shows() {
        QFETCH(int, shown);
        QFETCH(bool, kept);
        auto kernel = attached_kernel();
        auto other = std::make_unique<journal_kernel>(&m_journal);
        std::unique_ptr<title_page> page(new title_page(kernel.get()));
        std::unique_ptr<QPushButton> button(page->make_tab_button());
        QPointer<QPushButton> guard(button.get());
        product_kernel_i* kernels[] = {kernel.get(), other.get(), nullptr};
        m_host.center.show_kernel(kernels[shown]);
        QCOMPARE(page->tab_button() != nullptr, kept);
        QVERIFY(guard); // forgetting never destroys: the host owns it
        // A forgotten button no longer follows the language.
        button->setFixedWidth(5);
        m_host.center.switch_language(3);
        QCOMPARE(button->width() != 5, kept);
    }

    void current_profile_slot_falls_back_to_zero_data() {
        QTest::addColumn<int>("reported");
        QTest::addColumn<int>("used");
        QTest::addRow("none") << 0xFF << 0;
        QTest::addRow("slot 0") << 0 << 0;
        QTest::addRow("slot 4") << 4 << 4;
    }
    void current_profile_slot_falls_back_to_zero() {
        QFETCH(int, reported);
        QFETCH(int, used);
        m_host.center.slot = uint8_t(reported);
        QCOMPARE(int(zarek_page_base_c::current_profile_slot()), used);
        m_host.center.slot = 0xFF;
    }

    // ------------------------------------------------------------ control base

    void favourite_mark_reaches_kernel_only_on_change_data() {
        QTest::addColumn<QList<bool>>("marks");
        QTest::addColumn<QStringList>("journal");
        QTest::addRow("set once") << QList<bool>{true}
                                  << QStringList{"kernel add 13", "favorite_changed 13 1"};
        QTest::addRow("set twice")
            << QList<bool>{true, true} << QStringList{"kernel add 13", "favorite_changed 13 1"};
        QTest::addRow("clear unset") << QList<bool>{false} << QStringList{};
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
        // The kernel keeps the type in its favourites list and the control as favourite control.
        QCOMPARE(kernel->data()->favourites().contains(ctrl_type::lighting), marks.last());
        QCOMPARE(kernel->favorite_ctrl_count(), marks.last() ? 1 : 0);
    }

    void favourite_mark_without_kernel_runs_only_the_hook() {
        probe_ctrl ctrl(ctrl_type::dpi_switcher, &m_journal);
        ctrl.set_favorite(true);
        QVERIFY(ctrl.is_favorite());
        QCOMPARE(m_journal, QStringList{"favorite_changed 1 1"});
    }

    void control_answers_its_interfaces() {
        probe_ctrl ctrl(7, &m_journal, 2);
        interface_i* identity = ctrl.query_interface(iid_interface_i);
        QCOMPARE(identity, static_cast<interface_i*>(static_cast<ctrl_funcs_i*>(&ctrl)));
        for (const GUID& iid :
             {iid_ctrl_funcs_i, iid_listener_mgr_i, iid_ctrl_funcs_box_fm_client_i}) {
            interface_i* sub = ctrl.query_interface(iid);
            QVERIFY(sub);
            QCOMPARE(sub->query_interface(iid_interface_i), identity);
        }
        QVERIFY(!ctrl.query_interface(iid_listener_i));
        QCOMPARE(ctrl.box_span(), 2);
    }

    void listeners_are_kept_once() {
        probe_ctrl ctrl(1, &m_journal);
        probe_listener a(QStringLiteral("a")), b(QStringLiteral("b"));
        interface_i* manager = static_cast<ctrl_funcs_i*>(&ctrl);
        connect_listener(manager, static_cast<listener_i*>(&a));
        connect_listener(manager, static_cast<listener_i*>(&a));
        connect_listener(manager, static_cast<listener_i*>(&b));
        ctrl.add_listener(nullptr);
        QCOMPARE(ctrl.listeners(), (QList<listener_i*>{&a, &b}));
        probe_listener absent(QStringLiteral("c"));
        disconnect_listener(manager, static_cast<listener_i*>(&absent));
        QCOMPARE(ctrl.listeners().size(), 2);
        disconnect_listener(manager, static_cast<listener_i*>(&a));
        QCOMPARE(ctrl.listeners(), QList<listener_i*>{&b});
        ctrl.remove_listener(&b);
        QVERIFY(ctrl.listeners().isEmpty());
    }

    void destroyed_control_tells_remaining_listeners() {
        probe_listener a(QStringLiteral("a")), b(QStringLiteral("b")), c(QStringLiteral("c"));
        a.journal = b.journal = c.journal = &m_journal;
        listener_mgr_i* manager = nullptr;
        {
            auto ctrl = std::make_unique<probe_ctrl>(1, &m_journal);
            manager = query<listener_mgr_i>(static_cast<ctrl_funcs_i*>(ctrl.get()));
            for (probe_listener* l : {&a, &b, &c})
                connect_listener(static_cast<ctrl_funcs_i*>(ctrl.get()),
                                 static_cast<listener_i*>(l));
            disconnect_listener(static_cast<ctrl_funcs_i*>(ctrl.get()),
                                static_cast<listener_i*>(&b));
        }
        QCOMPARE(m_journal, (QStringList{"a closing", "c closing"}));
        QCOMPARE(a.closing, QList<listener_mgr_i*>{manager});
        QVERIFY(b.closing.isEmpty());
    }

    void for_each_listener_reaches_those_with_the_interface() {
        probe_ctrl ctrl(1, &m_journal);
        probe_listener plain(QStringLiteral("plain")), first(QStringLiteral("first"), true),
            second(QStringLiteral("second"), true);
        for (probe_listener* l : {&first, &plain, &second}) {
            l->journal = &m_journal;
            ctrl.add_listener(l);
        }
        ctrl.for_each_listener<dpi_switcher_ctrl_funcs_listener_i>(
            [](dpi_switcher_ctrl_funcs_listener_i* l) { l->step_enabled_changed(3, true); });
        QCOMPARE(m_journal, (QStringList{"first step 3 1", "second step 3 1"}));
    }

    void reset_request_goes_to_the_page() {
        probe_ctrl ctrl(5, &m_journal);
        auto* client = query<ctrl_funcs_box_fm_client_i>(static_cast<ctrl_funcs_i*>(&ctrl));
        QVERIFY(client);
        client->reset_requested(); // no page yet: nothing to reach
        probe_page page;
        ctrl.set_context(nullptr, &page);
        QCOMPARE(ctrl.page(), static_cast<product_function_page_i*>(&page));
        client->reset_requested();
        QCOMPARE(page.resets, QList<ctrl_funcs_i*>{&ctrl});
    }

    // ------------------------------------------------------------ form base

    void fonts_follow_the_language_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("label_family");
        QTest::addColumn<QString>("button_family");
        QTest::addRow("language 0") << 0 << "DejaVu Sans"
                                    << "DejaVu Serif";
        QTest::addRow("language 1") << 1 << "WenQuanYi Micro Hei"
                                    << "WenQuanYi Micro Hei";
        QTest::addRow("language 2") << 2 << language_2_family << language_2_family;
        QTest::addRow("language 3") << 3 << "DejaVu Sans"
                                    << "DejaVu Serif";
        QTest::addRow("language 16") << 16 << "DejaVu Sans"
                                     << "DejaVu Serif";
    }
    void fonts_follow_the_language() {
        QFETCH(int, language);
        QFETCH(QString, label_family);
        QFETCH(QString, button_family);
        probe_form form(&m_journal);
        form.apply_fonts(language);
        const QFont label = form.label->font();
        QCOMPARE(label.family(), label_family);
        QCOMPARE(label.pixelSize(), 13);
        QCOMPARE(label.weight(), 75);
        QCOMPARE(label.style(), QFont::StyleItalic);
        QCOMPARE(label.kerning(), false);
        QCOMPARE(label.styleStrategy(), QFont::PreferAntialias);
        QCOMPARE(label.letterSpacingType(), QFont::AbsoluteSpacing);
        QCOMPARE(label.letterSpacing(), 2.0);
        const QFont button = form.button->font();
        QCOMPARE(button.family(), button_family);
        QCOMPARE(button.pixelSize(), 11);
        QCOMPARE(button.weight(), 50);
        QCOMPARE(button.style(), QFont::StyleNormal);
        QCOMPARE(form.number->font().letterSpacing(), 1.0);
    }

    void applying_translates_first_and_reports_last() {
        probe_form form(&m_journal);
        const QString before = form.label->font().family();
        form.apply_fonts(1);
        QCOMPARE(m_journal, (QStringList{QStringLiteral("update ") + before,
                                         QStringLiteral("fonts_applied WenQuanYi Micro Hei")}));
    }

    void texts_become_tool_tips() {
        probe_form form(&m_journal);
        form.number->setToolTip(QStringLiteral("kept"));
        form.apply_fonts(3);
        QCOMPARE(form.label->toolTip(), QStringLiteral("Speed 1"));
        QCOMPARE(form.button->toolTip(), QStringLiteral("&Reset"));
        QVERIFY(form.empty_label->toolTip().isEmpty());
        QCOMPARE(form.number->toolTip(), QStringLiteral("kept"));
        // The tool tip follows the newest translation.
        form.apply_fonts(0);
        QCOMPARE(form.label->toolTip(), QStringLiteral("Speed 2"));
    }

    void language_without_records_changes_no_font() {
        probe_form form(&m_journal);
        const QFont before = form.label->font();
        form.apply_fonts(17);
        QCOMPARE(form.label->font(), before);
        QVERIFY(form.label->toolTip().isEmpty());
        QCOMPARE(m_journal.size(), 2); // update and fonts_applied still run
        QVERIFY(m_journal.first().startsWith(QLatin1String("update")));
        QVERIFY(m_journal.last().startsWith(QLatin1String("fonts_applied")));
    }

    void records_cover_languages_0_to_16() {
        probe_form form(&m_journal);
        const auto& table = form.font_table();
        QCOMPARE(int(table.size()), 17);
        QCOMPARE(table.begin()->first, 0);
        QCOMPARE(table.rbegin()->first, 16);
        for (const auto& [language, records] : table) {
            QCOMPARE(int(records.size()), 4);
            // Registration order is kept.
            QCOMPARE(records.front().widget.data(), static_cast<QWidget*>(form.label));
            QCOMPARE(records.back().widget.data(), static_cast<QWidget*>(form.number));
            Q_UNUSED(language);
        }
    }

    void destroyed_widget_is_skipped() {
        probe_form form(&m_journal);
        delete form.button;
        form.button = new QPushButton(&form);
        form.apply_fonts(1);
        QVERIFY(form.button->font().family() != QLatin1String("WenQuanYi Micro Hei"));
        QCOMPARE(form.label->font().family(), QStringLiteral("WenQuanYi Micro Hei"));
    }

    void bound_form_follows_the_centre() {
        m_host.center.language = 1;
        const int before = m_host.center.listeners.size();
        auto form = std::make_unique<probe_form>(&m_journal);
        form->bind(module_ctrl_center());
        QCOMPARE(form->language_manager(), static_cast<listener_mgr_i*>(&m_host.center));
        QCOMPARE(m_host.center.listeners.size(), before + 1);
        QCOMPARE(form->label->font().family(), QStringLiteral("WenQuanYi Micro Hei"));
        m_host.center.switch_language(3);
        QCOMPARE(form->label->font().family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(form->translations, 2);
        form.reset();
        QCOMPARE(m_host.center.listeners.size(), before);
    }

    void binding_to_an_object_without_manager_applies_nothing() {
        probe_form form(&m_journal);
        probe_listener not_a_manager(QStringLiteral("x"));
        form.bind(static_cast<listener_i*>(&not_a_manager));
        QVERIFY(!form.language_manager());
        QVERIFY(m_journal.isEmpty());
        form.language_changed(nullptr, nullptr); // no source: nothing
        QVERIFY(m_journal.isEmpty());
    }

    void closed_manager_is_not_used_again() {
        counting_manager manager;
        {
            probe_form form(&m_journal);
            form.bind(&manager);
            QCOMPARE(manager.added, 1);
            form.manager_closing(&manager);
            QVERIFY(!form.language_manager());
        }
        QCOMPARE(manager.removed, 0);
        {
            probe_form form(&m_journal);
            form.bind(&manager);
        }
        QCOMPARE(manager.removed, 1);
    }

    // ------------------------------------------------------------ panel layout

    void two_column_layout_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<panel_specs>("specs");
        QTest::addColumn<rects>("expected");
        QTest::addColumn<int>("height");
        const QVariant none;
        QTest::addRow("half, half, full")
            << 1000
            << panel_specs{{1, 100, none, false, true},
                           {1, 150, none, false, true},
                           {2, 80, none, false, true}}
            << rects{{10, 10, 485, 100}, {505, 10, 485, 150}, {10, 170, 980, 80}} << 260;
        QTest::addRow("no panels") << 1000 << panel_specs{} << rects{} << 10;
        QTest::addRow("tall left fills the right column")
            << 1000
            << panel_specs{{1, 300, none, false, true},
                           {1, 100, none, false, true},
                           {1, 100, none, false, true}}
            << rects{{10, 10, 485, 300}, {505, 10, 485, 100}, {505, 120, 485, 100}} << 320;
        QTest::addRow("equal heights: right stays next while level")
            << 1000
            << panel_specs{{1, 100, none, false, true},
                           {1, 100, none, false, true},
                           {1, 100, none, false, true},
                           {1, 100, none, false, true}}
            << rects{{10, 10, 485, 100},
                     {505, 10, 485, 100},
                     {505, 120, 485, 100},
                     {10, 120, 485, 100}}
            << 230;
        QTest::addRow("taller right sends the next left")
            << 1000
            << panel_specs{{1, 50, none, false, true},
                           {1, 100, none, false, true},
                           {1, 100, none, false, true}}
            << rects{{10, 10, 485, 50}, {505, 10, 485, 100}, {10, 70, 485, 100}} << 180;
        QTest::addRow("full first, then half")
            << 1000 << panel_specs{{2, 100, none, false, true}, {1, 50, none, false, true}}
            << rects{{10, 10, 980, 100}, {10, 120, 485, 50}} << 180;
        QTest::addRow("full resets the flag")
            << 1000
            << panel_specs{{1, 100, none, false, true},
                           {2, 40, none, false, true},
                           {1, 30, none, false, true}}
            << rects{{10, 10, 485, 100}, {10, 120, 980, 40}, {10, 170, 485, 30}} << 210;
        QTest::addRow("odd width")
            << 801
            << panel_specs{{1, 100, none, false, true},
                           {1, 100, none, false, true},
                           {0, 10, none, false, true}}
            << rects{{10, 10, 385, 100}, {405, 10, 385, 100}, {10, 120, 781, 10}} << 140;
        QTest::addRow("changing_height with a box")
            << 1000 << panel_specs{{1, 100, 40, true, true}, {2, 50, none, false, true}}
            << rects{{10, 10, 485, 40}, {10, 60, 980, 50}} << 120;
        QTest::addRow("changing_height as text number")
            << 1000 << panel_specs{{1, 100, QStringLiteral("64"), true, true}}
            << rects{{10, 10, 485, 64}} << 84;
        QTest::addRow("changing_height without a box is ignored")
            << 1000 << panel_specs{{1, 100, 40, false, true}} << rects{{10, 10, 485, 100}} << 120;
        QTest::addRow("changing_height not a number is ignored")
            << 1000 << panel_specs{{1, 100, QStringLiteral("tall"), true, true}}
            << rects{{10, 10, 485, 100}} << 120;
        QTest::addRow("panel without control is skipped")
            << 1000 << panel_specs{{1, 100, none, false, false}, {1, 60, none, false, true}}
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
            if (spec.with_child)
                new QWidget(panel);
            if (spec.changing_height.isValid())
                panel->setProperty("changing_height", spec.changing_height);
            controls.push_back(std::make_unique<probe_ctrl>(1, &m_journal, spec.span));
            entries.push_back({panel, spec.with_control ? controls.back().get() : nullptr});
        }
        layout_panels(form, entries);
        for (int i = 0; i < int(entries.size()); ++i)
            QCOMPARE(entries[size_t(i)].panel->geometry(), expected.at(i));
        QCOMPARE(form->height(), height);
        QCOMPARE(form->minimumHeight(), height);
        QCOMPARE(form->width(), width);
        QCOMPARE(parent.minimumHeight(), height);
    }

    void form_takes_its_place_in_the_parent() {
        QWidget bare;
        auto* form = new QWidget(&bare);
        place_in_parent_grid(form);
        place_in_parent_grid(form);
        auto* grid = qobject_cast<QGridLayout*>(bare.layout());
        QVERIFY(grid);
        QCOMPARE(grid->count(), 1);
        QCOMPARE(grid->spacing(), 0);
        QCOMPARE(grid->contentsMargins(), QMargins());
        int row = -1, column = -1, rows = 0, columns = 0;
        grid->getItemPosition(grid->indexOf(form), &row, &column, &rows, &columns);
        QCOMPARE(QPoint(row, column), QPoint(0, 0));

        // A host area with another layout still shows the form.
        QWidget boxed;
        auto* column_layout = new QVBoxLayout(&boxed);
        column_layout->addWidget(new QLabel(QStringLiteral("header")));
        auto* second = new QWidget(&boxed);
        place_in_parent_grid(second);
        QCOMPARE(boxed.layout(), static_cast<QLayout*>(column_layout));
        QCOMPARE(column_layout->indexOf(second), 1);

        QWidget orphan;
        place_in_parent_grid(&orphan); // no parent: nothing to do
        QVERIFY(!orphan.layout());
        place_in_parent_grid(nullptr);
    }

    void page_form_adds_only_existing_controls() {
        probe_page page;
        probe_ctrl dpi(1, &m_journal), wide(8, &m_journal, 2);
        page.controls = {{1, &dpi}, {8, &wide}};
        QWidget form;
        form.resize(1000, 400);
        tab_page_fm_base_c base;
        auto* p1 = new QWidget(&form);
        auto* p2 = new QWidget(&form);
        auto* p3 = new QWidget(&form);
        base.add_panel(&page, 8, p1);
        base.add_panel(&page, 5, p2); // the page has no control of type 5
        base.add_panel(nullptr, 1, p3);
        base.add_panel(&page, 1, nullptr);
        base.add_panel(&page, 1, p3);
        QCOMPARE(base.panels().size(), size_t(2));
        QCOMPARE(base.panels()[0].panel.data(), p1);
        QCOMPARE(base.panels()[1].control, static_cast<ctrl_funcs_i*>(&dpi));
        QCOMPARE(m_journal, (QStringList{"create_box 8", "create_box 1"}));
        QCOMPARE(dpi.box()->parentWidget(), p3);

        base.shadow_panels();
        auto* shadow = qobject_cast<QGraphicsDropShadowEffect*>(p1->graphicsEffect());
        QVERIFY(shadow);
        QCOMPARE(shadow->offset(), QPointF(2, 2));
        QVERIFY(qobject_cast<QGraphicsDropShadowEffect*>(p3->graphicsEffect()));
        QVERIFY(!p2->graphicsEffect());

        m_journal.clear();
        base.close_panels();
        QCOMPARE(m_journal, (QStringList{"close_box 8", "close_box 1"}));
    }

    void page_form_lays_out_on_the_timer_and_on_resize() {
        probe_page page;
        probe_ctrl a(1, &m_journal, 1, 120), b(2, &m_journal, 1, 80);
        page.controls = {{1, &a}, {2, &b}};
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
        form.add_panel(&page, 1, p1);
        form.add_panel(&page, 2, p2);
        form.schedule_layout(&form);
        QCOMPARE(p2->x(), 0); // not before the tick
        QTRY_COMPARE(p2->geometry(), QRect(305, 10, 285, 80));
        QCOMPARE(form.height(), 140);
        // A hidden form is not laid out on resize; a visible one is.
        form.resize(1000, 140);
        QCOMPARE(p2->geometry(), QRect(305, 10, 285, 80));
        form.show();
        form.resize(800, 140);
        QCOMPARE(p2->geometry(), QRect(405, 10, 385, 80));
    }
};

QTEST_MAIN(test_page_framework)
#include "test_page_framework.moc"
