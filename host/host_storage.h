// Where the stand-in host keeps its own files, and the small helpers every
// reader and writer of those files shares.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QDataStream;

namespace host_storage {

// The stream version of every file and segment the host writes (Qt 5.4 format).
inline constexpr int stream_version = 16;

// The host's own data folder (AppLocalDataLocation of the program), without a
// trailing slash. Tests switch QStandardPaths to its test mode first.
QString data_folder();
// Where the module writes its log: the maker's folder beside the host's data
// folder, the host's catalogue name, then "log/Quil".
QString module_log_folder();

// Writes `bytes` to `path` atomically: either the whole new content is in place
// afterwards or the old file is untouched. Creates the folder when missing.
// False (and a log line) on any failure.
bool save_file(const QString& path, const QByteArray& bytes);

// Reads a whole file of at most `max_bytes`. An absent file gives `ok` true and
// empty bytes; an unreadable or oversized one gives `ok` false and a log line.
QByteArray load_file(const QString& path, qint64 max_bytes, bool* ok);

// How many damaged copies of one file are kept, the newest first.
inline constexpr int kept_aside = 5;
// Moves a damaged file aside, so that the next save does not destroy what a
// person may still want back. It goes to path + ".damaged"; copies kept before
// move one number on (".damaged.1" ... ".damaged.4"), and only the oldest
// beyond those is removed. Returns where it went; empty when it could not be moved.
QString keep_aside(const QString& path);
// Where keep_aside keeps the n-th newest damaged copy of `path` (0 the newest).
QString aside_name(const QString& path, int n);

// Reads a QString in QDataStream form, refusing (stream status ReadCorruptData)
// a null-less length that is odd, longer than `max_chars` or longer than the
// bytes that are left, before anything is allocated for it.
bool read_text(QDataStream& in, int max_chars, QString* text);

// Reads a QByteArray in QDataStream form the same way: a length beyond
// `max_bytes` or beyond what is left is refused before allocation.
bool read_bytes(QDataStream& in, int max_bytes, QByteArray* bytes);

// The stream's remaining bytes, when its device can tell them.
qint64 bytes_left(const QDataStream& in);

// A host file of entries: magic (64-bit), version and count, then the entries.
// The head of such a file.
QDataStream& write_head(QDataStream& out, quint64 magic, qint32 version, qint32 count);
// Reads one: the head must match, the count is bounded by `max_count` and by
// `smallest_entry` bytes each before anything is read, `read_entry` reads entry
// i (false with the reason), and nothing may follow the last entry. False with
// `error` naming what failed and where.
bool read_entries(const QByteArray& bytes, quint64 magic, qint32 version, int max_count,
                  qint64 smallest_entry,
                  const std::function<bool(QDataStream& in, int i, QString* why)>& read_entry,
                  QString* error);

enum class load_t { absent, loaded, damaged };
// Loads a host file through `parse`, which keeps what it reads only when it
// accepts it. An empty path or an absent file is not parsed; an unreadable or
// refused one is logged as `what` and kept aside, so that the next save does
// not destroy what a person may still want back.
load_t load_checked(const QString& path, qint64 max_bytes, const QString& what,
                    const std::function<bool(const QByteArray& bytes, QString* error)>& parse);

} // namespace host_storage
