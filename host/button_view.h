// What the virtual mouse does with its buttons, read by koral from the
// mouse's memory with its own reader and named with its own tables: the 40
// buttons of a profile (top and side, standard and Alter-Key[+] layer) with
// the function each carries, and the side panel's caps. Beside the module's
// pages it shows whether the module wrote what it meant to.
#pragma once

#include "host/mouse_memory.h"
#include "host/side_layout.h"

#include <QFrame>
#include <QVector>
#include <cstdint>
#include <functional>

class QComboBox;
class QGridLayout;
class QLabel;

namespace button_labels {

struct sources_t {
    std::function<QString(int32_t id)> text;
    // The name of one of the host's timers; empty when it has none.
    std::function<QString(uint32_t identifier)> timer_name;
};

// The function a button of a profile carries, as the device's owner reads it.
QString function_label(const mouse_memory::memory_t& memory, int slot, int button,
                       const sources_t& sources);
// The host text that names a function code of the catalogue, or 0.
int32_t function_text_id(int code);

} // namespace button_labels

// The side panel drawn from a layout: three rows of four positions, singles
// as caps, doubles as one wide cap, blanks flat.
class side_panel_view_c : public QWidget {
    Q_OBJECT
public:
    explicit side_panel_view_c(QWidget* parent = nullptr);
    void set_layout(const side_layout::layout_t& layout);
    side_layout::layout_t layout() const { return m_layout; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    side_layout::layout_t m_layout;
};

class button_view_c : public QFrame {
    Q_OBJECT
public:
    explicit button_view_c(const button_labels::sources_t& sources, QWidget* parent = nullptr);

    // What the mouse holds now (empty: nothing yet); shows its current profile.
    void set_memory(const QByteArray& blob);
    // Shows another profile slot (0..4).
    void show_slot(int slot);
    int shown_slot() const { return m_slot; }
    // Sets every text again (language, timer names).
    void refresh();

    // What the view shows, for tests: a button's label, the side panel, the note.
    QString label(int button) const;
    side_layout::layout_t side_layout() const;
    QString note() const;
    bool readable() const { return m_readable; }

private:
    QString text(int32_t id) const;
    void build();

    button_labels::sources_t m_sources;
    mouse_memory::memory_t m_memory;
    bool m_readable = false;
    bool m_empty = true;
    QString m_error;
    int m_slot = 0;

    QLabel* m_title = nullptr;
    QLabel* m_profile_caption = nullptr;
    QComboBox* m_profile = nullptr;
    QLabel* m_standard_header = nullptr;
    QLabel* m_alter_header = nullptr;
    QVector<QLabel*> m_positions;
    // Labels of button index 0..39.
    QVector<QLabel*> m_labels;
    QLabel* m_side_title = nullptr;
    side_panel_view_c* m_side = nullptr;
    QLabel* m_side_legend = nullptr;
    QLabel* m_note = nullptr;
};
