// The painted widgets of the button boxes keep their pictures in a process-wide cache. Each
// case draws a widget, changes what it shows (state, size, picture, text) and draws it
// again: the second picture must be the one of the new state. A cache entry keyed without
// the thing that changed would hand back the first picture and fail here.
#include "buttons/box_widgets.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QToolTip>
#include <QtTest>
#include <functional>

namespace {

const QString tools = QStringLiteral(":/graphics/button_assignment/Tools/");
const QString star = QStringLiteral(":/graphics/controls/favorite/");
const QString arrow = QStringLiteral(":/graphics/button_assignment/Dropdown/");

QImage draw(QWidget& w) {
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    w.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

// A resource picture as drawn at `size` with nothing behind it.
QImage picture_at(const QString& path, const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QImage source(path);
    p.drawImage(QRect(QPoint(), size),
                source.size() == size
                    ? source
                    : source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return image;
}

bool same_colour(QRgb a, const QColor& b) {
    return qRed(a) == b.red() && qGreen(a) == b.green() && qBlue(a) == b.blue() && qAlpha(a) == 255;
}

QString rgb(QRgb c) {
    return QColor::fromRgba(c).name(QColor::HexArgb);
}

// The colours a row shows in each state.
struct row_look {
    QColor border;
    QColor background;
    bool arrow;
};

const row_look normal_look{QColor(0x30, 0x35, 0x3a), QColor(0x1b, 0x1e, 0x21), true};
const row_look hover_look{QColor(0x65, 0xc3, 0xf7), QColor(0x1b, 0x1e, 0x21), true};
const row_look fixed_look{QColor(0x30, 0x35, 0x3a), QColor(0x16, 0x18, 0x1a), false};
const row_look disabled_look{QColor(0x24, 0x28, 0x2c), QColor(0x14, 0x16, 0x18), true};
const row_look disabled_fixed_look{QColor(0x24, 0x28, 0x2c), QColor(0x14, 0x16, 0x18), false};

using row_change = std::function<void(row_button_c&)>;

void hover(row_button_c& b, bool on) {
    // What the application sets when the pointer enters and leaves.
    b.setAttribute(Qt::WA_UnderMouse, on);
}

} // namespace

Q_DECLARE_METATYPE(row_change)
Q_DECLARE_METATYPE(row_look)

class test_box_widgets : public QObject {
    Q_OBJECT

    // Checks the row's border, field and arrow against `look`.
    void verify_row(row_button_c& row, const row_look& look) {
        const QImage image = draw(row);
        const QRgb border = image.pixel(row.width() / 2, 0);
        QVERIFY2(same_colour(border, look.border), qPrintable(rgb(border)));
        const QRgb right = image.pixel(row.width() - 1, row.height() / 2);
        QVERIFY2(same_colour(right, look.border), qPrintable(rgb(right)));
        const QRgb field = image.pixel(3, row.height() / 2);
        QVERIFY2(same_colour(field, look.background), qPrintable(rgb(field)));
        // Where the arrow goes: either arrow pixels or the plain field.
        const QRect place = row.assignable() ? row.arrow_rect() : QRect(row.width() - 33, 7, 12, 8);
        bool plain = true;
        for (int y = place.top(); y <= place.bottom(); ++y) {
            for (int x = place.left(); x <= place.right(); ++x)
                plain = plain && same_colour(image.pixel(x, y), look.background);
        }
        QCOMPARE(!plain, look.arrow);
    }

private slots:
    void init() {
        // Each case starts from an empty cache, so the first drawing fills it.
        QPixmapCache::clear();
    }

    void row_states_data() {
        QTest::addColumn<row_look>("before");
        QTest::addColumn<row_change>("change");
        QTest::addColumn<row_look>("after");
        QTest::addRow("pointer enters")
            << normal_look << row_change([](row_button_c& b) { hover(b, true); }) << hover_look;
        QTest::addRow("pointer leaves")
            << hover_look << row_change([](row_button_c& b) { hover(b, false); }) << normal_look;
        QTest::addRow("disabled") << normal_look
                                  << row_change([](row_button_c& b) { b.setEnabled(false); })
                                  << disabled_look;
        QTest::addRow("no longer assignable")
            << normal_look << row_change([](row_button_c& b) { b.set_assignable(false); })
            << fixed_look;
        QTest::addRow("pointer over a fixed row")
            << fixed_look << row_change([](row_button_c& b) { hover(b, true); }) << fixed_look;
        QTest::addRow("fixed and disabled")
            << disabled_look << row_change([](row_button_c& b) { b.set_assignable(false); })
            << disabled_fixed_look;
        QTest::addRow("enabled again")
            << disabled_look << row_change([](row_button_c& b) { b.setEnabled(true); })
            << normal_look;
        QTest::addRow("wider") << normal_look
                               << row_change([](row_button_c& b) { b.resize(220, 22); })
                               << normal_look;
    }

    void row_states() {
        QFETCH(row_look, before);
        QFETCH(row_change, change);
        QFETCH(row_look, after);
        row_button_c row;
        row.resize(153, 22);
        row.setText(QStringLiteral("Scroll up"));
        // Bring the row into the `before` state the way the list does.
        if (!before.arrow)
            row.set_assignable(false);
        if (before.border == hover_look.border)
            hover(row, true);
        if (before.background == disabled_look.background)
            row.setEnabled(false);
        verify_row(row, before);
        change(row);
        verify_row(row, after);
        // The arrow sits at the end of the text's room whatever the row's width.
        if (row.assignable())
            QCOMPARE(row.arrow_rect().right(), row.width() - 1 - 1 - 20);
    }

    void row_text_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("shortened");
        QTest::addRow("fits") << QStringLiteral("Lauter") << false;
        // German labels run longest; this one does not fit in any font at 11 pixels.
        QTest::addRow("long German label")
            << QStringLiteral("Nach rechts scrollen und Lautstärke erhöhen") << true;
        QTest::addRow("German scroll label") << QStringLiteral("Nach rechts scrollen") << false;
    }

    // A row's text stays left of its arrow: shortened with an ellipsis when it would run
    // under it, drawn whole otherwise; a new text is shortened anew.
    void row_text() {
        QFETCH(QString, text);
        QFETCH(bool, shortened);
        row_button_c row;
        QFont font = row.font();
        font.setPixelSize(11);
        row.setFont(font);
        row.resize(153, 22);
        row.setText(QStringLiteral("1"));
        QCOMPARE(row.shown_text(), QStringLiteral("1"));
        row.setText(text);
        const QString shown = row.shown_text();
        const QFontMetrics metrics(font);
        const QRect room = row.text_rect();
        QVERIFY(room.right() < row.arrow_rect().left());
        QVERIFY2(room.left() + metrics.horizontalAdvance(shown) - 1 < row.arrow_rect().left(),
                 qPrintable(shown));
        const bool fits = metrics.horizontalAdvance(text) <= room.width();
        if (shortened)
            QVERIFY(!fits);
        if (fits) {
            QCOMPARE(shown, text);
        } else {
            QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
            QVERIFY(text.startsWith(shown.chopped(1)));
        }
        // Resting the pointer on a shortened row tells its whole text.
        QToolTip::hideText();
        row.show();
        QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), row.mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(&row, &help);
        QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), fits ? QString() : text);
        QToolTip::hideText();
        // Nothing of the text is drawn between its room and the arrow.
        const QImage image = draw(row);
        for (int x = room.right() + 1; x < row.arrow_rect().left(); ++x) {
            for (int y = 2; y < row.height() - 2; ++y)
                QVERIFY2(same_colour(image.pixel(x, y), normal_look.background),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }

    void texts_data() {
        QTest::addColumn<bool>("row");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<int>("pixel_size");
        QTest::addRow("row, new function") << true << "Scroll up"
                                           << "Mute" << 11;
        QTest::addRow("row, new language") << true << "Scroll up"
                                           << "Nach oben scrollen" << 11;
        QTest::addRow("row, new font") << true << "Scroll up"
                                       << "Scroll up" << 13;
        QTest::addRow("number, new text") << false << "5"
                                          << "4" << 11;
        QTest::addRow("header, new font") << false << "ALTER-KEY[+]"
                                          << "ALTER-KEY[+]" << 14;
    }

    // A row or label drawn again after its text or font changed looks as one that was made
    // with the new text and font.
    void texts() {
        QFETCH(bool, row);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(int, pixel_size);
        const auto make = [row](const QString& text, int size) {
            std::unique_ptr<QWidget> w(row ? static_cast<QWidget*>(new row_button_c)
                                           : new colour_label_c);
            QFont font = w->font();
            font.setPixelSize(size);
            w->setFont(font);
            w->resize(153, 22);
            if (row)
                static_cast<row_button_c*>(w.get())->setText(text);
            else
                static_cast<colour_label_c*>(w.get())->setText(text);
            return w;
        };
        std::unique_ptr<QWidget> changed = make(first, 11);
        const QImage before = draw(*changed);
        if (row)
            static_cast<row_button_c*>(changed.get())->setText(second);
        else
            static_cast<colour_label_c*>(changed.get())->setText(second);
        QFont font = changed->font();
        font.setPixelSize(pixel_size);
        changed->setFont(font);
        const QImage after = draw(*changed);
        QVERIFY(after != before);
        QPixmapCache::clear();
        QCOMPARE(after, draw(*make(second, pixel_size)));
    }

    void pictures_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addRow("tool button, pointer enters")
            << "button hover" << tools + "undo_normal.png" << tools + "undo_over.png";
        QTest::addRow("tool button, disabled")
            << "button disabled" << tools + "undo_normal.png" << tools + "undo_disabled.png";
        QTest::addRow("tool button, another picture")
            << "button picture" << tools + "undo_normal.png" << tools + "redo_normal.png";
        QTest::addRow("star, checked")
            << "star checked" << star + "favorite_off.png" << star + "favorite_on.png";
        QTest::addRow("star, pointer enters")
            << "star hover" << star + "favorite_off.png" << star + "favorite_hover.png";
        QTest::addRow("marker, lit") << "marker lit"
                                     << ":/graphics/button_assignment/Button_Highlight/"
                                        "Button_Highlight_normal.png"
                                     << ":/graphics/button_assignment/Button_Highlight/"
                                        "Button_Highlight_over.png";
        QTest::addRow("marker, larger") << "marker larger"
                                        << ":/graphics/button_assignment/Button_Highlight/"
                                           "Button_Highlight_normal.png"
                                        << ":/graphics/button_assignment/Button_Highlight/"
                                           "Button_Highlight_normal.png";
        QTest::addRow("device, other edition")
            << "device edition"
            << ":/graphics/button_assignment/QUIL_BLK_TOP_VIEW.png"
            << ":/graphics/button_assignment/QUIL_WHT_TOP_VIEW.png";
    }

    // Each widget draws the picture of its state, at its size: first one, then after the
    // change the other.
    void pictures() {
        QFETCH(QString, kind);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(picture_at(first, QSize(20, 20)) != picture_at(second, QSize(20, 20)) ||
                kind == "marker larger");
        std::unique_ptr<QWidget> widget;
        std::function<void()> change;
        QSize size_after(20, 20);
        if (kind.startsWith("button")) {
            auto* b = new picture_button_c;
            widget.reset(b);
            b->resize(20, 20);
            b->set_pictures(first, tools + "undo_over.png", tools + "undo_disabled.png");
            if (kind == "button hover")
                change = [b] {
                    b->setAttribute(Qt::WA_UnderMouse, true);
                };
            else if (kind == "button disabled")
                change = [b] {
                    b->setEnabled(false);
                };
            else
                change = [b, second] {
                    b->set_pictures(second, tools + "redo_over.png", tools + "redo_disabled.png");
                };
        } else if (kind.startsWith("star")) {
            auto* c = new picture_check_box_c;
            widget.reset(c);
            c->resize(20, 20);
            picture_check_box_c::look_t look;
            look.off = first;
            look.off_hover = star + "favorite_hover.png";
            look.on = star + "favorite_on.png";
            look.on_hover = look.on;
            c->set_look(look);
            if (kind == "star checked")
                change = [c] {
                    c->setChecked(true);
                };
            else
                change = [c] {
                    c->setAttribute(Qt::WA_UnderMouse, true);
                };
        } else {
            auto* w = new picture_widget_c;
            widget.reset(w);
            if (kind == "device edition") {
                w->resize(280, 420);
                size_after = QSize(280, 420);
                w->set_pictures(first, QString(), picture_widget_c::placement::top_left);
                change = [w, second] {
                    w->set_pictures(second, QString(), picture_widget_c::placement::top_left);
                };
            } else {
                w->resize(20, 20);
                w->set_pictures(first, second);
                if (kind == "marker lit") {
                    change = [w] {
                        w->set_lit(true);
                    };
                } else {
                    size_after = QSize(30, 30);
                    change = [w] {
                        w->resize(30, 30);
                    };
                }
            }
        }
        QCOMPARE(draw(*widget), picture_at(first, widget->size()));
        change();
        QCOMPARE(widget->size(), size_after);
        QCOMPARE(draw(*widget), picture_at(second, size_after));
    }

    // A picture the resources lack leaves its widget empty (and is logged), whatever its
    // state; the other pictures still show.
    void missing_picture() {
        picture_button_c button;
        button.resize(20, 20);
        button.set_pictures(QStringLiteral(":/graphics/none/missing.png"), tools + "undo_over.png",
                            QString());
        QImage blank(button.size(), QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::transparent);
        QCOMPARE(draw(button), blank);
        QCOMPARE(draw(button), blank);
        button.setAttribute(Qt::WA_UnderMouse, true);
        QCOMPARE(draw(button), picture_at(tools + "undo_over.png", button.size()));
        button.setEnabled(false);
        QCOMPARE(draw(button), blank);
    }

    void label_colours() {
        colour_label_c label(QStringLiteral("8"), nullptr);
        QFont font = label.font();
        font.setPixelSize(22);
        font.setBold(true);
        label.setFont(font);
        label.resize(30, 30);
        label.setAlignment(Qt::AlignCenter);
        const QColor normal(0x8d, 0x92, 0x96);
        const QColor disabled(0x45, 0x49, 0x4d);
        label.set_colours(normal, disabled);
        // The most opaque pixel is one the glyph covers fully: it has the pen's own colour.
        const auto ink = [&] {
            const QImage image = draw(label);
            QRgb best = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (qAlpha(image.pixel(x, y)) > qAlpha(best))
                        best = image.pixel(x, y);
                }
            }
            return best;
        };
        QVERIFY2(same_colour(ink(), normal), qPrintable(rgb(ink())));
        label.setEnabled(false);
        QVERIFY2(same_colour(ink(), disabled), qPrintable(rgb(ink())));
    }

    // The frame of another border colour (the deactivation overlay's) is its own picture.
    void frame_borders() {
        for (const QColor& border : {QColor(0x2a, 0x2e, 0x35), QColor(0x38, 0x3d, 0x45)}) {
            QImage image(300, 120, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            box_look::paint_frame(p, image.rect(), 1.0, border);
            p.end();
            QVERIFY2(same_colour(image.pixel(0, 60), border), qPrintable(rgb(image.pixel(0, 60))));
            QVERIFY(same_colour(image.pixel(150, 0), border));
        }
    }

    // A label with its own font keeps it under a style sheet that sizes every label: it is
    // measured and drawn in its own font.
    void own_font_under_sheet() {
        QWidget window;
        window.setStyleSheet(QStringLiteral("QLabel { font-size: 6px; }"));
        auto* label = new colour_label_c(QStringLiteral("QUIL"), &window);
        QFont own = label->font();
        own.setPixelSize(30);
        label->set_own_font(own);
        label->set_colours(Qt::white, Qt::gray);
        label->setGeometry(0, 0, 200, 60);
        label->ensurePolished();
        QCOMPARE(label->font().pixelSize(), 6);
        QCOMPARE(label->sizeHint().height(), QFontMetrics(own).height());
        const QImage image = draw(*label);
        int top = image.height(), bottom = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) > 0) {
                    top = qMin(top, y);
                    bottom = qMax(bottom, y);
                }
            }
        }
        // Capitals of a 30 pixel font stand about 20 pixels tall, of a 6 pixel one 5.
        QVERIFY2(bottom - top > 15, qPrintable(QStringLiteral("%1..%2").arg(top).arg(bottom)));
    }

    void frame_heights_data() {
        QTest::addColumn<QList<int>>("heights");
        QTest::addRow("shorter, then taller") << QList<int>{100, 200};
        QTest::addRow("taller, then shorter") << QList<int>{300, 60};
    }

    // Every box height has its own frame: its left and right edges run down to its rounded
    // bottom, and the bottom edge is where the box ends.
    void frame_heights() {
        QFETCH(QList<int>, heights);
        const QColor border(0x2a, 0x2e, 0x35);
        for (int height : heights) {
            QImage image(400, height, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter p(&image);
            box_look::paint_frame(p, image.rect(), 1.0);
            p.end();
            for (int y : {height / 2, height - 12}) {
                QVERIFY2(same_colour(image.pixel(0, y), border),
                         qPrintable(QStringLiteral("left edge at %1 of %2").arg(y).arg(height)));
                QVERIFY2(same_colour(image.pixel(399, y), border),
                         qPrintable(QStringLiteral("right edge at %1 of %2").arg(y).arg(height)));
            }
            QVERIFY(same_colour(image.pixel(200, height - 1), border));
            // The rounded corner leaves the very corner empty.
            QCOMPARE(qAlpha(image.pixel(0, height - 1)), 0);
        }
    }
};

QTEST_MAIN(test_box_widgets)
#include "test_box_widgets.moc"
