#include "host/macro_panel.h"
#include "host/widget_helpers.h"

#include "host/ctrl_center.h"
#include "host/macro_library.h"
#include "host/texts.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int group_role = Qt::UserRole;
constexpr int macro_role = Qt::UserRole + 1;

} // namespace

macro_panel_c::macro_panel_c(macro_library_c* library, ctrl_center_c* centre, QWidget* parent)
    : QWidget(parent)
    , m_library(library)
    , m_centre(centre) {
    setObjectName(QStringLiteral("wg_macros"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(28, 24, 28, 24);
    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("wg_macro_library"));
    card->setProperty("role", QStringLiteral("card"));
    outer->addWidget(card);
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(22, 20, 22, 20);
    column->setSpacing(8);

    auto* title_row = new QHBoxLayout;
    m_title = new QLabel(card);
    m_title->setObjectName(QStringLiteral("lb_macro_title"));
    m_title->setProperty("role", QStringLiteral("card_title"));
    m_summary = new QLabel(card);
    m_summary->setObjectName(QStringLiteral("lb_macro_summary"));
    m_summary->setProperty("role", QStringLiteral("note"));
    title_row->addWidget(m_title);
    title_row->addStretch(1);
    title_row->addWidget(m_summary);
    column->addLayout(title_row);
    column->addSpacing(6);

    m_tree = new QTreeWidget(card);
    m_tree->setObjectName(QStringLiteral("tw_macros"));
    m_tree->setColumnCount(2);
    m_tree->setUniformRowHeights(true);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    column->addWidget(m_tree, 1);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    m_new_group = make_button(QStringLiteral("btn_macro_new_group"), "action", card);
    m_new_macro = make_button(QStringLiteral("btn_macro_new"), "action", card);
    m_rename = make_button(QStringLiteral("btn_macro_rename"), "action", card);
    m_delete = make_button(QStringLiteral("btn_macro_delete"), "action", card);
    for (QPushButton* button : {m_new_group, m_new_macro, m_rename, m_delete})
        actions->addWidget(button);
    actions->addStretch(1);
    column->addLayout(actions);
    m_message = new QLabel(card);
    m_message->setObjectName(QStringLiteral("lb_macro_message"));
    m_message->setProperty("role", QStringLiteral("note"));
    column->addWidget(m_message);

    connect(m_new_group, &QPushButton::clicked, this, [this] { new_group(); });
    connect(m_new_macro, &QPushButton::clicked, this, [this] { new_macro(); });
    connect(m_rename, &QPushButton::clicked, this, [this] { rename_selected(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { delete_selected(); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &macro_panel_c::update_buttons);
    connect(m_library, &macro_library_c::library_changed, this, &macro_panel_c::refresh);
    connect(m_centre, &ctrl_center_c::language_switched, this, &macro_panel_c::retranslate);
    retranslate();
}

QString macro_panel_c::text(int32_t id) const {
    return m_centre->get_text_provider()->text(id, 0);
}

QString macro_panel_c::message() const {
    return m_message->text();
}

int macro_panel_c::selected_group() const {
    const QTreeWidgetItem* item = m_tree->currentItem();
    return item ? item->data(0, group_role).toInt() : -1;
}

int macro_panel_c::selected_macro() const {
    const QTreeWidgetItem* item = m_tree->currentItem();
    return item ? item->data(0, macro_role).toInt() : -1;
}

void macro_panel_c::select(int group, int macro) {
    QTreeWidgetItem* item = m_tree->topLevelItem(group);
    // A macro that is gone leaves its group selected.
    if (item && macro >= 0 && item->child(macro))
        item = item->child(macro);
    m_tree->setCurrentItem(item);
}

void macro_panel_c::refresh() {
    const int group = selected_group();
    const int macro = selected_macro();
    m_tree->clear();
    int macros = 0;
    for (int g = 0; g < m_library->group_count(); ++g) {
        auto* group_item = new QTreeWidgetItem(m_tree);
        group_item->setText(0, m_library->group_name(g));
        group_item->setData(0, group_role, g);
        group_item->setData(0, macro_role, -1);
        for (int m = 0; m < m_library->macro_count(g); ++m) {
            const library_macro_rec* record = m_library->macro_record(g, m);
            auto* item = new QTreeWidgetItem(group_item);
            item->setText(0, record->name());
            item->setText(1, QString::number(record->key_count()));
            item->setData(0, group_role, g);
            item->setData(0, macro_role, m);
            ++macros;
        }
        group_item->setExpanded(true);
    }
    m_summary->setText(text(host_text::macro_summary).arg(m_library->group_count()).arg(macros));
    select(qMin(group, m_library->group_count() - 1), macro);
    update_buttons();
}

void macro_panel_c::retranslate() {
    m_title->setText(text(host_text::macro_library_panel));
    m_tree->setHeaderLabels(
        {text(host_text::macro_column_name), text(host_text::macro_column_keys)});
    m_new_group->setText(text(host_text::new_group));
    m_new_macro->setText(text(host_text::new_macro));
    m_rename->setText(text(host_text::macro_rename));
    m_delete->setText(text(host_text::macro_delete));
    refresh();
}

void macro_panel_c::update_buttons() {
    const bool any = selected_group() >= 0;
    m_new_macro->setEnabled(any);
    m_rename->setEnabled(any);
    m_delete->setEnabled(any);
}

QString macro_panel_c::ask(int32_t prompt, const QString& value, bool* ok) {
    *ok = false;
    if (!m_dialogs)
        return QString();
    return QInputDialog::getText(this, text(host_text::macro_library_panel), text(prompt),
                                 QLineEdit::Normal, value, ok);
}

void macro_panel_c::show_refusal(bool refused) {
    m_message->setText(refused ? text(host_text::name_taken) : QString());
}

bool macro_panel_c::new_group(const QString& name) {
    QString chosen = name;
    if (chosen.isEmpty()) {
        bool ok = false;
        chosen = ask(host_text::group_name_prompt, QString(), &ok);
        if (!ok)
            return false;
    }
    const int group = m_library->create_group(chosen);
    show_refusal(group < 0);
    if (group >= 0)
        select(group);
    return group >= 0;
}

bool macro_panel_c::new_macro(const QString& name, const QString& keys) {
    const int group = selected_group();
    if (group < 0)
        return false;
    QString chosen = name;
    QString typed = keys;
    if (chosen.isEmpty() && m_dialogs && m_editor)
        return m_editor(group) == 1;
    if (chosen.isEmpty()) {
        bool ok = false;
        chosen = ask(host_text::macro_name_prompt, QString(), &ok);
        if (!ok)
            return false;
        typed = ask(host_text::macro_keys_prompt, QString(), &ok);
        if (!ok)
            return false;
    }
    const int macro = m_library->create_macro(group, chosen, macro_library_c::typed_keys(typed));
    show_refusal(macro < 0);
    if (macro >= 0)
        select(group, macro);
    return macro >= 0;
}

bool macro_panel_c::rename_selected(const QString& name) {
    const int group = selected_group();
    const int macro = selected_macro();
    if (group < 0)
        return false;
    QString chosen = name;
    if (chosen.isEmpty()) {
        bool ok = false;
        const QString current = macro >= 0 ? m_library->macro_record(group, macro)->name()
                                           : m_library->group_name(group);
        chosen = ask(host_text::entry_name_prompt, current, &ok);
        if (!ok)
            return false;
    }
    const bool done = macro >= 0 ? m_library->rename_macro(group, macro, chosen)
                                 : m_library->rename_group(group, chosen);
    show_refusal(!done);
    return done;
}

bool macro_panel_c::delete_selected() {
    const int group = selected_group();
    const int macro = selected_macro();
    if (group < 0)
        return false;
    const bool done =
        macro >= 0 ? m_library->delete_macro(group, macro) : m_library->delete_group(group);
    show_refusal(false);
    return done;
}
