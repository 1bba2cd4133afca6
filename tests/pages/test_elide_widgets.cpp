// The eliding label, check box and push button: the default looks like the Qt base,
// each mode puts the ellipsis in its place, and the elided text is computed again
// only when the mode, the text or the contents rectangle changes.
#include "common/elide_check_box.h"
#include "common/elide_label.h"
#include "common/elide_push_button.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

namespace {

const QString long_text = QStringLiteral("Assign the macro recorded yesterday to the thumb button");
const QChar ellipsis(0x2026);

// Paints the widget off screen the way a window would.
QImage painted(QWidget* w) {
    return w->grab().toImage();
}

template <class W>
void prepare(W* w, const QSize& size) {
    w->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    w->resize(size);
}

// Where an ellipsis has to stand for a mode: the part of the text on each side stays.
void check_placement(const QString& elided, Qt::TextElideMode mode) {
    QVERIFY2(elided.contains(ellipsis), qPrintable(elided));
    QVERIFY2(elided.size() < long_text.size(), qPrintable(elided));
    switch (mode) {
    case Qt::ElideLeft:
        QVERIFY2(elided.startsWith(ellipsis), qPrintable(elided));
        QVERIFY(long_text.endsWith(elided.mid(1)));
        break;
    case Qt::ElideRight:
        QVERIFY2(elided.endsWith(ellipsis), qPrintable(elided));
        QVERIFY(long_text.startsWith(elided.chopped(1)));
        break;
    case Qt::ElideMiddle: {
        const int at = elided.indexOf(ellipsis);
        QVERIFY2(at > 0 && at < elided.size() - 1, qPrintable(elided));
        QVERIFY(long_text.startsWith(elided.left(at)));
        QVERIFY(long_text.endsWith(elided.mid(at + 1)));
        break;
    }
    default:
        QFAIL("not an eliding mode");
    }
}

} // namespace

class test_elide_widgets : public QObject {
    Q_OBJECT

    void modes() {
        QTest::addColumn<int>("mode");
        QTest::addRow("left") << int(Qt::ElideLeft);
        QTest::addRow("middle") << int(Qt::ElideMiddle);
        QTest::addRow("right") << int(Qt::ElideRight);
    }

private slots:
    void default_looks_like_the_base() {
        elide_label_c label(long_text);
        QLabel plain_label(long_text);
        elide_check_box_c box(long_text);
        QCheckBox plain_box(long_text);
        elide_push_button_c button(long_text);
        QPushButton plain_button(long_text);
        const QSize size(90, 30);
        for (QWidget* w : std::initializer_list<QWidget*>{&label, &plain_label, &box, &plain_box,
                                                          &button, &plain_button})
            prepare(w, size);
        QCOMPARE(label.elideMode(), Qt::ElideNone);
        QCOMPARE(box.elideMode(), Qt::ElideNone);
        QCOMPARE(button.elideMode(), Qt::ElideNone);
        QCOMPARE(painted(&label), painted(&plain_label));
        QCOMPARE(painted(&box), painted(&plain_box));
        QCOMPARE(painted(&button), painted(&plain_button));
        QCOMPARE(label.minimumSizeHint(), plain_label.minimumSizeHint());
        QCOMPARE(box.minimumSizeHint(), plain_box.minimumSizeHint());
        QCOMPARE(button.minimumSizeHint(), plain_button.minimumSizeHint());
    }

    void label_places_the_ellipsis_data() { modes(); }
    void label_places_the_ellipsis() {
        QFETCH(int, mode);
        elide_label_c label(long_text);
        prepare(&label, QSize(120, 20));
        label.setElideMode(Qt::TextElideMode(mode));
        painted(&label);
        check_placement(label.elidedText(), Qt::TextElideMode(mode));
        QVERIFY(label.fontMetrics().horizontalAdvance(label.elidedText()) <= 120);
        // The painted label differs from one that shows the whole text clipped.
        QLabel plain(long_text);
        prepare(&plain, QSize(120, 20));
        QVERIFY(painted(&label) != painted(&plain));
    }

    void check_box_places_the_ellipsis_data() { modes(); }
    void check_box_places_the_ellipsis() {
        QFETCH(int, mode);
        elide_check_box_c box(long_text);
        prepare(&box, QSize(140, 24));
        box.setElideMode(Qt::TextElideMode(mode));
        painted(&box);
        check_placement(box.elidedText(), Qt::TextElideMode(mode));
        QStyleOptionButton option;
        option.initFrom(&box);
        const QRect contents =
            box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box);
        QVERIFY(box.fontMetrics().horizontalAdvance(box.elidedText()) <= contents.width());
    }

    void push_button_places_the_ellipsis_data() { modes(); }
    void push_button_places_the_ellipsis() {
        QFETCH(int, mode);
        elide_push_button_c button(long_text);
        prepare(&button, QSize(140, 30));
        button.setElideMode(Qt::TextElideMode(mode));
        painted(&button);
        check_placement(button.elidedText(), Qt::TextElideMode(mode));
        QVERIFY(button.fontMetrics().horizontalAdvance(button.elidedText()) < 140);
    }

    void fitting_text_is_drawn_whole_data() { modes(); }
    void fitting_text_is_drawn_whole() {
        QFETCH(int, mode);
        const QString text = QStringLiteral("&Save");
        elide_label_c label(QStringLiteral("Save"));
        elide_check_box_c box(text);
        elide_push_button_c button(text);
        for (QWidget* w : std::initializer_list<QWidget*>{&label, &box, &button})
            prepare(w, QSize(300, 30));
        label.setElideMode(Qt::TextElideMode(mode));
        box.setElideMode(Qt::TextElideMode(mode));
        button.setElideMode(Qt::TextElideMode(mode));
        painted(&label);
        painted(&box);
        painted(&button);
        QCOMPARE(label.elidedText(), QStringLiteral("Save"));
        // The mnemonic marker stays for the style to underline.
        QCOMPARE(box.elidedText(), text);
        QCOMPARE(button.elidedText(), text);
    }

    void check_box_keeps_its_indicator() {
        elide_check_box_c box(long_text);
        QCheckBox plain(long_text);
        prepare(&box, QSize(140, 24));
        prepare(&plain, QSize(140, 24));
        box.setChecked(true);
        plain.setChecked(true);
        box.setElideMode(Qt::ElideRight);
        QStyleOptionButton option;
        option.initFrom(&plain);
        const QRect contents =
            plain.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &plain);
        QVERIFY(contents.left() > 0);
        const QRect indicator(0, 0, contents.left(), 24);
        QCOMPARE(painted(&box).copy(indicator), painted(&plain).copy(indicator));
    }

    void minimum_size_hint_shrinks_to_an_ellipsis() {
        elide_label_c label(long_text);
        elide_check_box_c box(long_text);
        elide_push_button_c button(long_text);
        for (QWidget* w : std::initializer_list<QWidget*>{&label, &box, &button})
            prepare(w, QSize(300, 30));
        label.setElideMode(Qt::ElideRight);
        box.setElideMode(Qt::ElideMiddle);
        button.setElideMode(Qt::ElideLeft);
        const QFontMetrics metrics = label.fontMetrics();
        const QSize dots(metrics.horizontalAdvance(QStringLiteral("...")), metrics.height());
        QCOMPARE(label.minimumSizeHint(), dots);
        QCOMPARE(box.minimumSizeHint(), dots);
        QCOMPARE(button.minimumSizeHint(), dots);
        QVERIFY(QLabel(long_text).minimumSizeHint().width() > dots.width());
    }

    void same_mode_twice_computes_nothing_new() {
        elide_label_c label(long_text);
        elide_push_button_c button(long_text);
        prepare(&label, QSize(120, 20));
        prepare(&button, QSize(140, 30));
        label.setElideMode(Qt::ElideRight);
        button.setElideMode(Qt::ElideRight);
        painted(&label);
        painted(&button);
        const QString label_before = label.elidedText();
        const QString button_before = button.elidedText();
        // A much larger font would shorten the text a lot, were it computed again.
        label.setFont(QFont(QStringLiteral("DejaVu Sans"), 30));
        button.setFont(QFont(QStringLiteral("DejaVu Sans"), 30));
        label.setElideMode(Qt::ElideRight);
        button.setElideMode(Qt::ElideRight);
        QCOMPARE(label.elidedText(), label_before);
        QCOMPARE(button.elidedText(), button_before);
        // A new mode computes at once, with the new font.
        label.setElideMode(Qt::ElideLeft);
        button.setElideMode(Qt::ElideLeft);
        QVERIFY(label.elidedText().startsWith(ellipsis));
        QVERIFY(label.elidedText().size() < label_before.size());
        QVERIFY(button.elidedText().startsWith(ellipsis));
        QVERIFY(button.elidedText().size() < button_before.size());
    }

    void resize_recomputes_on_the_next_paint() {
        elide_label_c label(long_text);
        elide_check_box_c box(long_text);
        prepare(&label, QSize(100, 20));
        prepare(&box, QSize(120, 24));
        label.setElideMode(Qt::ElideMiddle);
        box.setElideMode(Qt::ElideMiddle);
        painted(&label);
        painted(&box);
        const QString narrow_label = label.elidedText();
        const QString narrow_box = box.elidedText();
        label.resize(260, 20);
        box.resize(280, 24);
        QCOMPARE(label.elidedText(), narrow_label); // nothing before the paint
        painted(&label);
        painted(&box);
        QVERIFY(label.elidedText().size() > narrow_label.size());
        QVERIFY(box.elidedText().size() > narrow_box.size());
        label.resize(2000, 20);
        painted(&label);
        QCOMPARE(label.elidedText(), long_text);
    }

    void new_text_is_elided_on_the_next_paint() {
        elide_label_c label(long_text);
        elide_push_button_c button(long_text);
        prepare(&label, QSize(120, 20));
        prepare(&button, QSize(140, 30));
        label.setElideMode(Qt::ElideRight);
        button.setElideMode(Qt::ElideRight);
        painted(&label);
        painted(&button);
        label.setText(QStringLiteral("Short"));
        button.setText(QStringLiteral("Short"));
        painted(&label);
        painted(&button);
        QCOMPARE(label.elidedText(), QStringLiteral("Short"));
        QCOMPARE(button.elidedText(), QStringLiteral("Short"));
    }

    void empty_label_paints_like_the_base() {
        elide_label_c label;
        QLabel plain;
        prepare(&label, QSize(80, 20));
        prepare(&plain, QSize(80, 20));
        label.setElideMode(Qt::ElideRight);
        QCOMPARE(painted(&label), painted(&plain));
    }
};

QTEST_MAIN(test_elide_widgets)
#include "test_elide_widgets.moc"
