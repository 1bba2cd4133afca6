#include "common/platform.h"
#include "common/utilities.h"
#include "module/interfaces.h"

#include <QGraphicsDropShadowEffect>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <set>
#include <vector>

namespace {

// The key codes the table must hold, written out from the key list rather than the table.
std::set<int> expected_key_codes() {
    std::set<int> codes;
    auto range = [&codes](int first, int last) {
        for (int code = first; code <= last; ++code)
            codes.insert(code);
    };
    range(0x04, 0x1D); // letters
    range(0x1E, 0x27); // digits
    range(0x28, 0x39); // Enter .. Caps Lock
    range(0x3A, 0x45); // F1..F12
    range(0x46, 0x53); // Print Screen .. Num Lock
    range(0x54, 0x63); // keypad
    range(0x64, 0x65);
    range(0x67, 0x6A); // keypad =, F13..F15
    range(0x87, 0x8B);
    range(0x90, 0x94);
    range(0xE0, 0xE7); // modifiers
    return codes;
}

// Records what a listener manager was asked to do.
class manager_c : public listener_mgr_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i || iid == iid_listener_mgr_i)
            return this;
        return nullptr;
    }
    void release() override {}
    void add_listener(listener_i* listener) override { added.push_back(listener); }
    void remove_listener(listener_i* listener) override { removed.push_back(listener); }

    std::vector<listener_i*> added;
    std::vector<listener_i*> removed;
};

// A listener whose listener_i is a sub-object at another address than its identity,
// as with any object implementing several interfaces.
class other_i : public interface_i {
protected:
    ~other_i() = default;
};

class listener_c : public other_i, public listener_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_interface_i)
            return static_cast<other_i*>(this);
        if (iid == iid_listener_i)
            return static_cast<listener_i*>(this);
        return nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override {}
    void update() override {}
};

// Offers nothing beyond its identity.
class plain_c : public interface_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i ? this : nullptr;
    }
    void release() override {}
};

enum class party { manager, listener, plain, none };

} // namespace

Q_DECLARE_METATYPE(party)

class test_utilities : public QObject {
    Q_OBJECT

private slots:
    void key_table_holds_exactly_the_listed_keys();
    void key_rows_data();
    void key_rows();
    void key_param_packing_data();
    void key_param_packing();
    void english_key_names_data();
    void english_key_names();
    void every_key_has_a_name();
    void runs_of_keys_are_named_in_order();
    void shortcut_none_is_empty_for_every_key();
    void shortcut_text_data();
    void shortcut_text();
    void tinting_keeps_shape_and_caps_alpha();
    void tint_image_sets_label();
    void tint_image_unloadable_changes_nothing();
    void listener_wiring_data();
    void listener_wiring();
    void drop_shadow();
    void fit_width_to_text_keeps_edge_data();
    void fit_width_to_text_keeps_edge();
    void fit_width_exact_uses_both_margins();
    void dispose_timer_deletes_and_clears();
};

void test_utilities::key_table_holds_exactly_the_listed_keys() {
    QCOMPARE(int(key_table().size()), 123);

    std::set<int> present;
    for (const key_row& row : key_table())
        present.insert(row.key_code);
    QCOMPARE(present, expected_key_codes());

    for (int code = 0; code < 256; ++code) {
        const bool listed = expected_key_codes().count(code) != 0;
        QVERIFY2((find_key(uint8_t(code)) != nullptr) == listed,
                 qPrintable(QString::number(code, 16)));
    }
}

void test_utilities::key_rows_data() {
    QTest::addColumn<int>("key_code");
    QTest::addColumn<int>("scan_code");
    QTest::addColumn<bool>("extended");

    QTest::addRow("A") << 0x04 << 0x1E << false;
    QTest::addRow("Z") << 0x1D << 0x2C << false;
    QTest::addRow("1") << 0x1E << 0x02 << false;
    QTest::addRow("0") << 0x27 << 0x0B << false;
    QTest::addRow("Enter") << 0x28 << 0x1C << false;
    QTest::addRow("Escape") << 0x29 << 0x01 << false;
    QTest::addRow("Space") << 0x2C << 0x39 << false;
    QTest::addRow("slash") << 0x38 << 0x35 << false;
    QTest::addRow("Caps Lock") << 0x39 << 0x3A << false;
    QTest::addRow("F1") << 0x3A << 0x3B << false;
    QTest::addRow("F10") << 0x43 << 0x44 << false;
    QTest::addRow("F11") << 0x44 << 0x57 << false;
    QTest::addRow("F12") << 0x45 << 0x58 << false;
    QTest::addRow("Print Screen, first of two rows") << 0x46 << 0x37 << true;
    QTest::addRow("Scroll Lock") << 0x47 << 0x46 << false;
    QTest::addRow("Pause, first of two rows") << 0x48 << 0x45 << false;
    QTest::addRow("Insert") << 0x49 << 0x52 << true;
    QTest::addRow("Right Arrow") << 0x4F << 0x4D << true;
    QTest::addRow("Up Arrow") << 0x52 << 0x48 << true;
    QTest::addRow("Num Lock marked extended") << 0x53 << 0x45 << true;
    QTest::addRow("keypad slash") << 0x54 << 0x35 << true;
    QTest::addRow("keypad star") << 0x55 << 0x37 << false;
    QTest::addRow("keypad Enter") << 0x58 << 0x1C << true;
    QTest::addRow("keypad 1") << 0x59 << 0x4F << false;
    QTest::addRow("keypad dot") << 0x63 << 0x53 << false;
    QTest::addRow("Application") << 0x65 << 0x5D << true;
    QTest::addRow("F13") << 0x68 << 0x64 << false;
    QTest::addRow("F15") << 0x6A << 0x66 << false;
    QTest::addRow("Left Ctrl") << 0xE0 << 0x1D << false;
    QTest::addRow("Left Shift") << 0xE1 << 0x2A << false;
    QTest::addRow("Left Alt") << 0xE2 << 0x38 << false;
    QTest::addRow("Left GUI") << 0xE3 << 0x5B << true;
    QTest::addRow("Right Ctrl") << 0xE4 << 0x1D << true;
    QTest::addRow("Right Shift, first of two rows") << 0xE5 << 0x36 << true;
    QTest::addRow("Right Alt") << 0xE6 << 0x38 << true;
    QTest::addRow("Right GUI") << 0xE7 << 0x5C << true;
}

void test_utilities::key_rows() {
    QFETCH(int, key_code);
    QFETCH(int, scan_code);
    QFETCH(bool, extended);

    const key_row* row = find_key(uint8_t(key_code));
    QVERIFY(row);
    QCOMPARE(int(row->key_code), key_code);
    QCOMPARE(int(row->scan_code), scan_code);
    QCOMPARE(row->extended, extended);
}

void test_utilities::key_param_packing_data() {
    QTest::addColumn<int>("key_code");
    QTest::addColumn<uint>("param");

    QTest::addRow("A") << 0x04 << 0x001E0001u;
    QTest::addRow("Right Arrow carries the flag") << 0x4F << 0x014D0001u;
    QTest::addRow("Right Ctrl carries the flag") << 0xE4 << 0x011D0001u;
    QTest::addRow("Num Lock carries the flag") << 0x53 << 0x01450001u;
    QTest::addRow("Right Shift never carries it") << 0xE5 << 0x00360001u;
    QTest::addRow("Language 1, high scan code") << 0x90 << 0x00F20001u;
    QTest::addRow("no row: reserved 0") << 0x00 << 0u;
    QTest::addRow("no row: error code") << 0x03 << 0u;
    QTest::addRow("no row: gap 0x66") << 0x66 << 0u;
    QTest::addRow("no row: past the modifiers") << 0xE8 << 0u;
    QTest::addRow("no row: 0xFF") << 0xFF << 0u;
}

void test_utilities::key_param_packing() {
    QFETCH(int, key_code);
    QFETCH(uint, param);
    QCOMPARE(uint(key_param(uint8_t(key_code))), param);
}

void test_utilities::english_key_names_data() {
    QTest::addColumn<int>("key_code");
    QTest::addColumn<QString>("name");

    QTest::addRow("A") << 0x04 << QStringLiteral("A");
    QTest::addRow("Q") << 0x14 << QStringLiteral("Q");
    QTest::addRow("7") << 0x24 << QStringLiteral("7");
    QTest::addRow("Escape") << 0x29 << QStringLiteral("Esc");
    QTest::addRow("Backspace") << 0x2A << QStringLiteral("Backspace");
    QTest::addRow("F1") << 0x3A << QStringLiteral("F1");
    QTest::addRow("F12") << 0x45 << QStringLiteral("F12");
    QTest::addRow("Print Screen") << 0x46 << QStringLiteral("Prnt Scrn");
    QTest::addRow("Pause") << 0x48 << QStringLiteral("Pause");
    QTest::addRow("Num Lock is not Pause") << 0x53 << QStringLiteral("Num Lock");
    QTest::addRow("Right Arrow") << 0x4F << QStringLiteral("Right");
    QTest::addRow("Page Down") << 0x4E << QStringLiteral("Page Down");
    QTest::addRow("keypad 1 is not End") << 0x59 << QStringLiteral("Num 1");
    QTest::addRow("keypad slash is not slash") << 0x54 << QStringLiteral("Num /");
    QTest::addRow("keypad Enter is not Enter") << 0x58 << QStringLiteral("Num Enter");
    QTest::addRow("Application") << 0x65 << QStringLiteral("Application");
    QTest::addRow("Left Ctrl") << 0xE0 << QStringLiteral("Ctrl");
    QTest::addRow("Right Ctrl") << 0xE4 << QStringLiteral("Right Ctrl");
    QTest::addRow("Left Alt") << 0xE2 << QStringLiteral("Alt");
    QTest::addRow("Right Alt") << 0xE6 << QStringLiteral("Right Alt");
    QTest::addRow("Left Shift") << 0xE1 << QStringLiteral("Shift");
    QTest::addRow("Right Shift") << 0xE5 << QStringLiteral("Right Shift");
    QTest::addRow("Left GUI") << 0xE3 << QStringLiteral("Left Windows");
    QTest::addRow("no row") << 0x66 << QString();
}

void test_utilities::english_key_names() {
    if (platform::is_windows())
        QSKIP("key names come from the keyboard layout there");
    QFETCH(int, key_code);
    QFETCH(QString, name);
    QCOMPARE(key_name(uint8_t(key_code)), name);
}

void test_utilities::every_key_has_a_name() {
    for (const key_row& row : key_table())
        QVERIFY2(!key_name(row.key_code).isEmpty(), qPrintable(QString::number(row.key_code, 16)));
}

void test_utilities::runs_of_keys_are_named_in_order() {
    if (platform::is_windows())
        QSKIP("key names come from the keyboard layout there");
    // Scan codes of letters and digits are scattered; the usages are in order.
    for (int i = 0; i < 26; ++i)
        QCOMPARE(key_name(uint8_t(0x04 + i)), QString(QChar('A' + i)));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(key_name(uint8_t(0x1E + i)), QString::number((i + 1) % 10));
    for (int i = 0; i < 12; ++i)
        QCOMPARE(key_name(uint8_t(0x3A + i)), QStringLiteral("F%1").arg(i + 1));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(key_name(uint8_t(0x59 + i)), QStringLiteral("Num %1").arg((i + 1) % 10));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(key_name(uint8_t(0x68 + i)), QStringLiteral("F%1").arg(13 + i));
}

void test_utilities::shortcut_none_is_empty_for_every_key() {
    for (int key = 0; key < 256; ++key)
        QVERIFY2(::shortcut_text(shortcut_modifier::none, uint8_t(key)).isEmpty(),
                 qPrintable(QString::number(key, 16)));
}

void test_utilities::shortcut_text_data() {
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("key_code");
    QTest::addColumn<QString>("text");

    QTest::addRow("all four modifiers in order")
        << 0x1E << 0x04 << QStringLiteral("Shift + Ctrl + Alt + Win + A");
    QTest::addRow("Ctrl and Alt") << 0x0C << 0x04 << QStringLiteral("Ctrl + Alt + A");
    QTest::addRow("Shift alone, no key") << 0x02 << 0 << QStringLiteral("Shift");
    QTest::addRow("Win alone, no key") << 0x10 << 0 << QStringLiteral("Win");
    QTest::addRow("Alt and Win, no key") << 0x18 << 0 << QStringLiteral("Alt + Win");
    QTest::addRow("key without modifiers") << 0x00 << 0x3A << QStringLiteral("F1");
    QTest::addRow("nothing at all") << 0x00 << 0 << QString();
    QTest::addRow("bit 0 with Shift is not the empty mark")
        << 0x03 << 0x04 << QStringLiteral("Shift + A");
    QTest::addRow("unknown high bits ignored") << 0xE4 << 0x05 << QStringLiteral("Ctrl + B");
    QTest::addRow("modifier key as the key") << 0x04 << 0xE4 << QStringLiteral("Ctrl + Right Ctrl");
}

void test_utilities::shortcut_text() {
    if (platform::is_windows())
        QSKIP("key names come from the keyboard layout there");
    QFETCH(int, modifiers);
    QFETCH(int, key_code);
    QFETCH(QString, text);
    QCOMPARE(::shortcut_text(uint8_t(modifiers), uint8_t(key_code)), text);
}

void test_utilities::tinting_keeps_shape_and_caps_alpha() {
    QImage mask(4, 1, QImage::Format_ARGB32);
    mask.setPixel(0, 0, qRgba(10, 20, 30, 0));    // transparent, with colour bits set
    mask.setPixel(1, 0, qRgba(10, 20, 30, 200));  // above the cap
    mask.setPixel(2, 0, qRgba(250, 0, 90, 40));   // below the cap
    mask.setPixel(3, 0, qRgba(255, 255, 255, 1)); // barely visible

    const QImage result = tinted(mask, QColor(200, 100, 50, 128));
    QCOMPARE(result.size(), mask.size());
    QCOMPARE(result.pixel(0, 0), qRgba(10, 20, 30, 0));
    QCOMPARE(result.pixel(1, 0), qRgba(200, 100, 50, 128));
    QCOMPARE(result.pixel(2, 0), qRgba(200, 100, 50, 40));
    QCOMPARE(result.pixel(3, 0), qRgba(200, 100, 50, 1));

    // An opaque colour keeps every pixel's own alpha.
    const QImage opaque = tinted(mask, QColor(1, 2, 3));
    QCOMPARE(opaque.pixel(1, 0), qRgba(1, 2, 3, 200));
    QCOMPARE(opaque.pixel(0, 0), qRgba(10, 20, 30, 0));
}

void test_utilities::tint_image_sets_label() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QImage mask(3, 2, QImage::Format_ARGB32);
    mask.fill(qRgba(0, 0, 0, 0));
    mask.setPixel(1, 0, qRgba(0, 0, 0, 255));
    mask.setPixel(2, 1, qRgba(0, 0, 0, 255));
    const QString path = dir.filePath(QStringLiteral("mask.png"));
    QVERIFY(mask.save(path));

    QLabel label;
    tint_image(path, &label, QColor(0, 255, 0, 128));
    const QImage shown =
        label.pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(shown.size(), mask.size());
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb pixel = shown.pixel(x, y);
            if (qAlpha(mask.pixel(x, y)) == 0) {
                QCOMPARE(qAlpha(pixel), 0);
                continue;
            }
            // The pixmap may store premultiplied colour; allow its rounding.
            QCOMPARE(qAlpha(pixel), 128);
            QVERIFY(qRed(pixel) <= 2 && qBlue(pixel) <= 2 && qGreen(pixel) >= 252);
        }
    }

    // No label: nothing to do, nothing to break.
    tint_image(path, nullptr, QColor(Qt::red));
}

void test_utilities::tint_image_unloadable_changes_nothing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile garbage(dir.filePath(QStringLiteral("garbage.png")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("not an image at all");
    garbage.close();

    QLabel label;
    QPixmap before(5, 5);
    before.fill(Qt::blue);
    label.setPixmap(before);
    const qint64 key = label.pixmap(Qt::ReturnByValue).cacheKey();

    tint_image(dir.filePath(QStringLiteral("missing.png")), &label, QColor(Qt::red));
    tint_image(garbage.fileName(), &label, QColor(Qt::red));
    tint_image(QString(), &label, QColor(Qt::red));
    QCOMPARE(label.pixmap(Qt::ReturnByValue).cacheKey(), key);
}

void test_utilities::listener_wiring_data() {
    QTest::addColumn<party>("first");
    QTest::addColumn<party>("second");
    QTest::addColumn<bool>("joined");

    QTest::addRow("manager and listener") << party::manager << party::listener << true;
    QTest::addRow("second lacks listener_i") << party::manager << party::plain << false;
    QTest::addRow("first lacks listener_mgr_i") << party::plain << party::listener << false;
    QTest::addRow("arguments swapped") << party::listener << party::manager << false;
    QTest::addRow("no manager") << party::none << party::listener << false;
    QTest::addRow("no listener") << party::manager << party::none << false;
}

void test_utilities::listener_wiring() {
    QFETCH(party, first);
    QFETCH(party, second);
    QFETCH(bool, joined);

    manager_c manager;
    listener_c listener;
    plain_c plain;
    auto pick = [&](party p) -> interface_i* {
        switch (p) {
        case party::manager:
            return &manager;
        case party::listener:
            return static_cast<other_i*>(&listener);
        case party::plain:
            return &plain;
        case party::none:
            break;
        }
        return nullptr;
    };

    const std::vector<listener_i*> expected =
        joined ? std::vector<listener_i*>{&listener} : std::vector<listener_i*>{};

    connect_listener(pick(first), pick(second));
    QCOMPARE(manager.added, expected);
    QVERIFY(manager.removed.empty());

    disconnect_listener(pick(first), pick(second));
    QCOMPARE(manager.added, expected);
    QCOMPARE(manager.removed, expected);
}

void test_utilities::drop_shadow() {
    QWidget widget;
    add_drop_shadow(&widget);
    auto* shadow = qobject_cast<QGraphicsDropShadowEffect*>(widget.graphicsEffect());
    QVERIFY(shadow);
    QCOMPARE(shadow->offset(), QPointF(2, 2));
    QCOMPARE(shadow->blurRadius(), 10.0);
    QCOMPARE(shadow->color(), QColor(15, 15, 15, 255));

    add_drop_shadow(nullptr);
}

void test_utilities::fit_width_to_text_keeps_edge_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("min_width");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("kept"); // "left", "right" or "centre"

    const QString long_text = QStringLiteral("A rather long button caption");
    const QString keep_left = QStringLiteral("left");
    const QString keep_right = QStringLiteral("right");
    const QString keep_centre = QStringLiteral("centre");
    const int right = Qt::AlignRight;
    const int centre = Qt::AlignHCenter | Qt::AlignVCenter;

    QTest::addRow("right, grows") << long_text << 0 << right << keep_right;
    QTest::addRow("right, shrinks to minimum") << QString() << 40 << right << keep_right;
    QTest::addRow("centre, grows") << long_text << 0 << centre << keep_centre;
    QTest::addRow("centre, shrinks to minimum") << QString() << 40 << centre << keep_centre;
    QTest::addRow("left, grows") << long_text << 0 << int(Qt::AlignLeft) << keep_left;
    QTest::addRow("right with vertical centre counts as other")
        << long_text << 0 << int(Qt::AlignRight | Qt::AlignVCenter) << keep_left;
    QTest::addRow("horizontal centre alone counts as other")
        << long_text << 0 << int(Qt::AlignHCenter) << keep_left;
    QTest::addRow("minimum wins over short text")
        << QStringLiteral("Ok") << 300 << right << keep_right;
}

void test_utilities::fit_width_to_text_keeps_edge() {
    QFETCH(QString, text);
    QFETCH(int, min_width);
    QFETCH(int, alignment);
    QFETCH(QString, kept);

    constexpr int margin = 6;
    QWidget parent;
    parent.resize(800, 100);
    auto* button = new QPushButton(text, &parent);
    const QRect before(300, 20, 90, 24);
    button->setGeometry(before);

    fit_width_to_text(button, min_width, margin, Qt::Alignment(alignment));

    const QRect after = button->geometry();
    const int text_width = button->fontMetrics().horizontalAdvance(text);
    const int width = qMax(min_width, text_width + 2 * margin);
    QCOMPARE(after.width(), width);
    QCOMPARE(button->minimumWidth(), width);
    QCOMPARE(button->maximumWidth(), width);
    QCOMPARE(after.y(), before.y());
    QCOMPARE(after.height(), before.height());

    if (kept == QLatin1String("right")) {
        QCOMPARE(after.x() + after.width(), before.x() + before.width());
    } else if (kept == QLatin1String("centre")) {
        // Twice the centre, so that an odd difference leaves at most one pixel of rounding.
        const int twice_before = 2 * before.x() + before.width();
        const int twice_after = 2 * after.x() + after.width();
        QVERIFY2(qAbs(twice_after - twice_before) <= 1,
                 qPrintable(QStringLiteral("%1 vs %2").arg(twice_after).arg(twice_before)));
    } else {
        QCOMPARE(after.x(), before.x());
    }
}

void test_utilities::fit_width_exact_uses_both_margins() {
    QWidget parent;
    auto* button = new QPushButton(QStringLiteral("Apply"), &parent);
    button->setGeometry(50, 5, 200, 24);

    fit_width_exact(button, 7, 13);
    const int text_width = button->fontMetrics().horizontalAdvance(button->text());
    QCOMPARE(button->width(), text_width + 20);
    QCOMPARE(button->x(), 50);

    fit_width_to_text(nullptr, 10, 1, Qt::AlignRight);
    fit_width_exact(nullptr, 1, 1);
}

void test_utilities::dispose_timer_deletes_and_clears() {
    QObject owner;
    auto* timer = new QTimer(&owner);
    timer->start(60000);
    QPointer<QTimer> watch(timer);

    dispose_timer(timer);
    QVERIFY(timer == nullptr);
    QVERIFY(watch.isNull());
    QVERIFY(owner.children().isEmpty());

    QTimer* none = nullptr;
    dispose_timer(none);
    QVERIFY(none == nullptr);
}

QTEST_MAIN(test_utilities)
#include "test_utilities.moc"
