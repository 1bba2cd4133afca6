// The favorites page on a real kernel: its icon tab, filling its form from the marked
// controls without duplicates, removing favourites, layout and closing.
#include "pages_test_support.h"

#include "pages/favorites.h"
#include "pages/favorites_fm.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

class test_favorites : public QObject {
    Q_OBJECT

    fake_host m_host;
    QStringList m_journal;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<journal_kernel> m_kernel;
    std::vector<std::unique_ptr<probe_ctrl>> m_controls;

    favorites_c* page() const {
        return dynamic_cast<favorites_c*>(m_kernel->page(page_type::favorites));
    }
    favorites_fm_c* form() const { return page()->form(); }
    QWidget* panel(size_t i) const { return form()->panels().at(i).panel; }
    QStringList boxes_created() const { return m_journal.filter(QStringLiteral("create_box")); }

    // A control of the kernel's pages, marked as favourite unless told otherwise.
    probe_ctrl* control(int32_t type, int32_t span = 1, int height = 100, bool marked = true) {
        m_controls.push_back(std::make_unique<probe_ctrl>(type, &m_journal, span, height));
        m_controls.back()->set_context(m_kernel.get(), nullptr);
        if (marked)
            m_controls.back()->set_favorite(true);
        return m_controls.back().get();
    }
    // Opens the page and waits for the first layout.
    void open() {
        m_kernel->open_page(page_type::favorites);
        QVERIFY(form());
        QTRY_VERIFY(form()->panels().empty() || panel(0)->pos() == QPoint(10, 10));
        m_journal.clear();
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        quil_init_module(&m_host);
    }
    void cleanupTestCase() { quil_exit_module(); }

    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_window = std::make_unique<QWidget>();
        m_window->resize(1000, 700);
        m_kernel = std::make_unique<journal_kernel>(&m_journal);
        m_kernel->data()->set_favourites_file(m_dir->filePath(QStringLiteral("Quil.ini")));
        m_kernel->data()->favourites().clear();
        m_kernel->attach(&m_host.center, m_window.get());
        m_host.center.shown = m_kernel.get();
        QVERIFY(page());
    }
    void cleanup() {
        m_kernel.reset();
        m_controls.clear();
        m_window.reset();
        m_dir.reset();
        m_journal.clear();
    }

    void page_is_registered_first_with_an_icon_tab() {
        QCOMPARE(m_kernel->page_at(0), static_cast<product_function_page_i*>(page()));
        QCOMPARE(page()->page_id(), 4);
        QVERIFY(!page()->ctrl_funcs(1));
        QVERIFY(query<favorites_function_page_i>(m_kernel->page(page_type::favorites)));
        std::unique_ptr<QPushButton> button(page()->create_tab_button());
        QVERIFY(button->text().isEmpty());
        QVERIFY(button->isCheckable());
        QCOMPARE(button->size(), QSize(64, 34));
        QVERIFY(button->styleSheet().contains(QLatin1String("page_tab/favorite_normal.png")));
        QVERIFY(button->styleSheet().contains(QLatin1String("page_tab/favorite_over.png")));
        QVERIFY(button->styleSheet().contains(QLatin1String("page_tab/favorite_down.png")));
        // No title: a language change keeps the icon's width.
        m_host.center.switch_language(3);
        QCOMPARE(button->width(), 64);
        m_host.center.switch_language(0);
    }

    void empty_page_fills_the_parent_with_height_10() {
        m_kernel->open_page(page_type::favorites);
        QVERIFY(form());
        QCOMPARE(form()->parentWidget(), m_window.get());
        QCOMPARE(form()->minimumWidth(), 1000);
        QVERIFY(m_window->layout()->indexOf(form()) >= 0);
        QTRY_COMPARE(form()->height(), 10);
        QVERIFY(form()->panels().empty());
        // An empty tab says how to add favourites.
        QVERIFY(!form()->empty_hint()->isHidden());
        QVERIFY(form()->empty_hint()->text().contains(QStringLiteral("star")));
    }

    // Items whose control does not exist (yet) hide none of the ones after them; the list
    // gives the order, not the order of marking.
    void every_marked_control_shows_in_list_order_data() {
        QTest::addColumn<QList<int32_t>>("marked");
        QTest::addColumn<QList<int32_t>>("list");
        QTest::addColumn<QStringList>("boxes");
        using L = QList<int32_t>;
        QTest::addRow("the default list before the button page")
            << L{13, 0} << L{1, 2, 13, 8, 7, 0} << QStringList{"create_box 13", "create_box 0"};
        QTest::addRow("types this mouse lacks first")
            << L{3, 4} << L{99, 6, 3, 4} << QStringList{"create_box 3", "create_box 4"};
        QTest::addRow("the list's order")
            << L{0, 3, 4} << L{4, 3, 0}
            << QStringList{"create_box 4", "create_box 3", "create_box 0"};
        QTest::addRow("a listed type twice shows once")
            << L{9} << L{9, 9, 12} << QStringList{"create_box 9"};
    }
    void every_marked_control_shows_in_list_order() {
        QFETCH(QList<int32_t>, marked);
        QFETCH(QList<int32_t>, list);
        for (int32_t type : marked)
            control(type);
        m_kernel->data()->favourites() = list;
        m_kernel->open_page(page_type::favorites);
        QTEST(boxes_created(), "boxes");
        QVERIFY(form()->empty_hint()->isHidden());
    }

    void marked_controls_get_panels_once() {
        probe_ctrl* lighting = control(ctrl_type::lighting, 1, 200);
        probe_ctrl* buttons = control(ctrl_type::button_assignment, 2, 300);
        control(ctrl_type::dpi_switcher);
        QCOMPARE(m_kernel->data()->favourites(), (QList<int32_t>{13, 7, 1}));
        // A listed type without a marked control (an older file) is skipped, and so is a
        // marked control whose type is not listed.
        m_kernel->data()->favourites() = {99, ctrl_type::lighting, ctrl_type::button_assignment};
        m_kernel->open_page(page_type::favorites);
        QCOMPARE(boxes_created(), (QStringList{"create_box 13", "create_box 7"}));
        QCOMPARE(form()->panels().size(), size_t(2));
        QCOMPARE(form()->panels()[1].control, static_cast<ctrl_funcs_i*>(buttons));
        QCOMPARE(lighting->box()->parentWidget(), panel(0));
        QCOMPARE(panel(0)->parentWidget(), static_cast<QWidget*>(form()));
        QVERIFY(qobject_cast<QGraphicsDropShadowEffect*>(panel(0)->graphicsEffect()));
        // Laid out on the timer tick: the wide box goes below the column.
        QTRY_COMPARE(panel(1)->geometry(), QRect(10, 220, 980, 300));
        QCOMPARE(panel(0)->geometry(), QRect(10, 10, 485, 200));
        QCOMPARE(m_window->minimumHeight(), 530);

        // A refresh (kernel notification) adds nothing already shown, only new favourites.
        m_kernel->set_current_profile(1);
        QCOMPARE(boxes_created().size(), 2);
        probe_ctrl* polling = control(ctrl_type::polling_rate);
        QCOMPARE(form()->panels().size(), size_t(2));
        m_kernel->set_current_profile(0);
        QCOMPARE(boxes_created().size(), 3);
        QCOMPARE(form()->panels().size(), size_t(3));
        QCOMPARE(form()->panels()[2].control, static_cast<ctrl_funcs_i*>(polling));
        QVERIFY(panel(2)->graphicsEffect());
    }

    void unmarking_removes_the_panel_and_lays_out() {
        probe_ctrl* dpi = control(ctrl_type::dpi_switcher, 1, 300);
        probe_ctrl* lighting = control(ctrl_type::lighting, 1, 200);
        open();
        QPointer<QWidget> dpi_panel = panel(0);
        QWidget* lighting_panel = panel(1);
        QCOMPARE(lighting_panel->geometry(), QRect(505, 10, 485, 200));

        dpi->set_favorite(false); // as the box's favourite mark does
        QCOMPARE(m_journal,
                 (QStringList{"kernel remove 1", "close_box 1", "favorite_changed 1 0"}));
        QCOMPARE(form()->panels().size(), size_t(1));
        QCOMPARE(form()->panels()[0].control, static_cast<ctrl_funcs_i*>(lighting));
        // Laid out at once, without waiting for a timer.
        QCOMPARE(lighting_panel->geometry(), QRect(10, 10, 485, 200));
        QCOMPARE(form()->height(), 220);
        QTRY_VERIFY(!dpi_panel);

        // A control that is not shown: nothing but the layout.
        lighting_panel->move(321, 123);
        m_journal.clear();
        page()->remove_favorite(control(ctrl_type::polling_rate, 1, 100, false));
        QVERIFY(m_journal.isEmpty());
        QCOMPARE(form()->panels().size(), size_t(1));
        QCOMPARE(lighting_panel->geometry(), QRect(10, 10, 485, 200));
    }

    void closing_closes_the_boxes_and_destroys_the_form() {
        control(ctrl_type::dpi_switcher);
        control(ctrl_type::lighting);
        open();
        QPointer<favorites_fm_c> first = form();
        m_kernel->close_page();
        QCOMPARE(m_journal, (QStringList{"close_box 1", "close_box 13"}));
        QVERIFY(!first);
        QVERIFY(!page()->form());
        QVERIFY(m_window->findChildren<favorites_fm_c*>().isEmpty());
        // Opening again builds a new form with new boxes.
        m_journal.clear();
        m_kernel->open_page(page_type::favorites);
        QCOMPARE(boxes_created(), (QStringList{"create_box 1", "create_box 13"}));
    }

    void relayout_on_timer_ticks_and_visible_resize() {
        control(ctrl_type::dpi_switcher);
        control(ctrl_type::lighting);
        open();
        QWidget* right = panel(1);
        QCOMPARE(right->pos(), QPoint(505, 10));
        right->move(400, 400);
        QVERIFY(!form()->relayout_timer()->isActive());
        form()->relayout_timer()->start(5);
        QTRY_COMPARE(right->pos(), QPoint(505, 10));
        form()->relayout_timer()->stop();
        // A resize lays out only while the form is visible.
        form()->setMinimumSize(0, 0);
        form()->resize(800, 700);
        QCOMPARE(right->pos(), QPoint(505, 10));
        m_window->show();
        form()->resize(600, 700);
        QCOMPARE(right->geometry(), QRect(305, 10, 285, 100));
    }

    // Resets, adding and refreshing are not the favorites page's business; without a form
    // or a parent there is nothing to fill or to remove from.
    void page_does_nothing_else() {
        probe_ctrl* lighting = control(ctrl_type::lighting);
        m_journal.clear();
        page()->remove_favorite(lighting);
        favorites_c orphan(m_kernel.get());
        orphan.set_parent_widget(nullptr);
        orphan.open_page();
        QVERIFY(!orphan.form());
        orphan.update();
        QVERIFY(!form());
        QVERIFY(m_journal.isEmpty());
        open();
        page()->init();
        page()->reset_all();
        page()->reset_profile(0, true);
        page()->reset_ctrl(lighting);
        page()->add_favorite(lighting);
        QVERIFY(m_journal.isEmpty());
        QCOMPARE(form()->panels().size(), size_t(1));
    }
};

QTEST_MAIN(test_favorites)
#include "test_favorites.moc"
