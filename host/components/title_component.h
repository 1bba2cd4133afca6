// The host's title component (class 0x1601): a title and a line under it in the host's
// lettering, drawn into a widget of the module. In the side box it is also the preset
// selector: the button-set presets with their miniatures, the current one marked.
#pragma once

#include "host/components/call_journal.h"
#include "module/component_interfaces.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class preset_list_c;

class title_component_fm_c : public QWidget {
    Q_OBJECT
public:
    explicit title_component_fm_c(QWidget* parent = nullptr);

    QLabel* title() const { return m_title; }
    QLabel* description() const { return m_description; }
    preset_list_c* presets() const { return m_presets; }
    // The preset list only shows once presets were given.
    void show_presets(bool on);

private:
    QLabel* m_title;
    QLabel* m_description;
    preset_list_c* m_presets;
};

class title_component_c : public QObject, public preset_selector_i {
    Q_OBJECT
public:
    title_component_c() = default;
    ~title_component_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    void attach(QWidget* parent) override;
    void set_texts(const QString& title, const QString& description) override;
    void set_presets(const QList<QByteArray>& records) override;
    void set_current(int32_t index) override;
    void set_client(preset_selector_client_i* client) override;

    // The host's side.
    title_component_fm_c* form() const { return m_form; }
    const call_journal_c& journal() const { return m_journal; }

private:
    title_component_fm_c* ensure_form(QWidget* parent);

    QPointer<title_component_fm_c> m_form;
    preset_selector_client_i* m_client = nullptr;
    QString m_title;
    QString m_description;
    QList<QByteArray> m_records;
    int32_t m_current = -1;
    call_journal_c m_journal;
};
