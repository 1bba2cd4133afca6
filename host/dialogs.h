// The dialogs koral asks a person with: a name with its limit, a yes-or-no
// question, and a macro's name and keys. They take their texts in the
// language in force and follow the window's dark theme through their parent.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPlainTextEdit;

// Says what is wrong with a name a person typed (already trimmed), or nothing.
using name_check_t = std::function<QString(const QString&)>;

// One line of text with a limit: the count of characters is shown under it,
// and OK stays off while the name is empty or the check refuses it.
class name_dialog_c : public QDialog {
    Q_OBJECT
public:
    name_dialog_c(QWidget* parent, int32_t language, const QString& title, const QString& prompt,
                  const QString& value, int max_length, name_check_t refuse = {});

    QString name() const;
    QLineEdit* editor() const { return m_editor; }
    // What the dialog says under the field now (count or refusal).
    QString note() const;

private:
    void check();

    int32_t m_language;
    int m_max_length;
    name_check_t m_check;
    QLineEdit* m_editor = nullptr;
    QLabel* m_note = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

// A macro's name and the keys it types. Characters a macro cannot type are
// named under the field and keep OK off; key events that are not text are
// counted, since new keys replace them.
class macro_keys_dialog_c : public QDialog {
    Q_OBJECT
public:
    // `other_events`: key events of the macro that the text does not show.
    macro_keys_dialog_c(QWidget* parent, int32_t language, const QString& title, const QString& name,
                   const QString& keys, int other_events, name_check_t refuse = {});

    QString name() const;
    QString keys() const;
    QString note() const;

private:
    void check();

    int32_t m_language;
    name_check_t m_check;
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_keys = nullptr;
    QLabel* m_other = nullptr;
    QLabel* m_note = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

namespace koral_dialogs {

// A question with a confirming button (`confirm`) and Qt's own Cancel, which is
// the default. The caller shows it (exec) or, for a screenshot, only renders it.
QMessageBox* question(QWidget* parent, const QString& title, const QString& text,
                      const QString& confirm);
// Shows a question made by question(); true when the person confirmed.
bool confirmed(QMessageBox* box);

} // namespace koral_dialogs
