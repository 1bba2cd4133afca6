#include "host/talk_devices_panel.h"

#include "host/components/button_texts.h"
#include "host/device_list.h"
#include "host/host_catalogue.h"
#include "module/interfaces.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int k_identifier_role = Qt::UserRole;
// Keyboards: the devices that take Talk functions.
constexpr int32_t k_talk_device_type = 1;

// The host and this mouse are not other devices; a product without an id is no device.
bool is_other_device(const host_catalogue_c::product_t& product) {
    return product.type != product_type::host && product.type != product_type::black &&
           product.type != product_type::white && product.pid != 0;
}

} // namespace

talk_devices_panel_c::talk_devices_panel_c(device_list_c* devices,
                                           const host_catalogue_c* catalogue,
                                           std::function<QString(int32_t)> text, QWidget* parent)
    : QFrame(parent)
    , m_devices(devices)
    , m_catalogue(catalogue)
    , m_text(std::move(text)) {
    setObjectName(QStringLiteral("wg_talk_devices"));
    setProperty("role", QStringLiteral("card"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(22, 20, 22, 20);
    column->setSpacing(8);
    m_title = new QLabel(this);
    m_title->setProperty("role", QStringLiteral("card_title"));
    m_note = new QLabel(this);
    m_note->setProperty("role", QStringLiteral("note"));
    m_note->setWordWrap(true);
    column->addWidget(m_title);
    column->addWidget(m_note);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("tw_talk_devices"));
    m_list->setColumnCount(3);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    // Room for a desk's worth of devices; more scroll.
    m_list->setFixedHeight(150);
    column->addWidget(m_list, 1);
    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    m_products = new QComboBox(this);
    m_products->setObjectName(QStringLiteral("cb_talk_product"));
    m_add = new QPushButton(this);
    m_add->setObjectName(QStringLiteral("btn_talk_add"));
    m_add->setProperty("role", QStringLiteral("action"));
    m_remove = new QPushButton(this);
    m_remove->setObjectName(QStringLiteral("btn_talk_remove"));
    m_remove->setProperty("role", QStringLiteral("action"));
    actions->addWidget(m_products, 1);
    actions->addWidget(m_add);
    actions->addWidget(m_remove);
    column->addLayout(actions);

    connect(m_add, &QPushButton::clicked, this,
            [this] { connect_product(m_products->currentData().toInt()); });
    connect(m_remove, &QPushButton::clicked, this, [this] { disconnect_selected(); });
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this] { m_remove->setEnabled(m_list->currentItem() != nullptr); });
    if (m_devices)
        connect(m_devices, &device_list_c::devices_changed, this, &talk_devices_panel_c::refresh);
    fill_products();
    refresh();
}

void talk_devices_panel_c::fill_products() {
    m_products->clear();
    if (!m_catalogue)
        return;
    for (const host_catalogue_c::product_t& product : m_catalogue->products()) {
        if (!is_other_device(product))
            continue;
        const QString name = product.disp_name.isEmpty() ? product.alias_name : product.disp_name;
        m_products->addItem(name, product.type);
    }
}

void talk_devices_panel_c::refresh() {
    m_title->setText(m_text(button_text::talk_devices_panel));
    m_note->setText(m_text(button_text::talk_devices_note));
    m_add->setText(m_text(button_text::talk_add));
    m_remove->setText(m_text(button_text::talk_remove));
    m_list->setHeaderLabels({m_text(button_text::talk_device_name).toUpper(),
                             m_text(button_text::talk_device_product).toUpper(),
                             m_text(button_text::talk_column).toUpper()});
    const uint16_t keep = m_list->currentItem()
                              ? uint16_t(m_list->currentItem()->data(0, k_identifier_role).toUInt())
                              : 0;
    m_list->clear();
    const QVector<device_list_c::device_t> devices =
        m_devices ? m_devices->devices() : QVector<device_list_c::device_t>();
    for (const device_list_c::device_t& device : devices) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, device.name);
        item->setText(
            1, QStringLiteral("0x") +
                   QStringLiteral("%1").arg(device.product_id, 4, 16, QLatin1Char('0')).toUpper());
        bool talks = false;
        if (m_catalogue) {
            for (const host_catalogue_c::product_t& product : m_catalogue->products())
                talks = talks || (product.pid == device.product_id &&
                                  product.device_type == k_talk_device_type);
        }
        item->setText(2, talks ? QStringLiteral("●") : QString());
        item->setTextAlignment(2, Qt::AlignCenter);
        item->setData(0, k_identifier_role, device.identifier);
    }
    if (devices.isEmpty()) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, m_text(button_text::talk_none));
        item->setFlags(Qt::NoItemFlags);
    }
    select(keep);
    m_remove->setEnabled(m_list->currentItem() && !devices.isEmpty());
    m_add->setEnabled(m_products->count() > 0 && m_devices &&
                      m_devices->count() < device_list_c::max_devices);
}

void talk_devices_panel_c::select(uint16_t identifier) {
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (identifier != 0 && item->data(0, k_identifier_role).toUInt() == identifier) {
            m_list->setCurrentItem(item);
            return;
        }
    }
}

bool talk_devices_panel_c::connect_product(int32_t product_type) {
    const host_catalogue_c::product_t* product =
        m_catalogue ? m_catalogue->product(product_type) : nullptr;
    if (!m_devices || !product || !is_other_device(*product))
        return false;
    // A second keyboard of the same kind gets a number.
    const QString base = product->disp_name.isEmpty() ? product->alias_name : product->disp_name;
    QString name = base;
    for (int n = 2;; ++n) {
        bool taken = false;
        for (const device_list_c::device_t& device : m_devices->devices())
            taken = taken || device.name == name;
        if (!taken)
            break;
        name = QStringLiteral("%1 (%2)").arg(base).arg(n);
    }
    const uint16_t identifier = m_devices->free_identifier();
    if (!m_devices->add({name, product->pid, identifier}))
        return false;
    select(identifier);
    return true;
}

bool talk_devices_panel_c::disconnect_selected() {
    const QTreeWidgetItem* item = m_list->currentItem();
    if (!m_devices || !item)
        return false;
    return m_devices->remove(uint16_t(item->data(0, k_identifier_role).toUInt()));
}
