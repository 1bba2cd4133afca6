// The module's drop shadow: Qt's drop shadow, kept between paints.
#pragma once

#include <QGraphicsDropShadowEffect>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <memory>
#include <vector>

class QWidget;

// Looks exactly like QGraphicsDropShadowEffect with the same settings: the alpha of
// what the widget paints, moved by the offset, blurred and filled with the colour,
// under the widget. What makes it cheap:
// - A blurred shadow is kept by a print of the alpha it was made from, so the panels
//   of a page opened again, which have the same shapes, reuse theirs.
// - The shadow is drawn only where the widget does not cover it fully.
// - A repaint of part of the widget (a hover, a changed text on an opaque background)
//   renders only that part off screen and keeps the rest of the last render and the
//   shadow, while the alpha of the repainted part stays the same; otherwise the whole
//   widget is rendered again. Qt's own effect renders the whole widget off screen on
//   every repaint, however small.
class kept_drop_shadow_c final : public QGraphicsDropShadowEffect {
public:
    explicit kept_drop_shadow_c(QWidget* widget);

    // A blurred shadow, kept only where it can be seen (the pixels the widget does not
    // cover fully): a piece per rectangle of that band, in the pixels of the widget's
    // padded render. The panel's inside, most of the picture, is never kept.
    struct shadow_piece_t {
        QPoint at;
        QImage image;
    };
    struct shadow_t {
        std::vector<shadow_piece_t> pieces;
    };

    // How the last paints went; for tests that must see the cheap path taken.
    struct counts_t {
        int full_renders = 0;
        int part_renders = 0;
        int shadows_made = 0;
    };
    const counts_t& counts() const { return m_counts; }

protected:
    void draw(QPainter* painter) override;

private:
    bool draw_part(QPainter* painter);
    void draw_full(QPainter* painter);
    void draw_kept(QPainter* painter, const QPixmap& piece, QPoint piece_at) const;
    std::shared_ptr<const shadow_t> shadow_of(const QImage& source);
    QImage make_shadow(const QImage& source) const;

    QWidget* m_widget;
    // The alpha plane of the last render of the widget, padded to the effect's rectangle
    // (device pixels), and where its top-left corner was on the device: a repaint of a
    // part is checked against it. The colours are never drawn again, so not kept.
    QImage m_alpha;
    QPoint m_source_at;
    std::shared_ptr<const shadow_t> m_shadow;
    counts_t m_counts;
    bool m_drawing = false;
};
