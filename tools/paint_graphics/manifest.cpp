#include "manifest.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace {

// Images are painted into a build folder and served under ":/graphics/", so a
// path must stay inside that folder and carry an image suffix. The path also
// goes verbatim into the generated .qrc, hence the plain character set.
QString path_problem(const QString& path) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./-]+$"));
    if (path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('\\')))
        return QStringLiteral("path must be relative with '/' separators");
    if (!plain.match(path).hasMatch())
        return QStringLiteral("path may only hold letters, digits and _ . - /");
    const QStringList parts = path.split(QLatin1Char('/'));
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return QStringLiteral("path has an empty, '.' or '..' component");
    }
    if (!path.endsWith(QLatin1String(".png")) && !path.endsWith(QLatin1String(".jpg")))
        return QStringLiteral("path must end in .png or .jpg");
    return {};
}

} // namespace

manifest_result parse_manifest(const QByteArray& text) {
    // Upper bound keeps a corrupt size from asking for gigabytes of pixels.
    constexpr int max_side = 4096;
    static const QRegularExpression size_pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    static const QRegularExpression name_pattern(QStringLiteral("^[a-z][a-z0-9_]*$"));

    manifest_result result;
    QSet<QString> seen;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const int line_number = i + 1;
        // Explicit length: a stray NUL must not cut the line short unnoticed.
        const QByteArray& raw = lines.at(i);
        const QString line = QString::fromUtf8(raw.constData(), raw.size()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        auto fail = [&](const QString& why) {
            result.errors << QStringLiteral("line %1: %2").arg(line_number).arg(why);
        };

        const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")));
        if (fields.size() < 3) {
            fail(QStringLiteral("expected <path> <width>x<height> <recipe> [key=value ...]"));
            continue;
        }
        graphic_entry entry;
        entry.line = line_number;
        entry.path = fields.at(0);
        if (const QString problem = path_problem(entry.path); !problem.isEmpty()) {
            fail(problem);
            continue;
        }
        const QRegularExpressionMatch size = size_pattern.match(fields.at(1));
        if (!size.hasMatch()) {
            fail(QStringLiteral("size '%1' is not <width>x<height>").arg(fields.at(1)));
            continue;
        }
        entry.size = QSize(size.captured(1).toInt(), size.captured(2).toInt());
        if (entry.size.width() < 1 || entry.size.height() < 1 || entry.size.width() > max_side ||
            entry.size.height() > max_side) {
            fail(QStringLiteral("size %1 is outside 1..%2").arg(fields.at(1)).arg(max_side));
            continue;
        }
        entry.recipe = fields.at(2);
        if (!name_pattern.match(entry.recipe).hasMatch()) {
            fail(QStringLiteral("recipe name '%1' is not an identifier").arg(entry.recipe));
            continue;
        }
        bool args_ok = true;
        for (int f = 3; f < fields.size(); ++f) {
            const QString& field = fields.at(f);
            const int equals = field.indexOf(QLatin1Char('='));
            const QString key = field.left(equals);
            if (equals <= 0 || !name_pattern.match(key).hasMatch()) {
                fail(QStringLiteral("argument '%1' is not key=value").arg(field));
                args_ok = false;
                break;
            }
            if (entry.args.contains(key)) {
                fail(QStringLiteral("argument '%1' given twice").arg(key));
                args_ok = false;
                break;
            }
            entry.args.insert(key, field.mid(equals + 1));
        }
        if (!args_ok)
            continue;
        if (seen.contains(entry.path)) {
            fail(QStringLiteral("duplicate path %1").arg(entry.path));
            continue;
        }
        seen.insert(entry.path);
        result.entries.append(entry);
    }
    return result;
}

manifest_result read_manifest(const QString& file_name) {
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly)) {
        manifest_result result;
        result.errors << QStringLiteral("cannot read %1: %2").arg(file_name, file.errorString());
        return result;
    }
    return parse_manifest(file.readAll());
}
