#include "host/components/preset_list.h"

#include "host/host_log.h"
#include "host/side_layout.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QVBoxLayout>
#include <QtEndian>

preset_list_c::preset_list_c(QWidget* parent)
    : QWidget(parent)
    , m_box(new QComboBox(this)) {
    setObjectName(QStringLiteral("wg_preset_list"));
    m_box->setObjectName(QStringLiteral("cb_presets"));
    m_box->setIconSize(QSize(44, 30));
    m_box->setMinimumHeight(40);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
    setStyleSheet(QStringLiteral(R"(
QComboBox#cb_presets {
    background: #15171b; color: #e4e6e9; border: 1px solid #2e3239; border-radius: 5px;
    padding: 4px 10px; font-size: 12px; font-weight: 600; combobox-popup: 0;
}
QComboBox#cb_presets:hover { border-color: #4a5059; }
QComboBox#cb_presets:focus { border-color: #3aa7c9; }
QComboBox#cb_presets::drop-down { border: none; width: 24px; }
QComboBox#cb_presets::down-arrow { image: url(:/koral/arrow_down.svg); width: 10px; height: 6px; }
QComboBox#cb_presets QAbstractItemView {
    background: #1c1f24; color: #dcdfe3; border: 1px solid #33373f; outline: 0;
    selection-background-color: #263b48; selection-color: #ffffff; padding: 4px;
}
QComboBox#cb_presets QAbstractItemView::item { min-height: 24px; padding: 0px 6px; }
QComboBox#cb_presets QAbstractItemView::item:selected {
    padding: 0px 6px; background: #1f5f75; color: #ffffff;
}
QComboBox#cb_presets QComboBoxPrivateContainer { background: #1d2024; border: 1px solid #33373e; }
QComboBox#cb_presets QScrollBar:vertical { background: transparent; width: 8px; margin: 2px; }
QComboBox#cb_presets QScrollBar::handle:vertical {
    background: #33373e; border-radius: 3px; min-height: 24px;
}
QComboBox#cb_presets QScrollBar::add-line:vertical,
QComboBox#cb_presets QScrollBar::sub-line:vertical { height: 0px; }
QComboBox#cb_presets QScrollBar::add-page, QComboBox#cb_presets QScrollBar::sub-page {
    background: transparent;
}
)"));
    connect(m_box, qOverload<int>(&QComboBox::activated), this,
            [this](int row) { choose(m_box->itemData(row).toInt()); });
}

bool preset_list_c::parse(const QByteArray& record, preset_t* preset) {
    if (record.size() != record_size)
        return false;
    const char* name = record.constData() + 3;
    preset->name = QString::fromUtf8(name, int(qstrnlen(name, 22)));
    preset->identifier = qFromLittleEndian<quint16>(record.constData() + 25);
    preset->layout = uint8_t(record.at(27)) | uint32_t(uint8_t(record.at(28))) << 8 |
                     uint32_t(uint8_t(record.at(29))) << 16;
    return true;
}

QPixmap preset_list_c::miniature(uint32_t layout, qreal pixel_ratio) {
    const QSize size(44, 30);
    QPixmap pixmap(size * pixel_ratio);
    pixmap.setDevicePixelRatio(pixel_ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const side_layout::layout_t caps = side_layout::decode(layout);
    constexpr double cap = 8.5;
    constexpr double gap = 2;
    const double left = (size.width() - (4 * cap + 3 * gap)) / 2.0;
    const double top = (size.height() - (3 * cap + 2 * gap)) / 2.0;
    for (int s = 0; s < 12; ++s) {
        const side_layout::cap_t kind = caps.caps[size_t(s)];
        if (kind == side_layout::cap_t::double_second)
            continue;
        QRectF r(left + (s % 4) * (cap + gap), top + (s / 4) * (cap + gap), cap, cap);
        if (kind == side_layout::cap_t::double_first)
            r.setWidth(2 * cap + gap);
        p.setPen(Qt::NoPen);
        p.setBrush(kind == side_layout::cap_t::blank          ? QColor(0x2a, 0x2d, 0x33)
                   : kind == side_layout::cap_t::double_first ? QColor(0x3a, 0xa7, 0xc9)
                                                              : QColor(0xc9, 0xcc, 0xd1));
        p.drawRoundedRect(r, 2, 2);
    }
    return pixmap;
}

QPixmap preset_list_c::kept_miniature(uint32_t layout, qreal pixel_ratio) {
    // A layout has 24 bits; the ratio in hundredths goes above them.
    const quint64 key = quint64(qRound(pixel_ratio * 100)) << 32 | layout;
    static QHash<quint64, QPixmap> kept;
    static const bool dropped_with_the_application = [] {
        qAddPostRoutine([] { kept.clear(); });
        return true;
    }();
    Q_UNUSED(dropped_with_the_application);
    const auto it = kept.constFind(key);
    if (it != kept.constEnd())
        return *it;
    // A handful of presets exist; a list that keeps inventing layouts starts over.
    if (kept.size() >= 128)
        kept.clear();
    return *kept.insert(key, miniature(layout, pixel_ratio));
}

void preset_list_c::set_presets(const QList<QByteArray>& records) {
    m_presets.clear();
    for (int i = 0; i < records.size(); ++i) {
        preset_t preset;
        if (parse(records.at(i), &preset))
            m_presets.append(preset);
        else
            qCWarning(lc_koral, "Preset %d is %d bytes, not a button-set record; it is left out", i,
                      int(records.at(i).size()));
    }
    // Indexes the module gives refer to its list; skipped records shift them,
    // so a list with a damaged record shows no current preset.
    if (m_presets.size() != records.size())
        m_current = -1;
    else if (m_current >= m_presets.size())
        m_current = -1;
    refill();
}

void preset_list_c::set_current(int32_t index) {
    m_current = index >= 0 && index < m_presets.size() ? index : -1;
    refill();
}

void preset_list_c::set_placeholder(const QString& text) {
    m_placeholder = text;
    refill();
}

void preset_list_c::refill() {
    m_filling = true;
    m_box->clear();
    const qreal ratio = devicePixelRatioF();
    if (m_current < 0)
        m_box->addItem(m_placeholder, -1);
    for (int i = 0; i < m_presets.size(); ++i)
        m_box->addItem(QIcon(kept_miniature(m_presets.at(i).layout, ratio)), m_presets.at(i).name,
                       i);
    m_box->setCurrentIndex(m_box->findData(m_current));
    m_box->setEnabled(!m_presets.isEmpty());
    m_filling = false;
}

void preset_list_c::choose(int index) {
    if (m_filling || index < 0 || index >= m_presets.size())
        return;
    m_current = index;
    refill();
    if (m_client)
        m_client->preset_chosen(index);
}
