// The preset strip on a real profile set: the match rule, adding up to the limit, renaming
// within 22 bytes of UTF-8 and its reach into every profile, reordering, deleting, and the
// stored layout of a selected preset following the editor.
#include "button_sets/btn_preset_sub_fm.h"
#include "button_sets/preset_strip_widgets.h"
#include "button_sets/side_layout.h"
#include "module/module.h"
#include "side_box_rig.h"
#include "support/fake_host.h"

#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QtTest>

using namespace side_box_test;

namespace {

btn_layout_rec preset(const QString& name, uint16_t id, uint32_t layout, uint8_t slot = 0) {
    btn_layout_rec r;
    r.set_head(slot);
    r.set_name(name.toUtf8());
    r.set_preset_id(id);
    r.set_layout_value(layout);
    return r;
}

QString describe(const btn_layout_rec& r) {
    return QStringLiteral("%1/%2/%3/%4")
        .arg(QString::fromUtf8(r.name()))
        .arg(r.preset_id())
        .arg(r.layout_value(), 6, 16, QLatin1Char('0'))
        .arg(r.b[2]);
}

QStringList ids(const QList<btn_layout_rec>& list) {
    QStringList out;
    for (const btn_layout_rec& r : list)
        out << QString::number(r.preset_id());
    return out;
}

QStringList tile_ids(btn_preset_fm_c* strip) {
    QStringList out;
    for (btn_preset_sub_fm_c* t : strip->tiles())
        out << QString::number(t->record().preset_id());
    return out;
}

QPoint centre_in_strip(btn_preset_sub_fm_c* tile) {
    return tile->geometry().center();
}

// The name's line on a tile (where its editor sits).
const QRect name_area(4, 72, 112, 24);

QImage name_pixels(QWidget* tile) {
    return tile->grab(name_area).toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels of two equally large pictures that differ by more than a rounding step.
int differing_pixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > 8 || qAbs(qGreen(p) - qGreen(q)) > 8 ||
                qAbs(qBlue(p) - qBlue(q)) > 8)
                ++n;
        }
    }
    return n;
}

const QString strip_pictures = QStringLiteral(":/graphics/button_assignment/Button-Set-Presets/");

// What a widget of `size` shows with the picture at `path` in its middle.
QImage centred(const QString& path, const QSize& size) {
    QImage out(size, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    const QPixmap pixmap(path);
    QPainter p(&out);
    p.drawPixmap((size.width() - pixmap.width()) / 2, (size.height() - pixmap.height()) / 2,
                 pixmap);
    return out;
}

// What the widget itself paints (without the window background a grab adds).
QImage grabbed(QWidget* w) {
    QImage out(w->size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    w->render(&out, QPoint(), QRegion(), QWidget::DrawChildren);
    return out;
}

void send_event(QWidget* w, QEvent::Type type) {
    QEvent e(type);
    QCoreApplication::sendEvent(w, &e);
}

// The largest size from the font's own down to 9 pixels at which the text fits 108 pixels.
int fitting_pixel_size(QFont font, const QString& text) {
    int size = font.pixelSize();
    while (size > 9 && QFontMetrics(font).horizontalAdvance(text) > 108)
        font.setPixelSize(--size);
    return size;
}

} // namespace

class test_button_set_presets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        m_host.center.texts.prefix = QStringLiteral("T");
        quil_init_module(&m_host);
    }
    void cleanupTestCase() { quil_exit_module(); }

    void match_rule_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<uint>("layout_a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<uint>("layout_b");
        QTest::addColumn<bool>("match");
        QTest::addRow("first three characters and layout")
            << "Gaming A" << 0xFFFu << "Gaming B" << 0xFFFu << true;
        QTest::addRow("other layout") << "Gaming A" << 0xFFFu << "Gaming A" << 0xFFEu << false;
        QTest::addRow("short names compared whole") << "Ga" << 0xFFFu << "Gam" << 0xFFFu << false;
        QTest::addRow("characters, not bytes")
            << "ÄÖÜ one" << 0xF0Fu << "ÄÖÜ two" << 0xF0Fu << true;
        QTest::addRow("double bits count") << "Set" << 0x010FFFu << "Set" << 0x000FFFu << false;
    }
    void match_rule() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, match);
        QFETCH(uint, layout_a);
        QFETCH(uint, layout_b);
        // The identifier takes no part.
        const btn_layout_rec ra = preset(a, 1, layout_a);
        const btn_layout_rec rb = preset(b, 2, layout_b);
        QCOMPARE(ra.matches(rb), match);
        QCOMPARE(rb.matches(ra), match);
    }

    void utf8_cut_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::addRow("ascii") << QString(30, 'x') << QString(22, 'x');
        QTest::addRow("two-byte characters fill it")
            << QString(12, QChar(0xE4)) << QString(11, QChar(0xE4));
        QTest::addRow("a two-byte character across the end")
            << "a" + QString(11, QChar(0xE4)) << "a" + QString(10, QChar(0xE4));
        QTest::addRow("four-byte characters")
            << QString("😀").repeated(6) << QString("😀").repeated(5);
        QTest::addRow("fits") << "Button Preset"
                              << "Button Preset";
    }
    void utf8_cut() {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        const QByteArray cut = side_layout::utf8_prefix(text);
        QVERIFY(cut.size() <= 22);
        QCOMPARE(QString::fromUtf8(cut), kept);
    }

    void a_name_longer_than_22_bytes_is_refused() {
        side_box box;
        box.window->show();
        btn_preset_sub_fm_c* tile = box.presets->tiles().at(3);
        QTextEdit* editor = tile->name_editor();
        editor->setEnabled(true);
        editor->setPlainText(QString(10, QChar(0xE4))); // 20 bytes
        QCOMPARE(tile->record().name(), QString(10, QChar(0xE4)).toUtf8());
        editor->moveCursor(QTextCursor::End);
        editor->insertPlainText(QString(QChar(0xF6))); // 22 bytes: taken
        editor->insertPlainText(QStringLiteral("x"));  // 23 bytes: refused
        QCOMPARE(editor->toPlainText(), QString(10, QChar(0xE4)) + QChar(0xF6));
        QCOMPARE(QString::fromUtf8(tile->record().name()), editor->toPlainText());
    }

    // A tile paints its name until the pointer first comes over it; then its editor shows
    // the name. Both must look the same, for short names and for names set smaller.
    void the_painted_name_looks_like_the_editor_data() {
        QTest::addColumn<QString>("name");
        QTest::addRow("short") << "CS GO";
        QTest::addRow("umlauts") << QString::fromUtf8("Sp\xc3\xa4t \xc3\x96l");
        QTest::addRow("long, set smaller") << "LEAGUE OF LEGENDS";
        QTest::addRow("too long even at 9 pixels") << "LEAGUE OF LEGENDS XXXX";
    }
    void the_painted_name_looks_like_the_editor() {
        QFETCH(QString, name);
        side_box box;
        box.data()->saved_layouts() = {preset(name, 7, 0xFFF), preset("Other", 8, 0xF0F)};
        box.presets->rebuild();
        box.window->show();
        btn_preset_sub_fm_c* tile = box.presets->tiles().at(0);
        QVERIFY(!tile->made_name_editor());
        const QImage painted = name_pixels(tile);
        QTextEdit* editor = tile->name_editor();
        QCOMPARE(editor->objectName(), QStringLiteral("editor_name"));
        QCOMPARE(editor->geometry(), name_area);
        QCOMPARE(editor->toPlainText(), name);
        QVERIFY(!editor->isEnabled());
        const QImage edited = name_pixels(tile);
        // The name is there at all (the tile is not just its background) ...
        QVERIFY(differing_pixels(painted, name_pixels(box.presets->tiles().at(1))) > 20);
        // ... and where the editor draws it.
        QVERIFY2(
            differing_pixels(painted, edited) <= 4,
            qPrintable(QStringLiteral("%1 pixels differ").arg(differing_pixels(painted, edited))));
    }

    // The fitted name size is kept per font and name: a new name, or the same name in
    // another font (a language change), must be fitted again.
    void the_name_size_follows_name_and_font() {
        side_box box;
        box.window->show();
        btn_preset_sub_fm_c* tile = box.presets->tiles().at(0);
        const auto named = [&](const QString& name) {
            btn_layout_rec r = tile->record();
            r.set_name(name.toUtf8());
            tile->set_record(r);
        };
        QFont base = tile->font();
        base.setPixelSize(12);
        // A name (of at most 22 bytes) that fits at 11 pixels but not at 12.
        QString name;
        for (const QChar c : {QLatin1Char('W'), QLatin1Char('n'), QLatin1Char('i')}) {
            while (QFontMetrics(base).horizontalAdvance(name + c) <= 108)
                name += c;
        }
        name += QLatin1Char('i');
        QVERIFY(name.size() <= 22);
        QCOMPARE(fitting_pixel_size(base, name), 11);
        QFont smaller = base;
        smaller.setPixelSize(10);

        tile->setFont(smaller);
        named(name);
        QCOMPARE(tile->name_font().pixelSize(), 10);
        // The same name in a larger font (another language's): fitted again.
        tile->setFont(base);
        named(QStringLiteral("ABC"));
        QCOMPARE(tile->name_font().pixelSize(), 12);
        named(name);
        QCOMPARE(tile->name_font().pixelSize(), 11);
        QCOMPARE(tile->name_font().family(), base.family());
        // A new name shows on the painted tile.
        const QImage before = name_pixels(tile);
        named(QStringLiteral("ABC"));
        QVERIFY(differing_pixels(before, name_pixels(tile)) > 20);
        QVERIFY(!tile->made_name_editor());
    }

    // The add button shows its over picture only while the pointer is on it.
    void the_add_button_lights_under_the_pointer() {
        side_box box;
        box.window->show();
        auto* add = box.presets->findChild<strip_picture_button_c*>(QStringLiteral("btn_add_set"));
        QVERIFY(add);
        const QImage normal = centred(strip_pictures + "Add_set_normal.png", add->size());
        const QImage over = centred(strip_pictures + "Add_set_over.png", add->size());
        QVERIFY(normal != over);
        QCOMPARE(grabbed(add), normal);
        send_event(add, QEvent::Enter);
        QVERIFY(add->lit());
        QCOMPARE(grabbed(add), over);
        send_event(add, QEvent::Leave);
        QCOMPARE(grabbed(add), normal);
    }

    // The tile's delete button: a grey ring and cross at rest, both in the accent colour
    // under the pointer, and grey again when the pointer leaves.
    void the_delete_button_lights_under_the_pointer() {
        side_box box;
        box.window->show();
        btn_preset_sub_fm_c* tile = box.presets->tiles().at(1);
        QVERIFY(!tile->delete_button_shown());
        box.presets->tile_hovered(tile, true);
        QVERIFY(tile->delete_button_shown());
        QPushButton* del = tile->delete_button();
        QCOMPARE(del->objectName(), QStringLiteral("btn_del"));
        QCOMPARE(del->geometry(), QRect(96, 6, 17, 17));
        // Each opaque-enough pixel counts for the nearest of the button's colours.
        const QColor accent(0x65, 0xc3, 0xf7);
        const QColor ring(0x4a, 0x4d, 0x52);
        const QColor fill(0x1a, 0x1c, 0x20);
        const QColor ink(0x9a, 0x9e, 0xa5);
        const auto count = [&](const QImage& image, const QColor& colour) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    if (c.alpha() < 160)
                        continue;
                    const auto distance = [&](const QColor& o) {
                        return qAbs(c.red() - o.red()) + qAbs(c.green() - o.green()) +
                               qAbs(c.blue() - o.blue());
                    };
                    const QColor* nearest = &accent;
                    for (const QColor* o : {&ring, &fill, &ink}) {
                        if (distance(*o) < distance(*nearest))
                            nearest = o;
                    }
                    n += *nearest == colour;
                }
            }
            return n;
        };
        const QImage rest = grabbed(del);
        QVERIFY(count(rest, ring) > 10);
        QVERIFY(count(rest, ink) > 5);
        QVERIFY(count(rest, fill) > 50);
        QCOMPARE(count(rest, accent), 0);
        send_event(del, QEvent::Enter);
        const QImage lit = grabbed(del);
        QVERIFY(count(lit, accent) > 15);
        QVERIFY(count(lit, fill) > 50);
        send_event(del, QEvent::Leave);
        QCOMPARE(grabbed(del), rest);
        // The pointer leaving the tile hides it again.
        box.presets->tile_hovered(tile, false);
        QVERIFY(!tile->delete_button_shown());
    }

    // The strip's pictures are kept per path: another picture given to a widget shows, and
    // the widgets of the strip show their own pictures.
    void strip_pictures_follow_their_paths_data() {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("picture");
        QTest::addRow("separator") << "wg_slash"
                                   << "Slash.png";
        QTest::addRow("left fade") << "wg_left_fade"
                                   << "Fade_left.png";
        QTest::addRow("right fade") << "wg_right_fade"
                                    << "Fade_right.png";
    }
    void strip_pictures_follow_their_paths() {
        QFETCH(QString, widget);
        QFETCH(QString, picture);
        side_box box;
        box.window->show();
        auto* shown = box.presets->findChild<strip_picture_c*>(widget);
        QVERIFY(shown);
        const QImage own = centred(strip_pictures + picture, shown->size());
        QCOMPARE(grabbed(shown), own);
        // Another picture of the same size in its place, then the first one again.
        const QString other =
            strip_pictures + (picture == "Fade_left.png" ? "Fade_right.png" : "Fade_left.png");
        QVERIFY(QPixmap(other).size() == shown->size() || widget == "wg_slash");
        shown->set_picture(other);
        QVERIFY(grabbed(shown) != own);
        shown->set_picture(strip_pictures + picture);
        QCOMPARE(grabbed(shown), own);
        // A missing picture shows nothing, and says so in the log.
        shown->set_picture(strip_pictures + "no_such_picture.png");
        QCOMPARE(grabbed(shown), centred(QString(), shown->size()));
    }

    // The strip's scroll bar takes its look when more presets exist than fit: 8 pixels high
    // under the tiles, as if it had it from the start.
    void the_scroll_bar_shows_styled_under_the_tiles() {
        side_box box;
        box.window->show();
        QScrollBar* bar = box.presets->scroll_area()->horizontalScrollBar();
        QVERIFY(!bar->isVisible());
        for (int i = 0; i < 6; ++i)
            box.presets->add_preset();
        QCoreApplication::processEvents();
        QVERIFY(bar->isVisible());
        QVERIFY(!bar->styleSheet().isEmpty());
        QCOMPARE(bar->height(), 8);
        QCOMPARE(bar->mapTo(box.presets->scroll_area(), QPoint(0, bar->height())).y(),
                 box.presets->scroll_area()->height());
        QCOMPARE(box.presets->scroll_area()->viewport()->height(), 116 - 8);
    }

    // The strip's title sizes itself as a plain label would, for every text and font it gets.
    void the_title_sizes_like_a_label_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("spacing");
        QTest::addRow("English") << "BUTTON SET PRESETS" << 15 << 0;
        QTest::addRow("German") << QString::fromUtf8("TASTENSATZ-VORLAGEN \xc3\x84") << 15 << 0;
        QTest::addRow("spaced") << "BUTTON SET PRESETS" << 13 << 2;
        QTest::addRow("one letter") << "i" << 11 << 0;
        QTest::addRow("ends in f") << "Tastensatz-Vorlagen elf" << 15 << 0;
        QTest::addRow("lower case")
            << QString::fromUtf8("Voreinstellungen f\xc3\xbcr Tasten") << 12 << 1;
    }
    void the_title_sizes_like_a_label() {
        QFETCH(QString, text);
        QFETCH(int, pixels);
        QFETCH(int, spacing);
        side_box box;
        auto* title = box.presets->findChild<strip_label_c*>(QStringLiteral("lb_func_name"));
        QVERIFY(title);
        QFont font = title->font();
        font.setPixelSize(pixels);
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        QLabel plain;
        plain.setFont(font);
        plain.setText(text);
        // Measured once, then asked again after the text and after the font changed.
        title->setFont(font);
        title->setText(QStringLiteral("x"));
        QVERIFY(title->sizeHint().width() > 0);
        title->setText(text);
        QCOMPARE(title->sizeHint(), plain.sizeHint());
        font.setPixelSize(pixels + 3);
        title->setFont(font);
        plain.setFont(font);
        QCOMPARE(title->sizeHint(), plain.sizeHint());
        QCOMPARE(title->minimumSizeHint(), plain.minimumSizeHint());
    }

    void adding_stops_at_51_with_unique_identifiers() {
        side_box box;
        btn_preset_fm_c* strip = box.presets;
        const int first = btn_preset_fm_c::next_name_number() + 1;
        for (int i = 0; i < 50; ++i)
            strip->add_preset();
        QCOMPARE(strip->tiles().size(), 51);
        const QList<btn_layout_rec>& saved = box.data()->saved_layouts();
        QCOMPARE(saved.size(), 51);
        const QStringList all = ids(saved);
        QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), 51);
        QCOMPARE(describe(saved[4]),
                 QStringLiteral("T43%1/%2/000fff/0").arg(first).arg(saved[4].preset_id()));
        QCOMPARE(QString::fromUtf8(saved[5].name()), QStringLiteral("T43%1").arg(first + 1));
        QCOMPARE(tile_ids(strip), ids(saved));
        // The strip is laid out tile by tile.
        QCOMPARE(strip->tiles()[50]->pos(), QPoint(10 + 120 * 50, 0));
        QCOMPARE(strip->strip()->minimumWidth(), 120 * 51 + 20);
    }

    void renaming_reaches_every_profile_using_the_preset() {
        side_box box;
        zarek_data_c* d = box.data();
        d->saved_layouts() = {preset("Gaming A", 10, 0xFFF), preset("Gaming B", 11, 0xFFF),
                              preset("Other", 12, 0xF0F)};
        d->set_count(4);
        d->layout(0) = preset("Gaming A", 10, 0xFFF, 0);
        d->layout(1) = preset("Gaming B", 11, 0xFFF, 1);
        d->layout(2) = preset("Other", 12, 0xF0F, 2);
        d->layout(3) = preset("Ga", 13, 0xFFF, 3);
        box.presets->rebuild();
        box.presets->tiles().at(0)->rename(QStringLiteral("Zeta"));
        QCOMPARE(describe(d->saved_layouts()[0]), QStringLiteral("Zeta/10/000fff/0"));
        QCOMPARE(describe(d->saved_layouts()[1]), QStringLiteral("Gaming B/11/000fff/0"));
        QCOMPARE(describe(d->layout(0)), QStringLiteral("Zeta/10/000fff/0"));
        QCOMPARE(describe(d->layout(1)), QStringLiteral("Zeta/10/000fff/1"));
        QCOMPARE(describe(d->layout(2)), QStringLiteral("Other/12/000f0f/2"));
        QCOMPARE(describe(d->layout(3)), QStringLiteral("Ga/13/000fff/3"));
        QCOMPARE(box.presets->tiles().at(0)->name(), QStringLiteral("Zeta"));
    }

    void a_selected_preset_follows_the_editor() {
        side_box box;
        zarek_data_c* d = box.data();
        d->set_count(2);
        d->layout(1) = preset("CS GO", 0, 0x020F0F, 1);
        box.presets->tiles().at(0)->select();
        QCOMPARE(describe(d->layout(0)), QStringLiteral("CS GO/0/020f0f/0"));
        QCOMPARE(box.editor()->kind_array()[2], 2);
        drop_on(box.editor(), slot_centre(box.editor(), 5), box.single);
        QCOMPARE(describe(d->saved_layouts()[0]), QStringLiteral("CS GO/0/020f1f/0"));
        QCOMPARE(describe(d->layout(0)), QStringLiteral("CS GO/0/020f1f/0"));
        QCOMPARE(describe(d->layout(1)), QStringLiteral("CS GO/0/020f1f/1"));
        // A rebuild finds the profile's preset again.
        box.presets->rebuild();
        QVERIFY(box.presets->tiles().at(0)->is_selected());
        QVERIFY(!box.presets->tiles().at(3)->is_selected());
    }

    void dragging_a_tile_onto_another_swaps_both() {
        side_box box;
        btn_preset_fm_c* strip = box.presets;
        const QList<btn_preset_sub_fm_c*> tiles = strip->tiles();
        QCOMPARE(drop_on(strip->strip(), centre_in_strip(tiles[0]), tiles[0]), Qt::IgnoreAction);
        QCOMPARE(ids(box.data()->saved_layouts()).join(','), QStringLiteral("0,1,2,3"));
        QCOMPARE(drop_on(strip->strip(), centre_in_strip(tiles[2]), tiles[0]), Qt::MoveAction);
        QCOMPARE(ids(box.data()->saved_layouts()).join(','), QStringLiteral("2,1,0,3"));
        QCOMPARE(tile_ids(strip).join(','), QStringLiteral("2,1,0,3"));
        QCOMPARE(tiles[0]->pos(), QPoint(250, 0));
    }

    void deleting_data() {
        QTest::addColumn<bool>("in_use");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("left");
        QTest::addRow("refused for a preset in use") << true << true << "0,1,2,3";
        QTest::addRow("cancelled") << false << false << "0,1,2,3";
        QTest::addRow("confirmed") << false << true << "0,2,3";
    }
    void deleting() {
        QFETCH(bool, in_use);
        QFETCH(bool, confirm);
        QFETCH(QString, left);
        side_box box;
        box.window->show();
        if (in_use) {
            box.data()->set_count(3);
            box.data()->layout(2) = preset("LEAGUE OF LEGENDS", 1, 0x230E0F, 2);
        }
        btn_preset_fm_c* strip = box.presets;
        btn_preset_sub_fm_c* tile = strip->tiles().at(1);
        strip->tile_hovered(tile, true);
        QCOMPARE(tile->delete_button_shown(), !in_use);
        strip->request_delete(tile);
        QCOMPARE(strip->popup() != nullptr, !in_use);
        if (del_btn_preset_fm_c* popup = strip->popup()) {
            QVERIFY(popup->isVisible());
            QVERIFY(!strip->wheel_allowed());
            const QPoint anchor = tile->delete_button()->mapToGlobal(QPoint(0, 0));
            QCOMPARE(popup->pos(), popup->place_for(anchor));
            QCOMPARE(popup->geometry().bottom() + 1, anchor.y());
            (confirm ? popup->ok_button() : popup->cancel_button())->click();
            QVERIFY(strip->wheel_allowed());
        }
        QCOMPARE(ids(box.data()->saved_layouts()).join(','), left);
        QCOMPARE(tile_ids(strip).join(','), left);
        QVERIFY(!tile->delete_button_shown() || !confirm);
    }

    void the_only_preset_has_no_delete_button() {
        side_box box;
        box.data()->saved_layouts() = {preset("Solo", 7, 0xFFF)};
        box.presets->rebuild();
        btn_preset_sub_fm_c* tile = box.presets->tiles().at(0);
        box.presets->tile_hovered(tile, true);
        QVERIFY(!tile->delete_button_shown());
    }

private:
    fake_host m_host;
};

QTEST_MAIN(test_button_set_presets)
#include "test_button_set_presets.moc"
