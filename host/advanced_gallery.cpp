#include "host/advanced_gallery.h"

#include "host/host_log.h"
#include "host/virtual_mouse.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <functional>

namespace advanced_gallery {

namespace {

void settle(int ms = 40) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QApplication::processEvents();
}

class writer_c {
public:
    writer_c(QWidget* window, const QString& folder, QString* error)
        : m_window(window)
        , m_dir(folder)
        , m_error(error) {}
    bool ok() const { return m_ok; }

    // The window, dimmed when `over` are modal, with `over` where they stand on the screen.
    void save(const QString& name, const QList<QWidget*>& over = {}, bool dim = false) {
        if (!m_ok)
            return;
        QImage picture = m_window->grab().toImage();
        QPainter p(&picture);
        if (dim)
            p.fillRect(QRect(QPoint(0, 0), m_window->size()), QColor(0, 0, 0, 130));
        const QPoint origin = m_window->mapToGlobal(QPoint(0, 0));
        for (QWidget* widget : over) {
            const QPoint at = widget->mapToGlobal(QPoint(0, 0)) - origin;
            const QRect place(at, widget->size());
            for (int spread = 12; spread > 0; spread -= 3)
                p.fillRect(place.adjusted(-spread, -spread + 4, spread, spread + 4),
                           QColor(0, 0, 0, 18));
            p.drawPixmap(at, widget->grab());
        }
        p.end();
        const QString file = m_dir.filePath(name + QStringLiteral(".png"));
        if (!picture.save(file)) {
            *m_error = QStringLiteral("Cannot write %1").arg(QDir::toNativeSeparators(file));
            m_ok = false;
        }
    }

private:
    QWidget* m_window;
    QDir m_dir;
    QString* m_error;
    bool m_ok = true;
};

template <class T = QAbstractButton>
T* widget(QWidget* root, const char* name) {
    T* found = root ? root->findChild<T*>(QLatin1String(name)) : nullptr;
    if (!found)
        qCWarning(lc_koral) << "Screenshots: the advanced page has no" << name << "; skipped";
    return found;
}

// Clicks `button`, which opens a modal dialog, and runs `steps` on the dialog once it is
// up; a dialog the steps leave open is closed.
void with_modal(QAbstractButton* button, const std::function<void(QDialog*)>& steps) {
    QTimer::singleShot(0, [steps] {
        settle();
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            steps(dialog);
            if (dialog->isVisible())
                dialog->reject();
        }
    });
    button->click();
    settle();
}

} // namespace

bool render(QWidget* window, QWidget* page_area, virtual_mouse_c* mouse, const QString& folder,
            QString* error) {
    writer_c writer(window, folder, error);

    if (auto* lights = widget<QCheckBox>(page_area, "cb_enable")) {
        const bool was_on = lights->isChecked();
        if (was_on)
            lights->click();
        settle();
        writer.save(QStringLiteral("advanced_lights_off"));
        if (was_on)
            lights->click();
        settle();
    }

    if (auto* colour = widget(page_area, "btn_t_color")) {
        colour->click();
        settle();
        if (auto* palette = widget<QWidget>(page_area, "palette_fm_c")) {
            writer.save(QStringLiteral("advanced_palette"), {palette});
            if (auto* cancel = widget(palette, "btn_cancel"))
                cancel->click();
        }
        settle();
    }

    if (auto* surf_on = widget(page_area, "rb_surf_on")) {
        const bool was_on = surf_on->isChecked();
        with_modal(surf_on, [&writer, mouse](QDialog* dialog) {
            writer.save(QStringLiteral("calibration_0_idle"), {dialog}, true);
            auto* start = widget(dialog, "btn_calibrate");
            if (!start)
                return;
            start->click();
            settle(300); // a few animation frames
            writer.save(QStringLiteral("calibration_1_running"), {dialog}, true);
            if (!mouse)
                return;
            mouse->send_calibration_result(false);
            settle();
            writer.save(QStringLiteral("calibration_2_failed"), {dialog}, true);
            start->click();
            mouse->send_calibration_result(true);
            settle();
            writer.save(QStringLiteral("calibration_3_succeeded"), {dialog}, true);
            // Cancelled: the mouse drops the calibration and keeps what it had.
            if (auto* cancel = widget(dialog, "btn_cancel"))
                cancel->click();
        });
        if (was_on)
            surf_on->setChecked(true);
    }

    if (auto* normal = widget(page_area, "rb_lift_nor")) {
        with_modal(normal, [&writer](QDialog* dialog) {
            writer.save(QStringLiteral("lift_confirmation"), {dialog}, true);
            dialog->reject(); // undo: the mouse goes back to its stored distance
        });
    }
    return writer.ok();
}

} // namespace advanced_gallery
