#include "common/platform.h"
#include "common/utilities.h"
#include "module/interfaces.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <set>
#include <vector>

namespace {

// Records what a listener manager was asked to do.
class manager_c : public listener_mgr_i {
public:
    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i || iid == iid_listener_mgr_i ? this : nullptr;
    }
    void release() override {}
    void add_listener(listener_i* listener) override { added.push_back(listener); }
    void remove_listener(listener_i* listener) override { removed.push_back(listener); }

    std::vector<listener_i*> added, removed;
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
        return iid == iid_listener_i ? static_cast<listener_i*>(this) : nullptr;
    }
    void release() override {}
    void manager_closing(listener_mgr_i*) override {}
    void update() override {}
};

enum class party { manager, listener, none };

} // namespace

Q_DECLARE_METATYPE(party)

class test_utilities : public QObject {
    Q_OBJECT

private slots:
    void key_table_holds_exactly_the_listed_keys() {
        QCOMPARE(int(key_table().size()), 123);
        // The key codes the table must hold, written out from the key list.
        const std::pair<int, int> ranges[] = {
            {0x04, 0x65}, {0x67, 0x6A}, {0x87, 0x8B}, {0x90, 0x94}, {0xE0, 0xE7}};
        std::set<int> expected;
        for (const auto& range : ranges)
            for (int code = range.first; code <= range.second; ++code)
                expected.insert(code);
        for (int code = 0; code < 256; ++code) {
            QVERIFY2((find_key(uint8_t(code)) != nullptr) == (expected.count(code) != 0),
                     qPrintable(QString::number(code, 16)));
        }
        for (const key_row& row : key_table())
            QVERIFY2(!key_name(row.key_code).isEmpty(), qPrintable(QString::number(row.key_code)));
    }

    void key_rows_data() {
        QTest::addColumn<int>("key_code");
        QTest::addColumn<int>("scan_code"); // -1: no row
        QTest::addColumn<bool>("extended");
        QTest::addColumn<uint>("param");
        QTest::addColumn<QString>("name"); // as the stand-in platform names it

        QTest::addRow("A") << 0x04 << 0x1E << false << 0x001E0001u << "A";
        QTest::addRow("Escape") << 0x29 << 0x01 << false << 0x00010001u << "Esc";
        QTest::addRow("F1") << 0x3A << 0x3B << false << 0x003B0001u << "F1";
        QTest::addRow("Print Screen, first of two rows")
            << 0x46 << 0x37 << true << 0x01370001u << "Prnt Scrn";
        QTest::addRow("Right Arrow") << 0x4F << 0x4D << true << 0x014D0001u << "Right";
        QTest::addRow("Num Lock marked extended")
            << 0x53 << 0x45 << true << 0x01450001u << "Num Lock";
        QTest::addRow("Language 1, high scan code")
            << 0x90 << 0xF2 << false << 0x00F20001u << "Hangul";
        QTest::addRow("Right Ctrl") << 0xE4 << 0x1D << true << 0x011D0001u << "Right Ctrl";
        // Marked extended in its row, but asked for without the flag.
        QTest::addRow("Right Shift") << 0xE5 << 0x36 << true << 0x00360001u << "Right Shift";
        QTest::addRow("no row: gap 0x66") << 0x66 << -1 << false << 0u << "";
    }

    void key_rows() {
        QFETCH(int, key_code);
        QFETCH(int, scan_code);
        QFETCH(bool, extended);

        const key_row* row = find_key(uint8_t(key_code));
        QCOMPARE(row != nullptr, scan_code >= 0);
        if (row) {
            QCOMPARE(int(row->scan_code), scan_code);
            QCOMPARE(row->extended, extended);
        }
        QTEST(uint(key_param(uint8_t(key_code))), "param");
        if (!platform::is_windows()) // names come from the keyboard layout there
            QTEST(key_name(uint8_t(key_code)), "name");
    }

    void shortcut_text_data() {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("key_code");
        QTest::addColumn<QString>("text");

        QTest::addRow("all four modifiers in order")
            << 0x1E << 0x04 << QStringLiteral("Shift + Ctrl + Alt + Win + A");
        QTest::addRow("Shift alone, no key") << 0x02 << 0 << QStringLiteral("Shift");
        QTest::addRow("key without modifiers") << 0x00 << 0x3A << QStringLiteral("F1");
        QTest::addRow("nothing at all") << 0x00 << 0 << QString();
        QTest::addRow("the none mark alone hides the key") << 0x01 << 0x04 << QString();
        QTest::addRow("bit 0 with Shift is not the empty mark")
            << 0x03 << 0x04 << QStringLiteral("Shift + A");
        QTest::addRow("unknown high bits ignored") << 0xE4 << 0x05 << QStringLiteral("Ctrl + B");
    }

    void shortcut_text() {
        if (platform::is_windows())
            QSKIP("key names come from the keyboard layout there");
        QFETCH(int, modifiers);
        QFETCH(int, key_code);
        QTEST(::shortcut_text(uint8_t(modifiers), uint8_t(key_code)), "text");
    }

    void tinting_keeps_shape_and_caps_alpha() {
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
        QCOMPARE(tinted(mask, QColor(1, 2, 3)).pixel(1, 0), qRgba(1, 2, 3, 200));
    }

    void tint_image_sets_label_or_nothing() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mask.png"));
        QImage mask(2, 1, QImage::Format_ARGB32);
        mask.setPixel(0, 0, qRgba(0, 0, 0, 0));
        mask.setPixel(1, 0, qRgba(0, 0, 0, 255));
        QVERIFY(mask.save(path));

        QLabel label;
        tint_image(path, &label, QColor(0, 255, 0, 128));
        const QImage shown = label.pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(qAlpha(shown.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(shown.pixel(1, 0)), 128);
        // What cannot be loaded leaves the label's picture alone.
        const qint64 key = label.pixmap(Qt::ReturnByValue).cacheKey();
        tint_image(dir.filePath(QStringLiteral("missing.png")), &label, QColor(Qt::red));
        QCOMPARE(label.pixmap(Qt::ReturnByValue).cacheKey(), key);
    }

    void listener_wiring_data() {
        QTest::addColumn<party>("first");
        QTest::addColumn<party>("second");
        QTest::addColumn<bool>("joined");

        QTest::addRow("manager and listener") << party::manager << party::listener << true;
        QTest::addRow("second lacks listener_i") << party::manager << party::manager << false;
        QTest::addRow("first lacks listener_mgr_i") << party::listener << party::listener << false;
        QTest::addRow("no manager") << party::none << party::listener << false;
    }

    void listener_wiring() {
        QFETCH(party, first);
        QFETCH(party, second);
        QFETCH(bool, joined);

        manager_c manager;
        listener_c listener;
        auto pick = [&](party p) -> interface_i* {
            if (p == party::manager)
                return &manager;
            if (p == party::listener)
                return static_cast<other_i*>(&listener);
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

    void fit_width_to_text_keeps_edge_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("min_width");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("kept"); // "left", "right" or "centre"

        const QString text = QStringLiteral("A rather long button caption");
        const int right = Qt::AlignRight;
        const int centre = Qt::AlignHCenter | Qt::AlignVCenter;
        QTest::addRow("right, grows") << text << 0 << right << "right";
        QTest::addRow("right, minimum wins") << QStringLiteral("Ok") << 300 << right << "right";
        QTest::addRow("centre, shrinks to minimum") << QString() << 40 << centre << "centre";
        QTest::addRow("left, grows") << text << 0 << int(Qt::AlignLeft) << "left";
        QTest::addRow("right with vertical centre counts as other")
            << text << 0 << int(Qt::AlignRight | Qt::AlignVCenter) << "left";
    }

    void fit_width_to_text_keeps_edge() {
        QFETCH(QString, text);
        QFETCH(int, min_width);
        QFETCH(int, alignment);
        QFETCH(QString, kept);

        QWidget parent;
        parent.resize(800, 100);
        auto* button = new QPushButton(text, &parent);
        const QRect before(300, 20, 90, 24);
        button->setGeometry(before);
        fit_width_to_text(button, min_width, 6, Qt::Alignment(alignment));

        const QRect after = button->geometry();
        const int width = qMax(min_width, button->fontMetrics().horizontalAdvance(text) + 2 * 6);
        QCOMPARE(after.width(), width);
        QCOMPARE(button->minimumWidth(), width);
        QCOMPARE(button->maximumWidth(), width);
        if (kept == QLatin1String("right")) {
            QCOMPARE(after.right(), before.right());
        } else if (kept == QLatin1String("centre")) {
            // Twice the centre, so that an odd difference leaves at most one pixel of rounding.
            QVERIFY(qAbs((2 * after.x() + after.width()) - (2 * before.x() + before.width())) <= 1);
        } else {
            QCOMPARE(after.x(), before.x());
        }
    }

    void fit_width_exact_uses_both_margins() {
        QWidget parent;
        auto* button = new QPushButton(QStringLiteral("Apply"), &parent);
        button->setGeometry(50, 5, 200, 24);
        fit_width_exact(button, 7, 13);
        QCOMPARE(button->width(), button->fontMetrics().horizontalAdvance(button->text()) + 20);
        QCOMPARE(button->x(), 50);
    }

    void dispose_timer_deletes_and_clears() {
        QObject owner;
        auto* timer = new QTimer(&owner);
        timer->start(60000);
        dispose_timer(timer);
        QVERIFY(timer == nullptr);
        QVERIFY(owner.children().isEmpty());
    }
};

QTEST_MAIN(test_utilities)
#include "test_utilities.moc"
