#include "host/component_gallery.h"

#include "host/components/component_context.h"
#include "host/components/hotkey_dialog.h"
#include "host/components/menu.h"
#include "host/components/preset_list.h"
#include "host/components/reset_confirm.h"
#include "host/components/timer_dialogs.h"
#include "host/components/value_dialogs.h"
#include "host/macro_editor.h"
#include "host/macro_library.h"
#include "host/timer_list.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace component_gallery {

namespace {

const QColor k_backdrop{0x11, 0x12, 0x15};

void settle() {
    QEventLoop loop;
    QTimer::singleShot(40, &loop, &QEventLoop::quit);
    loop.exec();
    QApplication::processEvents();
}

// The pictures of shown widgets placed as they stand on the screen, over the
// window's backdrop with a margin.
QImage compose(const QList<QWidget*>& widgets) {
    QRect bounds;
    for (QWidget* widget : widgets)
        bounds |= widget->frameGeometry();
    const int margin = 24;
    const qreal ratio = qApp->devicePixelRatio();
    QImage image((bounds.size() + QSize(2 * margin, 2 * margin)) * ratio,
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(k_backdrop);
    QPainter p(&image);
    for (QWidget* widget : widgets)
        p.drawPixmap(widget->frameGeometry().topLeft() - bounds.topLeft() + QPoint(margin, margin),
                     widget->grab());
    return image;
}

class writer_c {
public:
    writer_c(const QString& folder, QString* error)
        : m_dir(folder)
        , m_error(error) {}
    bool ok() const { return m_ok; }
    void save(const QString& name, const QList<QWidget*>& widgets) {
        if (!m_ok)
            return;
        const QString file = m_dir.filePath(name + QStringLiteral(".png"));
        if (!compose(widgets).save(file)) {
            *m_error = QStringLiteral("Cannot write %1").arg(file);
            m_ok = false;
        }
    }
    // Shows a dialog (not modally), lets it lay out, and keeps its picture.
    void dialog(const QString& name, QWidget* dialog) {
        dialog->setAttribute(Qt::WA_DontShowOnScreen);
        dialog->adjustSize();
        dialog->move(200, 150);
        dialog->show();
        settle();
        save(name, {dialog});
        dialog->hide();
    }

private:
    QDir m_dir;
    QString* m_error;
    bool m_ok = true;
};

QString icon(const QString& base, const QString& state) {
    return QStringLiteral(":/graphics/button_assignment/icons/%1_%2.png").arg(base, state);
}

menu_entry_c* entry(component_context_c* context, menu_c* parent, int32_t text_id, int code,
                    const QString& icon_base = QString()) {
    auto* e = new menu_entry_c;
    e->set_label(context->text(text_id));
    e->set_code(code);
    if (!icon_base.isEmpty()) {
        e->set_icon_flag(1);
        e->set_icons(icon(icon_base, QStringLiteral("normal")),
                     icon(icon_base, QStringLiteral("over")),
                     icon(icon_base, QStringLiteral("active")));
    }
    parent->add_child(static_cast<menu_entry_i*>(e));
    return e;
}

menu_c* category(component_context_c* context, menu_c* parent, int32_t label, int32_t description,
                 const QString& icon_base) {
    auto* m = new menu_c;
    m->set_label(context->text(label));
    m->set_description(context->text(description));
    m->set_icon_flag(1);
    m->set_icons(icon(icon_base, QStringLiteral("normal")), icon(icon_base, QStringLiteral("over")),
                 icon(icon_base, QStringLiteral("active")));
    parent->add_child(static_cast<menu_i*>(m));
    return m;
}

// The catalogue's tree as the module builds it, with the standard functions open.
void render_menu(component_context_c* context, writer_c* out) {
    auto* root = new menu_c;
    root->set_name(QStringLiteral("ROOT"));
    menu_c* macro = category(context, root, 73, 74, QStringLiteral("Assign_a_Macro"));
    entry(context, macro, 75, 252, QStringLiteral("add"));
    menu_c* hotkey = category(context, root, 76, 77, QStringLiteral("Assign_a_Hotkey"));
    entry(context, hotkey, 78, 5, QStringLiteral("add"));
    menu_c* timer = category(context, root, 79, 80, QStringLiteral("Assign_a_Timer"));
    entry(context, timer, 81, 255, QStringLiteral("add"));
    menu_c* standard = category(context, root, 85, 86, QStringLiteral("Default_functions"));
    const int standard_rows[][2] = {{87, 1},  {434, 4}, {88, 2},  {89, 13},  {90, 14},  {91, 9},
                                    {92, 10}, {93, 98}, {94, 99}, {95, 100}, {96, 101}, {100, 3}};
    for (const auto& row : standard_rows)
        entry(context, standard, row[0], row[1]);
    // A wheel-like button cannot scroll sideways: those entries are greyed.
    standard->find_entry(context->text(93))->set_enabled(false);
    standard->find_entry(context->text(94))->set_enabled(false);
    category(context, root, 101, 102, QStringLiteral("Advanced_functions"));
    category(context, root, 110, 111, QStringLiteral("Internet_functions"));
    category(context, root, 121, 122, QStringLiteral("Multimedia_functions"));
    category(context, root, 130, 131, QStringLiteral("Open"));
    category(context, root, 152, 153, QStringLiteral("TALK"));
    category(context, root, 167, 168, QStringLiteral("System_and_OS"));
    entry(context, root, 194, 0, QStringLiteral("Disable"));
    entry(context, root, 340, 256, QStringLiteral("Reset"));

    root->menu()->setAttribute(Qt::WA_DontShowOnScreen);
    standard->menu()->setAttribute(Qt::WA_DontShowOnScreen);
    root->popup(QPoint(200, 120));
    settle();
    root->menu()->setActiveAction(standard->action());
    const QRect row = root->menu()->actionGeometry(standard->action());
    standard->menu()->popup(
        root->menu()->mapToGlobal(QPoint(root->menu()->width() - 4, row.top())));
    standard->menu()->setActiveAction(standard->find_entry(context->text(89))->action());
    settle();
    out->save(QStringLiteral("menu_catalogue"), {root->menu(), standard->menu()});
    root->release();
}

} // namespace

bool render(component_context_c* context, macro_library_c* library, timer_list_c* timers,
            QWidget* window, const QString& folder, QString* error) {
    writer_c out(folder, error);
    render_menu(context, &out);

    {
        hotkey_dialog_fm_c dialog(context, window);
        dialog.field()->set_combination(hotkey_modifier::ctrl | hotkey_modifier::alt, 0x04);
        out.dialog(QStringLiteral("dialog_hotkey"), &dialog);
    }
    {
        new_timer_fm_c dialog(context, timers, window);
        dialog.name_edit()->setText(QStringLiteral("Dragon"));
        dialog.duration_edit()->setTime(QTime(0, 2, 30));
        out.dialog(QStringLiteral("dialog_new_timer"), &dialog);
    }
    {
        timer_manager_fm_c dialog(context, timers, nullptr, window);
        out.dialog(QStringLiteral("dialog_timer_manager"), &dialog);
    }
    {
        code_253_fm_c dialog(context, window);
        dialog.set_value(305419896);
        out.dialog(QStringLiteral("dialog_value_253"), &dialog);
    }
    {
        web_address_fm_c dialog(context, window);
        dialog.edit()->setText(QStringLiteral("www.example.com/news"));
        out.dialog(QStringLiteral("dialog_web_address"), &dialog);
    }
    {
        value_slider_fm_c dialog(context, window);
        dialog.set_title(context->text(157));
        dialog.slider()->set_range(12000, 200, 10);
        dialog.slider()->set_ticks({{200, QStringLiteral("200"), 0},
                                    {2000, QStringLiteral("2000"), 20},
                                    {4000, QStringLiteral("4000"), 40},
                                    {6000, QStringLiteral("6000"), 60},
                                    {8200, QStringLiteral("8200"), 80},
                                    {12000, QStringLiteral("12000"), 100}});
        dialog.setup(12000, 200, 10, 1600, 1200, true);
        out.dialog(QStringLiteral("dialog_value_slider"), &dialog);
    }
    {
        macro_editor_c dialog(context, library, window);
        dialog.name_edit()->setText(QStringLiteral("Quick build"));
        macro_recorder_c* keys = dialog.recorder();
        const uint8_t typed[] = {0xE0, 0x06, 0x06, 0xE0};
        keys->add(1, typed[0], 0);
        keys->add(1, typed[1], 120);
        keys->add(2, typed[2], 85);
        keys->add(2, typed[3], 40);
        out.dialog(QStringLiteral("dialog_macro_editor"), &dialog);
    }
    {
        // The confirmation points at a reset button of a box.
        QWidget backdrop;
        backdrop.setAttribute(Qt::WA_DontShowOnScreen);
        backdrop.setStyleSheet(QStringLiteral("background: #181a1e;"));
        backdrop.resize(380, 70);
        backdrop.move(200, 100);
        auto* reset = new QPushButton(QStringLiteral("↺"), &backdrop);
        reset->setObjectName(QStringLiteral("btn_reset"));
        reset->setStyleSheet(QStringLiteral("color: #aeb3ba; border: 1px solid #33373e; "
                                            "border-radius: 4px; font-size: 14px;"));
        reset->setGeometry(330, 20, 30, 30);
        backdrop.show();
        reset_confirm_fm_c bubble(context);
        bubble.setAttribute(Qt::WA_DontShowOnScreen);
        bubble.open_at(reset);
        settle();
        out.save(QStringLiteral("popup_reset_confirm"), {&backdrop, &bubble});
        bubble.hide();
    }
    {
        preset_list_c presets;
        presets.setAttribute(Qt::WA_DontShowOnScreen);
        auto record = [](const char* name, uint16_t id, uint32_t layout) {
            QByteArray r(30, '\0');
            r[0] = 10;
            r[1] = 30;
            const QByteArray n(name);
            r.replace(3, n.size(), n);
            r[25] = char(id & 0xFF);
            r[26] = char(id >> 8);
            r[27] = char(layout & 0xFF);
            r[28] = char((layout >> 8) & 0xFF);
            r[29] = char((layout >> 16) & 0xFF);
            return r;
        };
        presets.set_presets({record("CS GO", 0, 0x020F0F), record("LEAGUE OF LEGENDS", 1, 0x230E0F),
                             record("BATTLEFIELD 4", 2, 0x230E0F),
                             record("Button Preset", 3, 0x000FFF)});
        presets.set_current(0);
        presets.resize(300, 44);
        presets.move(200, 100);
        presets.show();
        settle();
        presets.box()->showPopup();
        settle();
        QList<QWidget*> shown{&presets};
        if (QWidget* popup = presets.box()->view()->window())
            shown.append(popup);
        out.save(QStringLiteral("popup_presets"), shown);
        presets.box()->hidePopup();
    }
    return out.ok();
}

} // namespace component_gallery
