#include "host/dialogs.h"
#include "host/widget_helpers.h"

#include "host/macro_library.h"
#include "host/texts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QVBoxLayout* dialog_column(QDialog* dialog) {
    dialog->setObjectName(QStringLiteral("dlg_koral"));
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* column = new QVBoxLayout(dialog);
    column->setContentsMargins(22, 20, 22, 18);
    column->setSpacing(8);
    return column;
}

// A warning mark in koral's colours, for questions whose answer loses data.
QPixmap warning_mark() {
    const qreal ratio = 2.0;
    QPixmap pixmap(QSize(40, 40) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(20, 5);
    triangle.lineTo(36, 34);
    triangle.lineTo(4, 34);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(0xe5, 0x48, 0x4d), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0x3a, 0x1a, 0x1c));
    p.drawPath(triangle);
    p.setPen(QPen(QColor(0xff, 0xd6, 0xd7), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 15), QPointF(20, 24));
    p.drawPoint(QPointF(20, 29.5));
    return pixmap;
}

// The foot every koral dialog shares: a note under the fields, then OK and Cancel.
QDialogButtonBox* add_foot(QDialog* dialog, QVBoxLayout* column, QLabel** note) {
    *note = make_label(QStringLiteral("lb_dialog_note"), "dialog_note", dialog);
    (*note)->setWordWrap(true);
    column->addWidget(*note);
    column->addSpacing(6);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    column->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void show_note(QLabel* note, const QString& text, const char* state) {
    note->setText(text);
    note->setProperty("state", QLatin1String(state));
    refresh_style(note);
}

} // namespace

// ------------------------------------------------------------------ name_dialog_c

name_dialog_c::name_dialog_c(QWidget* parent, int32_t language, const QString& title,
                             const QString& prompt, const QString& value, int max_length,
                             name_check_t refuse)
    : QDialog(parent)
    , m_language(language)
    , m_max_length(max_length)
    , m_check(std::move(refuse)) {
    setWindowTitle(title);
    QVBoxLayout* column = dialog_column(this);
    QLabel* heading = make_label(QStringLiteral("lb_dialog_title"), "dialog_title", this);
    heading->setText(title.toUpper());
    column->addWidget(heading);
    QLabel* prompt_label = make_label(QStringLiteral("lb_dialog_prompt"), "dialog_text", this);
    prompt_label->setText(prompt);
    prompt_label->setWordWrap(true);
    column->addWidget(prompt_label);
    m_editor = new QLineEdit(this);
    m_editor->setObjectName(QStringLiteral("le_dialog_name"));
    m_editor->setMaxLength(max_length);
    m_editor->setText(value.left(max_length));
    m_editor->selectAll();
    m_editor->setMinimumWidth(360);
    column->addWidget(m_editor);
    m_buttons = add_foot(this, column, &m_note);
    connect(m_editor, &QLineEdit::textChanged, this, &name_dialog_c::check);
    check();
}

QString name_dialog_c::name() const {
    return m_editor->text().trimmed();
}

QString name_dialog_c::note() const {
    return m_note->text();
}

void name_dialog_c::check() {
    const QString typed = name();
    // An empty field is only a refusal once the person has cleared it; OK stays off either way.
    QString refusal = typed.isEmpty() && m_editor->isModified()
                          ? host_texts::text(host_text::name_empty, m_language)
                          : QString();
    if (refusal.isEmpty() && m_check)
        refusal = m_check(typed);
    // A full field stops taking characters; the count says why, in warning colour.
    const int length = m_editor->text().size();
    if (refusal.isEmpty())
        show_note(m_note,
                  host_texts::text(host_text::name_limit, m_language).arg(length).arg(m_max_length),
                  length >= m_max_length ? "full" : "");
    else
        show_note(m_note, refusal, "error");
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(refusal.isEmpty() && !typed.isEmpty());
}

// ---------------------------------------------------------------- macro_keys_dialog_c

macro_keys_dialog_c::macro_keys_dialog_c(QWidget* parent, int32_t language, const QString& title,
                               const QString& name, const QString& keys, int other_events,
                               name_check_t refuse)
    : QDialog(parent)
    , m_language(language)
    , m_check(std::move(refuse)) {
    const auto text = [language](int32_t id) {
        return host_texts::text(id, language);
    };
    setWindowTitle(title);
    QVBoxLayout* column = dialog_column(this);
    QLabel* heading = make_label(QStringLiteral("lb_dialog_title"), "dialog_title", this);
    heading->setText(title.toUpper());
    column->addWidget(heading);

    QLabel* name_label = make_label(QStringLiteral("lb_macro_name"), "dialog_text", this);
    name_label->setText(text(host_text::name_label));
    column->addWidget(name_label);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("le_macro_name"));
    m_name->setMaxLength(macro_library_c::max_macro_name_chars);
    m_name->setText(name);
    column->addWidget(m_name);
    column->addSpacing(4);

    QLabel* keys_label = make_label(QStringLiteral("lb_macro_keys"), "dialog_text", this);
    keys_label->setText(text(host_text::macro_keys_prompt));
    keys_label->setWordWrap(true);
    column->addWidget(keys_label);
    m_keys = new QPlainTextEdit(this);
    m_keys->setObjectName(QStringLiteral("te_macro_keys"));
    m_keys->setPlainText(keys);
    m_keys->setTabChangesFocus(true);
    m_keys->setMinimumWidth(420);
    m_keys->setFixedHeight(110);
    column->addWidget(m_keys);
    m_other = make_label(QStringLiteral("lb_macro_other_keys"), "dialog_note", this);
    m_other->setWordWrap(true);
    m_other->setText(other_events > 0
                         ? host_texts::plural(host_text::other_keys, other_events, language)
                         : QString());
    m_other->setVisible(other_events > 0);
    column->addWidget(m_other);
    m_buttons = add_foot(this, column, &m_note);
    connect(m_name, &QLineEdit::textChanged, this, &macro_keys_dialog_c::check);
    connect(m_keys, &QPlainTextEdit::textChanged, this, &macro_keys_dialog_c::check);
    check();
}

QString macro_keys_dialog_c::name() const {
    return m_name->text().trimmed();
}

QString macro_keys_dialog_c::keys() const {
    return m_keys->toPlainText();
}

QString macro_keys_dialog_c::note() const {
    return m_note->text();
}

void macro_keys_dialog_c::check() {
    QString refusal;
    if (name().isEmpty() && m_name->isModified())
        refusal = host_texts::text(host_text::name_empty, m_language);
    else if (m_check)
        refusal = m_check(name());
    const QString untypeable = macro_library_c::untypeable(keys());
    if (refusal.isEmpty() && !untypeable.isEmpty()) {
        QStringList shown;
        for (QChar c : untypeable)
            shown << (c == QLatin1Char('\n') ? QStringLiteral("↵") : QString(c));
        refusal = host_texts::text(host_text::untypeable, m_language)
                      .arg(shown.join(QStringLiteral("  ")));
    }
    show_note(m_note, refusal, refusal.isEmpty() ? "" : "error");
    m_note->setVisible(!refusal.isEmpty());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(refusal.isEmpty() && !name().isEmpty());
}

// ------------------------------------------------------------------- questions

namespace koral_dialogs {

QMessageBox* question(QWidget* parent, const QString& title, const QString& text,
                      const QString& confirm) {
    auto* box = new QMessageBox(parent);
    box->setObjectName(QStringLiteral("dlg_question"));
    box->setIconPixmap(warning_mark());
    box->setWindowTitle(title);
    box->setText(text);
    auto* yes = new QPushButton(confirm, box);
    yes->setObjectName(QStringLiteral("btn_confirm"));
    box->addButton(yes, QMessageBox::DestructiveRole);
    QPushButton* cancel = box->addButton(QMessageBox::Cancel);
    // Keeping what is there is the safe answer to Enter.
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    return box;
}

bool confirmed(QMessageBox* box) {
    box->exec();
    return box->clickedButton() &&
           box->clickedButton()->objectName() == QLatin1String("btn_confirm");
}

} // namespace koral_dialogs
