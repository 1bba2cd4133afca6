// The module's pictures: the manifest that lists them, the painter that makes
// them and the compiled-in resource tree that serves them.
#include "tools/paint_graphics/manifest.h"
#include "tools/paint_graphics/recipes.h"

#include <QDirIterator>
#include <QImage>
#include <QSet>
#include <QtTest>

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

QString two_digits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

class test_resources : public QObject {
    Q_OBJECT

private slots:
    // Every listed picture has a recipe and is served; nothing else is served.
    void shipped_manifest_is_clean_and_matches_the_resource_tree() {
        const manifest_result& manifest = shipped_manifest();
        QVERIFY2(manifest.ok(), qPrintable(manifest.errors.join(QLatin1Char('\n'))));
        QVERIFY(manifest.entries.size() > 300);
        QSet<QString> listed;
        for (const graphic_entry& entry : manifest.entries) {
            QVERIFY2(recipes().contains(entry.recipe), qPrintable(entry.path));
            listed.insert(entry.path);
        }
        QSet<QString> served;
        QDirIterator it(QStringLiteral(":/graphics"), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            served.insert(it.next().mid(QStringLiteral(":/graphics/").size()));
        QCOMPARE(served - listed, QSet<QString>());
        QCOMPARE(listed - served, QSet<QString>());
    }

    void manifest_rejects_bad_lines_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("kept");
        auto row = [](const char* tag, const QByteArray& text, const char* error, int kept = 0) {
            QTest::newRow(tag) << text << QString::fromLatin1(error) << kept;
        };
        row("missing size", "a.png tab\n", "line 1: expected");
        row("size not WxH", "a.png 10-10 tab\n", "line 1: size");
        row("zero width", "a.png 0x10 tab\n", "line 1: size 0x10");
        row("oversized", "a.png 5000x10 tab\n", "line 1: size 5000x10");
        row("leaves the folder", "x/../../a.png 10x10 tab\n", "line 1: path has");
        row("absolute path", "/a.png 10x10 tab\n", "line 1: path must");
        row("not an image", "a.txt 10x10 tab\n", "line 1: path must end");
        row("character the .qrc cannot hold", "a&b.png 10x10 tab\n", "line 1: path may only");
        row("recipe not a name", "a.png 10x10 Tab!\n", "line 1: recipe");
        row("argument without value", "a.png 10x10 tab state\n", "line 1: argument 'state'");
        row("argument twice", "a.png 10x10 tab state=a state=b\n",
            "line 1: argument 'state' given");
        row("duplicate keeps the first", "a.png 10x10 tab\nb.png 10x10 tab\na.png 12x12 tab\n",
            "line 3: duplicate path a.png", 2);
        row("counts comments and blanks", "# heading\n\nok.png 4x4 tab\n   \nbroken\n",
            "line 5:", 1);
        row("NUL and invalid UTF-8", QByteArray("\x00\xff\xfe png\n", 8), "line 1: expected");
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
        for (const char* prefix : {":/graphics/", "://graphics/"}) {
            const QImage image(QLatin1String(prefix) + path);
            QVERIFY2(!image.isNull(), prefix);
            QCOMPARE(image.size(), size);
        }
    }

    void bad_recipe_arguments_are_refused_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("error");
        auto row = [](const char* tag, const char* recipe_and_arguments, const char* error) {
            QTest::newRow(tag) << QString::fromLatin1(recipe_and_arguments)
                               << QString::fromLatin1(error);
        };
        row("unknown recipe", "no_such_recipe", "unknown recipe");
        row("unknown state", "tab state=pressed", "state=pressed is not one of");
        row("missing argument", "tab", "state=(missing)");
        row("unused argument", "tab state=down colour=red", "argument colour is not used");
        row("number out of range", "side_cap kind=single look=normal index=13",
            "index=13 is not a number in 1..12");
        row("number not a number", "sensor_frame frames=100 frame=x", "frame=x is not a number");
    }
    void bad_recipe_arguments_are_refused() {
        QFETCH(QString, line);
        QFETCH(QString, error);
        const manifest_result parsed = parse_manifest(("a.png 16x16 " + line).toUtf8());
        QVERIFY(parsed.ok());
        const painted_graphic painted = paint_graphic(parsed.entries.first());
        QVERIFY(painted.image.isNull());
        const QString errors = painted.errors.join(QLatin1Char('\n'));
        QVERIFY2(errors.contains(error), qPrintable(errors));
    }

    void painting_is_repeatable_data() {
        QTest::addColumn<int>("index");
        QSet<QString> recipes_seen;
        const manifest_result& manifest = shipped_manifest();
        for (int i = 0; i < manifest.entries.size(); ++i) {
            const graphic_entry& entry = manifest.entries.at(i);
            if (!recipes_seen.contains(entry.recipe))
                QTest::newRow(qPrintable(entry.path)) << i;
            recipes_seen.insert(entry.recipe);
        }
    }
    // Same bytes on every run, and the same picture as the one compiled in, so
    // a stale resource tree shows up here.
    void painting_is_repeatable() {
        QFETCH(int, index);
        const graphic_entry& entry = shipped_manifest().entries.at(index);
        const painted_graphic first = paint_graphic(entry);
        QVERIFY(first.errors.isEmpty());
        const QByteArray bytes = encode_graphic(first.image, entry.path);
        QVERIFY(!bytes.isEmpty());
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
                                     two_digits(i + 1) + ".png";
                QTest::newRow(qPrintable(path))
                    << path << (slot_rects[span * i] | slot_rects[span * i + span - 1]);
            }
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
