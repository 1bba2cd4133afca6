// One profile slot's tile in koral's device tab: the slot's number and the
// module's lighting preview of that slot, which the kernel places into the tile
// (ctrl_center_i::profile_object) at (5, 20).
#pragma once

#include <QSize>
#include <QWidget>

class profile_tile_c : public QWidget {
    Q_OBJECT
public:
    // Room for the number above a 48 x 56 preview at (5, 20).
    static constexpr QSize tile_size{58, 82};

    explicit profile_tile_c(int slot, QWidget* parent = nullptr);

    int slot() const { return m_slot; }
    // A used slot can be chosen; the current one is marked.
    void set_state(bool used, bool current);
    bool is_used() const { return m_used; }
    bool is_current() const { return m_current; }

signals:
    void clicked(int slot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_slot;
    bool m_used = false;
    bool m_current = false;
};
