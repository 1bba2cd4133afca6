// The preset part of the host's title component (class 0x1601) in the side
// box: the button-set presets the module hands over, each with a miniature of
// its side panel, one of them marked as the current profile's, and the
// person's pick told to the client. The title component owns one and passes
// preset_selector_i's operations 4..6 to it.
#pragma once

#include "host/components/call_journal.h"
#include "module/component_interfaces.h"

#include <QPixmap>
#include <QVector>
#include <QWidget>

class QComboBox;

class preset_list_c : public QWidget {
    Q_OBJECT
public:
    struct preset_t {
        QString name;
        uint16_t identifier = 0;
        // Bytes 27..29, byte 27 lowest.
        uint32_t layout = 0;
    };
    static constexpr int record_size = 30;

    explicit preset_list_c(QWidget* parent = nullptr);

    // preset_selector_i 4..6.
    void set_presets(const QList<QByteArray>& records);
    void set_current(int32_t index);
    void set_client(preset_selector_client_i* client) { m_client = client; }

    // A record as a preset; false for a record of another size. A name that
    // is not valid UTF-8 reads with replacement characters.
    static bool parse(const QByteArray& record, preset_t* preset);
    // The side panel of a layout as a small picture.
    static QPixmap miniature(uint32_t layout, qreal pixel_ratio);
    // The same picture, drawn once per layout and ratio and kept: the box is filled again
    // on every opening of the button page.
    static QPixmap kept_miniature(uint32_t layout, qreal pixel_ratio);

    QVector<preset_t> presets() const { return m_presets; }
    int32_t current() const { return m_current; }
    QComboBox* box() const { return m_box; }
    // What the person does: picks the preset at an index.
    void choose(int index);
    void set_placeholder(const QString& text);

private:
    void refill();

    QComboBox* m_box;
    QVector<preset_t> m_presets;
    int32_t m_current = -1;
    QString m_placeholder;
    preset_selector_client_i* m_client = nullptr;
    bool m_filling = false;
};
