// The self-painting check boxes, radio buttons and number boxes of the control forms: after
// each change of state they show that state's picture and text colour, not one a cache kept
// from the state before.
#include "controls/paint_probe.h"
#include "controls/painted_toggles.h"

#include <QLineEdit>
#include <QtTest>

namespace {

const QString check_folder = QStringLiteral(":/graphics/controls/check_box/");
const QString radio_folder = QStringLiteral(":/graphics/controls/radio_button/");

struct toggle_state {
    bool checked;
    bool hover;
    bool enabled;
};

void apply(QAbstractButton* button, const toggle_state& state) {
    button->setChecked(state.checked);
    button->setAttribute(Qt::WA_UnderMouse, state.hover);
    button->setEnabled(state.enabled);
}

QFont text_font() {
    QFont font;
    font.setPixelSize(14);
    font.setBold(true);
    return font;
}

// The field's corner as the picture file has it (the box keeps its 5-pixel border).
QImage corner_of_file(const QString& path, bool bottom_right) {
    const QImage source = QImage(path)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied)
                              .convertToFormat(QImage::Format_ARGB32);
    return bottom_right ? source.copy(source.width() - 5, source.height() - 5, 5, 5)
                        : source.copy(0, 0, 5, 5);
}

} // namespace

class test_painted_controls : public QObject {
    Q_OBJECT

private slots:
    void toggle_shows_its_state_data() {
        QTest::addColumn<bool>("radio");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("hover");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QColor>("text");

        const QColor light(208, 208, 208);
        const QColor lit(240, 240, 240);
        // Check box: the text lights up under the pointer only.
        QTest::addRow("check off")
            << false << false << false << true << check_folder + "checkbox_unchecked.png" << light;
        QTest::addRow("check off hover") << false << false << true << true
                                         << check_folder + "checkbox_unchecked_hover.png" << lit;
        QTest::addRow("check off disabled")
            << false << false << false << false << check_folder + "checkbox_unchecked_disabled.png"
            << light;
        QTest::addRow("check on") << false << true << false << true
                                  << check_folder + "checkbox_checked.png" << light;
        QTest::addRow("check on hover")
            << false << true << true << true << check_folder + "checkbox_checked_hover.png" << lit;
        QTest::addRow("check on disabled under pointer")
            << false << true << true << false << check_folder + "checkbox_checked_disabled.png"
            << light;
        // Radio button: disabled wins over chosen, chosen over hover.
        QTest::addRow("radio off") << true << false << false << true
                                   << radio_folder + "radio_off.png" << QColor(138, 138, 138);
        QTest::addRow("radio off hover")
            << true << false << true << true << radio_folder + "radio_off_hover.png"
            << QColor(200, 200, 200);
        QTest::addRow("radio off disabled")
            << true << false << false << false << radio_folder + "radio_off_disabled.png"
            << QColor(75, 76, 76);
        QTest::addRow("radio on") << true << true << false << true << radio_folder + "radio_on.png"
                                  << QColor(230, 230, 230);
        QTest::addRow("radio on hover")
            << true << true << true << true << radio_folder + "radio_on_hover.png"
            << QColor(230, 230, 230);
        QTest::addRow("radio on disabled under pointer")
            << true << true << true << false << radio_folder + "radio_on_disabled.png"
            << QColor(75, 76, 76);
    }

    void toggle_shows_its_state() {
        QFETCH(bool, radio);
        QFETCH(bool, checked);
        QFETCH(bool, hover);
        QFETCH(bool, enabled);
        QFETCH(QString, picture);
        QFETCH(QColor, text);

        picture_toggle_check_c check_box;
        picture_toggle_radio_c radio_button;
        radio_button.setAutoExclusive(false);
        QAbstractButton* button = radio ? static_cast<QAbstractButton*>(&radio_button)
                                        : static_cast<QAbstractButton*>(&check_box);
        button->setText(QStringLiteral("LIGHT EFFECT"));
        button->setFont(text_font());
        button->resize(200, 24);

        // Drawn first in the opposite state: what it shows next must not be that.
        apply(button, {!checked, !hover, !enabled});
        const QImage before = paint_probe::render(button);
        apply(button, {checked, hover, enabled});
        const QImage after = paint_probe::render(button);

        const QRect indicator = radio ? radio_button.indicator_rect() : check_box.indicator_rect();
        const QImage expected = paint_probe::picture(picture, indicator.size());
        QVERIFY2(!QImage(picture).isNull(), qPrintable(picture));
        QCOMPARE(after.copy(indicator), expected);
        QVERIFY(before.copy(indicator) != expected);

        const QRect text_area(indicator.right() + 1, 0, button->width() - indicator.width(),
                              button->height());
        const QList<QRgb> colours = paint_probe::opaque_colours(after, text_area);
        QVERIFY(!colours.isEmpty());
        for (QRgb colour : colours)
            QCOMPARE(QColor(colour), text);
    }

    void toggle_takes_clicks_on_indicator_and_text_only() {
        picture_toggle_check_c box;
        box.setText(QStringLiteral("LIGHTING ON/OFF"));
        box.resize(300, 24);
        const int text_end = box.sizeHint().width();
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 12));
        QVERIFY(box.isChecked());
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(text_end - 2, 12));
        QVERIFY(!box.isChecked());
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(text_end + 20, 12));
        QVERIFY(!box.isChecked());
    }

    void number_box_shows_its_state_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QColor>("text");
        QTest::addRow("enabled") << true << ":/graphics/controls/Typin_field.png"
                                 << QColor(208, 208, 208);
        QTest::addRow("disabled") << false << ":/graphics/controls/Typin_field_disabled.png"
                                  << QColor(75, 76, 76);
    }

    void number_box_shows_its_state() {
        QFETCH(bool, enabled);
        QFETCH(QString, picture);
        QFETCH(QColor, text);
        // The two pictures differ where they are compared, or the test could not tell.
        QVERIFY(
            corner_of_file(QStringLiteral(":/graphics/controls/Typin_field.png"), false) !=
            corner_of_file(QStringLiteral(":/graphics/controls/Typin_field_disabled.png"), false));

        framed_spin_box_c box;
        box.setRange(200, 12000);
        box.setValue(8800);
        box.setAlignment(Qt::AlignCenter);
        box.setButtonSymbols(QAbstractSpinBox::NoButtons);
        box.setFont(text_font());
        box.resize(64, 24);
        box.setEnabled(!enabled);
        paint_probe::render(&box);
        box.setEnabled(enabled);
        const QImage shown = paint_probe::render(&box);

        QCOMPARE(box.shown_picture(), picture);
        QCOMPARE(shown.copy(0, 0, 5, 5), corner_of_file(picture, false));
        QCOMPARE(shown.copy(59, 19, 5, 5), corner_of_file(picture, true));
        // The number sits inside the border, in the state's colour.
        QCOMPARE(box.findChild<QLineEdit*>()->geometry(), QRect(5, 5, 54, 14));
        QCOMPARE(box.shown_text_colour(), text);
        const QList<QRgb> colours = paint_probe::opaque_colours(shown, QRect(5, 5, 54, 14));
        QVERIFY(colours.contains(text.rgb()));
    }
};

QTEST_MAIN(test_painted_controls)
#include "test_painted_controls.moc"
