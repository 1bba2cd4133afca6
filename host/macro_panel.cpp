#include "host/macro_panel.h"
#include "host/widget_helpers.h"

#include "host/ctrl_center.h"
#include "host/dialogs.h"
#include "host/macro_library.h"
#include "host/texts.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
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
    QFrame* card = make_card(QStringLiteral("wg_macro_library"), this);
    outer->addWidget(card);
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(22, 20, 22, 20);
    column->setSpacing(8);

    auto* title_row = new QHBoxLayout;
    m_title = make_label(QStringLiteral("lb_macro_title"), "card_title", card);
    m_summary = make_label(QStringLiteral("lb_macro_summary"), "note", card);
    title_row->addWidget(m_title);
    title_row->addStretch(1);
    title_row->addWidget(m_summary);
    column->addLayout(title_row);
    column->addSpacing(6);

    m_tree = new QTreeWidget(card);
    m_tree->setObjectName(QStringLiteral("tw_macros"));
    m_tree->setColumnCount(3);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_tree->header()->resizeSection(0, 260);
    column->addWidget(m_tree, 1);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    m_new_group = make_button(QStringLiteral("btn_macro_new_group"), "action", card);
    m_new_macro = make_button(QStringLiteral("btn_macro_new"), "action", card);
    m_edit = make_button(QStringLiteral("btn_macro_edit"), "action", card);
    m_rename = make_button(QStringLiteral("btn_macro_rename"), "action", card);
    m_delete = make_button(QStringLiteral("btn_macro_delete"), "action", card);
    for (QPushButton* button : {m_new_group, m_new_macro, m_edit, m_rename, m_delete})
        actions->addWidget(button);
    actions->addStretch(1);
    column->addLayout(actions);
    m_message = make_label(QStringLiteral("lb_macro_message"), "note", card);
    m_message->setWordWrap(true);
    column->addWidget(m_message);

    connect(m_new_group, &QPushButton::clicked, this, [this] { new_group(); });
    connect(m_new_macro, &QPushButton::clicked, this, [this] { new_macro(); });
    connect(m_edit, &QPushButton::clicked, this, [this] { edit_selected(); });
    connect(m_rename, &QPushButton::clicked, this, [this] { rename_selected(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { delete_selected(); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &macro_panel_c::update_buttons);
    connect(m_tree, &QTreeWidget::itemActivated, this, [this] {
        if (selected_macro() >= 0)
            edit_selected();
    });
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

QString macro_panel_c::summary() const {
    return m_summary->text();
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
            int others = 0;
            const QString typed = macro_library_c::typed_text(*record, &others);
            auto* item = new QTreeWidgetItem(group_item);
            item->setText(0, record->name());
            item->setText(1, typed);
            item->setToolTip(1, typed);
            item->setText(2, QString::number(record->key_count()));
            item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
            item->setData(0, group_role, g);
            item->setData(0, macro_role, m);
            ++macros;
        }
        group_item->setExpanded(true);
    }
    const int32_t language = m_centre->language();
    m_summary->setText(
        text(host_text::macro_summary)
            .arg(host_texts::plural(host_text::group_count, m_library->group_count(), language),
                 host_texts::plural(host_text::macro_count, macros, language)));
    select(qMin(group, m_library->group_count() - 1), macro);
    update_buttons();
}

void macro_panel_c::retranslate() {
    m_title->setText(text(host_text::macro_library_panel));
    m_tree->setHeaderLabels({text(host_text::macro_column_name),
                             text(host_text::macro_column_types),
                             text(host_text::macro_column_keys)});
    m_tree->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    m_new_group->setText(text(host_text::new_group));
    m_new_macro->setText(text(host_text::new_macro));
    m_edit->setText(text(host_text::edit_keys));
    m_rename->setText(text(host_text::macro_rename));
    m_delete->setText(text(host_text::macro_delete));
    show_message(QString(), false);
    refresh();
}

void macro_panel_c::update_buttons() {
    const bool any = selected_group() >= 0;
    m_new_macro->setEnabled(any);
    m_edit->setEnabled(selected_macro() >= 0);
    m_rename->setEnabled(any);
    m_delete->setEnabled(any);
}

void macro_panel_c::show_message(const QString& message, bool refused) {
    m_message->setText(message);
    m_message->setProperty("state", refused ? QStringLiteral("error") : QStringLiteral("ok"));
    refresh_style(m_message);
}

QDialog* macro_panel_c::group_dialog(const QString& title, const QString& value, int except) {
    const QString refusal = text(host_text::name_taken);
    macro_library_c* library = m_library;
    return new name_dialog_c(this, m_centre->language(), title, text(host_text::group_name_prompt),
                             value, max_group_chars,
                             [library, refusal, except](const QString& name) {
                                 const int found = library->find_group(name);
                                 return found >= 0 && found != except ? refusal : QString();
                             });
}

QDialog* macro_panel_c::macro_dialog(int group, int macro) {
    QString name;
    QString keys;
    int others = 0;
    if (const library_macro_rec* record = m_library->macro_record(group, macro)) {
        name = record->name();
        keys = macro_library_c::typed_text(*record, &others);
    }
    const QString refusal = text(host_text::name_taken);
    macro_library_c* library = m_library;
    const QString title = text(macro >= 0 ? host_text::key_editor_title : host_text::new_macro);
    return new macro_keys_dialog_c(this, m_centre->language(), title, name, keys, others,
                              [library, refusal, group, macro](const QString& candidate) {
                                  const int found = library->find_macro(group, candidate);
                                  return found >= 0 && found != macro ? refusal : QString();
                              });
}

bool macro_panel_c::ask_macro(int group, int macro, QString* name, QString* keys) {
    if (!m_dialogs)
        return false;
    QScopedPointer<QDialog> dialog(macro_dialog(group, macro));
    if (dialog->exec() != QDialog::Accepted)
        return false;
    const auto* editor = static_cast<macro_keys_dialog_c*>(dialog.data());
    *name = editor->name();
    *keys = editor->keys();
    return true;
}

bool macro_panel_c::refuse_untypeable(const QString& keys) {
    const QString refused = macro_library_c::untypeable(keys);
    if (!refused.isEmpty())
        show_message(text(host_text::untypeable).arg(refused), true);
    return !refused.isEmpty();
}

bool macro_panel_c::new_group(const QString& name) {
    show_message(QString(), false);
    QString chosen = name;
    if (chosen.isEmpty()) {
        if (!m_dialogs)
            return false;
        QScopedPointer<QDialog> dialog(group_dialog(text(host_text::new_group_title), {}, -1));
        if (dialog->exec() != QDialog::Accepted)
            return false;
        chosen = static_cast<name_dialog_c*>(dialog.data())->name();
    }
    const int group = m_library->create_group(chosen.left(max_group_chars));
    if (group < 0)
        show_message(text(host_text::name_taken), true);
    else
        select(group);
    return group >= 0;
}

bool macro_panel_c::new_macro(const QString& name, const QString& keys) {
    show_message(QString(), false);
    const int group = selected_group();
    if (group < 0)
        return false;
    QString chosen = name;
    QString typed = keys;
    // New macros get koral's recording editor when a person is at the keyboard.
    if (chosen.isEmpty() && m_dialogs && m_editor)
        return m_editor(group) == 1;
    if (chosen.isEmpty() && !ask_macro(group, -1, &chosen, &typed))
        return false;
    if (refuse_untypeable(typed))
        return false;
    const int macro =
        m_library->create_macro(group, chosen.left(macro_library_c::max_macro_name_chars),
                                macro_library_c::typed_keys(typed));
    if (macro < 0) {
        show_message(text(host_text::name_taken), true);
        return false;
    }
    select(group, macro);
    return true;
}

bool macro_panel_c::edit_selected(const QString& name, const QString& keys) {
    show_message(QString(), false);
    const int group = selected_group();
    const int macro = selected_macro();
    if (group < 0 || macro < 0)
        return false;
    QString chosen = name.isEmpty() ? m_library->macro_record(group, macro)->name() : name;
    QString typed = keys;
    if (typed.isNull() && !ask_macro(group, macro, &chosen, &typed))
        return false;
    if (refuse_untypeable(typed))
        return false;
    chosen = chosen.trimmed().left(macro_library_c::max_macro_name_chars);
    if (chosen != m_library->macro_record(group, macro)->name() &&
        !m_library->rename_macro(group, macro, chosen)) {
        show_message(text(host_text::name_taken), true);
        return false;
    }
    if (!m_library->set_macro_keys(group, macro, macro_library_c::typed_keys(typed)))
        return false;
    select(group, macro);
    int others = 0;
    show_message(text(host_text::keys_saved)
                     .arg(chosen, macro_library_c::typed_text(
                                      *m_library->macro_record(group, macro), &others)),
                 false);
    return true;
}

bool macro_panel_c::rename_selected(const QString& name) {
    show_message(QString(), false);
    const int group = selected_group();
    const int macro = selected_macro();
    if (group < 0)
        return false;
    QString chosen = name;
    if (chosen.isEmpty()) {
        // A macro's name is asked for with its keys, in its editor.
        if (macro >= 0)
            return edit_selected();
        if (!m_dialogs)
            return false;
        QScopedPointer<QDialog> dialog(
            group_dialog(text(host_text::macro_rename), m_library->group_name(group), group));
        if (dialog->exec() != QDialog::Accepted)
            return false;
        chosen = static_cast<name_dialog_c*>(dialog.data())->name();
    }
    const bool done = macro >= 0 ? m_library->rename_macro(group, macro, chosen)
                                 : m_library->rename_group(group, chosen);
    if (!done)
        show_message(text(host_text::name_taken), true);
    return done;
}

bool macro_panel_c::delete_selected() {
    show_message(QString(), false);
    const int group = selected_group();
    const int macro = selected_macro();
    if (group < 0)
        return false;
    return macro >= 0 ? m_library->delete_macro(group, macro) : m_library->delete_group(group);
}

QList<QPair<QString, QDialog*>> macro_panel_c::screenshot_dialogs() {
    QList<QPair<QString, QDialog*>> dialogs;
    dialogs.append({QStringLiteral("dialog_new_group"),
                    group_dialog(text(host_text::new_group_title), QString(), -1)});
    // The editor of the first macro there is, or of a new one with keys it cannot type.
    int group = -1;
    int macro = -1;
    for (int g = 0; g < m_library->group_count() && macro < 0; ++g) {
        if (m_library->macro_count(g) > 0) {
            group = g;
            macro = 0;
        }
    }
    QDialog* editor = macro_dialog(group, macro);
    if (macro < 0) {
        auto* keys = editor->findChild<QPlainTextEdit*>(QStringLiteral("te_macro_keys"));
        auto* name = editor->findChild<QLineEdit*>(QStringLiteral("le_macro_name"));
        if (name && keys) {
            name->setText(QStringLiteral("GG WP"));
            keys->setPlainText(QStringLiteral("gg wp! €"));
        }
    }
    dialogs.append({QStringLiteral("dialog_macro_keys"), editor});
    return dialogs;
}
