// Paints every image of the graphics manifest into a build folder. Files whose
// bytes did not change are left alone, so the resource compiler only reruns
// for pictures that really changed.
#include "manifest.h"
#include "recipes.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

void complain(const QString& text) {
    std::fprintf(stderr, "paint_graphics: %s\n", qUtf8Printable(text));
}

bool write_if_changed(const QString& file_name, const QByteArray& bytes, bool* written) {
    *written = false;
    QFile existing(file_name);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    existing.close();
    if (!QDir().mkpath(QFileInfo(file_name).absolutePath()))
        return false;
    QSaveFile file(file_name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    *written = true;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Paints the module's graphics from their manifest."));
    parser.addHelpOption();
    const QCommandLineOption manifest_option(QStringLiteral("manifest"),
                                             QStringLiteral("The manifest to read."),
                                             QStringLiteral("file"));
    const QCommandLineOption output_option(QStringLiteral("output"),
                                           QStringLiteral("Folder the images go to."),
                                           QStringLiteral("folder"));
    const QCommandLineOption stamp_option(QStringLiteral("stamp"),
                                          QStringLiteral("File touched after success."),
                                          QStringLiteral("file"));
    parser.addOptions({manifest_option, output_option, stamp_option});
    parser.process(app);
    if (!parser.isSet(manifest_option) || !parser.isSet(output_option)) {
        complain(QStringLiteral("--manifest and --output are required"));
        return 2;
    }

    const QString manifest_file = parser.value(manifest_option);
    const manifest_result manifest = read_manifest(manifest_file);
    for (const QString& error : manifest.errors)
        complain(QStringLiteral("%1: %2").arg(manifest_file, error));
    if (!manifest.ok())
        return 1;

    const QDir output(parser.value(output_option));
    int failures = 0;
    int written_count = 0;
    for (const graphic_entry& entry : manifest.entries) {
        const painted_graphic painted = paint_graphic(entry);
        for (const QString& error : painted.errors)
            complain(QStringLiteral("%1: line %2: %3: %4")
                         .arg(manifest_file)
                         .arg(entry.line)
                         .arg(entry.path, error));
        if (painted.image.isNull()) {
            ++failures;
            continue;
        }
        const QByteArray bytes = encode_graphic(painted.image, entry.path);
        bool written = false;
        if (bytes.isEmpty() || !write_if_changed(output.filePath(entry.path), bytes, &written)) {
            complain(QStringLiteral("cannot write %1").arg(output.filePath(entry.path)));
            ++failures;
            continue;
        }
        written_count += written ? 1 : 0;
    }
    if (failures > 0) {
        complain(
            QStringLiteral("%1 of %2 images failed").arg(failures).arg(manifest.entries.size()));
        return 1;
    }

    if (parser.isSet(stamp_option)) {
        QFile stamp(parser.value(stamp_option));
        if (!stamp.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            complain(QStringLiteral("cannot write %1").arg(stamp.fileName()));
            return 1;
        }
        stamp.write(QByteArray::number(manifest.entries.size()) + " images\n");
    }
    std::printf("paint_graphics: %d images, %d changed\n", int(manifest.entries.size()),
                written_count);
    return 0;
}
