#include "host/profile_panel.h"
#include "host/widget_helpers.h"

#include "host/ctrl_center.h"
#include "host/dialogs.h"
#include "host/host_settings.h"
#include "host/kernel_session.h"
#include "host/profile_names.h"
#include "host/profile_service.h"
#include "host/profile_tile.h"
#include "host/texts.h"
#include "host/virtual_mouse.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const QString k_suffix = QStringLiteral(".qprofile");

// A profile name as a file name: characters no file system takes become '_'.
QString file_stem(const QString& name) {
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    return QString(name).replace(unsafe, QStringLiteral("_")).trimmed();
}

// What a message button says, without the code that follows its dot.
QString without_code(const QString& label) {
    return label.section(QStringLiteral(" · "), 0, 0);
}

} // namespace

profile_panel_c::profile_panel_c(kernel_session_c* session, ctrl_center_c* centre, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_centre(centre) {
    setObjectName(QStringLiteral("wg_device"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(28, 24, 28, 24);
    grid->setHorizontalSpacing(20);
    grid->setVerticalSpacing(20);
    grid->setColumnStretch(0, 6);
    grid->setColumnStretch(1, 7);
    grid->addWidget(build_profiles(), 0, 0);
    grid->addWidget(build_mouse(), 0, 1);

    connect(m_session, &kernel_session_c::kernel_changed, this, &profile_panel_c::refresh);
    connect(m_session, &kernel_session_c::profiles_changed, this, &profile_panel_c::refresh);
    connect(m_session, &kernel_session_c::device_changed, this, &profile_panel_c::refresh);
    connect(m_centre, &ctrl_center_c::language_switched, this, &profile_panel_c::retranslate);
    connect(m_centre, &ctrl_center_c::live_mode_changed, this, &profile_panel_c::refresh);
    retranslate();
}

void profile_panel_c::add_section(QWidget* section) {
    auto* grid = static_cast<QGridLayout*>(layout());
    section->setParent(this);
    grid->addWidget(section, grid->rowCount(), 0, 1, 2);
}

QString profile_panel_c::text(int32_t id) const {
    return m_centre->get_text_provider()->text(id, 0);
}

QFrame* profile_panel_c::build_profiles() {
    QFrame* card = make_card(QStringLiteral("wg_profiles"), this);
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(22, 20, 22, 20);
    column->setSpacing(8);

    auto* title_row = new QHBoxLayout;
    m_profiles_title = make_label(QStringLiteral("lb_profiles_title"), "card_title", card);
    m_count = make_label(QStringLiteral("lb_profile_count"), "note", card);
    title_row->addWidget(m_profiles_title);
    title_row->addStretch(1);
    title_row->addWidget(m_count);
    column->addLayout(title_row);
    column->addSpacing(6);

    // Each slot's tile shows the module's lighting preview of that profile.
    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(10);
    for (int slot = 0; slot < kernel_session_c::profile_slots; ++slot) {
        auto* tile = new profile_tile_c(slot, card);
        connect(tile, &profile_tile_c::clicked, this, [this](int chosen) {
            m_session->select_profile(chosen);
            refresh();
        });
        m_centre->set_profile_object(slot, tile);
        tiles->addWidget(tile);
        m_tiles.append(tile);
    }
    tiles->addStretch(1);
    column->addLayout(tiles);
    column->addSpacing(8);

    for (int slot = 0; slot < kernel_session_c::profile_slots; ++slot) {
        QPushButton* button =
            make_button(QStringLiteral("btn_slot_%1").arg(slot + 1), "slot", card);
        button->setCheckable(true);
        button->setAutoExclusive(false);
        connect(button, &QPushButton::clicked, this, [this, slot] { select_profile(slot); });
        column->addWidget(button);
        m_slots.append(button);
    }
    column->addSpacing(10);

    auto* actions = new QGridLayout;
    actions->setHorizontalSpacing(8);
    actions->setVerticalSpacing(8);
    struct action_t {
        QPushButton** button;
        const char* name;
        void (profile_panel_c::*run)();
    };
    const action_t list[] = {
        {&m_add, "btn_profile_add", &profile_panel_c::add_profile},
        {&m_insert, "btn_profile_insert", &profile_panel_c::insert_profile},
        {&m_delete, "btn_profile_delete", &profile_panel_c::delete_profile},
        {&m_rename, "btn_profile_rename", nullptr},
        {&m_import, "btn_profile_import", nullptr},
        {&m_export, "btn_profile_export", nullptr},
    };
    int index = 0;
    for (const action_t& action : list) {
        *action.button = make_button(QLatin1String(action.name), "action", card);
        actions->addWidget(*action.button, index / 3, index % 3);
        if (action.run)
            connect(*action.button, &QPushButton::clicked, this, action.run);
        ++index;
    }
    // These three ask the person first.
    connect(m_rename, &QPushButton::clicked, this, [this] { rename_profile(); });
    connect(m_import, &QPushButton::clicked, this, [this] { import_profile(); });
    connect(m_export, &QPushButton::clicked, this, [this] { export_profile(); });
    column->addLayout(actions);
    m_message = make_label(QStringLiteral("lb_profile_message"), "note", card);
    m_message->setWordWrap(true);
    column->addWidget(m_message);
    column->addStretch(1);
    return card;
}

QFrame* profile_panel_c::build_mouse() {
    QFrame* card = make_card(QStringLiteral("wg_mouse"), this);
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(22, 20, 22, 20);
    column->setSpacing(8);
    m_mouse_title = make_label(QStringLiteral("lb_mouse_title"), "card_title", card);
    column->addWidget(m_mouse_title);
    column->addSpacing(6);

    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(16);
    facts->setVerticalSpacing(8);
    facts->setColumnStretch(1, 1);
    int row = 0;
    auto add_fact = [card, facts, &row](const QString& name, fact_t& fact, const char* role) {
        fact.key = make_label(QStringLiteral("lb_") + name + QStringLiteral("_key"), "key", card);
        fact.value = make_label(QStringLiteral("lb_") + name, role, card);
        fact.value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        fact.value->setWordWrap(true);
        facts->addWidget(fact.key, row, 0, Qt::AlignTop);
        facts->addWidget(fact.value, row, 1);
        ++row;
    };
    add_fact(QStringLiteral("mouse_edition"), m_edition, "fact");
    add_fact(QStringLiteral("mouse_memory"), m_memory, "fact");
    add_fact(QStringLiteral("mouse_checksum"), m_checksum, "value");
    add_fact(QStringLiteral("mouse_note"), m_note, "fact");
    add_fact(QStringLiteral("mouse_command"), m_last_command, "fact");
    add_fact(QStringLiteral("mouse_commits"), m_commits, "fact");
    add_fact(QStringLiteral("mouse_live"), m_live, "fact");
    add_fact(QStringLiteral("mouse_file"), m_file, "value");
    add_fact(QStringLiteral("mouse_aside"), m_aside, "fact");
    column->addLayout(facts);
    column->addSpacing(14);

    // The host messages a device causes, one button each, so every path can be tried.
    m_messages_caption = make_label(QStringLiteral("lb_messages_caption"), "section", card);
    column->addWidget(m_messages_caption);
    m_messages_note = make_label(QStringLiteral("lb_messages_note"), "note", card);
    m_messages_note->setWordWrap(true);
    column->addWidget(m_messages_note);
    auto* buttons = new QGridLayout;
    buttons->setHorizontalSpacing(8);
    buttons->setVerticalSpacing(8);
    const QPair<const char*, device_message_t> list[] = {
        {"btn_message_reload", device_message_t::reload},
        {"btn_message_values", device_message_t::values},
        {"btn_message_dpi", device_message_t::dpi_button},
        {"btn_message_calibration_ok", device_message_t::calibration_ok},
        {"btn_message_calibration_failed", device_message_t::calibration_failed},
    };
    for (const auto& entry : list) {
        QPushButton* button = make_button(QLatin1String(entry.first), "action", card);
        const int index = m_message_buttons.size();
        buttons->addWidget(button, index / 2, index % 2);
        const device_message_t message = entry.second;
        connect(button, &QPushButton::clicked, this, [this, message] { send_message(message); });
        m_message_buttons.append(button);
    }
    column->addLayout(buttons);
    m_device_message = make_label(QStringLiteral("lb_device_message"), "note", card);
    m_device_message->setWordWrap(true);
    column->addWidget(m_device_message);
    column->addStretch(1);
    return card;
}

QString profile_panel_c::message() const {
    return m_message->text();
}

QString profile_panel_c::device_message() const {
    return m_device_message->text();
}

QString profile_panel_c::command_text(int code) const {
    switch (code) {
    case kernel_command::all_data_reset:
        return text(host_text::command_reset).arg(code);
    case kernel_command::data_changed:
        return text(host_text::command_changed).arg(code);
    case kernel_command::switch_on:
        return text(host_text::command_switch_on).arg(code);
    case kernel_command::switch_off:
        return text(host_text::command_switch_off).arg(code);
    case kernel_command::sensor_tuning:
        return text(host_text::command_tuning).arg(code);
    default:
        return text(host_text::command_other).arg(code);
    }
}

QString profile_panel_c::profile_name(int slot) const {
    product_kernel_i* kernel = m_session->kernel();
    return kernel ? kernel->profile_name(uint8_t(slot)) : QString();
}

void profile_panel_c::refresh() {
    product_kernel_i* kernel = m_session->kernel();
    const int count = kernel ? kernel->profile_count() : 0;
    const int current = kernel ? kernel->current_profile() : -1;
    m_count->setText(text(host_text::slots_in_use).arg(count).arg(kernel_session_c::profile_slots));
    for (int slot = 0; slot < m_slots.size(); ++slot) {
        QPushButton* button = m_slots.at(slot);
        const bool used = slot < count;
        QString label = QStringLiteral("%1   ").arg(slot + 1);
        if (used) {
            const QString name = kernel->profile_name(uint8_t(slot));
            label += name.isEmpty() ? QStringLiteral("—") : name;
            if (slot == current)
                label += QStringLiteral("   · ") + text(host_text::current_slot);
        } else {
            label += text(host_text::free_slot);
        }
        button->setText(label);
        button->setEnabled(used);
        button->setChecked(used && slot == current);
        button->setProperty("used", used);
        refresh_style(button);
        m_tiles.at(slot)->set_state(used, used && slot == current);
        m_tiles.at(slot)->setToolTip(used ? text(host_text::profile_tile_tip).arg(slot + 1)
                                          : QString());
    }
    const bool open = kernel != nullptr;
    m_add->setEnabled(open && count < kernel_session_c::profile_slots);
    m_insert->setEnabled(open && count < kernel_session_c::profile_slots);
    m_delete->setEnabled(open && count > 1);
    m_rename->setEnabled(open && count > 0);
    m_import->setEnabled(open && count > 0);
    m_export->setEnabled(open && count > 0);

    virtual_mouse_c* mouse = m_session->mouse();
    const int32_t edition = m_session->edition();
    m_edition.value->setText(!open
                                 ? text(host_text::no_kernel)
                                 : text(edition == product_type::white ? host_text::white_edition
                                                                       : host_text::black_edition));
    if (mouse && mouse->has_blob()) {
        m_memory.value->setText(text(host_text::memory_bytes).arg(mouse->blob().size()));
        m_checksum.value->setText(mouse->blob_md5());
    } else {
        m_memory.value->setText(text(host_text::memory_factory));
        m_checksum.value->setText(QStringLiteral("—"));
    }
    profile_service_c* service = m_session->service();
    m_note.value->setText(
        virtual_mouse_c::note_text(service ? service->note() : QString(), m_centre->language()));
    m_last_command.value->setText(mouse && mouse->last_command() >= 0
                                      ? command_text(mouse->last_command())
                                      : text(host_text::no_command));
    m_commits.value->setText(QString::number(m_session->published_commits()));
    m_live.value->setText(text(m_centre->live_mode() ? host_text::live_lighting_on
                                                     : host_text::live_lighting_paused));
    m_file.value->setText(mouse ? QDir::toNativeSeparators(mouse->file()) : QString());
    // A memory set aside is told for as long as this mouse is shown.
    const QString aside = mouse ? mouse->set_aside() : QString();
    m_aside.key->setVisible(!aside.isEmpty());
    m_aside.value->setVisible(!aside.isEmpty());
    m_aside.value->setProperty("state", QStringLiteral("error"));
    if (!aside.isEmpty())
        m_aside.value->setText(text(mouse->aside_failed() ? host_text::memory_not_kept_aside
                                                          : host_text::memory_kept_aside)
                                   .arg(QDir::toNativeSeparators(aside)));
    for (QPushButton* button : qAsConst(m_message_buttons))
        button->setEnabled(open && mouse);
}

void profile_panel_c::retranslate() {
    m_profiles_title->setText(text(host_text::profiles_panel));
    m_add->setText(text(host_text::add_profile));
    m_insert->setText(text(host_text::insert_profile));
    m_delete->setText(text(host_text::delete_profile));
    m_rename->setText(text(host_text::rename_profile));
    m_import->setText(text(host_text::import_profile));
    m_export->setText(text(host_text::export_profile));
    m_mouse_title->setText(text(host_text::mouse_panel));
    m_edition.key->setText(text(host_text::mouse_edition));
    m_memory.key->setText(text(host_text::mouse_memory));
    m_checksum.key->setText(text(host_text::memory_checksum));
    m_note.key->setText(text(host_text::memory_note));
    m_last_command.key->setText(text(host_text::last_command));
    m_commits.key->setText(text(host_text::commits_published));
    m_live.key->setText(text(host_text::live_lighting));
    m_file.key->setText(text(host_text::memory_file));
    m_aside.key->setText(text(host_text::memory_aside));
    m_messages_caption->setText(text(host_text::messages_section));
    m_messages_note->setText(text(host_text::messages_note));
    const int32_t labels[] = {host_text::message_reload, host_text::message_values,
                              host_text::message_dpi_button, host_text::message_calibration_ok,
                              host_text::message_calibration_failed};
    for (int i = 0; i < m_message_buttons.size(); ++i)
        m_message_buttons.at(i)->setText(text(labels[i]));
    // An outcome stays in the language it was told in; it goes with the switch.
    clear_messages();
    refresh();
}

void profile_panel_c::clear_messages() {
    show_outcome(true, QString());
    show_device_outcome(true, QString());
}

void profile_panel_c::show_outcome(bool ok, const QString& outcome) {
    m_message->setText(outcome);
    m_message->setProperty("state", ok ? QStringLiteral("ok") : QStringLiteral("error"));
    refresh_style(m_message);
    refresh();
}

void profile_panel_c::show_device_outcome(bool ok, const QString& outcome) {
    m_device_message->setText(outcome);
    m_device_message->setProperty("state", ok ? QStringLiteral("ok") : QStringLiteral("error"));
    refresh_style(m_device_message);
}

void profile_panel_c::select_profile(int slot) {
    clear_messages();
    m_session->select_profile(slot);
    refresh();
}

void profile_panel_c::add_profile() {
    clear_messages();
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel || !m_session->append_profile())
        return refresh();
    const int slot = kernel->profile_count() - 1;
    show_outcome(true, text(host_text::added).arg(profile_name(slot)).arg(slot + 1));
}

void profile_panel_c::insert_profile() {
    clear_messages();
    product_kernel_i* kernel = m_session->kernel();
    const int slot = kernel ? kernel->current_profile() : -1;
    if (!kernel || !m_session->insert_profile(slot))
        return refresh();
    show_outcome(true, text(host_text::inserted).arg(profile_name(slot)).arg(slot + 1));
}

QDialog* profile_panel_c::delete_question(int slot) {
    return koral_dialogs::question(
        this, text(host_text::delete_title),
        text(host_text::delete_question).arg(slot + 1).arg(profile_name(slot)),
        text(host_text::delete_profile));
}

void profile_panel_c::delete_profile() {
    clear_messages();
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel || kernel->profile_count() <= 1)
        return;
    const int slot = kernel->current_profile();
    const QString name = profile_name(slot);
    if (m_dialogs) {
        QScopedPointer<QDialog> box(delete_question(slot));
        if (!koral_dialogs::confirmed(static_cast<QMessageBox*>(box.data())))
            return;
    }
    if (m_session->delete_profile(slot))
        show_outcome(true, text(host_text::deleted).arg(name));
}

QDialog* profile_panel_c::rename_dialog(int slot) {
    // Another profile's name would make two buttons that cannot be told apart.
    const QStringList taken = m_session->profile_names(slot);
    const QString refusal = text(host_text::name_taken);
    return new name_dialog_c(this, m_centre->language(), text(host_text::rename_title),
                             text(host_text::rename_prompt).arg(slot + 1), profile_name(slot),
                             profile_names::max_units, [taken, refusal](const QString& name) {
                                 return taken.contains(name) ? refusal : QString();
                             });
}

void profile_panel_c::rename_profile(const QString& name) {
    clear_messages();
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel)
        return;
    const int slot = kernel->current_profile();
    QString chosen = name;
    if (chosen.isNull()) {
        if (!m_dialogs)
            return;
        QScopedPointer<QDialog> dialog(rename_dialog(slot));
        if (dialog->exec() != QDialog::Accepted)
            return;
        chosen = static_cast<name_dialog_c*>(dialog.data())->name();
    }
    const QString trimmed = chosen.trimmed();
    if (trimmed.isEmpty())
        return show_outcome(false, text(host_text::name_empty));
    bool cut = false;
    const QString fitted = profile_names::fit(trimmed, &cut);
    if (m_session->profile_names(slot).contains(fitted))
        return show_outcome(false, text(host_text::name_taken));
    const QString stored = m_session->rename_profile(slot, fitted);
    if (stored.isEmpty())
        return refresh();
    show_outcome(!cut, cut ? text(host_text::name_cut).arg(profile_names::max_units).arg(stored)
                           : text(host_text::renamed).arg(slot + 1).arg(stored));
}

QFileDialog* profile_panel_c::file_dialog(bool save, int slot) {
    const QString folder = host_settings_c().profile_folder();
    auto* dialog = new QFileDialog(
        this, text(save ? host_text::export_title : host_text::import_title).arg(slot + 1), folder,
        text(host_text::profile_filter));
    dialog->setObjectName(QStringLiteral("dlg_profile_file"));
    // Qt's own dialog follows koral's theme and language on every system.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->resize(820, 480);
    if (auto* splitter = dialog->findChild<QSplitter*>(QStringLiteral("splitter")))
        splitter->setSizes({190, 630});
    if (!save) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        return dialog;
    }
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(k_suffix.mid(1));
    // A profile without a usable name still gets a visible file name.
    QString stem = file_stem(profile_name(slot));
    if (stem.isEmpty() || stem.startsWith(QLatin1Char('.')))
        stem = file_stem(text(host_text::profile_default_name).arg(slot + 1));
    dialog->selectFile(QDir(folder).filePath(stem + k_suffix));
    return dialog;
}

QDialog* profile_panel_c::replace_question(int slot, const QString& file) {
    return koral_dialogs::question(this, text(host_text::replace_title),
                                   text(host_text::replace_question)
                                       .arg(slot + 1)
                                       .arg(profile_name(slot))
                                       .arg(QFileInfo(file).fileName()),
                                   text(host_text::replace_button));
}

void profile_panel_c::import_profile(const QString& file) {
    clear_messages();
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel)
        return;
    QString chosen = file;
    int slot = profile_names::free_slot(kernel->profile_count(), kernel_session_c::profile_slots);
    if (chosen.isEmpty()) {
        if (!m_dialogs)
            return;
        QScopedPointer<QFileDialog> dialog(
            file_dialog(false, slot >= 0 ? slot : kernel->current_profile()));
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return;
        chosen = dialog->selectedFiles().first();
        host_settings_c().remember_profile_file(chosen);
    }
    QString error;
    if (slot < 0) {
        // Every slot holds a profile: one is replaced only when the person says so.
        slot = kernel->current_profile();
        if (m_dialogs) {
            QScopedPointer<QDialog> box(replace_question(slot, chosen));
            if (!koral_dialogs::confirmed(static_cast<QMessageBox*>(box.data())))
                return;
        }
        const bool ok = m_session->import_profile(slot, chosen, &error);
        return show_outcome(
            ok, ok ? text(host_text::import_done).arg(QFileInfo(chosen).fileName()).arg(slot + 1)
                   : text(host_text::operation_failed).arg(error));
    }
    if (!m_session->append_profile())
        return refresh();
    if (!m_session->import_profile(slot, chosen, &error)) {
        // The slot was taken for this file only; it goes again.
        m_session->delete_profile(slot);
        return show_outcome(false, text(host_text::operation_failed).arg(error));
    }
    m_session->select_profile(slot);
    show_outcome(true,
                 text(host_text::import_into_new).arg(QFileInfo(chosen).fileName()).arg(slot + 1));
}

void profile_panel_c::export_profile(const QString& file) {
    clear_messages();
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel)
        return;
    const int slot = kernel->current_profile();
    QString chosen = file;
    if (chosen.isEmpty()) {
        if (!m_dialogs)
            return;
        QScopedPointer<QFileDialog> dialog(file_dialog(true, slot));
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return;
        chosen = dialog->selectedFiles().first();
        host_settings_c().remember_profile_file(chosen);
    }
    QString error;
    const bool ok = m_session->export_profile(slot, chosen, &error);
    show_outcome(
        ok, ok ? text(host_text::export_done).arg(slot + 1).arg(QDir::toNativeSeparators(chosen))
               : text(host_text::operation_failed).arg(error));
}

bool profile_panel_c::send_message(device_message_t message) {
    clear_messages();
    virtual_mouse_c* mouse = m_session->mouse();
    if (!mouse || !m_session->kernel())
        return false;
    int32_t label = host_text::message_reload;
    int code = host_message::data_loaded;
    bool sent = false;
    virtual_mouse_c::dpi_press_t press;
    switch (message) {
    case device_message_t::reload:
        sent = mouse->send_stored_blob();
        break;
    case device_message_t::values:
        label = host_text::message_values;
        code = host_message::device_values;
        sent = mouse->report_device_values();
        break;
    case device_message_t::dpi_button:
        label = host_text::message_dpi_button;
        code = host_message::profile_settings;
        sent = mouse->press_dpi_button(&press);
        break;
    case device_message_t::calibration_ok:
    case device_message_t::calibration_failed: {
        const bool ok = message == device_message_t::calibration_ok;
        label = ok ? host_text::message_calibration_ok : host_text::message_calibration_failed;
        code = host_message::calibration_result;
        sent = mouse->send_calibration_result(ok);
        break;
    }
    }
    refresh();
    if (!sent) {
        const bool from_memory = code == host_message::data_loaded ||
                                 code == host_message::device_values ||
                                 code == host_message::profile_settings;
        show_device_outcome(false, text(!mouse->has_blob() && from_memory
                                            ? host_text::message_memory_unreadable
                                            : host_text::message_not_sent)
                                       .arg(code));
        return false;
    }
    if (message == device_message_t::dpi_button)
        show_device_outcome(true, text(host_text::message_dpi_sent)
                                      .arg(press.slot + 1)
                                      .arg(press.step + 1)
                                      .arg(press.dpi));
    else
        show_device_outcome(true,
                            text(host_text::message_sent).arg(code).arg(without_code(text(label))));
    return true;
}

QList<QPair<QString, QDialog*>> profile_panel_c::screenshot_dialogs() {
    QList<QPair<QString, QDialog*>> dialogs;
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel)
        return dialogs;
    const int slot = kernel->current_profile();
    dialogs.append({QStringLiteral("dialog_rename"), rename_dialog(slot)});
    dialogs.append({QStringLiteral("dialog_delete"), delete_question(slot)});
    const QString sample =
        QDir(host_settings_c().profile_folder()).filePath(file_stem(profile_name(slot)) + k_suffix);
    dialogs.append({QStringLiteral("dialog_import_replace"), replace_question(slot, sample)});
    dialogs.append({QStringLiteral("dialog_export_file"), file_dialog(true, slot)});
    return dialogs;
}
