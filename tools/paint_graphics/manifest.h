// The graphics manifest: one line per image of the resource tree, naming its
// path under graphics/, its size and the recipe that paints it.
#pragma once

#include <QMap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

struct graphic_entry {
    QString path;   // relative to graphics/, e.g. "page_tab/tab_normal.png"
    QSize size;     // exact size of the painted image
    QString recipe; // name of the painting routine
    QMap<QString, QString> args;
    int line = 0; // 1-based line in the manifest, for messages
};

struct manifest_result {
    QVector<graphic_entry> entries;
    QStringList errors; // "line N: ..." for every line that could not be taken
    bool ok() const { return errors.isEmpty(); }
};

// Parses manifest text. Blank lines and lines starting with '#' are skipped.
// Malformed lines, duplicate paths and paths that leave the graphics folder are
// reported and left out; the rest is kept.
manifest_result parse_manifest(const QByteArray& text);

// Reads and parses a manifest file; a missing file is one error.
manifest_result read_manifest(const QString& file_name);
