// The lighting forms' self-painting widgets: the LED preview's colour fields and masks, and
// the colour-flow button, show the colour and picture of their new state after a change.
#include "controls/paint_probe.h"
#include "lighting/painted_fields.h"

#include <QtTest>

namespace {

const QString mask_on = QStringLiteral(":/graphics/profile/Overlay_active-profile_TOP.png");
const QString mask_off = QStringLiteral(":/graphics/profile/Overlay_inactive-profile_TOP.png");
const QString arrow_folder = QStringLiteral(":/graphics/button_assignment/Dropdown/");

} // namespace

class test_painted_fields : public QObject {
    Q_OBJECT

private slots:
    void colour_field_shows_its_colour_data() {
        QTest::addColumn<QColor>("first");
        QTest::addColumn<QColor>("second");
        QTest::addRow("red to cyan") << QColor(255, 0, 0) << QColor(41, 197, 255);
        QTest::addRow("cyan to dark") << QColor(41, 197, 255) << QColor(10, 12, 14);
        QTest::addRow("lit to off") << QColor(0, 255, 0) << QColor(0, 0, 0, 0);
        QTest::addRow("off to lit") << QColor(0, 0, 0, 0) << QColor(200, 100, 50);
    }

    void colour_field_shows_its_colour() {
        QFETCH(QColor, first);
        QFETCH(QColor, second);
        colour_field_c field;
        field.resize(48, 40);
        field.set_colour(first);
        QCOMPARE(paint_probe::render(&field).pixelColor(24, 20), first);
        field.set_colour(second);
        const QImage shown = paint_probe::render(&field);
        QCOMPARE(field.colour(), second);
        if (second.alpha() == 0) {
            QCOMPARE(qAlpha(shown.pixel(24, 20)), 0);
            QCOMPARE(qAlpha(shown.pixel(0, 0)), 0);
        } else {
            QCOMPARE(shown.pixelColor(24, 20), second);
            QCOMPARE(shown.pixelColor(47, 39), second);
        }
    }

    void mask_follows_enabled_state_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("picture");
        QTest::addRow("enabled") << true << mask_on;
        QTest::addRow("disabled") << false << mask_off;
    }

    void mask_follows_enabled_state() {
        QFETCH(bool, enabled);
        QFETCH(QString, picture);
        QVERIFY(paint_probe::picture(mask_on, QSize(48, 40)) !=
                paint_probe::picture(mask_off, QSize(48, 40)));
        enabled_picture_c mask;
        mask.set_pictures(mask_on, mask_off);
        mask.resize(48, 40);
        mask.setEnabled(!enabled);
        paint_probe::render(&mask);
        mask.setEnabled(enabled);
        QCOMPARE(mask.shown_picture(), picture);
        QCOMPARE(paint_probe::render(&mask), paint_probe::picture(picture, QSize(48, 40)));
    }

    void effect_button_shows_its_state_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("fill");
        QTest::addColumn<QColor>("border");
        QTest::addColumn<QString>("arrow");
        QTest::addRow("normal") << "normal" << QColor(208, 208, 208) << QColor(16, 18, 21)
                                << QColor(44, 48, 55) << "arrow_normal.png";
        QTest::addRow("hover") << "hover" << QColor(240, 240, 240) << QColor(16, 18, 21)
                               << QColor(58, 167, 201) << "arrow_normal.png";
        QTest::addRow("pressed") << "pressed" << QColor(240, 240, 240) << QColor(24, 27, 31)
                                 << QColor(58, 167, 201) << "arrow_normal.png";
        QTest::addRow("disabled") << "disabled" << QColor(75, 76, 76) << QColor(16, 18, 21)
                                  << QColor(36, 39, 45) << "arrow_disabled.png";
    }

    void effect_button_shows_its_state() {
        QFETCH(QString, state);
        QFETCH(QColor, text);
        QFETCH(QColor, fill);
        QFETCH(QColor, border);
        QFETCH(QString, arrow);

        effect_button_c button;
        button.setElideMode(Qt::ElideRight);
        button.setText(QStringLiteral("Flow direction: up"));
        QFont font;
        font.setPixelSize(14);
        font.setBold(true);
        button.setFont(font);
        button.resize(226, 32);
        // From the disabled look (or the normal one for the disabled row) to the row's.
        button.setEnabled(state != QLatin1String("disabled") ? false : true);
        paint_probe::render(&button);
        button.setEnabled(state != QLatin1String("disabled"));
        button.setAttribute(Qt::WA_UnderMouse, state == QLatin1String("hover"));
        button.setDown(state == QLatin1String("pressed"));
        const QImage shown = paint_probe::render(&button);

        QCOMPARE(shown.pixelColor(113, 0), border);
        QCOMPARE(shown.pixelColor(113, 31), border);
        QCOMPARE(shown.pixelColor(113, 3), fill);
        QCOMPARE(shown.copy(button.arrow_rect()),
                 paint_probe::picture(arrow_folder + arrow, button.arrow_rect().size(), fill));
        QVERIFY(paint_probe::opaque_colours(shown, button.text_rect()).contains(text.rgb()));
    }

    void effect_button_shortens_long_text() {
        effect_button_c button;
        button.setElideMode(Qt::ElideRight);
        button.resize(120, 32);
        button.setText(QStringLiteral("Flow direction: from the back to the front"));
        const QString shown = button.shown_text();
        QVERIFY(shown.endsWith(QChar(0x2026)));
        QVERIFY(button.fontMetrics().horizontalAdvance(shown) <= button.text_rect().width());
        // A wider button shows more of it.
        button.resize(500, 32);
        QCOMPARE(button.shown_text(), button.text());
    }
};

QTEST_MAIN(test_painted_fields)
#include "test_painted_fields.moc"
