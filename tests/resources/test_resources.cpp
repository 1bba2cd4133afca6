// The module's pictures: their manifest, their painter and the resource tree serving them.
#include "tools/paint_graphics/manifest.h"
#include "tools/paint_graphics/recipes.h"

#include <QDirIterator>
#include <QImage>
#include <QSet>
#include <QtTest>
#include <utility>

namespace {

const manifest_result& shipped_manifest() {
    static const manifest_result manifest = read_manifest(QStringLiteral(QUIL_GRAPHICS_MANIFEST));
    return manifest;
}

// Slot hit rectangles of the side-panel editor, in canvas coordinates, and the
// corner at which every 164 x 124 button overlay is drawn.
const QRect slot_rects[12] = {
    {217, 50, 36, 31},  {253, 46, 39, 33},  {292, 44, 38, 33},  {330, 44, 31, 31},
    {218, 86, 37, 31},  {255, 84, 39, 31},  {294, 81, 39, 31},  {333, 80, 35, 31},
    {220, 120, 41, 31}, {261, 118, 40, 31}, {301, 116, 37, 31}, {338, 115, 34, 31},
};
const QPoint overlay_origin(212, 36);

// Bounding box of the pixels at least half opaque; glows stay below that.
QRect solid_box(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage resource_image(const QString& path) {
    return QImage(QStringLiteral(":/graphics/") + path).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class test_resources : public QObject {
    Q_OBJECT

private slots:
    // Every listed picture has a recipe and is served; nothing else is served.
    void shipped_manifest_is_clean_and_matches_the_resource_tree() {
        const manifest_result& manifest = shipped_manifest();
        QVERIFY2(manifest.ok(), qPrintable(manifest.errors.join(QLatin1Char('\n'))));
        QSet<QString> listed;
        for (const graphic_entry& entry : manifest.entries) {
            QVERIFY2(recipes().contains(entry.recipe), qPrintable(entry.path));
            listed.insert(entry.path);
        }
        QSet<QString> served;
        QDirIterator it(QStringLiteral(":/graphics"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            served.insert(it.next().mid(QStringLiteral(":/graphics/").size()));
        QCOMPARE(served - listed, QSet<QString>()); // the other way round: the next test
    }

    // A bad line is refused by the reader, or kept and then refused by the painter.
    void bad_lines_are_refused_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("kept");
        auto row = [](const char* tag, const QByteArray& text, const char* error, int kept = 0) {
            QTest::newRow(tag) << text << QString::fromLatin1(error) << kept;
        };
        row("missing size", "a.png tab\n", "line 1: expected");
        row("zero width", "a.png 0x10 tab\n", "line 1: size 0x10");
        row("oversized", "a.png 5000x10 tab\n", "line 1: size 5000x10");
        row("leaves the folder", "x/../../a.png 10x10 tab\n", "line 1: path has");
        row("NUL and invalid UTF-8", QByteArray("\x00\xff\xfe png\n", 8), "line 1: expected");
        row("duplicate keeps the first, counting comments and blanks",
            "# c\na.png 10x10 tab state=down\n\na.png 12x12 tab\n", "line 4: duplicate path a.png",
            1);
        row("unknown recipe", "a.png 16x16 no_such_recipe", "unknown recipe", 1);
        row("missing argument", "a.png 16x16 tab", "state=(missing)", 1);
        row("number out of range", "a.png 16x16 side_cap kind=single look=normal index=13",
            "index=13 is not a number in 1..12", 1);
    }
    void bad_lines_are_refused() {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QFETCH(int, kept);
        const manifest_result result = parse_manifest(text);
        QCOMPARE(result.entries.size(), kept);
        QStringList errors = result.errors;
        for (const graphic_entry& entry : result.entries) {
            const painted_graphic painted = paint_graphic(entry);
            QCOMPARE(painted.image.isNull(), !painted.errors.isEmpty());
            errors += painted.errors;
        }
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(error), qPrintable(errors.first()));
    }

    void manifest_keeps_fields() {
        const manifest_result result =
            parse_manifest("# c\nicons/a_b.png   24x20\tmenu_icon glyph=TALK state=over\n");
        QVERIFY(result.ok() && result.entries.size() == 1);
        const graphic_entry& entry = result.entries.first();
        QCOMPARE(entry.path + '|' + entry.recipe, QStringLiteral("icons/a_b.png|menu_icon"));
        QCOMPARE(entry.size, QSize(24, 20));
        QCOMPARE(entry.args, (QMap<QString, QString>{{QStringLiteral("glyph"), "TALK"},
                                                     {QStringLiteral("state"), "over"}}));
        QCOMPARE(entry.line, 2);
    }

    void every_image_loads_with_its_size_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        for (const graphic_entry& entry : shipped_manifest().entries)
            QTest::newRow(qPrintable(entry.path)) << entry.path << entry.size;
    }
    // The module names its pictures both as ":/graphics/..." and "://graphics/...".
    void every_image_loads_with_its_size() {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        for (const char* prefix : {":/graphics/", "://graphics/"})
            QCOMPARE(QImage(QLatin1String(prefix) + path).size(), size); // 0x0 when missing
    }

    void painting_is_repeatable_data() {
        QTest::addColumn<int>("index");
        QHash<QString, bool> seen; // one picture per recipe
        const auto& entries = shipped_manifest().entries;
        for (int i = 0; i < entries.size(); ++i) {
            if (!std::exchange(seen[entries[i].recipe], true))
                QTest::newRow(qPrintable(entries[i].path)) << i;
        }
    }
    // Same bytes on every run and the same picture as compiled in: a stale tree shows here.
    void painting_is_repeatable() {
        QFETCH(int, index);
        const graphic_entry& entry = shipped_manifest().entries.at(index);
        const painted_graphic first = paint_graphic(entry);
        const QByteArray bytes = encode_graphic(first.image, entry.path);
        QVERIFY(first.errors.isEmpty() && !bytes.isEmpty());
        QCOMPARE(encode_graphic(paint_graphic(entry).image, entry.path), bytes);
        QCOMPARE(QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32),
                 resource_image(entry.path));
    }

    void side_overlays_sit_on_their_slots_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QRect>("area");
        // Overlays for one slot, a pair of slots or a row of four, in slot order.
        const std::pair<int, const char*> groups[] = {
            {1, "Single-Buttons/normal/Single-Button-"},
            {1, "Single-Buttons/over/Single-Button-over-"},
            {1, "Single-Buttons/down/Single-Button-down-"},
            {1, "Single-Buttons/blance/Single-blanc_"},
            {2, "Double-Buttons/normal/Double-button_"},
            {2, "Double-Buttons/over/Double-button-over_"},
            {2, "Double-Buttons/down/Double-button_down_"},
            {4, "Quad_blancs/Quad-blanc_"}};
        for (const auto& [span, name] : groups) {
            for (int i = 0; i < 12 / span; ++i) {
                const QString path = QStringLiteral("button_assignment/buttons/") + name +
                                     QStringLiteral("%1.png").arg(i + 1, 2, 10, QLatin1Char('0'));
                QTest::newRow(qPrintable(path))
                    << path << (slot_rects[span * i] | slot_rects[span * i + span - 1]);
            }
        }
    }
    // Drawn at one corner, each button covers its own slot's hit area and no neighbour's.
    void side_overlays_sit_on_their_slots() {
        QFETCH(QString, path);
        QFETCH(QRect, area);
        const QImage image = resource_image(path);
        QCOMPARE(image.size(), QSize(164, 124));
        const QRect box = solid_box(image).translated(overlay_origin);
        QVERIFY2(area.adjusted(-2, -2, 2, 2).contains(box), "button spills out of its slot area");
        QVERIFY(area.contains(box.center()));
        QVERIFY2(box.width() >= area.width() * 0.8 && box.height() >= area.height() * 0.7,
                 "button too small for its slot");
    }
};

QTEST_MAIN(test_resources)
#include "test_resources.moc"
