#include "host/components/hotkey_dialog.h"

#include "host/components/button_texts.h"
#include "host/components/component_context.h"
#include "host/host_log.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The modifiers a dialog run offers: the first `mode` of Shift, Ctrl, Alt, Win.
uint8_t offered_modifiers(int32_t mode) {
    static constexpr uint8_t order[] = {hotkey_modifier::shift, hotkey_modifier::ctrl,
                                        hotkey_modifier::alt, hotkey_modifier::win};
    const int count = mode < 0 || mode > 4 ? 4 : mode;
    uint8_t bits = 0;
    for (int i = 0; i < count; ++i)
        bits |= order[i];
    return bits;
}

} // namespace

// ---------------------------------------------------------------------------
// hotkey_field_c

hotkey_field_c::hotkey_field_c(const hid_keys::text_source& text, QWidget* parent)
    : QFrame(parent)
    , m_text(text)
    , m_scheme(hid_keys::platform_scheme()) {
    setObjectName(QStringLiteral("wg_hotkey_field"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(380, 84);
    setCursor(Qt::IBeamCursor);
}

void hotkey_field_c::set_placeholder(const QString& text) {
    m_placeholder = text;
    update();
}

void hotkey_field_c::set_combination(uint8_t modifiers, uint8_t usage) {
    const uint8_t mods = modifiers == hotkey_modifier::none ? 0 : modifiers & m_offered;
    const uint8_t key = hid_keys::is_known(usage) ? usage : 0;
    if (mods == m_modifiers && key == m_usage)
        return;
    m_modifiers = mods;
    m_usage = key;
    update();
    emit combination_changed();
}

QString hotkey_field_c::combination_text() const {
    return hid_keys::combination_text(m_modifiers, m_usage, m_text);
}

uint8_t hotkey_field_c::modifier_bit(const QKeyEvent& event, uint8_t usage) const {
    const uint8_t bit = hid_keys::modifier_bit_of_usage(usage);
    return bit ? bit : hid_keys::modifier_bit_of_qt_key(event.key());
}

bool hotkey_field_c::event(QEvent* event) {
    // Tab and Backtab would move the focus; here they are keys like any other.
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QFrame::event(event);
}

void hotkey_field_c::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (event->isAutoRepeat())
        return;
    const uint8_t usage = hid_keys::usage_of(*event, m_scheme);
    const uint8_t bit = modifier_bit(*event, usage);
    const bool new_round = m_held == 0 && m_keys_down == 0;
    if (new_round)
        m_round_has_key = false;
    if (bit) {
        m_held |= bit;
        // Modifiers alone are a combination too: the most held in this round.
        if (!m_round_has_key) {
            const uint8_t mods = (new_round ? 0 : m_modifiers) | (m_held & m_offered);
            set_combination(mods, 0);
        }
        return;
    }
    if (usage == 0) {
        qCInfo(lc_koral, "The hotkey dialog refused key 0x%x: the mouse cannot send it",
               unsigned(event->key()));
        emit key_refused();
        return;
    }
    ++m_keys_down;
    m_round_has_key = true;
    set_combination((hid_keys::modifier_bits(event->modifiers()) | m_held) & m_offered, usage);
}

void hotkey_field_c::keyReleaseEvent(QKeyEvent* event) {
    event->accept();
    if (event->isAutoRepeat())
        return;
    const uint8_t usage = hid_keys::usage_of(*event, m_scheme);
    const uint8_t bit = modifier_bit(*event, usage);
    if (bit)
        m_held &= uint8_t(~bit);
    else if (usage != 0 && m_keys_down > 0)
        --m_keys_down;
}

void hotkey_field_c::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    m_held = 0;
    m_keys_down = 0;
    update();
}

void hotkey_field_c::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    update();
}

void hotkey_field_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(hasFocus() ? QColor(0x3a, 0xa7, 0xc9) : QColor(0x2e, 0x32, 0x39), 1));
    p.setBrush(QColor(0x11, 0x13, 0x16));
    p.drawRoundedRect(frame, 6, 6);

    QStringList parts;
    static constexpr struct {
        uint8_t bit;
        int32_t id;
    } order[] = {{hotkey_modifier::shift, button_text::key_shift},
                 {hotkey_modifier::ctrl, button_text::key_ctrl},
                 {hotkey_modifier::alt, button_text::key_alt},
                 {hotkey_modifier::win, button_text::key_win}};
    for (const auto& part : order) {
        if (m_modifiers & part.bit)
            parts.append(m_text ? m_text(part.id) : QString());
    }
    if (m_usage)
        parts.append(hid_keys::key_name(m_usage, m_text));

    if (parts.isEmpty()) {
        p.setPen(QColor(0x6c, 0x71, 0x79));
        QFont font = p.font();
        font.setPixelSize(13);
        p.setFont(font);
        p.drawText(rect(), Qt::AlignCenter, m_placeholder);
        return;
    }
    // Key caps side by side with a plus between them, centred.
    QFont font = p.font();
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics metrics(font);
    const int cap_height = 40;
    const int padding = 14;
    const int plus_width = 26;
    QVector<int> widths;
    int total = 0;
    for (const QString& part : parts) {
        widths.append(qMax(cap_height, metrics.horizontalAdvance(part) + 2 * padding));
        total += widths.last();
    }
    total += plus_width * (parts.size() - 1);
    qreal x = (width() - total) / 2.0;
    const qreal y = (height() - cap_height) / 2.0;
    for (int i = 0; i < parts.size(); ++i) {
        const QRectF cap(x, y, widths.at(i), cap_height);
        // The cap's lower lip, then its face.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x0b, 0x0c, 0x0e));
        p.drawRoundedRect(cap.translated(0, 3), 6, 6);
        QLinearGradient face(cap.topLeft(), cap.bottomLeft());
        face.setColorAt(0, QColor(0x34, 0x39, 0x41));
        face.setColorAt(1, QColor(0x26, 0x2a, 0x30));
        p.setBrush(face);
        p.setPen(QPen(QColor(0x45, 0x4b, 0x54), 1));
        p.drawRoundedRect(cap, 6, 6);
        p.setPen(QColor(0xec, 0xee, 0xf1));
        p.drawText(cap, Qt::AlignCenter, parts.at(i));
        x += widths.at(i);
        if (i + 1 < parts.size()) {
            p.setPen(QColor(0x3a, 0xa7, 0xc9));
            p.drawText(QRectF(x, y, plus_width, cap_height), Qt::AlignCenter, QStringLiteral("+"));
            x += plus_width;
        }
    }
}

// ---------------------------------------------------------------------------
// hotkey_dialog_fm_c

hotkey_dialog_fm_c::hotkey_dialog_fm_c(component_context_c* context, QWidget* parent)
    : dialog_frame_c(context, QStringLiteral("hotkey_dialog_fm_c"), button_text::hotkey_title,
                     parent) {
    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("lb_hotkey_prompt"));
    m_prompt->setWordWrap(true);
    m_field = new hotkey_field_c([this](int32_t id) { return text(id); }, this);
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("lb_hotkey_hint"));
    m_hint->setProperty("role", QStringLiteral("hint"));
    m_hint->setWordWrap(true);
    m_clear = new QPushButton(this);
    m_clear->setObjectName(QStringLiteral("btn_hotkey_clear"));
    m_clear->setFocusPolicy(Qt::NoFocus);
    m_clear->setCursor(Qt::PointingHandCursor);
    auto* hint_row = new QHBoxLayout;
    hint_row->addWidget(m_hint, 1);
    hint_row->addWidget(m_clear, 0, Qt::AlignTop);
    body()->addWidget(m_prompt);
    body()->addWidget(m_field);
    body()->addLayout(hint_row);
    // The keyboard belongs to the field: OK and Cancel are for the mouse.
    ok_button()->setFocusPolicy(Qt::NoFocus);
    ok_button()->setDefault(false);
    ok_button()->setAutoDefault(false);
    cancel_button()->setFocusPolicy(Qt::NoFocus);
    cancel_button()->setAutoDefault(false);
    setFocusProxy(m_field);
    m_field->setFocus();

    connect(m_field, &hotkey_field_c::combination_changed, this, [this] {
        set_message(QString());
        update_state();
    });
    connect(m_field, &hotkey_field_c::key_refused, this,
            [this] { set_message(text(button_text::hotkey_refused)); });
    connect(m_clear, &QPushButton::clicked, this, [this] {
        m_field->clear();
        m_field->setFocus();
    });
    connect(this, &dialog_frame_c::retranslate_requested, this, &hotkey_dialog_fm_c::retranslate);
    retranslate();
    update_state();
}

void hotkey_dialog_fm_c::retranslate() {
    // The frame retranslates in its constructor, before this dialog's widgets exist.
    if (!m_field)
        return;
    m_prompt->setText(text(button_text::hotkey_prompt));
    m_hint->setText(text(button_text::hotkey_hint));
    m_clear->setText(text(button_text::hotkey_clear));
    m_field->set_placeholder(text(button_text::hotkey_waiting));
    m_field->update();
}

void hotkey_dialog_fm_c::update_state() {
    ok_button()->setEnabled(m_field->has_combination());
    m_clear->setEnabled(m_field->has_combination());
}

// ---------------------------------------------------------------------------
// hotkey_dialog_c

hotkey_dialog_c::hotkey_dialog_c(component_context_c* context)
    : dialog_component_c(context) {}

interface_i* hotkey_dialog_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<hotkey_dialog_i>::value)
        return static_cast<hotkey_dialog_i*>(this);
    return nullptr;
}

int32_t hotkey_dialog_c::run(uint8_t* entry, int32_t code, int32_t mode) {
    m_journal.record(QStringLiteral("run"), {entry != nullptr, code, mode});
    if (!entry) {
        qCWarning(lc_koral, "The hotkey dialog was asked to run without a button entry");
        return 0;
    }
    auto* dialog = new hotkey_dialog_fm_c(m_context);
    dialog->field()->set_offered(offered_modifiers(mode));
    if (entry[0] == code)
        dialog->field()->set_combination(entry[1], entry[2]);
    return run_dialog(dialog, [this, dialog, entry, code] {
        if (!dialog->field()->has_combination())
            return;
        entry[0] = uint8_t(code);
        entry[1] = dialog->field()->modifiers();
        entry[2] = dialog->field()->usage();
        m_journal.record(QStringLiteral("accepted"), {entry[1], entry[2]});
    });
}
