#include "host/main_window.h"
#include "host/widget_helpers.h"

#include "host/advanced_gallery.h"
#include "host/button_page_shots.h"
#include "host/button_view.h"
#include "host/component_gallery.h"
#include "host/ctrl_center.h"
#include "host/host_catalogue.h"
#include "host/host_settings.h"
#include "host/host_storage.h"
#include "host/hub.h"
#include "host/kernel_session.h"
#include "host/macro_editor.h"
#include "host/macro_panel.h"
#include "host/module_host.h"
#include "host/mouse_lights_view.h"
#include "host/profile_panel.h"
#include "host/talk_devices_panel.h"
#include "host/texts.h"
#include "host/timer_list.h"
#include "host/virtual_mouse.h"
#include "module/interfaces.h"
#include "module/page_interfaces.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QTreeWidget* make_list(const QString& object_name, int columns, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(object_name);
    list->setColumnCount(columns);
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setUniformRowHeights(true);
    list->header()->setStretchLastSection(true);
    list->header()->setSectionsMovable(false);
    list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return list;
}

// A round mark in the edition's colour, beside the product name.
QPixmap edition_swatch(int32_t product_type, int size, qreal ratio) {
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const bool white = product_type == product_type::white;
    QRadialGradient fill(QPointF(size * 0.35, size * 0.3), size * 0.75);
    fill.setColorAt(0, white ? QColor(0xff, 0xff, 0xff) : QColor(0x4a, 0x4e, 0x55));
    fill.setColorAt(1, white ? QColor(0xc9, 0xcc, 0xd1) : QColor(0x0b, 0x0c, 0x0e));
    p.setBrush(fill);
    p.setPen(QPen(QColor(0x5a, 0x5f, 0x67), 1.0));
    p.drawEllipse(QRectF(1.5, 1.5, size - 3, size - 3));
    return pixmap;
}

// A plain ground in one colour, painted without a style sheet and without giving its
// colour to the module's widgets through the palette.
class ground_c final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter(this).fillRect(event->rect(), QColor(0x11, 0x12, 0x15));
    }
};

// The page type behind one of the module's tab buttons.
constexpr char k_page_id_property[] = "koral_page_id";

// File names of page screenshots: the page type and what the page is.
QString page_file_name(int32_t page_id) {
    switch (page_id) {
    case page_type::main:
        return QStringLiteral("page_0_main");
    case page_type::button_assignment:
        return QStringLiteral("page_1_buttons");
    case page_type::advanced:
        return QStringLiteral("page_2_advanced");
    case page_type::favorites:
        return QStringLiteral("page_4_favorites");
    default:
        return QStringLiteral("page_%1").arg(page_id);
    }
}

// Lets single-shot layout timers (the pages lay out 1 ms after opening) and
// posted events run.
void settle() {
    QEventLoop loop;
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
    QApplication::processEvents();
}

QString hex_id(uint32_t value, int digits) {
    return QStringLiteral("0x") +
           QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

} // namespace

main_window_c::main_window_c(module_host_c* host, ctrl_center_c* centre,
                             const host_catalogue_c* catalogue, hub_c* hub, timer_list_c* timers,
                             device_list_c* devices, QWidget* parent)
    : QMainWindow(parent)
    , m_host(host)
    , m_centre(centre)
    , m_catalogue(catalogue)
    , m_hub(hub) {
    Q_INIT_RESOURCE(koral);
    setObjectName(QStringLiteral("main_window_c"));
    // koral's style sits on its own panels, never on the window (see dialog_style_c).
    qApp->installEventFilter(new dialog_style_c(this));

    auto* central = new ground_c(this);
    central->setObjectName(QStringLiteral("wg_central"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    QWidget* header = build_header();
    header->setStyleSheet(koral_style_sheet());
    layout->addWidget(header);
    layout->addWidget(build_tab_bar());
    m_tab_bar->setStyleSheet(koral_style_sheet());
    m_pages = new QStackedWidget(central);
    m_pages->setObjectName(QStringLiteral("sw_pages"));
    layout->addWidget(m_pages, 1);
    QWidget* status = build_status_line();
    status->setStyleSheet(koral_style_sheet());
    layout->addWidget(status);
    setCentralWidget(central);

    m_overview_tab = add_tab(QStringLiteral("btn_tab_overview"), build_overview());
    m_overview_tab->setChecked(true);

    // A page is as tall as its panels need (its form says so through the
    // area's minimum height); the area scrolls.
    m_page_scroll = new QScrollArea;
    m_page_scroll->setObjectName(QStringLiteral("sa_page_area"));
    m_page_scroll->setWidgetResizable(true);
    m_page_scroll->setFrameShape(QFrame::NoFrame);
    m_page_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_page_area = new ground_c;
    m_page_area->setObjectName(QStringLiteral("wg_page_area"));
    m_page_scroll->viewport()->setAutoFillBackground(false);
    // The page area adds nothing to the window's few rules; its scroll bar is koral's.
    m_page_scroll->verticalScrollBar()->setStyleSheet(koral_style_sheet());
    m_page_scroll->setWidget(m_page_area);
    m_pages->addWidget(m_page_scroll);
    m_session =
        new kernel_session_c(m_host, m_centre, m_catalogue, host_storage::data_folder(), this);
    m_session->set_page_area(m_page_area);
    m_profile_panel = new profile_panel_c(m_session, m_centre);
    // The device tab grows with its cards; it scrolls like the pages do.
    auto* device_scroll = new QScrollArea;
    device_scroll->setObjectName(QStringLiteral("sa_device"));
    device_scroll->setWidgetResizable(true);
    device_scroll->setFrameShape(QFrame::NoFrame);
    device_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    device_scroll->setWidget(m_profile_panel);
    m_device_tab = add_tab(QStringLiteral("btn_tab_device"), device_scroll);
    add_lights_card();
    if (timers)
        add_button_cards(timers, devices);
    if (hub) {
        m_macro_panel = new macro_panel_c(hub->library(), m_centre);
        m_macro_panel->set_editor([this](int group) { return open_macro_editor(group); });
        m_macros_tab = add_tab(QStringLiteral("btn_tab_macros"), m_macro_panel);
    }
    connect(m_session, &kernel_session_c::kernel_changed, this, &main_window_c::rebuild_page_tabs);
    // The overview's control-centre facts follow the device shown.
    connect(m_session, &kernel_session_c::kernel_changed, this, &main_window_c::refresh_centre);
    // A mouse that had to set its memory aside says so on the device tab: show it.
    connect(m_session, &kernel_session_c::kernel_changed, this, [this] {
        if (m_session->mouse() && !m_session->mouse()->set_aside().isEmpty())
            m_device_tab->setChecked(true);
    });
    connect(m_session, &kernel_session_c::profiles_changed, this, &main_window_c::refresh_centre);
    // An edit made through one of the host's components is committed soon after.
    connect(m_host->components(), &component_context_c::user_changed, m_session,
            &kernel_session_c::schedule_commit);

    fill_languages();
    fill_catalogue();
    refresh_classes();
    retranslate();
    resize(1280, 800);
    setMinimumSize(1040, 680);

    connect(m_host, &module_host_c::factory_registered, this, &main_window_c::refresh_classes);
    connect(m_host, &module_host_c::factory_unregistered, this, &main_window_c::refresh_classes);
    connect(m_centre, &ctrl_center_c::language_switched, this, &main_window_c::retranslate);
    connect(m_centre, &ctrl_center_c::kernel_command_received, this,
            &main_window_c::refresh_centre);
    // What a person picks here is what koral starts with next time.
    connect(m_edition_box, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        const int32_t type = m_edition_box->itemData(index).toInt();
        select_edition(type);
        host_settings_c().set_edition(type);
    });
    connect(m_language_box, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        const int32_t id = m_language_box->itemData(index).toInt();
        if (id != m_centre->language())
            m_centre->set_language(id);
        host_settings_c().set_language(id);
    });
}

main_window_c::~main_window_c() {
    // The kernel's pages live in the page area; they go with the kernel, first.
    m_session->close();
}

void main_window_c::add_button_cards(timer_list_c* timers, device_list_c* devices) {
    m_timers = timers;
    button_labels::sources_t sources;
    sources.text = [this](int32_t id) {
        return text(id);
    };
    sources.timer_name = [timers](uint32_t identifier) {
        return timers->name_of(identifier);
    };
    m_button_view = new button_view_c(sources);
    m_profile_panel->add_section(m_button_view);
    const auto show_memory = [this] {
        virtual_mouse_c* mouse = m_session->mouse();
        m_button_view->set_memory(mouse ? mouse->blob() : QByteArray());
    };
    connect(m_session, &kernel_session_c::device_changed, m_button_view, show_memory);
    connect(m_session, &kernel_session_c::kernel_changed, m_button_view, show_memory);
    connect(timers, &timer_list_c::timers_changed, m_button_view, &button_view_c::refresh);
    connect(m_centre, &ctrl_center_c::language_switched, m_button_view, &button_view_c::refresh);
    if (devices) {
        auto* talk =
            new talk_devices_panel_c(devices, m_catalogue, [this](int32_t id) { return text(id); });
        m_profile_panel->add_section(talk);
        connect(m_centre, &ctrl_center_c::language_switched, talk, &talk_devices_panel_c::refresh);
    }
}

void main_window_c::add_lights_card() {
    m_lights_card = new device_lights_card_c([this](int32_t id) { return text(id); });
    m_profile_panel->add_section(m_lights_card);
    // The picture reads the memory of whichever mouse is shown, after every store.
    const auto follow = [this] {
        m_lights_card->set_mouse(m_session->mouse());
    };
    connect(m_session, &kernel_session_c::kernel_changed, m_lights_card, follow);
    connect(m_session, &kernel_session_c::device_changed, m_lights_card,
            &device_lights_card_c::refresh);
    connect(m_centre, &ctrl_center_c::language_switched, m_lights_card,
            &device_lights_card_c::retranslate);
    follow();
}

int32_t main_window_c::open_macro_editor(int group) {
    if (!m_hub)
        return 0;
    macro_editor_c editor(m_host->components(), m_hub->library(), this);
    editor.setStyleSheet(koral_style_sheet());
    editor.select_group(group);
    return editor.run();
}

void main_window_c::closeEvent(QCloseEvent* event) {
    m_session->commit_now();
    QMainWindow::closeEvent(event);
}

void main_window_c::rebuild_page_tabs() {
    // A page of the kernel that goes cannot stay shown; the same page of the
    // next kernel takes its place.
    for (QPushButton* tab : qAsConst(m_page_tabs)) {
        if (tab->isChecked()) {
            m_restore_page = tab->property(k_page_id_property).toInt();
            m_device_tab->setChecked(true);
        }
    }
    for (QPushButton* tab : qAsConst(m_page_tabs)) {
        m_tabs->removeButton(tab);
        delete tab;
    }
    m_page_tabs.clear();
    product_kernel_i* kernel = m_session->kernel();
    if (!kernel)
        return;
    auto* row = static_cast<QHBoxLayout*>(m_tab_bar->layout());
    for (int i = 0; i < kernel->page_count(); ++i) {
        product_function_page_i* page = kernel->page_at(i);
        QPushButton* tab = page ? page->create_tab_button() : nullptr;
        if (!tab)
            continue;
        tab->setParent(m_tab_bar);
        tab->setCheckable(true);
        // The module draws its tabs itself; the host only gives them its tab lettering.
        tab->setProperty("role", QStringLiteral("module_tab"));
        // The module's pages come after the host's own tabs.
        row->insertWidget(row->count() - 1, tab);
        m_tabs->addButton(tab);
        m_page_tabs.append(tab);
        const int32_t type = page->page_id();
        tab->setProperty(k_page_id_property, type);
        connect(tab, &QPushButton::toggled, this, [this, type](bool on) {
            if (!on || !m_session->kernel())
                return;
            m_pages->setCurrentWidget(m_page_scroll);
            m_session->kernel()->open_page(type);
        });
        if (type == m_restore_page)
            tab->setChecked(true);
    }
    m_restore_page = -1;
}

QString main_window_c::text(int32_t id) const {
    return m_centre->get_text_provider()->text(id, 0);
}

QWidget* main_window_c::build_header() {
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("wg_header"));
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(28, 16, 28, 16);
    row->setSpacing(14);

    m_brand = make_label(QStringLiteral("lb_brand"), nullptr, header);
    row->addWidget(m_brand);
    auto* divider = new QFrame(header);
    divider->setObjectName(QStringLiteral("wg_header_divider"));
    divider->setFixedSize(1, 34);
    row->addWidget(divider);

    m_swatch = make_label(QStringLiteral("lb_swatch"), nullptr, header);
    m_swatch->setFixedSize(30, 30);
    row->addWidget(m_swatch);
    auto* product = new QVBoxLayout;
    product->setSpacing(1);
    m_product = make_label(QStringLiteral("lb_product"), nullptr, header);
    m_product_sub = make_label(QStringLiteral("lb_product_sub"), nullptr, header);
    product->addWidget(m_product);
    product->addWidget(m_product_sub);
    row->addLayout(product);
    row->addStretch(1);

    auto add_switch = [header, row](const QString& name, QLabel*& caption, QComboBox*& box) {
        auto* column = new QVBoxLayout;
        column->setSpacing(4);
        caption = make_label(QStringLiteral("lb_") + name, "caption", header);
        box = new QComboBox(header);
        box->setObjectName(QStringLiteral("cb_") + name);
        box->setMinimumWidth(170);
        // Room for the longest entry in any language, icon included.
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        // The style sheet sizes the list's rows only through a styled delegate.
        box->setItemDelegate(new QStyledItemDelegate(box));
        column->addWidget(caption);
        column->addWidget(box);
        row->addLayout(column);
    };
    add_switch(QStringLiteral("edition"), m_edition_caption, m_edition_box);
    row->addSpacing(10);
    add_switch(QStringLiteral("language"), m_language_caption, m_language_box);

    for (int32_t type : {product_type::black, product_type::white}) {
        const qreal ratio = qApp->devicePixelRatio();
        m_edition_box->addItem(QIcon(edition_swatch(type, 14, ratio)), QString(), type);
    }
    return header;
}

QWidget* main_window_c::build_tab_bar() {
    m_tab_bar = new QFrame(this);
    m_tab_bar->setObjectName(QStringLiteral("wg_tab_bar"));
    auto* row = new QHBoxLayout(m_tab_bar);
    row->setContentsMargins(18, 0, 18, 0);
    row->setSpacing(2);
    row->addStretch(1);
    m_tabs = new QButtonGroup(this);
    m_tabs->setExclusive(true);
    return m_tab_bar;
}

QPushButton* main_window_c::add_tab(const QString& object_name, QWidget* page) {
    auto* button = new QPushButton(m_tab_bar);
    button->setObjectName(object_name);
    button->setProperty("role", QStringLiteral("tab"));
    button->setCheckable(true);
    button->setCursor(Qt::PointingHandCursor);
    auto* row = static_cast<QHBoxLayout*>(m_tab_bar->layout());
    row->insertWidget(row->count() - 1, button);
    m_tabs->addButton(button);
    // koral's own tabs wear its style; the page area of the module's pages does not.
    page->setStyleSheet(koral_style_sheet());
    m_pages->addWidget(page);
    connect(button, &QPushButton::toggled, this, [this, page](bool on) {
        if (on)
            m_pages->setCurrentWidget(page);
    });
    return button;
}

QWidget* main_window_c::build_overview() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("wg_overview"));
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(28, 24, 28, 24);
    grid->setHorizontalSpacing(20);
    grid->setColumnStretch(0, 5);
    grid->setColumnStretch(1, 8);

    // The module: its file and what it registered.
    QFrame* module = make_card(QStringLiteral("wg_module"), page);
    auto* module_layout = new QVBoxLayout(module);
    module_layout->setContentsMargins(22, 20, 22, 20);
    module_layout->setSpacing(8);
    m_module_title = make_label(QStringLiteral("lb_module_title"), "card_title", module);
    module_layout->addWidget(m_module_title);
    module_layout->addSpacing(6);
    m_module_file_caption = make_label(QStringLiteral("lb_module_file_caption"), "section", module);
    m_module_file_label = make_label(QStringLiteral("lb_module_file"), "value", module);
    m_module_file_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_module_file_label->setWordWrap(true);
    module_layout->addWidget(m_module_file_caption);
    module_layout->addWidget(m_module_file_label);
    module_layout->addSpacing(8);
    m_classes_caption = make_label(QStringLiteral("lb_classes_caption"), "section", module);
    m_classes = make_list(QStringLiteral("tw_classes"), 2, module);
    m_classes->setFixedHeight(150);
    module_layout->addWidget(m_classes_caption);
    module_layout->addWidget(m_classes);
    module_layout->addSpacing(8);

    // The control centre as the module sees it, kept current while it runs.
    m_centre_caption = make_label(QStringLiteral("lb_centre_caption"), "section", module);
    module_layout->addWidget(m_centre_caption);
    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(16);
    facts->setVerticalSpacing(6);
    facts->setColumnStretch(1, 1);
    int fact_row = 0;
    auto add_fact = [module, facts, &fact_row](const QString& name, QLabel*& key, QLabel*& value) {
        key = make_label(QStringLiteral("lb_") + name + QStringLiteral("_key"), "key", module);
        value = make_label(QStringLiteral("lb_") + name, "fact", module);
        facts->addWidget(key, fact_row, 0);
        facts->addWidget(value, fact_row, 1);
        ++fact_row;
    };
    add_fact(QStringLiteral("centre_language"), m_language_key, m_language_value);
    add_fact(QStringLiteral("centre_listeners"), m_listeners_key, m_listeners_value);
    add_fact(QStringLiteral("centre_slot"), m_slot_key, m_slot_value);
    add_fact(QStringLiteral("centre_commands"), m_commands_key, m_commands_value);
    module_layout->addLayout(facts);
    module_layout->addStretch(1);
    m_pages_note = make_label(QStringLiteral("lb_pages_note"), "note", module);
    m_pages_note->setWordWrap(true);
    module_layout->addWidget(m_pages_note);
    grid->addWidget(module, 0, 0);

    // The catalogue: products and languages the installation knows.
    QFrame* catalogue = make_card(QStringLiteral("wg_catalogue"), page);
    auto* catalogue_layout = new QVBoxLayout(catalogue);
    catalogue_layout->setContentsMargins(22, 20, 22, 20);
    catalogue_layout->setSpacing(8);
    auto* title_row = new QHBoxLayout;
    m_catalogue_title = make_label(QStringLiteral("lb_catalogue_title"), "card_title", catalogue);
    m_catalogue_summary = make_label(QStringLiteral("lb_catalogue_summary"), "note", catalogue);
    title_row->addWidget(m_catalogue_title);
    title_row->addStretch(1);
    title_row->addWidget(m_catalogue_summary);
    catalogue_layout->addLayout(title_row);
    catalogue_layout->addSpacing(6);
    m_products_caption = make_label(QStringLiteral("lb_products_caption"), "section", catalogue);
    m_products = make_list(QStringLiteral("tw_products"), 6, catalogue);
    catalogue_layout->addWidget(m_products_caption);
    catalogue_layout->addWidget(m_products, 3);
    catalogue_layout->addSpacing(8);
    m_languages_caption = make_label(QStringLiteral("lb_languages_caption"), "section", catalogue);
    m_languages = make_list(QStringLiteral("tw_languages"), 3, catalogue);
    m_languages->setMinimumHeight(96);
    catalogue_layout->addWidget(m_languages_caption);
    catalogue_layout->addWidget(m_languages, 1);
    grid->addWidget(catalogue, 0, 1);
    return page;
}

QWidget* main_window_c::build_status_line() {
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("wg_status"));
    auto* row = new QHBoxLayout(line);
    row->setContentsMargins(28, 8, 28, 8);
    row->setSpacing(10);
    m_status_dot = make_label(QStringLiteral("lb_status_dot"), nullptr, line);
    m_status_dot->setFixedSize(8, 8);
    m_status = make_label(QStringLiteral("lb_status"), nullptr, line);
    m_catalogue_status = make_label(QStringLiteral("lb_catalogue_status"), nullptr, line);
    row->addWidget(m_status_dot);
    row->addWidget(m_status, 1);
    row->addWidget(m_catalogue_status);
    return line;
}

void main_window_c::fill_languages() {
    QList<QPair<int32_t, QString>> languages;
    for (const host_catalogue_c::language_t& l : m_catalogue->languages())
        languages.append({l.id, l.name.isEmpty() ? QString::number(l.id) : l.name});
    // Without a catalogue the host still speaks its own languages.
    if (languages.isEmpty()) {
        languages = {{host_texts::english, QStringLiteral("English")},
                     {host_texts::german, QStringLiteral("Deutsch")}};
    }
    for (const auto& l : languages)
        m_language_box->addItem(l.second, l.first);
}

void main_window_c::fill_catalogue() {
    m_products->clear();
    for (const host_catalogue_c::product_t& p : m_catalogue->products()) {
        auto* item = new QTreeWidgetItem(m_products);
        item->setText(0, QString::number(p.type));
        item->setText(1, p.alias_name);
        item->setText(2, p.disp_name);
        item->setText(3, p.dll_name);
        item->setText(4, p.pid ? hex_id(p.pid, 4) : QString());
        item->setText(5, p.updating_pid ? hex_id(p.updating_pid, 4) : QString());
        // The two editions this module serves stand out from the rest.
        if (p.type == product_type::black || p.type == product_type::white) {
            for (int c = 0; c < 6; ++c)
                item->setForeground(c, QColor(0xe8, 0xea, 0xed));
        }
    }
    m_languages->clear();
    for (const host_catalogue_c::language_t& l : m_catalogue->languages()) {
        auto* item = new QTreeWidgetItem(m_languages);
        item->setText(0, QString::number(l.id));
        item->setText(1, l.name);
        item->setText(2, l.file);
    }
    m_products->header()->resizeSections(QHeaderView::ResizeToContents);
    m_languages->header()->resizeSections(QHeaderView::ResizeToContents);
}

QString main_window_c::class_name(int32_t class_id) const {
    switch (class_id) {
    case class_id::white_kernel:
        return text(host_text::white_kernel);
    case class_id::black_kernel:
        return text(host_text::black_kernel);
    case class_id::profile:
        return text(host_text::profile_object);
    default:
        return text(host_text::unknown_class);
    }
}

void main_window_c::refresh_classes() {
    m_classes->clear();
    for (int32_t id : m_host->registered_classes()) {
        auto* item = new QTreeWidgetItem(m_classes);
        item->setText(0, hex_id(static_cast<uint32_t>(id), 4));
        item->setText(1, class_name(id));
    }
    if (m_classes->topLevelItemCount() == 0) {
        auto* item = new QTreeWidgetItem(m_classes);
        item->setText(0, QStringLiteral("—"));
        item->setText(1, text(host_text::nothing_registered));
    }
    m_classes->header()->resizeSection(0, 110);
    refresh_status();
}

void main_window_c::refresh_status() {
    const int32_t language = m_centre->language();
    if (m_module_loaded) {
        m_status->setText(
            text(host_text::module_loaded)
                .arg(host_texts::plural(host_text::class_count, m_host->registered_classes().size(),
                                        language)));
    } else {
        m_status->setText(text(host_text::module_not_loaded).arg(m_module_error));
    }
    m_status_dot->setProperty("state",
                              m_module_loaded ? QStringLiteral("ok") : QStringLiteral("error"));
    refresh_style(m_status_dot);

    if (m_catalogue->error_string().isEmpty() || !m_catalogue->is_empty()) {
        m_catalogue_status->setText(
            text(host_text::catalogue_summary)
                .arg(host_texts::plural(host_text::product_count, m_catalogue->products().size(),
                                        language),
                     host_texts::plural(host_text::language_count, m_catalogue->languages().size(),
                                        language)));
    } else {
        m_catalogue_status->setText(
            text(host_text::catalogue_missing).arg(QDir::toNativeSeparators(m_catalogue->file())));
    }
    m_catalogue_summary->setText(m_catalogue_status->text());
    if (!m_catalogue->file().isEmpty() && m_catalogue->error_string().isEmpty()) {
        m_catalogue_status->setText(
            text(host_text::catalogue_file).arg(QDir::toNativeSeparators(m_catalogue->file())));
    }
    refresh_centre();
}

void main_window_c::refresh_centre() {
    const int32_t language = m_centre->language();
    const int index = m_language_box->findData(language);
    m_language_value->setText(
        QStringLiteral("%1 (%2)")
            .arg(index >= 0 ? m_language_box->itemText(index) : QString::number(language))
            .arg(language));
    m_listeners_value->setText(QString::number(m_centre->listeners().size()));
    const uint8_t slot = m_centre->current_profile_slot();
    m_slot_value->setText(slot == 0xFF ? text(host_text::no_slot) : QString::number(slot + 1));
    m_commands_value->setText(QString::number(m_centre->commands().size()));
}

void main_window_c::set_module_state(const QString& file, bool loaded, const QString& error) {
    m_module_loaded = loaded;
    m_module_error = error;
    m_module_file_label->setText(QDir::toNativeSeparators(file));
    refresh_status();
}

void main_window_c::select_edition(int32_t product_type) {
    if (product_type != product_type::black && product_type != product_type::white)
        return;
    const bool changed = m_edition != product_type;
    m_edition = product_type;
    m_edition_box->setCurrentIndex(m_edition_box->findData(product_type));
    m_swatch->setPixmap(edition_swatch(product_type, 30, devicePixelRatioF()));
    retranslate();
    // Switching edition lets go of the kernel shown and makes one of the other.
    if (changed || !m_session->is_open())
        m_session->open(product_type);
    if (changed)
        emit edition_selected(product_type);
}

void main_window_c::retranslate() {
    setWindowTitle(text(host_text::window_title));
    m_brand->setText(text(host_text::window_title));

    const host_catalogue_c::product_t* product = m_catalogue->product(m_edition);
    const int32_t edition_text =
        m_edition == product_type::white ? host_text::white_edition : host_text::black_edition;
    m_product->setText(product && !product->disp_name.isEmpty() ? product->disp_name
                                                                : QStringLiteral("Quil"));
    m_product_sub->setText(text(edition_text).toUpper());

    m_edition_caption->setText(text(host_text::edition));
    m_language_caption->setText(text(host_text::language));
    for (int i = 0; i < m_edition_box->count(); ++i) {
        const bool white = m_edition_box->itemData(i).toInt() == product_type::white;
        m_edition_box->setItemText(
            i, text(white ? host_text::white_edition : host_text::black_edition));
    }
    const int language_index = m_language_box->findData(m_centre->language());
    if (language_index >= 0)
        m_language_box->setCurrentIndex(language_index);

    m_overview_tab->setText(text(host_text::overview_tab));
    m_device_tab->setText(text(host_text::device_tab));
    if (m_macros_tab)
        m_macros_tab->setText(text(host_text::macros_tab));
    m_module_title->setText(text(host_text::module_panel));
    m_module_file_caption->setText(text(host_text::module_file));
    m_classes_caption->setText(text(host_text::registered_classes));
    m_classes->setHeaderLabels({text(host_text::class_id), text(host_text::class_object)});
    m_pages_note->setText(text(host_text::pages_pending));
    m_centre_caption->setText(text(host_text::centre_section));
    m_language_key->setText(text(host_text::centre_language));
    m_listeners_key->setText(text(host_text::centre_listeners));
    m_slot_key->setText(text(host_text::centre_profile_slot));
    m_commands_key->setText(text(host_text::centre_commands));
    m_catalogue_title->setText(text(host_text::catalogue_panel));
    m_products_caption->setText(text(host_text::products));
    m_products->setHeaderLabels({text(host_text::product_type), text(host_text::alias),
                                 text(host_text::display_name), text(host_text::module_file),
                                 text(host_text::product_id), text(host_text::update_id)});
    m_languages_caption->setText(text(host_text::languages));
    m_languages->setHeaderLabels({text(host_text::language_id), text(host_text::language_name),
                                  text(host_text::language_file)});
    m_products->header()->resizeSections(QHeaderView::ResizeToContents);
    m_languages->header()->resizeSections(QHeaderView::ResizeToContents);
    refresh_classes();
}

bool main_window_c::render_screenshots(const QString& folder, QString* error) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = text(host_text::shot_folder_failed).arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // Shown off screen so that layouts and style sheets take effect as they do on screen.
    setAttribute(Qt::WA_DontShowOnScreen);
    m_profile_panel->set_dialogs_enabled(false);
    if (m_macro_panel)
        m_macro_panel->set_dialogs_enabled(false);
    show();
    const QList<QAbstractButton*> tabs = m_tabs->buttons();
    const QSize window_size = size();
    for (QAbstractButton* tab : tabs) {
        tab->setChecked(true);
        settle();
        QString name;
        const QVariant page_id = tab->property(k_page_id_property);
        if (page_id.isValid()) {
            name = page_file_name(page_id.toInt());
            // The whole page goes into the picture: the window grows to fit it.
            const int missing = m_page_area->minimumHeight() - m_page_scroll->viewport()->height();
            if (missing > 0) {
                resize(width(), height() + missing);
                settle();
            }
        } else {
            // A host tab that scrolls goes into the picture whole as well.
            if (auto* scroll = qobject_cast<QScrollArea*>(m_pages->currentWidget())) {
                const int missing =
                    scroll->widget()->sizeHint().height() - scroll->viewport()->height();
                if (missing > 0) {
                    resize(width(), height() + missing);
                    settle();
                }
            }
            const QString prefix = QStringLiteral("btn_tab_");
            name = tab->objectName();
            if (name.startsWith(prefix))
                name = name.mid(prefix.size());
            if (name.isEmpty())
                name = QStringLiteral("tab_%1").arg(tabs.indexOf(tab));
        }
        const QString file = dir.filePath(name + QStringLiteral(".png"));
        const bool saved = grab().save(file);
        // The advanced page's states that need a click: lights off, palette, dialogs.
        if (saved && page_id.isValid() && page_id.toInt() == page_type::advanced &&
            !advanced_gallery::render(this, m_page_area, m_session->mouse(), folder, error))
            return false;
        if (size() != window_size) {
            resize(window_size);
            settle();
        }
        if (!saved) {
            *error = text(host_text::shot_write_failed).arg(QDir::toNativeSeparators(file));
            return false;
        }
    }

    // The dialogs each tab asks with, over their tab, and an open drop-down list.
    QList<QPair<QPushButton*, QList<QPair<QString, QDialog*>>>> dialogs;
    dialogs.append({m_device_tab, m_profile_panel->screenshot_dialogs()});
    if (m_macro_panel)
        dialogs.append({m_macros_tab, m_macro_panel->screenshot_dialogs()});
    for (const auto& tab : dialogs) {
        tab.first->setChecked(true);
        settle();
        const QImage backdrop = grab().toImage();
        bool saved = true;
        for (const auto& dialog : tab.second) {
            const QString file = dir.filePath(dialog.first + QStringLiteral(".png"));
            if (saved && !save_dialog_shot(dialog.second, backdrop, file)) {
                *error = text(host_text::shot_write_failed).arg(QDir::toNativeSeparators(file));
                saved = false;
            }
            delete dialog.second;
        }
        if (!saved)
            return false;
    }
    // The button page in use: its menus, guide, pop-ups and overlay.
    for (QAbstractButton* tab : tabs) {
        if (tab->property(k_page_id_property).toInt() == page_type::button_assignment &&
            tab->property(k_page_id_property).isValid()) {
            const int missing = 1100 - m_page_scroll->viewport()->height();
            if (missing > 0)
                resize(width(), height() + missing);
            const bool saved = button_page_shots::render(this, tab, folder, error);
            if (size() != window_size)
                resize(window_size);
            if (!saved)
                return false;
        }
    }
    m_overview_tab->setChecked(true);
    settle();
    const QString list_file = dir.filePath(QStringLiteral("dropdown_edition.png"));
    if (!save_dropdown_shot(m_edition_box, list_file)) {
        *error = text(host_text::shot_write_failed).arg(QDir::toNativeSeparators(list_file));
        return false;
    }
    // The button assignment's menus and dialogs, as the module opens them.
    if (m_timers)
        return component_gallery::render(m_host->components(), m_hub ? m_hub->library() : nullptr,
                                         m_timers, this, folder, error);
    return true;
}

bool main_window_c::save_dialog_shot(QDialog* dialog, const QImage& backdrop, const QString& file) {
    dialog->setAttribute(Qt::WA_DontShowOnScreen);
    dialog->show();
    settle();
    const QPixmap shot = dialog->grab();
    dialog->hide();
    // The dialog over the window it belongs to, the window dimmed as behind a modal one.
    QImage picture = backdrop;
    QPainter p(&picture);
    p.fillRect(picture.rect(), QColor(0, 0, 0, 130));
    const QSize size = shot.size() / shot.devicePixelRatio();
    const QRect place(
        QPoint((picture.width() - size.width()) / 2, (picture.height() - size.height()) / 3), size);
    for (int spread = 12; spread > 0; spread -= 3)
        p.fillRect(place.adjusted(-spread, -spread + 4, spread, spread + 4), QColor(0, 0, 0, 18));
    p.drawPixmap(place, shot);
    p.setPen(QColor(0x3a, 0x3f, 0x47));
    p.drawRect(place.adjusted(0, 0, -1, -1));
    p.end();
    return picture.save(file);
}

bool main_window_c::save_dropdown_shot(QComboBox* box, const QString& file) {
    box->showPopup();
    settle();
    QWidget* popup = box->view()->window();
    const QPixmap list = popup->grab();
    const QPoint at = mapFromGlobal(popup->mapToGlobal(QPoint(0, 0)));
    box->hidePopup();
    QImage picture = grab().toImage();
    QPainter p(&picture);
    p.drawPixmap(at, list);
    p.end();
    return picture.save(file);
}
