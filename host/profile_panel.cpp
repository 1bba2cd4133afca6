#include "host/profile_panel.h"
#include "host/widget_helpers.h"

#include "host/ctrl_center.h"
#include "host/kernel_session.h"
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
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

profile_panel_c::profile_panel_c(kernel_session_c* session, ctrl_center_c* centre, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_centre(centre) {
    setObjectName(QStringLiteral("wg_device"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(28, 24, 28, 24);
    grid->setHorizontalSpacing(20);
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

QString profile_panel_c::text(int32_t id) const {
    return m_centre->get_text_provider()->text(id, 0);
}

QFrame* profile_panel_c::build_profiles() {
    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("wg_profiles"));
    card->setProperty("role", QStringLiteral("card"));
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
        connect(button, &QPushButton::clicked, this, [this, slot] {
            m_session->select_profile(slot);
            refresh();
        });
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
    column->addStretch(1);
    m_message = make_label(QStringLiteral("lb_profile_message"), "note", card);
    m_message->setWordWrap(true);
    column->addWidget(m_message);
    return card;
}

QFrame* profile_panel_c::build_mouse() {
    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("wg_mouse"));
    card->setProperty("role", QStringLiteral("card"));
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
    column->addLayout(facts);
    column->addStretch(1);
    return card;
}

QString profile_panel_c::message() const {
    return m_message->text();
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
        restyle(button);
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
    m_note.value->setText(service && !service->note().isEmpty() ? service->note()
                                                                : QStringLiteral("—"));
    m_last_command.value->setText(mouse && mouse->last_command() >= 0
                                      ? command_text(mouse->last_command())
                                      : text(host_text::no_command));
    m_commits.value->setText(QString::number(m_session->published_commits()));
    m_live.value->setText(text(m_centre->live_mode() ? host_text::live_lighting_on
                                                     : host_text::live_lighting_paused));
    m_file.value->setText(mouse ? QDir::toNativeSeparators(mouse->file()) : QString());
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
    refresh();
}

void profile_panel_c::show_outcome(bool ok, const QString& done, const QString& error) {
    m_message->setText(ok ? done : text(host_text::operation_failed).arg(error));
    m_message->setProperty("state", ok ? QStringLiteral("ok") : QStringLiteral("error"));
    restyle(m_message);
    refresh();
}

void profile_panel_c::add_profile() {
    m_session->append_profile();
    refresh();
}

void profile_panel_c::insert_profile() {
    product_kernel_i* kernel = m_session->kernel();
    if (kernel)
        m_session->insert_profile(kernel->current_profile());
    refresh();
}

void profile_panel_c::delete_profile() {
    product_kernel_i* kernel = m_session->kernel();
    if (kernel)
        m_session->delete_profile(kernel->current_profile());
    refresh();
}

void profile_panel_c::rename_profile(const QString& name) {
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel)
        return;
    const int slot = kernel->current_profile();
    QString chosen = name;
    if (chosen.isEmpty() && m_dialogs) {
        bool ok = false;
        chosen = QInputDialog::getText(this, text(host_text::rename_title),
                                       text(host_text::rename_prompt).arg(slot + 1),
                                       QLineEdit::Normal, kernel->profile_name(uint8_t(slot)), &ok);
        if (!ok)
            return;
    }
    if (chosen.trimmed().isEmpty())
        return;
    m_session->rename_profile(slot, chosen.trimmed());
    refresh();
}

void profile_panel_c::import_profile(const QString& file) {
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel)
        return;
    const int slot = kernel->current_profile();
    QString chosen = file;
    if (chosen.isEmpty() && m_dialogs)
        chosen = QFileDialog::getOpenFileName(this, text(host_text::import_title).arg(slot + 1),
                                              QString(), text(host_text::profile_filter));
    if (chosen.isEmpty())
        return;
    QString error;
    const bool ok = m_session->import_profile(slot, chosen, &error);
    show_outcome(ok, text(host_text::import_done).arg(QFileInfo(chosen).fileName()).arg(slot + 1),
                 error);
}

void profile_panel_c::export_profile(const QString& file) {
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel)
        return;
    const int slot = kernel->current_profile();
    QString chosen = file;
    if (chosen.isEmpty() && m_dialogs) {
        const QString suggestion =
            kernel->profile_name(uint8_t(slot)) + QStringLiteral(".qprofile");
        chosen = QFileDialog::getSaveFileName(this, text(host_text::export_title).arg(slot + 1),
                                              suggestion, text(host_text::profile_filter));
    }
    if (chosen.isEmpty())
        return;
    QString error;
    const bool ok = m_session->export_profile(slot, chosen, &error);
    show_outcome(ok,
                 text(host_text::export_done).arg(slot + 1).arg(QDir::toNativeSeparators(chosen)),
                 error);
}
