// A palette block of the side-panel editor: a single or double cap the user drags onto the
// panel. The block itself never changes; it only shows whether it is hovered or carried.
#pragma once

#include "module/button_set_interfaces.h"

#include <QLabel>
#include <QPixmap>
#include <QPoint>

class JigsawBlock : public QLabel, public jigsaw_i {
    Q_OBJECT

public:
    // `kind` 1 single, 2 double.
    explicit JigsawBlock(int32_t kind, QWidget* parent = nullptr);

    // Paths of the normal, over and lifted images (a path without suffix finds its .png).
    void set_images(const QString& normal, const QString& over, const QString& lifted);
    // The over look while the owner's feedback points at the block.
    void set_highlight(bool on);

    // jigsaw_i: a palette block comes from no slot and may always land on the panel.
    int32_t block_kind() override { return m_kind; }
    int32_t origin_slot() override { return 0; }
    bool accepts_panel_drop() override { return true; }

    bool carried() const { return m_carried; }
    // Runs a drag of the block as the pointer would (tests call it too).
    Qt::DropAction drag(const QPoint& hot_spot);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int32_t m_kind;
    QPixmap m_normal;
    QPixmap m_over;
    QPixmap m_lifted;
    QPoint m_press;
    bool m_carried = false;
};
