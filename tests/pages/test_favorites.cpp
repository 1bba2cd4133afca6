// The favorites page on a real kernel: its icon tab, filling its form from the marked
// controls without duplicates, removing favourites, layout and closing.
#include "pages_test_support.h"

#include "pages/favorites.h"
#include "pages/favorites_fm.h"

#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
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

    // A control of the given type that belongs to the kernel's pages.
    probe_ctrl* control(int32_t type, int32_t span = 1, int height = 100) {
        m_controls.push_back(std::make_unique<probe_ctrl>(type, &m_journal, span, height));
        m_controls.back()->set_context(m_kernel.get(), nullptr);
        return m_controls.back().get();
    }

    favorites_fm_c* form() const { return page()->form(); }

    QStringList boxes_created() const { return m_journal.filter(QStringLiteral("create_box")); }

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
        m_journal.clear();
    }
    void cleanup() {
        m_kernel.reset();
        m_controls.clear();
        m_window.reset();
        m_dir.reset();
    }

    void page_is_registered_first_as_type_4() {
        QCOMPARE(m_kernel->page_at(0), static_cast<product_function_page_i*>(page()));
        QCOMPARE(page()->page_id(), 4);
        QVERIFY(!page()->ctrl_funcs(1));
        QVERIFY(query<favorites_function_page_i>(m_kernel->page(page_type::favorites)));
    }

    void tab_button_is_an_icon() {
        std::unique_ptr<QPushButton> button(page()->create_tab_button());
        QVERIFY(button->text().isEmpty());
        QVERIFY(button->isCheckable());
        QCOMPARE(button->width(), 64);
        QCOMPARE(button->height(), 34);
        const QString style = button->styleSheet();
        for (const char* image : {"favorite_normal", "favorite_over", "favorite_down"})
            QVERIFY2(
                style.contains(
                    QStringLiteral("url(://graphics/page_tab/%1.png)").arg(QLatin1String(image))),
                image);
        QVERIFY(!style.contains(QLatin1String("tab_normal")));
        // No title: a language change keeps the icon's width.
        m_host.center.switch_language(3);
        QCOMPARE(button->width(), 64);
        m_host.center.switch_language(0);
    }

    void empty_page_has_height_10() {
        m_kernel->open_page(page_type::favorites);
        QVERIFY(form());
        QCOMPARE(form()->objectName(), QStringLiteral("favorites_fm_c"));
        QVERIFY(form()->isVisible() || !m_window->isVisible());
        QTRY_COMPARE(form()->height(), 10);
        QVERIFY(form()->panels().empty());
    }

    void form_fills_the_parent_grid() {
        m_kernel->open_page(page_type::favorites);
        auto* grid = qobject_cast<QGridLayout*>(m_window->layout());
        QVERIFY(grid);
        QCOMPARE(grid->spacing(), 0);
        QCOMPARE(grid->contentsMargins(), QMargins());
        int row = -1, column = -1, rows = 0, columns = 0;
        grid->getItemPosition(grid->indexOf(form()), &row, &column, &rows, &columns);
        QCOMPARE(row, 0);
        QCOMPARE(column, 0);
        QCOMPARE(form()->minimumSize(), QSize(1000, 700));
        // A second form on the same parent joins the grid once, at the same place.
        m_kernel->close_page();
        m_kernel->open_page(page_type::favorites);
        QCOMPARE(grid->count(), 1);
    }

    void marked_controls_get_panels_once() {
        probe_ctrl* lighting = control(ctrl_type::lighting, 1, 200);
        probe_ctrl* buttons = control(ctrl_type::button_assignment, 2, 300);
        lighting->set_favorite(true);
        buttons->set_favorite(true);
        QCOMPARE(m_kernel->data()->favourites(), (QList<int32_t>{13, 7}));
        m_kernel->open_page(page_type::favorites);
        QCOMPARE(boxes_created(), (QStringList{"create_box 13", "create_box 7"}));
        QCOMPARE(form()->panels().size(), size_t(2));
        QWidget* lighting_panel = form()->panels()[0].panel;
        QCOMPARE(lighting->box()->parentWidget(), lighting_panel);
        QCOMPARE(lighting_panel->parentWidget(), static_cast<QWidget*>(form()));
        QVERIFY(qobject_cast<QGraphicsDropShadowEffect*>(lighting_panel->graphicsEffect()));
        // Laid out on the timer tick: the wide box goes below the column.
        QTRY_COMPARE(form()->panels()[1].panel->geometry(), QRect(10, 220, 980, 300));
        QCOMPARE(lighting_panel->geometry(), QRect(10, 10, 485, 200));
        QCOMPARE(form()->height(), 530);
        QCOMPARE(m_window->minimumHeight(), 530);

        // A refresh (kernel notification) adds nothing already shown.
        m_kernel->set_current_profile(1);
        QCOMPARE(boxes_created().size(), 2);
        QCOMPARE(form()->panels().size(), size_t(2));
    }

    void new_favourite_appears_at_the_next_refresh() {
        probe_ctrl* dpi = control(ctrl_type::dpi_switcher);
        dpi->set_favorite(true);
        m_kernel->open_page(page_type::favorites);
        probe_ctrl* top = control(ctrl_type::top_button_assignment, 2);
        top->set_favorite(true);
        QCOMPARE(form()->panels().size(), size_t(1));
        m_kernel->set_current_profile(0);
        QCOMPARE(form()->panels().size(), size_t(2));
        QCOMPARE(form()->panels()[1].control, static_cast<ctrl_funcs_i*>(top));
        QVERIFY(form()->panels()[1].panel->graphicsEffect());
        QCOMPARE(boxes_created(), (QStringList{"create_box 1", "create_box 8"}));
    }

    void unknown_favourite_type_is_skipped() {
        probe_ctrl* dpi = control(ctrl_type::dpi_switcher);
        probe_ctrl* lighting = control(ctrl_type::lighting);
        dpi->set_favorite(true);
        lighting->set_favorite(true);
        // A type that no marked control has (say, from an older favourites file).
        m_kernel->data()->favourites() = {99, ctrl_type::lighting};
        m_kernel->open_page(page_type::favorites);
        QCOMPARE(boxes_created(), QStringList{"create_box 13"});
    }

    void unmarking_removes_the_panel_and_lays_out() {
        probe_ctrl* dpi = control(ctrl_type::dpi_switcher, 1, 300);
        probe_ctrl* lighting = control(ctrl_type::lighting, 1, 200);
        dpi->set_favorite(true);
        lighting->set_favorite(true);
        m_kernel->open_page(page_type::favorites);
        QPointer<QWidget> dpi_panel = form()->panels()[0].panel;
        QWidget* lighting_panel = form()->panels()[1].panel;
        QTRY_COMPARE(lighting_panel->geometry(), QRect(505, 10, 485, 200));
        m_journal.clear();

        dpi->set_favorite(false); // as the box's favourite mark does
        QCOMPARE(m_journal,
                 (QStringList{"kernel remove 1", "close_box 1", "favorite_changed 1 0"}));
        QCOMPARE(form()->panels().size(), size_t(1));
        QCOMPARE(form()->panels()[0].control, static_cast<ctrl_funcs_i*>(lighting));
        // Laid out at once, without waiting for a timer.
        QCOMPARE(lighting_panel->geometry(), QRect(10, 10, 485, 200));
        QCOMPARE(form()->height(), 220);
        QTRY_VERIFY(!dpi_panel);
    }

    void removing_an_unshown_favourite_only_lays_out() {
        probe_ctrl* lighting = control(ctrl_type::lighting, 1, 200);
        lighting->set_favorite(true);
        m_kernel->open_page(page_type::favorites);
        QWidget* panel = form()->panels()[0].panel;
        QTRY_COMPARE(panel->geometry(), QRect(10, 10, 485, 200));
        panel->move(321, 123);
        m_journal.clear();

        probe_ctrl* stranger = control(ctrl_type::polling_rate);
        page()->remove_favorite(stranger);
        QVERIFY(m_journal.isEmpty());
        QCOMPARE(form()->panels().size(), size_t(1));
        QCOMPARE(panel->geometry(), QRect(10, 10, 485, 200));
    }

    void removing_with_closed_page_does_nothing() {
        probe_ctrl* lighting = control(ctrl_type::lighting);
        page()->remove_favorite(lighting);
        QVERIFY(!form());
        QVERIFY(m_journal.isEmpty());
    }

    void closing_closes_the_boxes_and_destroys_the_form() {
        probe_ctrl* dpi = control(ctrl_type::dpi_switcher);
        probe_ctrl* lighting = control(ctrl_type::lighting);
        dpi->set_favorite(true);
        lighting->set_favorite(true);
        m_kernel->open_page(page_type::favorites);
        QPointer<favorites_fm_c> first = form();
        m_journal.clear();
        m_kernel->close_page();
        QCOMPARE(m_journal, (QStringList{"close_box 1", "close_box 13"}));
        QVERIFY(!first);
        QVERIFY(!page()->form());
        QVERIFY(m_window->findChildren<favorites_fm_c*>().isEmpty());
        // Opening again builds a new form with new boxes.
        m_journal.clear();
        m_kernel->open_page(page_type::favorites);
        QVERIFY(form());
        QCOMPARE(boxes_created(), (QStringList{"create_box 1", "create_box 13"}));
    }

    void relayout_timer_lays_out() {
        probe_ctrl* lighting = control(ctrl_type::lighting, 1, 200);
        lighting->set_favorite(true);
        m_kernel->open_page(page_type::favorites);
        QWidget* panel = form()->panels()[0].panel;
        QTRY_COMPARE(panel->pos(), QPoint(10, 10));
        panel->move(400, 400);
        QVERIFY(!form()->relayout_timer()->isActive());
        form()->relayout_timer()->start(5);
        QTRY_COMPARE(panel->pos(), QPoint(10, 10));
        form()->relayout_timer()->stop();
    }

    void visible_form_lays_out_on_resize() {
        probe_ctrl* dpi = control(ctrl_type::dpi_switcher, 1, 100);
        probe_ctrl* lighting = control(ctrl_type::lighting, 1, 100);
        dpi->set_favorite(true);
        lighting->set_favorite(true);
        m_window->show();
        m_kernel->open_page(page_type::favorites);
        QWidget* right = form()->panels()[1].panel;
        QTRY_COMPARE(right->x(), form()->width() / 2 + 5);
        m_window->setMinimumSize(0, 0);
        form()->setMinimumSize(0, 0);
        m_window->resize(800, 700);
        QTRY_COMPARE(form()->width(), 800);
        QCOMPARE(right->geometry(), QRect(405, 10, 385, 100));
    }

    void page_without_parent_opens_nothing() {
        favorites_c orphan(m_kernel.get());
        orphan.set_parent_widget(nullptr);
        orphan.open_page();
        QVERIFY(!orphan.form());
        orphan.update(); // a refresh of a closed page does nothing
        QVERIFY(m_journal.isEmpty());
    }

    void resets_and_init_do_nothing() {
        probe_ctrl* lighting = control(ctrl_type::lighting);
        lighting->set_favorite(true);
        m_kernel->open_page(page_type::favorites);
        m_journal.clear();
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
