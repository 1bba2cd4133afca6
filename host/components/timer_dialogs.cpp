#include "host/components/timer_dialogs.h"

#include "host/components/button_texts.h"
#include "host/components/component_context.h"
#include "host/host_log.h"
#include "host/timer_list.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int k_identifier_role = Qt::UserRole;

QLabel* field_caption(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setProperty("role", QStringLiteral("field"));
    return label;
}

QTimeEdit* duration_editor(const QString& name, QWidget* parent) {
    auto* edit = new QTimeEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    edit->setMinimumTime(QTime(0, 0, 0));
    edit->setMaximumTime(QTime(23, 59, 59));
    edit->setCurrentSection(QDateTimeEdit::MinuteSection);
    return edit;
}

uint32_t duration_of(const QTimeEdit* edit) {
    return uint32_t(QTime(0, 0).msecsTo(edit->time()));
}

QTime time_of(uint32_t ms) {
    return QTime(0, 0).addMSecs(int(qMin<uint32_t>(ms, timer_list_c::max_duration_ms - 1000)));
}

} // namespace

namespace timer_text {

QString duration(uint32_t ms) {
    const uint32_t seconds = (ms + 500) / 1000;
    const uint32_t h = seconds / 3600;
    const uint32_t m = seconds / 60 % 60;
    const uint32_t s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QLatin1Char('0'))
            .arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}

} // namespace timer_text

// ---------------------------------------------------------------------------
// new_timer_fm_c

new_timer_fm_c::new_timer_fm_c(component_context_c* context, timer_list_c* timers, QWidget* parent)
    : dialog_frame_c(context, QStringLiteral("new_timer_fm_c"), button_text::new_timer_title,
                     parent)
    , m_timers(timers) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(6);
    m_name_caption = field_caption(QStringLiteral("lb_timer_name"), this);
    m_duration_caption = field_caption(QStringLiteral("lb_timer_duration"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("le_timer_name"));
    m_name->setMaxLength(timer_list_c::max_name_chars);
    m_name->setMinimumWidth(240);
    m_duration = duration_editor(QStringLiteral("te_timer_duration"), this);
    m_duration->setTime(QTime(0, 1, 0));
    grid->addWidget(m_name_caption, 0, 0);
    grid->addWidget(m_duration_caption, 0, 1);
    grid->addWidget(m_name, 1, 0);
    grid->addWidget(m_duration, 1, 1);
    grid->setColumnStretch(0, 1);
    body()->addLayout(grid);
    connect(m_name, &QLineEdit::textChanged, this, &new_timer_fm_c::check);
    connect(m_duration, &QTimeEdit::timeChanged, this, &new_timer_fm_c::check);
    connect(this, &dialog_frame_c::retranslate_requested, this, &new_timer_fm_c::retranslate);
    retranslate();
    m_name->setFocus();
}

void new_timer_fm_c::retranslate() {
    if (!m_name)
        return;
    m_name_caption->setText(text(button_text::timer_column_name).toUpper());
    m_duration_caption->setText(text(button_text::timer_duration).toUpper());
    check();
}

QString new_timer_fm_c::timer_name() const {
    return m_name->text().trimmed();
}

uint32_t new_timer_fm_c::duration_ms() const {
    return duration_of(m_duration);
}

void new_timer_fm_c::check() {
    const bool empty = timer_name().isEmpty();
    const bool taken = !empty && m_timers && m_timers->name_taken(timer_name());
    // An empty name is the starting state, not a mistake to point at.
    set_message(taken ? text(button_text::timer_name_taken) : QString());
    ok_button()->setEnabled(!empty && !taken && duration_ms() > 0);
}

// ---------------------------------------------------------------------------
// new_timer_dialog_c

new_timer_dialog_c::new_timer_dialog_c(component_context_c* context)
    : dialog_component_c(context) {}

interface_i* new_timer_dialog_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<new_timer_dialog_i>::value)
        return static_cast<new_timer_dialog_i*>(this);
    return nullptr;
}

int32_t new_timer_dialog_c::run() {
    m_journal.record(QStringLiteral("run"));
    timer_list_c* timers = m_context ? m_context->timers() : nullptr;
    if (!timers) {
        qCWarning(lc_koral, "The new-timer dialog has no timer list to add to");
        return 0;
    }
    m_accepted = false;
    auto* dialog = new new_timer_fm_c(m_context, timers);
    return run_dialog(dialog, [this, dialog] {
        m_name = dialog->timer_name();
        m_duration_ms = dialog->duration_ms();
        m_accepted = true;
    });
}

bool new_timer_dialog_c::store(uint32_t identifier) {
    m_journal.record(QStringLiteral("store"), {identifier});
    timer_list_c* timers = m_context ? m_context->timers() : nullptr;
    if (!m_accepted || !timers)
        return false;
    if (!timers->add({identifier, m_name, m_duration_ms})) {
        qCWarning(lc_koral, "The new timer could not be stored under identifier %u", identifier);
        return false;
    }
    m_accepted = false; // one timer per acceptance
    return true;
}

// ---------------------------------------------------------------------------
// timer_manager_fm_c

timer_manager_fm_c::timer_manager_fm_c(component_context_c* context, timer_list_c* timers,
                                       edit_timer_fm_client_i* client, QWidget* parent)
    : dialog_frame_c(context, QStringLiteral("timer_manager_fm_c"),
                     button_text::timer_manager_title, parent)
    , m_timers(timers)
    , m_client(client) {
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lb_timer_summary"));
    m_summary->setProperty("role", QStringLiteral("hint"));
    body()->addWidget(m_summary);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("tw_timers"));
    m_list->setColumnCount(3);
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    m_list->setUniformRowHeights(true);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_list->setMinimumSize(440, 200);
    body()->addWidget(m_list, 1);

    auto* editor = new QGridLayout;
    editor->setHorizontalSpacing(10);
    editor->setVerticalSpacing(6);
    m_name_caption = field_caption(QStringLiteral("lb_manager_name"), this);
    m_duration_caption = field_caption(QStringLiteral("lb_manager_duration"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("le_manager_name"));
    m_name->setMaxLength(timer_list_c::max_name_chars);
    m_duration = duration_editor(QStringLiteral("te_manager_duration"), this);
    m_new = new QPushButton(this);
    m_new->setObjectName(QStringLiteral("btn_timer_new"));
    m_delete = new QPushButton(this);
    m_delete->setObjectName(QStringLiteral("btn_timer_delete"));
    editor->addWidget(m_name_caption, 0, 0);
    editor->addWidget(m_duration_caption, 0, 1);
    editor->addWidget(m_name, 1, 0);
    editor->addWidget(m_duration, 1, 1);
    editor->addWidget(m_new, 1, 2);
    editor->addWidget(m_delete, 1, 3);
    editor->setColumnStretch(0, 1);
    body()->addLayout(editor);

    // The list is edited in place: there is nothing to cancel, only to close.
    cancel_button()->hide();
    connect(m_list, &QTreeWidget::currentItemChanged, this, &timer_manager_fm_c::show_selected);
    connect(m_name, &QLineEdit::editingFinished, this, &timer_manager_fm_c::commit_name);
    connect(m_duration, &QTimeEdit::editingFinished, this, &timer_manager_fm_c::commit_duration);
    connect(m_new, &QPushButton::clicked, this, [this] { add_timer(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { delete_selected(); });
    if (m_timers)
        connect(m_timers, &timer_list_c::timers_changed, this, [this] {
            m_changed = true;
            refill();
        });
    connect(this, &dialog_frame_c::retranslate_requested, this, &timer_manager_fm_c::retranslate);
    retranslate();
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

void timer_manager_fm_c::retranslate() {
    if (!m_list)
        return;
    ok_button()->setText(text(button_text::close));
    m_list->setHeaderLabels({text(button_text::timer_column_name).toUpper(),
                             text(button_text::timer_column_duration).toUpper(),
                             text(button_text::timer_column_use).toUpper()});
    m_name_caption->setText(text(button_text::timer_column_name).toUpper());
    m_duration_caption->setText(text(button_text::timer_duration).toUpper());
    m_new->setText(text(button_text::timer_new));
    m_delete->setText(text(button_text::timer_delete));
    refill();
}

void timer_manager_fm_c::refill() {
    const uint32_t keep = selected();
    m_filling = true;
    m_list->clear();
    const QVector<timer_list_c::timer_t> timers =
        m_timers ? m_timers->timers() : QVector<timer_list_c::timer_t>();
    for (const timer_list_c::timer_t& timer : timers) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, timer.name);
        item->setText(1, timer_text::duration(timer.duration_ms));
        const bool used = m_client && m_client->timer_in_use(timer.identifier);
        item->setText(2, used ? text(button_text::timer_used_here) : QString());
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, k_identifier_role, timer.identifier);
    }
    m_summary->setText(timers.isEmpty() ? text(button_text::timer_manager_empty)
                                        : text(button_text::timer_summary).arg(timers.size()));
    m_filling = false;
    select(keep);
    show_selected();
}

uint32_t timer_manager_fm_c::selected() const {
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->data(0, k_identifier_role).toUInt() : 0;
}

void timer_manager_fm_c::select(uint32_t identifier) {
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->data(0, k_identifier_role).toUInt() == identifier) {
            m_list->setCurrentItem(item);
            return;
        }
    }
    if (m_list->topLevelItemCount() > 0 && !m_list->currentItem())
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

void timer_manager_fm_c::show_selected() {
    if (m_filling)
        return;
    const timer_list_c::timer_t* timer = m_timers ? m_timers->find(selected()) : nullptr;
    m_name->setEnabled(timer != nullptr);
    m_duration->setEnabled(timer != nullptr);
    m_delete->setEnabled(timer != nullptr);
    m_name->setText(timer ? timer->name : QString());
    m_duration->setTime(timer ? time_of(timer->duration_ms) : QTime(0, 0));
    m_name->setProperty("invalid", false);
    m_name->setStyleSheet(QString());
}

void timer_manager_fm_c::commit_name() {
    const uint32_t identifier = selected();
    if (!m_timers || !identifier)
        return;
    const QString name = m_name->text().trimmed();
    if (name == m_timers->name_of(identifier))
        return;
    const bool done = m_timers->rename(identifier, name);
    m_name->setProperty("invalid", !done);
    m_name->setStyleSheet(QString());
    set_message(done             ? QString()
                : name.isEmpty() ? text(button_text::timer_name_empty)
                                 : text(button_text::timer_name_taken));
}

void timer_manager_fm_c::commit_duration() {
    const uint32_t identifier = selected();
    const uint32_t ms = duration_of(m_duration);
    if (!m_timers || !identifier || ms == 0)
        return;
    m_timers->set_duration(identifier, ms);
}

bool timer_manager_fm_c::add_timer() {
    if (!m_timers || m_timers->count() >= timer_list_c::max_timers)
        return false;
    // A name the list does not have yet: "Timer 4", "Timer 5" ...
    const QString base = text(button_text::timer_name);
    int n = m_timers->count() + 1;
    while (m_timers->name_taken(QStringLiteral("%1 %2").arg(base).arg(n)))
        ++n;
    uint32_t identifier = 0;
    while (identifier == 0 || m_timers->find(identifier))
        identifier = QRandomGenerator::global()->generate();
    if (!m_timers->add({identifier, QStringLiteral("%1 %2").arg(base).arg(n), 60000}))
        return false;
    select(identifier);
    m_name->setFocus();
    m_name->selectAll();
    return true;
}

bool timer_manager_fm_c::delete_selected(const bool* confirm) {
    const uint32_t identifier = selected();
    if (!m_timers || !identifier)
        return false;
    if (m_client && m_client->timer_in_use(identifier)) {
        bool yes = false;
        if (confirm) {
            yes = *confirm;
        } else {
            dialog_frame_c ask(context(), QStringLiteral("timer_delete_fm_c"),
                               button_text::timer_in_use_title, this);
            auto* question = new QLabel(
                text(button_text::timer_in_use_text).arg(m_timers->name_of(identifier)), &ask);
            question->setWordWrap(true);
            question->setMinimumWidth(320);
            ask.body()->addWidget(question);
            ask.ok_button()->setText(text(button_text::timer_delete));
            yes = ask.run() == 1;
        }
        if (!yes)
            return false;
    }
    return m_timers->remove(identifier);
}

// ---------------------------------------------------------------------------
// timer_manager_dialog_c

timer_manager_dialog_c::timer_manager_dialog_c(component_context_c* context)
    : dialog_component_c(context) {}

interface_i* timer_manager_dialog_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<timer_manager_dialog_i>::value)
        return static_cast<timer_manager_dialog_i*>(this);
    return nullptr;
}

void timer_manager_dialog_c::set_client(edit_timer_fm_client_i* client) {
    m_journal.record(QStringLiteral("set_client"), {client != nullptr});
    m_client = client;
}

int32_t timer_manager_dialog_c::run() {
    m_journal.record(QStringLiteral("run"));
    timer_list_c* timers = m_context ? m_context->timers() : nullptr;
    if (!timers) {
        qCWarning(lc_koral, "The timer manager has no timer list to show");
        return 0;
    }
    bool changed = false;
    const auto watch =
        connect(timers, &timer_list_c::timers_changed, this, [&changed] { changed = true; });
    run_dialog(new timer_manager_fm_c(m_context, timers, m_client), nullptr);
    disconnect(watch);
    return changed ? 1 : 0;
}
