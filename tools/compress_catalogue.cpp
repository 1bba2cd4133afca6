// Build-time tool: compresses the host's readable catalogue into the form the
// installation ships (qCompress: 4-byte big-endian length, then a zlib stream).
//   compress_catalogue <source.xml> <settings.xml>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <QXmlStreamReader>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "usage: compress_catalogue <source.xml> <settings.xml>\n";
        return 2;
    }

    QFile source(args.at(1));
    if (!source.open(QIODevice::ReadOnly)) {
        err << args.at(1) << ": " << source.errorString() << '\n';
        return 1;
    }
    const QByteArray xml = source.readAll();

    // The module stops reading at the first XML error, so a broken source would
    // silently lose products: refuse it here, at build time.
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError()) {
        err << args.at(1) << ':' << reader.lineNumber() << ':' << reader.columnNumber() << ": "
            << reader.errorString() << '\n';
        return 1;
    }

    QSaveFile target(args.at(2));
    if (!target.open(QIODevice::WriteOnly) || target.write(qCompress(xml, 9)) < 0 ||
        !target.commit()) {
        err << args.at(2) << ": " << target.errorString() << '\n';
        return 1;
    }
    return 0;
}
