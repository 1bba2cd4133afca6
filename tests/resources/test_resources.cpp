// The module's pictures: the manifest that lists them, the painter that makes
// them and the compiled-in resource tree that serves them.
#include "tools/paint_graphics/manifest.h"
#include "tools/paint_graphics/recipes.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

manifest_result shipped_manifest() {
    return read_manifest(QStringLiteral(QUIL_GRAPHICS_MANIFEST));
}

// Slot hit rectangles of the side-panel editor, in canvas coordinates, and the
// corner at which every 164 x 124 button overlay is drawn.
const QRect slot_rects[12] = {
    {217, 50, 36, 31},  {253, 46, 39, 33},  {292, 44, 38, 33},  {330, 44, 31, 31},
    {218, 86, 37, 31},  {255, 84, 39, 31},  {294, 81, 39, 31},  {333, 80, 35, 31},
    {220, 120, 41, 31}, {261, 118, 40, 31}, {301, 116, 37, 31}, {338, 115, 34, 31},
};
const QPoint overlay_origin(212, 36);

// Bounding box of the pixels at least this opaque; glows stay below it.
QRect solid_box(const QImage& image, int min_alpha = 128) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) >= min_alpha)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QImage resource_image(const QString& path) {
    return QImage(QStringLiteral(":/graphics/") + path).convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class test_resources : public QObject {
    Q_OBJECT

private slots:
    void shipped_manifest_is_clean() {
        const manifest_result manifest = shipped_manifest();
        QVERIFY2(manifest.ok(), qPrintable(manifest.errors.join(QLatin1Char('\n'))));
        QVERIFY(manifest.entries.size() > 300);
        for (const graphic_entry& entry : manifest.entries)
            QVERIFY2(recipes().contains(entry.recipe), qPrintable(entry.path));
    }

    // Read the path column straight from the file, apart from the parser, which
    // drops duplicates itself.
    void shipped_manifest_has_no_duplicates() {
        QFile file(QStringLiteral(QUIL_GRAPHICS_MANIFEST));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        QSet<QString> seen;
        int line_number = 0;
        while (!file.atEnd()) {
            ++line_number;
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QString path = line.section(QRegularExpression(QStringLiteral("\\s+")), 0, 0);
            QVERIFY2(!seen.contains(path),
                     qPrintable(QStringLiteral("line %1: %2").arg(line_number).arg(path)));
            seen.insert(path);
        }
        QCOMPARE(seen.size(), shipped_manifest().entries.size());
    }

    void manifest_rejects_bad_lines_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("kept");
        QTest::addRow("missing size") << QByteArray("a.png tab\n") << "line 1: expected" << 0;
        QTest::addRow("size not WxH") << QByteArray("a.png 10-10 tab\n") << "line 1: size" << 0;
        QTest::addRow("zero width") << QByteArray("a.png 0x10 tab\n") << "line 1: size 0x10" << 0;
        QTest::addRow("oversized")
            << QByteArray("a.png 5000x10 tab\n") << "line 1: size 5000x10" << 0;
        QTest::addRow("leaves the folder")
            << QByteArray("x/../../a.png 10x10 tab\n") << "line 1: path has" << 0;
        QTest::addRow("absolute path")
            << QByteArray("/a.png 10x10 tab\n") << "line 1: path must" << 0;
        QTest::addRow("not an image")
            << QByteArray("a.txt 10x10 tab\n") << "line 1: path must end" << 0;
        QTest::addRow("recipe not a name")
            << QByteArray("a.png 10x10 Tab!\n") << "line 1: recipe" << 0;
        QTest::addRow("argument without value")
            << QByteArray("a.png 10x10 tab state\n") << "line 1: argument 'state'" << 0;
        QTest::addRow("argument twice") << QByteArray("a.png 10x10 tab state=a state=b\n")
                                        << "line 1: argument 'state' given" << 0;
        QTest::addRow("duplicate keeps the first")
            << QByteArray("a.png 10x10 tab\nb.png 10x10 tab\na.png 12x12 tab\n")
            << "line 3: duplicate path a.png" << 2;
        QTest::addRow("counts comments and blanks")
            << QByteArray("# heading\n\nok.png 4x4 tab\n   \nbroken\n") << "line 5:" << 1;
        QTest::addRow("NUL and invalid UTF-8")
            << QByteArray("\x00\xff\xfe png\n", 8) << "line 1: expected" << 0;
        QTest::addRow("character the .qrc cannot hold")
            << QByteArray("a&b.png 10x10 tab\n") << "line 1: path may only" << 0;
    }

    void manifest_rejects_bad_lines() {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QFETCH(int, kept);
        const manifest_result result = parse_manifest(text);
        QCOMPARE(result.errors.size(), 1);
        QVERIFY2(result.errors.first().startsWith(error), qPrintable(result.errors.first()));
        QCOMPARE(result.entries.size(), kept);
    }

    void manifest_keeps_fields() {
        const manifest_result result =
            parse_manifest("# c\nicons/a_b.png   24x20\tmenu_icon glyph=TALK state=over\n");
        QVERIFY(result.ok());
        QCOMPARE(result.entries.size(), 1);
        const graphic_entry& entry = result.entries.first();
        QCOMPARE(entry.path, QStringLiteral("icons/a_b.png"));
        QCOMPARE(entry.size, QSize(24, 20));
        QCOMPARE(entry.recipe, QStringLiteral("menu_icon"));
        QCOMPARE(entry.args.value(QStringLiteral("glyph")), QStringLiteral("TALK"));
        QCOMPARE(entry.args.value(QStringLiteral("state")), QStringLiteral("over"));
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
        const QImage single(QStringLiteral(":/graphics/") + path);
        QVERIFY(!single.isNull());
        QCOMPARE(single.size(), size);
        const QImage doubled(QStringLiteral("://graphics/") + path);
        QVERIFY(!doubled.isNull());
        QCOMPARE(doubled.size(), size);
    }

    // Nothing in the resource tree that the manifest does not list, and nothing missing.
    void resource_tree_matches_manifest() {
        QSet<QString> listed;
        for (const graphic_entry& entry : shipped_manifest().entries)
            listed.insert(entry.path);
        QSet<QString> served;
        QDirIterator it(QStringLiteral(":/graphics"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            served.insert(it.next().mid(QStringLiteral(":/graphics/").size()));
        QCOMPARE(served - listed, QSet<QString>());
        QCOMPARE(listed - served, QSet<QString>());
    }

    void bad_recipe_arguments_are_refused_data() {
        QTest::addColumn<QString>("recipe");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("error");
        QTest::addRow("unknown recipe") << "no_such_recipe"
                                        << ""
                                        << "unknown recipe";
        QTest::addRow("unknown state") << "tab"
                                       << "state=pressed"
                                       << "state=pressed is not one of";
        QTest::addRow("missing argument") << "tab"
                                          << ""
                                          << "state=(missing)";
        QTest::addRow("unused argument") << "tab"
                                         << "state=down colour=red"
                                         << "argument colour is not used";
        QTest::addRow("number out of range") << "side_cap"
                                             << "kind=single look=normal index=13"
                                             << "index=13 is not a number in 1..12";
        QTest::addRow("number not a number") << "sensor_frame"
                                             << "frames=100 frame=x"
                                             << "frame=x is not a number";
    }

    void bad_recipe_arguments_are_refused() {
        QFETCH(QString, recipe);
        QFETCH(QString, arguments);
        QFETCH(QString, error);
        const manifest_result parsed =
            parse_manifest(QStringLiteral("a.png 16x16 %1 %2\n").arg(recipe, arguments).toUtf8());
        QVERIFY(parsed.ok());
        const painted_graphic painted = paint_graphic(parsed.entries.first());
        QVERIFY(painted.image.isNull());
        QVERIFY2(painted.errors.join(QLatin1Char('\n')).contains(error),
                 qPrintable(painted.errors.join(QLatin1Char('\n'))));
    }

    void painting_is_repeatable_data() {
        QTest::addColumn<int>("index");
        QSet<QString> recipes_seen;
        const manifest_result manifest = shipped_manifest();
        for (int i = 0; i < manifest.entries.size(); ++i) {
            const graphic_entry& entry = manifest.entries.at(i);
            if (recipes_seen.contains(entry.recipe))
                continue;
            recipes_seen.insert(entry.recipe);
            QTest::newRow(qPrintable(entry.path)) << i;
        }
    }

    // Same bytes on every run, and the same picture as the one compiled in, so
    // a stale resource tree shows up here.
    void painting_is_repeatable() {
        QFETCH(int, index);
        const graphic_entry entry = shipped_manifest().entries.at(index);
        const painted_graphic first = paint_graphic(entry);
        const painted_graphic second = paint_graphic(entry);
        QVERIFY(first.errors.isEmpty());
        const QByteArray bytes = encode_graphic(first.image, entry.path);
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(encode_graphic(second.image, entry.path), bytes);
        QCOMPARE(QImage::fromData(bytes).convertToFormat(QImage::Format_ARGB32),
                 resource_image(entry.path));
    }

    void side_overlays_sit_on_their_slots_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QRect>("area");
        const QString base = QStringLiteral("button_assignment/buttons/");
        const char* const singles[4][2] = {{"normal", "Single-Button-"},
                                           {"over", "Single-Button-over-"},
                                           {"down", "Single-Button-down-"},
                                           {"blance", "Single-blanc_"}};
        for (const auto& kind : singles) {
            for (int slot = 1; slot <= 12; ++slot) {
                const QString path = base + QStringLiteral("Single-Buttons/%1/%2%3.png")
                                                .arg(QLatin1String(kind[0]), QLatin1String(kind[1]))
                                                .arg(slot, 2, 10, QLatin1Char('0'));
                QTest::newRow(qPrintable(path)) << path << slot_rects[slot - 1];
            }
        }
        const char* const doubles[3][2] = {{"normal", "Double-button_"},
                                           {"over", "Double-button-over_"},
                                           {"down", "Double-button_down_"}};
        for (const auto& kind : doubles) {
            for (int pair = 1; pair <= 6; ++pair) {
                const QString path = base + QStringLiteral("Double-Buttons/%1/%2%3.png")
                                                .arg(QLatin1String(kind[0]), QLatin1String(kind[1]))
                                                .arg(pair, 2, 10, QLatin1Char('0'));
                QTest::newRow(qPrintable(path))
                    << path << (slot_rects[2 * pair - 2] | slot_rects[2 * pair - 1]);
            }
        }
        for (int row = 1; row <= 3; ++row) {
            const QString path =
                base +
                QStringLiteral("Quad_blancs/Quad-blanc_%1.png").arg(row, 2, 10, QLatin1Char('0'));
            QTest::newRow(qPrintable(path))
                << path << (slot_rects[4 * row - 4] | slot_rects[4 * row - 1]);
        }
    }

    // Each overlay is drawn at the same corner; its button must cover its own
    // slot's hit area and stay out of the neighbours'.
    void side_overlays_sit_on_their_slots() {
        QFETCH(QString, path);
        QFETCH(QRect, area);
        const QImage image = resource_image(path);
        QCOMPARE(image.size(), QSize(164, 124));
        const QRect box = solid_box(image).translated(overlay_origin);
        QVERIFY2(!box.isEmpty(), "nothing drawn");
        QVERIFY2(area.adjusted(-2, -2, 2, 2).contains(box),
                 qPrintable(QStringLiteral("button %1,%2 %3x%4 spills out of its slot area")
                                .arg(box.x())
                                .arg(box.y())
                                .arg(box.width())
                                .arg(box.height())));
        QVERIFY(area.contains(box.center()));
        QVERIFY2(box.width() >= area.width() * 0.8 && box.height() >= area.height() * 0.7,
                 "button too small for its slot");
    }

    void led_masks_lie_on_the_lit_zones_data() {
        QTest::addColumn<QString>("picture");
        QTest::addRow("black") << "controls/Quil-back_black.png";
        QTest::addRow("white") << "controls/Quil-back_white.png";
    }

    // The lighting form lays both masks over the edition picture at the same
    // place: their solid parts must fall on the mouse, the logo above the pipe.
    void led_masks_lie_on_the_lit_zones() {
        QFETCH(QString, picture);
        const QImage back = resource_image(picture);
        const QImage logo = resource_image(QStringLiteral("controls/Quil-Logo_Mask.png"));
        const QImage pipe = resource_image(QStringLiteral("controls/Light-Pipe_Mask.png"));
        QCOMPARE(logo.size(), back.size());
        QCOMPARE(pipe.size(), back.size());
        int logo_pixels = 0;
        int pipe_pixels = 0;
        for (int y = 0; y < back.height(); ++y) {
            for (int x = 0; x < back.width(); ++x) {
                const bool in_logo = qAlpha(logo.pixel(x, y)) >= 200;
                const bool in_pipe = qAlpha(pipe.pixel(x, y)) >= 200;
                if (!in_logo && !in_pipe)
                    continue;
                QVERIFY2(qAlpha(back.pixel(x, y)) == 255,
                         qPrintable(QStringLiteral("mask off the mouse at %1,%2").arg(x).arg(y)));
                QVERIFY(!(in_logo && in_pipe));
                logo_pixels += in_logo ? 1 : 0;
                pipe_pixels += in_pipe ? 1 : 0;
            }
        }
        QVERIFY(logo_pixels > 200);
        QVERIFY(pipe_pixels > 200);
        QVERIFY(solid_box(logo, 200).bottom() < solid_box(pipe, 200).top() + 10);
    }

    // The calibration animation loops through 100 frames; each must differ
    // from the one before, including the jump from the last back to the first.
    void animation_frames_move() {
        const QString pattern =
            QStringLiteral("controls/Quil_SURF_animation/Quil-SURFLIFT_rotation_BLACK_%1.png");
        QImage previous = resource_image(pattern.arg(99, 5, 10, QLatin1Char('0')));
        QVERIFY(!previous.isNull());
        for (int frame = 0; frame < 100; ++frame) {
            const QImage current = resource_image(pattern.arg(frame, 5, 10, QLatin1Char('0')));
            QVERIFY2(!current.isNull(), qPrintable(QString::number(frame)));
            QCOMPARE(current.size(), previous.size());
            QVERIFY2(current != previous,
                     qPrintable(QStringLiteral("frame %1 repeats").arg(frame)));
            previous = current;
        }
    }
};

QTEST_MAIN(test_resources)
#include "test_resources.moc"
