#include "host/macro_editor.h"

#include "host/components/button_texts.h"
#include "host/host_log.h"
#include "host/macro_library.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

// ---------------------------------------------------------------------------
// macro_recorder_c

macro_recorder_c::macro_recorder_c(QWidget* parent)
    : QFrame(parent)
    , m_scheme(hid_keys::platform_scheme()) {
    setObjectName(QStringLiteral("wg_macro_recorder"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(44);
}

void macro_recorder_c::set_recording(bool on) {
    if (m_recording == on)
        return;
    m_recording = on;
    m_clock.restart();
    if (on)
        setFocus();
    update();
    emit recording_changed(on);
}

bool macro_recorder_c::add(uint8_t action, uint8_t usage, uint32_t pause_ms) {
    if (m_keys.size() >= max_events || !hid_keys::is_known(usage))
        return false;
    // The pause belongs to the event before: it is how long that one lasts.
    if (!m_keys.isEmpty())
        m_keys.last().d = pause_ms;
    m_keys.append({action, usage, 0, last_pause_ms});
    emit keys_changed();
    return true;
}

void macro_recorder_c::remove(int index) {
    if (index < 0 || index >= m_keys.size())
        return;
    m_keys.removeAt(index);
    emit keys_changed();
}

void macro_recorder_c::clear() {
    if (m_keys.isEmpty())
        return;
    m_keys.clear();
    emit keys_changed();
}

bool macro_recorder_c::event(QEvent* event) {
    // While recording, Tab is a key of the macro, not a way out.
    if (m_recording && event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (m_recording && event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QFrame::event(event);
}

void macro_recorder_c::take(QKeyEvent* event, uint8_t action) {
    event->accept();
    if (!m_recording || event->isAutoRepeat())
        return;
    const uint8_t usage = hid_keys::usage_of(*event, m_scheme);
    if (usage == 0) {
        emit key_refused();
        return;
    }
    const auto pause = uint32_t(m_clock.restart());
    if (!add(action, usage, pause))
        set_recording(false); // full
}

void macro_recorder_c::keyPressEvent(QKeyEvent* event) {
    if (!m_recording) {
        QFrame::keyPressEvent(event);
        return;
    }
    take(event, macro_library_c::key_press);
}

void macro_recorder_c::keyReleaseEvent(QKeyEvent* event) {
    if (!m_recording) {
        QFrame::keyReleaseEvent(event);
        return;
    }
    take(event, macro_library_c::key_release);
}

void macro_recorder_c::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    // Keys typed elsewhere are not the macro's.
    set_recording(false);
}

void macro_recorder_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(m_recording ? QColor(0xc0, 0x55, 0x4c) : QColor(0x2e, 0x32, 0x39), 1));
    p.setBrush(QColor(0x11, 0x13, 0x16));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    if (m_recording) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe5, 0x5a, 0x4f));
        p.drawEllipse(QPointF(18, height() / 2.0), 5, 5);
    }
    p.setPen(m_recording ? QColor(0xec, 0xee, 0xf1) : QColor(0x6c, 0x71, 0x79));
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(rect().adjusted(m_recording ? 32 : 14, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft,
               m_hint);
}

void macro_recorder_c::set_hint(const QString& text) {
    m_hint = text;
    update();
}

// ---------------------------------------------------------------------------
// macro_editor_c

macro_editor_c::macro_editor_c(component_context_c* context, macro_library_c* library,
                               QWidget* parent)
    : dialog_frame_c(context, QStringLiteral("macro_editor_c"), button_text::macro_editor_title,
                     parent)
    , m_library(library) {
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(12);
    fields->setVerticalSpacing(6);
    m_group_caption = new QLabel(this);
    m_name_caption = new QLabel(this);
    for (QLabel* caption : {m_group_caption, m_name_caption})
        caption->setProperty("role", QStringLiteral("field"));
    m_group = new QComboBox(this);
    m_group->setObjectName(QStringLiteral("cb_macro_group"));
    m_group->setEditable(true);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_group->setMinimumWidth(200);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("le_macro_name"));
    m_name->setMaxLength(31); // what the device keeps of a name
    fields->addWidget(m_group_caption, 0, 0);
    fields->addWidget(m_name_caption, 0, 1);
    fields->addWidget(m_group, 1, 0);
    fields->addWidget(m_name, 1, 1);
    fields->setColumnStretch(1, 1);
    body()->addLayout(fields);

    m_events_caption = new QLabel(this);
    m_events_caption->setProperty("role", QStringLiteral("field"));
    body()->addWidget(m_events_caption);
    auto* record_row = new QHBoxLayout;
    record_row->setSpacing(8);
    m_recorder = new macro_recorder_c(this);
    m_record = new QPushButton(this);
    m_record->setObjectName(QStringLiteral("btn_macro_record"));
    m_record->setCheckable(true);
    record_row->addWidget(m_recorder, 1);
    record_row->addWidget(m_record);
    body()->addLayout(record_row);

    m_events = new QTreeWidget(this);
    m_events->setObjectName(QStringLiteral("tw_macro_events"));
    m_events->setColumnCount(3);
    m_events->setHeaderHidden(true);
    m_events->setRootIsDecorated(false);
    m_events->setAlternatingRowColors(true);
    m_events->setUniformRowHeights(true);
    m_events->setFocusPolicy(Qt::ClickFocus);
    m_events->header()->setStretchLastSection(false);
    m_events->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_events->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_events->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_events->setMinimumSize(460, 180);
    body()->addWidget(m_events, 1);

    auto* list_row = new QHBoxLayout;
    m_count = new QLabel(this);
    m_count->setProperty("role", QStringLiteral("hint"));
    m_remove = new QPushButton(this);
    m_remove->setObjectName(QStringLiteral("btn_macro_remove"));
    m_clear = new QPushButton(this);
    m_clear->setObjectName(QStringLiteral("btn_macro_clear"));
    list_row->addWidget(m_count, 1);
    list_row->addWidget(m_remove);
    list_row->addWidget(m_clear);
    body()->addLayout(list_row);

    for (QPushButton* button : {m_record, m_remove, m_clear}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::PointingHandCursor);
    }
    m_record->setStyleSheet(QStringLiteral(
        "QPushButton#btn_macro_record:checked { background: #a8473f; border-color: #c0554c; "
        "color: #ffffff; }"));

    connect(m_record, &QPushButton::toggled, m_recorder, &macro_recorder_c::set_recording);
    connect(m_recorder, &macro_recorder_c::recording_changed, this, [this](bool on) {
        m_record->setChecked(on);
        retranslate();
    });
    connect(m_recorder, &macro_recorder_c::keys_changed, this, &macro_editor_c::refill_events);
    connect(m_recorder, &macro_recorder_c::key_refused, this,
            [this] { set_message(text(button_text::hotkey_refused)); });
    connect(m_remove, &QPushButton::clicked, this,
            [this] { m_recorder->remove(m_events->indexOfTopLevelItem(m_events->currentItem())); });
    connect(m_clear, &QPushButton::clicked, m_recorder, &macro_recorder_c::clear);
    connect(m_name, &QLineEdit::textChanged, this, &macro_editor_c::check);
    connect(m_group, &QComboBox::editTextChanged, this, &macro_editor_c::check);
    connect(m_events, &QTreeWidget::currentItemChanged, this, &macro_editor_c::check);
    connect(this, &dialog_frame_c::retranslate_requested, this, &macro_editor_c::retranslate);

    if (m_library) {
        for (int g = 0; g < m_library->group_count(); ++g)
            m_group->addItem(m_library->group_name(g));
    }
    select_group(-1);
    retranslate();
    m_name->setFocus();
}

void macro_editor_c::select_group(int group) {
    if (group >= 0 && group < m_group->count())
        m_group->setCurrentIndex(group);
    else if (m_group->count() > 0)
        m_group->setCurrentIndex(0);
    else
        m_group->setEditText(text(button_text::macro_new_group));
}

void macro_editor_c::retranslate() {
    if (!m_recorder)
        return;
    m_group_caption->setText(text(button_text::macro_group).toUpper());
    m_name_caption->setText(text(button_text::macro_name).toUpper());
    m_events_caption->setText(text(button_text::macro_events).toUpper());
    m_record->setText(
        text(m_recorder->recording() ? button_text::macro_stop : button_text::macro_record));
    m_remove->setText(text(button_text::macro_remove_event));
    m_clear->setText(text(button_text::macro_clear));
    m_recorder->set_hint(text(m_recorder->recording() ? button_text::macro_recording_hint
                                                      : button_text::macro_no_events));
    refill_events();
}

void macro_editor_c::refill_events() {
    const auto name_of = [this](int32_t id) {
        return text(id);
    };
    m_events->clear();
    const QVector<library_key> keys = m_recorder->keys();
    for (int i = 0; i < keys.size(); ++i) {
        const library_key& key = keys.at(i);
        auto* item = new QTreeWidgetItem(m_events);
        item->setText(0, QString::number(i + 1));
        const QString name = hid_keys::key_name(key.b, name_of);
        item->setText(1, text(key.a == macro_library_c::key_press ? button_text::macro_press
                                                                  : button_text::macro_release)
                             .arg(name));
        item->setText(2, text(button_text::macro_delay).arg(key.d));
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (!keys.isEmpty())
        m_events->scrollToBottom();
    m_count->setText(
        text(button_text::macro_event_count).arg(keys.size()).arg(macro_recorder_c::max_events));
    check();
}

void macro_editor_c::check() {
    const bool has_keys = !m_recorder->keys().isEmpty();
    m_remove->setEnabled(m_events->currentItem() != nullptr);
    m_clear->setEnabled(has_keys);
    const QString name = m_name->text().trimmed();
    const int group = m_library ? m_library->find_group(m_group->currentText().trimmed()) : -1;
    const bool taken = group >= 0 && m_library->find_macro(group, name) >= 0;
    set_message(taken ? text(button_text::macro_name_taken) : QString());
    ok_button()->setEnabled(m_library && !name.isEmpty() && !taken && has_keys &&
                            !m_group->currentText().trimmed().isEmpty());
}

bool macro_editor_c::save() {
    if (!m_library)
        return false;
    const QString name = m_name->text().trimmed();
    QString group_name = m_group->currentText().trimmed();
    if (group_name.isEmpty())
        group_name = text(button_text::macro_new_group);
    if (name.isEmpty()) {
        set_message(text(button_text::macro_name_empty));
        return false;
    }
    int group = m_library->find_group(group_name);
    if (group < 0)
        group = m_library->create_group(group_name);
    const int macro = group < 0 ? -1 : m_library->create_macro(group, name, m_recorder->keys());
    if (macro < 0) {
        set_message(text(button_text::macro_name_taken));
        return false;
    }
    m_saved_group = group;
    m_saved_macro = macro;
    qCInfo(lc_koral).noquote() << "New macro" << name << "in" << group_name << "with"
                               << m_recorder->keys().size() << "key events";
    return true;
}

void macro_editor_c::done(int result) {
    m_recorder->set_recording(false);
    if (result == QDialog::Accepted && !save())
        return;
    dialog_frame_c::done(result);
}
