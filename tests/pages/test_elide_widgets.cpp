// The eliding label, check box and push button: the default looks like the Qt base,
// each mode puts the ellipsis in its place, and the elided text is computed again
// only when the mode, the text, the font or the contents rectangle changes.
#include "common/elide_check_box.h"
#include "common/elide_label.h"
#include "common/elide_push_button.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>
#include <memory>

namespace {

const QString long_text = QStringLiteral("Assign the macro recorded yesterday to the thumb button");
const QChar ellipsis(0x2026);

// An eliding widget of the kind ("label", "check box", "push button"), or its Qt base.
std::unique_ptr<QWidget> make(const QString& kind, const QString& text, const QSize& size,
                              bool plain = false) {
    std::unique_ptr<QWidget> w;
    if (kind == QLatin1String("label"))
        w.reset(plain ? new QLabel(text) : new elide_label_c(text));
    else if (kind == QLatin1String("check box"))
        w.reset(plain ? new QCheckBox(text) : new elide_check_box_c(text));
    else
        w.reset(plain ? new QPushButton(text) : new elide_push_button_c(text));
    w->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    w->resize(size);
    return w;
}

// Calls `f` with the widget as its eliding class.
template <class F>
auto as_eliding(QWidget* w, F&& f) {
    if (auto* label = qobject_cast<elide_label_c*>(w))
        return f(label);
    if (auto* box = qobject_cast<elide_check_box_c*>(w))
        return f(box);
    return f(qobject_cast<elide_push_button_c*>(w));
}
void set_mode(QWidget* w, Qt::TextElideMode mode) {
    as_eliding(w, [mode](auto* e) { e->setElideMode(mode); });
}
QString elided(QWidget* w) {
    return as_eliding(w, [](auto* e) { return e->elidedText(); });
}
// Paints the widget off screen the way a window would.
QImage painted(QWidget* w) {
    return w->grab().toImage();
}
// Where the text goes: a check box's text sits right of its indicator.
QRect text_rect(QWidget* w) {
    auto* box = qobject_cast<QCheckBox*>(w);
    if (!box)
        return w->rect();
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
}

// Where an ellipsis has to stand for a mode: the part of the text on each side stays.
void check_placement(const QString& text, Qt::TextElideMode mode) {
    QVERIFY2(text.contains(ellipsis) && text.size() < long_text.size(), qPrintable(text));
    const int at = text.indexOf(ellipsis);
    if (mode == Qt::ElideLeft)
        QCOMPARE(at, 0);
    else if (mode == Qt::ElideRight)
        QCOMPARE(at, text.size() - 1);
    else
        QVERIFY2(at > 0 && at < text.size() - 1, qPrintable(text));
    QVERIFY(long_text.startsWith(text.left(at)));
    QVERIFY(long_text.endsWith(text.mid(at + 1)));
}

void kinds() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"label", "check box", "push button"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

} // namespace

class test_elide_widgets : public QObject {
    Q_OBJECT

private slots:
    void without_elision_looks_like_the_base_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mode");
        QTest::addRow("label") << "label" << long_text << int(Qt::ElideNone);
        QTest::addRow("check box") << "check box" << long_text << int(Qt::ElideNone);
        QTest::addRow("push button") << "push button" << long_text << int(Qt::ElideNone);
        QTest::addRow("empty label, eliding") << "label" << QString() << int(Qt::ElideRight);
    }
    void without_elision_looks_like_the_base() {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(int, mode);
        auto w = make(kind, text, QSize(90, 30));
        auto plain = make(kind, text, QSize(90, 30), true);
        QCOMPARE(as_eliding(w.get(), [](auto* e) { return e->elideMode(); }), Qt::ElideNone);
        set_mode(w.get(), Qt::TextElideMode(mode));
        QCOMPARE(painted(w.get()), painted(plain.get()));
        if (mode == Qt::ElideNone)
            QCOMPARE(w->minimumSizeHint(), plain->minimumSizeHint());
    }

    void elides_by_mode_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("size");
        const QSize sizes[] = {{120, 20}, {140, 24}, {140, 30}};
        const char* const names[] = {"label", "check box", "push button"};
        const std::pair<const char*, Qt::TextElideMode> modes[] = {
            {"left", Qt::ElideLeft}, {"middle", Qt::ElideMiddle}, {"right", Qt::ElideRight}};
        for (int k = 0; k < 3; ++k) {
            for (const auto& [mode_name, mode] : modes)
                QTest::addRow("%s, %s", names[k], mode_name)
                    << names[k] << int(mode) << long_text << sizes[k];
        }
        // A text that fits stays whole; the mnemonic marker stays for the style to underline.
        QTest::addRow("label, fits") << "label" << int(Qt::ElideLeft) << "Save" << QSize(300, 30);
        QTest::addRow("check box, fits")
            << "check box" << int(Qt::ElideMiddle) << "&Save" << QSize(300, 30);
        QTest::addRow("push button, fits")
            << "push button" << int(Qt::ElideRight) << "&Save" << QSize(300, 30);
    }
    void elides_by_mode() {
        QFETCH(QString, kind);
        QFETCH(int, mode);
        QFETCH(QString, text);
        QFETCH(QSize, size);
        auto w = make(kind, text, size);
        set_mode(w.get(), Qt::TextElideMode(mode));
        const QImage image = painted(w.get());
        if (text != long_text) {
            QCOMPARE(elided(w.get()), text);
            return;
        }
        check_placement(elided(w.get()), Qt::TextElideMode(mode));
        QVERIFY(w->fontMetrics().horizontalAdvance(elided(w.get())) <= text_rect(w.get()).width());
        // What is drawn is the elided text, not the whole text clipped; a check box keeps
        // its indicator as it is.
        const QImage whole = painted(make(kind, text, size, true).get());
        QVERIFY(image != whole);
        const int indicator = text_rect(w.get()).left();
        if (indicator > 0)
            QCOMPARE(image.copy(0, 0, indicator, size.height()),
                     whole.copy(0, 0, indicator, size.height()));
        // Any width will do: the text shrinks down to an ellipsis.
        const QFontMetrics metrics = w->fontMetrics();
        QCOMPARE(w->minimumSizeHint(),
                 QSize(metrics.horizontalAdvance(QStringLiteral("...")), metrics.height()));
    }

    void same_mode_twice_computes_nothing_new_data() { kinds(); }
    void same_mode_twice_computes_nothing_new() {
        QFETCH(QString, kind);
        auto w = make(kind, long_text, QSize(140, 30));
        set_mode(w.get(), Qt::ElideRight);
        painted(w.get());
        const QString before = elided(w.get());
        set_mode(w.get(), Qt::ElideRight);
        QCOMPARE(elided(w.get()), before);
        // A much larger font shortens the text a lot.
        w->setFont(QFont(QStringLiteral("DejaVu Sans"), 30));
        // A new mode computes at once, with the new font.
        set_mode(w.get(), Qt::ElideLeft);
        QVERIFY(elided(w.get()).startsWith(ellipsis));
        QVERIFY(elided(w.get()).size() < before.size());
    }

    void font_change_recomputes_on_the_next_paint_data() { kinds(); }
    void font_change_recomputes_on_the_next_paint() {
        QFETCH(QString, kind);
        // The forms change the font family with the language and keep the space: the text
        // must be shortened again for the new font, not kept from the old one.
        auto w = make(kind, long_text, QSize(200, 30));
        set_mode(w.get(), Qt::ElideRight);
        painted(w.get());
        const QString small = elided(w.get());
        w->setFont(QFont(QStringLiteral("DejaVu Sans"), 16));
        painted(w.get());
        QVERIFY2(elided(w.get()).size() < small.size(), qPrintable(elided(w.get())));
        QVERIFY(w->fontMetrics().horizontalAdvance(elided(w.get())) <= text_rect(w.get()).width());
        w->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        painted(w.get());
        QCOMPARE(elided(w.get()), small);
    }

    void resize_and_new_text_recompute_on_the_next_paint_data() { kinds(); }
    void resize_and_new_text_recompute_on_the_next_paint() {
        QFETCH(QString, kind);
        auto w = make(kind, long_text, QSize(120, 30));
        set_mode(w.get(), Qt::ElideMiddle);
        painted(w.get());
        const QString narrow = elided(w.get());
        w->resize(280, 30);
        QCOMPARE(elided(w.get()), narrow); // nothing before the paint
        painted(w.get());
        QVERIFY(elided(w.get()).size() > narrow.size());
        as_eliding(w.get(), [](auto* e) { e->setText(QStringLiteral("Short")); });
        painted(w.get());
        QCOMPARE(elided(w.get()), QStringLiteral("Short"));
    }
};

QTEST_MAIN(test_elide_widgets)
#include "test_elide_widgets.moc"
