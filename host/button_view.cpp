#include "host/button_view.h"

#include "host/components/button_texts.h"
#include "host/components/hid_keys.h"
#include "module/component_interfaces.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QtEndian>

namespace button_labels {

namespace {

// The catalogue's fixed entries: function code → the host text that names it.
constexpr struct {
    int code;
    int32_t text;
} k_names[] = {
    {0, 194},   {1, 87},    {2, 88},    {3, 100},   {4, 434},   {5, 78},    {7, 114},   {8, 113},
    {9, 91},    {10, 92},   {13, 89},   {14, 90},   {16, 106},  {17, 107},  {18, 108},  {20, 103},
    {21, 104},  {22, 105},  {23, 525},  {24, 526},  {25, 527},  {27, 132},  {33, 128},  {34, 127},
    {35, 129},  {36, 510},  {37, 123},  {38, 124},  {39, 125},  {50, 83},   {65, 164},  {66, 530},
    {67, 159},  {68, 160},  {69, 161},  {70, 162},  {71, 163},  {83, 165},  {84, 166},  {98, 93},
    {99, 94},   {100, 95},  {101, 96},  {128, 115}, {129, 116}, {130, 117}, {131, 118}, {132, 119},
    {133, 120}, {134, 138}, {135, 150}, {136, 151}, {140, 126}, {167, 169}, {168, 170}, {169, 171},
    {170, 172}, {188, 173}, {189, 174}, {190, 175}, {252, 75},  {254, 82},  {255, 81},  {256, 340},
};

constexpr uint8_t k_known_modifiers = hotkey_modifier::all;

QString hotkey_label(uint8_t modifiers, uint8_t key, const sources_t& s) {
    const QString keys = hid_keys::combination_text(modifiers, key, s.text);
    if (keys.isEmpty())
        return s.text(button_text::function_hotkey_none);
    const bool odd = modifiers != hotkey_modifier::none && (modifiers & ~k_known_modifiers) != 0;
    const bool unknown_key = key != 0 && !hid_keys::is_known(key);
    return odd || unknown_key ? s.text(button_text::function_out_of_range).arg(keys) : keys;
}

QString open_label(int code, const QString& stored, const sources_t& s) {
    switch (code) {
    case function_code::open_program:
        return s.text(button_text::function_open_app).arg(QFileInfo(stored).fileName());
    case function_code::open_document:
        return s.text(button_text::function_open_document).arg(QFileInfo(stored).fileName());
    case function_code::open_folder:
        return s.text(button_text::function_open_folder).arg(QFileInfo(stored).fileName());
    default:
        return s.text(button_text::function_open_website).arg(stored);
    }
}

QString talk_label(int code, const QByteArray& record, const sources_t& s) {
    if (record.size() < button_side_record::talk_name_at ||
        qFromLittleEndian<quint16>(record.constData()) != button_side_record::talk_magic)
        return s.text(button_text::function_talk_unknown);
    const char* at = record.constData() + button_side_record::talk_name_at;
    const QString name = QString::fromUtf8(
        at, int(qstrnlen(at, uint(record.size() - button_side_record::talk_name_at))));
    return s
        .text(code == function_code::talk_alter_key ? button_text::function_talk_alter
                                                    : button_text::function_talk_lock)
        .arg(name);
}

} // namespace

int32_t function_text_id(int code) {
    for (const auto& row : k_names) {
        if (row.code == code)
            return row.text;
    }
    // The keyboard commands and the system tools run in step with their texts.
    if (code >= 171 && code <= 187)
        return 177 + (code - 171);
    if (code >= 141 && code <= 150)
        return 139 + (code - 141);
    return 0;
}

QString function_label(const mouse_memory::memory_t& memory, int slot, int button,
                       const sources_t& s) {
    if (slot < 0 || slot >= memory.profiles.size() || button < 0 || button >= mouse_memory::buttons)
        return QString();
    const mouse_memory::profile_t& p = memory.profiles.at(slot);
    // A side position with no cap fitted has no button to carry anything.
    const int layer_index = button % 20;
    if (layer_index >= 8) {
        const side_layout::layout_t layout =
            side_layout::decode(p.layout[27], p.layout[28], p.layout[29]);
        if (layout.caps[size_t(layer_index - 8)] == side_layout::cap_t::blank)
            return s.text(388);
    }
    const std::array<uint8_t, 3> e = p.entry(button);
    const int code = e[0];
    switch (code) {
    case function_code::hotkey:
        return hotkey_label(e[1], e[2], s);
    case function_code::macro: {
        const QString name = p.macro_name(button);
        return name.isNull() ? s.text(button_text::function_macro_missing) : name;
    }
    case function_code::timer: {
        const QByteArray param = p.params.value(button);
        const QString name = param.size() >= 4 && s.timer_name
                                 ? s.timer_name(qFromLittleEndian<quint32>(param.constData()))
                                 : QString();
        return name.isEmpty() ? s.text(button_text::function_timer_missing) : name;
    }
    case function_code::open_program:
    case function_code::open_document:
    case function_code::open_folder:
    case function_code::open_website:
        return open_label(code, p.texts.value(button), s);
    case function_code::talk_alter_key:
    case function_code::talk_lock:
        return talk_label(code, p.data.value(button), s);
    case function_code::custom_dpi: {
        const int dpi = e[1] | (e[2] << 8);
        const QString label = s.text(155) + QStringLiteral(" %1 DPI").arg(dpi);
        return dpi >= 200 && dpi <= 12000 ? label
                                          : s.text(button_text::function_out_of_range).arg(label);
    }
    case 208:
        return s.text(155) + QStringLiteral(" 200 DPI");
    case function_code::profile_value:
        return s.text(button_text::function_profile_value).arg(p.value_253);
    default:
        break;
    }
    if (code >= function_code::dpi_step_first && code <= function_code::dpi_step_last) {
        const int step = code - function_code::dpi_step_first;
        return s.text(button_text::function_dpi_step).arg(step + 1).arg(p.dpi(step));
    }
    if (code >= 113 && code <= 123)
        return s.text(529) + QString::number(code - 118);
    if (code >= 191 && code <= 195) {
        const int target = code - 191;
        if (target >= memory.slots_in_use)
            return s.text(button_text::function_profile_unused).arg(target + 1);
        return s.text(button_text::function_profile)
            .arg(target + 1)
            .arg(memory.profiles.at(target).name);
    }
    if (const int32_t id = function_text_id(code))
        return s.text(id);
    return s.text(button_text::function_unknown).arg(code);
}

} // namespace button_labels

// ---------------------------------------------------------------------------
// side_panel_view_c

namespace {

constexpr int k_cap = 34;
constexpr int k_gap = 6;

} // namespace

side_panel_view_c::side_panel_view_c(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("wg_side_panel_view"));
    setMinimumSize(sizeHint());
}

QSize side_panel_view_c::sizeHint() const {
    return QSize(4 * k_cap + 3 * k_gap + 24, 3 * k_cap + 2 * k_gap + 24);
}

void side_panel_view_c::set_layout(const side_layout::layout_t& layout) {
    m_layout = layout;
    update();
}

void side_panel_view_c::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QSize need = sizeHint();
    const QPointF origin((width() - need.width()) / 2.0 + 12,
                         (height() - need.height()) / 2.0 + 12);
    // The panel's body.
    p.setPen(QPen(QColor(0x2b, 0x2f, 0x36), 1));
    p.setBrush(QColor(0x14, 0x16, 0x19));
    p.drawRoundedRect(QRectF(origin - QPointF(10, 10), QSizeF(need.width() - 4, need.height() - 4)),
                      14, 14);
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    for (int s = 0; s < 12; ++s) {
        const int row = s / 4;
        const int column = s % 4;
        const side_layout::cap_t cap = m_layout.caps[size_t(s)];
        if (cap == side_layout::cap_t::double_second)
            continue;
        QRectF r(origin.x() + column * (k_cap + k_gap), origin.y() + row * (k_cap + k_gap), k_cap,
                 k_cap);
        if (cap == side_layout::cap_t::double_first)
            r.setWidth(2 * k_cap + k_gap);
        if (cap == side_layout::cap_t::blank) {
            p.setPen(QPen(QColor(0x26, 0x29, 0x2f), 1, Qt::DashLine));
            p.setBrush(QColor(0x18, 0x1a, 0x1e));
        } else {
            QLinearGradient face(r.topLeft(), r.bottomLeft());
            face.setColorAt(0, QColor(0x3a, 0x3f, 0x48));
            face.setColorAt(1, QColor(0x2a, 0x2e, 0x35));
            p.setPen(QPen(cap == side_layout::cap_t::double_first ? QColor(0x3a, 0xa7, 0xc9)
                                                                  : QColor(0x4a, 0x50, 0x59),
                          1));
            p.setBrush(face);
        }
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.setPen(cap == side_layout::cap_t::blank ? QColor(0x3e, 0x42, 0x49)
                                                  : QColor(0xd6, 0xd9, 0xdd));
        const QString number = cap == side_layout::cap_t::double_first
                                   ? QStringLiteral("%1+%2").arg(s + 1).arg(s + 2)
                                   : QString::number(s + 1);
        p.drawText(r, Qt::AlignCenter, number);
    }
}

// ---------------------------------------------------------------------------
// button_view_c

button_view_c::button_view_c(const button_labels::sources_t& sources, QWidget* parent)
    : QFrame(parent)
    , m_sources(sources) {
    setObjectName(QStringLiteral("wg_button_view"));
    setProperty("role", QStringLiteral("card"));
    build();
    refresh();
}

QString button_view_c::text(int32_t id) const {
    return m_sources.text ? m_sources.text(id) : QString();
}

void button_view_c::build() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(22, 20, 22, 20);
    column->setSpacing(8);
    auto* title_row = new QHBoxLayout;
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lb_buttons_title"));
    m_title->setProperty("role", QStringLiteral("card_title"));
    m_profile_caption = new QLabel(this);
    m_profile_caption->setProperty("role", QStringLiteral("section"));
    m_profile = new QComboBox(this);
    m_profile->setObjectName(QStringLiteral("cb_buttons_profile"));
    m_profile->setMinimumWidth(200);
    title_row->addWidget(m_title);
    title_row->addStretch(1);
    title_row->addWidget(m_profile_caption);
    title_row->addWidget(m_profile);
    column->addLayout(title_row);
    column->addSpacing(4);

    auto* body = new QHBoxLayout;
    body->setSpacing(28);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    m_standard_header = new QLabel(this);
    m_alter_header = new QLabel(this);
    for (QLabel* header : {m_standard_header, m_alter_header})
        header->setProperty("role", QStringLiteral("section"));
    grid->addWidget(m_standard_header, 0, 1);
    grid->addWidget(m_alter_header, 0, 2);
    m_labels.resize(mouse_memory::buttons);
    for (int row = 0; row < 20; ++row) {
        auto* position = new QLabel(this);
        position->setProperty("role", QStringLiteral("key"));
        m_positions.append(position);
        // The side positions start a little apart from the top buttons.
        if (row == 8)
            grid->setRowMinimumHeight(row + 1, 28);
        grid->addWidget(position, row + 1, 0, Qt::AlignBottom);
        // The top rows follow the markers on the mouse, as the button page numbers them.
        const int button = row < 8 ? top_button::row_index[row] : row;
        for (int layer = 0; layer < 2; ++layer) {
            auto* label = new QLabel(this);
            label->setObjectName(QStringLiteral("lb_button_%1").arg(button + 20 * layer));
            label->setProperty("role", QStringLiteral("fact"));
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            m_labels[button + 20 * layer] = label;
            grid->addWidget(label, row + 1, 1 + layer, Qt::AlignBottom);
        }
    }
    body->addLayout(grid, 1);

    auto* side = new QVBoxLayout;
    side->setSpacing(8);
    m_side_title = new QLabel(this);
    m_side_title->setProperty("role", QStringLiteral("section"));
    m_side = new side_panel_view_c(this);
    m_side_legend = new QLabel(this);
    m_side_legend->setProperty("role", QStringLiteral("note"));
    m_side_legend->setWordWrap(true);
    side->addWidget(m_side_title);
    side->addWidget(m_side);
    side->addWidget(m_side_legend);
    side->addStretch(1);
    body->addLayout(side);
    column->addLayout(body);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lb_buttons_note"));
    m_note->setProperty("role", QStringLiteral("note"));
    m_note->setWordWrap(true);
    column->addWidget(m_note);

    connect(m_profile, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { show_slot(m_profile->itemData(index).toInt()); });
}

void button_view_c::set_memory(const QByteArray& blob) {
    m_empty = blob.isEmpty();
    m_error.clear();
    m_readable = false;
    if (!m_empty) {
        mouse_memory::memory_t memory;
        m_readable = mouse_memory::read(blob, &memory, &m_error);
        if (m_readable) {
            m_memory = memory;
            m_slot = qBound(0, m_memory.current_slot, mouse_memory::profile_slots - 1);
        }
    }
    if (!m_readable)
        m_memory = mouse_memory::memory_t();
    refresh();
}

void button_view_c::show_slot(int slot) {
    m_slot = qBound(0, slot, mouse_memory::profile_slots - 1);
    refresh();
}

void button_view_c::refresh() {
    m_title->setText(text(button_text::buttons_panel));
    m_profile_caption->setText(text(button_text::buttons_profile).toUpper());
    m_standard_header->setText(text(button_text::buttons_standard));
    m_alter_header->setText(text(button_text::buttons_alter));
    m_side_title->setText(text(button_text::side_panel));
    for (int row = 0; row < 20; ++row) {
        m_positions[row]->setText(
            row < 8 ? QStringLiteral("%1 %2").arg(text(button_text::buttons_top)).arg(row + 1)
                    : QStringLiteral("%1 %2").arg(text(button_text::buttons_side)).arg(row - 7));
    }

    m_profile->clear();
    const bool shown = m_readable && !m_memory.profiles.isEmpty();
    if (shown) {
        const int in_use = qBound(1, m_memory.slots_in_use, mouse_memory::profile_slots);
        for (int slot = 0; slot < in_use; ++slot) {
            m_profile->addItem(
                QStringLiteral("%1 · %2").arg(slot + 1).arg(m_memory.profiles.at(slot).name), slot);
        }
        if (m_slot >= in_use)
            m_slot = 0;
        m_profile->setCurrentIndex(m_profile->findData(m_slot));
    }
    m_profile->setEnabled(shown);
    for (int button = 0; button < mouse_memory::buttons; ++button) {
        m_labels[button]->setText(
            shown ? button_labels::function_label(m_memory, m_slot, button, m_sources)
                  : QStringLiteral("—"));
    }
    side_layout::layout_t layout;
    if (shown) {
        const mouse_memory::profile_t& p = m_memory.profiles.at(m_slot);
        layout = side_layout::decode(p.layout[27], p.layout[28], p.layout[29]);
    }
    m_side->set_layout(layout);
    int singles = 0;
    int doubles = 0;
    int blanks = 0;
    for (side_layout::cap_t cap : layout.caps) {
        singles += cap == side_layout::cap_t::single;
        doubles += cap == side_layout::cap_t::double_first;
        blanks += cap == side_layout::cap_t::blank;
    }
    m_side_legend->setText(QStringLiteral("%1 %2 · %3 %4 · %5 %6")
                               .arg(singles)
                               .arg(text(button_text::side_single))
                               .arg(doubles)
                               .arg(text(button_text::side_double))
                               .arg(blanks)
                               .arg(text(button_text::side_blank)));
    if (m_empty)
        m_note->setText(text(button_text::buttons_no_memory));
    else if (!m_readable)
        m_note->setText(text(button_text::buttons_unreadable).arg(m_error));
    else if (layout.corrected)
        m_note->setText(text(button_text::buttons_layout_fixed));
    else
        m_note->clear();
    m_note->setVisible(!m_note->text().isEmpty());
}

QString button_view_c::label(int button) const {
    return button >= 0 && button < m_labels.size() ? m_labels.at(button)->text() : QString();
}

side_layout::layout_t button_view_c::side_layout() const {
    return m_side->layout();
}

QString button_view_c::note() const {
    return m_note->text();
}
