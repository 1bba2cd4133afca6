#include "host/button_page_shots.h"

#include "host/components/preset_list.h"
#include "host/host_log.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace button_page_shots {

namespace {

void settle(int ms = 40) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QApplication::processEvents();
}

// Every shown top-level widget but the window: pop-ups, menus, overlays.
QList<QWidget*> shown_popups(QWidget* window) {
    QList<QWidget*> out;
    const QWidgetList all = QApplication::topLevelWidgets();
    for (QWidget* w : all) {
        if (w != window && w->isVisible())
            out.append(w);
    }
    return out;
}

// The window with the given pop-ups drawn where they stand on the screen.
QImage compose(QWidget* window, const QList<QWidget*>& popups) {
    QImage picture = window->grab().toImage();
    QPainter p(&picture);
    for (QWidget* popup : popups)
        p.drawPixmap(popup->mapToGlobal(QPoint(0, 0)) - window->mapToGlobal(QPoint(0, 0)),
                     popup->grab());
    return picture;
}

void click(QWidget* target, const QPoint& at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, target->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    }
}

void enter(QWidget* target) {
    QEnterEvent e(QPointF(2, 2), target->mapTo(target->window(), QPoint(2, 2)),
                  target->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(target, &e);
}

template <class T = QWidget>
T* find(QWidget* root, const char* name) {
    return root ? root->findChild<T*>(QLatin1String(name)) : nullptr;
}

QWidget* find_top_level(const char* name) {
    const QWidgetList all = QApplication::topLevelWidgets();
    for (QWidget* w : all) {
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    }
    return nullptr;
}

class writer_c {
public:
    writer_c(QWidget* window, const QString& folder, QString* error)
        : m_window(window)
        , m_dir(folder)
        , m_error(error) {}
    bool ok() const { return m_ok; }
    void save(const QString& name, const QImage& picture) {
        if (!m_ok)
            return;
        const QString file = m_dir.filePath(name + QStringLiteral(".png"));
        if (!picture.save(file)) {
            *m_error = QStringLiteral("Cannot write %1").arg(file);
            m_ok = false;
        }
    }
    void save_with_popups(const QString& name) {
        save(name, compose(m_window, shown_popups(m_window)));
    }

private:
    QWidget* m_window;
    QDir m_dir;
    QString* m_error;
    bool m_ok = true;
};

void guide_steps(QWidget* side, writer_c& out) {
    QWidget* mark = find(side, "wg_preset_info");
    if (!mark)
        return;
    enter(mark);
    settle();
    QWidget* guide = find_top_level("btn_help_fm_c");
    if (!guide)
        return;
    for (int step = 1; step <= 5; ++step) {
        if (auto* dot = guide->findChild<QRadioButton*>(QStringLiteral("rb_step_%1").arg(step)))
            dot->click();
        settle(20);
        out.save_with_popups(QStringLiteral("buttons_guide_step_%1").arg(step));
    }
    guide->hide();
}

void preset_delete(QWidget* side, writer_c& out) {
    const QList<QWidget*> tiles =
        side->findChildren<QWidget*>(QStringLiteral("btn_preset_sub_fm_c"));
    if (tiles.size() < 2)
        return;
    QWidget* tile = tiles.at(1);
    enter(tile);
    settle(20);
    auto* del = tile->findChild<QPushButton*>(QStringLiteral("btn_del"));
    if (!del || !del->isVisible())
        return;
    del->click();
    settle();
    out.save_with_popups(QStringLiteral("buttons_preset_delete"));
    for (QWidget* popup : shown_popups(side->window()))
        popup->close();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(tile, &leave);
    settle(20);
}

void mixed_panel(QWidget* side, writer_c& out) {
    // The first shipped preset mixes singles, a double and a blank row. The profile goes back
    // to its own preset afterwards (the host's selector knows which), so the mouse keeps it.
    const QList<QWidget*> tiles =
        side->findChildren<QWidget*>(QStringLiteral("btn_preset_sub_fm_c"));
    auto* selector = side->findChild<preset_list_c*>(QStringLiteral("wg_preset_list"));
    const int own = selector ? selector->current() : -1;
    if (tiles.isEmpty() || own < 0 || own >= tiles.size())
        return;
    click(tiles.first(), QPoint(20, 20));
    settle();
    // The pointer rests on the panel's first position.
    if (QWidget* editor = find(side, "jigsawparent1")) {
        QMouseEvent move(QEvent::MouseMove, QPointF(235, 65), editor->mapToGlobal(QPoint(235, 65)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(editor, &move);
    }
    settle(20);
    out.save_with_popups(QStringLiteral("buttons_mixed_panel"));
    click(tiles.at(own), QPoint(20, 20));
    settle();
}

void row_menu(QWidget* side, writer_c& out) {
    QWidget* rows = find(side, "wg_s_btns");
    const QList<QPushButton*> buttons =
        rows ? rows->findChildren<QPushButton*>() : QList<QPushButton*>();
    if (buttons.isEmpty())
        return;
    buttons.first()->click();
    settle(80);
    QMenu* root = nullptr;
    for (QWidget* w : shown_popups(side->window())) {
        if (auto* m = qobject_cast<QMenu*>(w))
            root = m;
    }
    if (!root)
        return;
    // Open the first category with a handful of entries.
    for (QAction* action : root->actions()) {
        if (!action->menu() || action->menu()->actions().size() < 4)
            continue;
        root->setActiveAction(action);
        const QRect row = root->actionGeometry(action);
        action->menu()->popup(root->mapToGlobal(QPoint(root->width() - 4, row.top())));
        break;
    }
    settle();
    out.save_with_popups(QStringLiteral("buttons_row_menu"));
    root->close();
    settle();
}

void deactivation(QWidget* side, writer_c& out) {
    auto* button = find<QPushButton>(side, "btn_deactivate");
    if (!button)
        return;
    QTimer::singleShot(60, [&out] {
        QWidget* overlay = find_top_level("btn_deactivate_fm_c");
        if (!overlay) {
            qCWarning(lc_koral, "The deactivation overlay did not show");
            return;
        }
        out.save_with_popups(QStringLiteral("buttons_deactivated"));
        QKeyEvent enter_key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(overlay, &enter_key);
    });
    // Runs the overlay until the timer above answered it.
    button->click();
    settle();
}

} // namespace

bool render(QWidget* window, QAbstractButton* tab, const QString& folder, QString* error) {
    if (!tab)
        return true;
    tab->setChecked(true);
    settle();
    writer_c out(window, folder, error);
    QWidget* side = window->findChild<QWidget*>(QStringLiteral("btn_assignment_box_fm_c"));
    if (!side) {
        qCWarning(lc_koral, "The button page has no side box to take pictures of");
        return true;
    }
    row_menu(side, out);
    guide_steps(side, out);
    preset_delete(side, out);
    deactivation(side, out);
    // Last, since it changes the profile's side panel.
    mixed_panel(side, out);
    return out.ok();
}

} // namespace button_page_shots
