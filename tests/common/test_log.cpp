#include "common/log.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>
#include <vector>

namespace {

constexpr qint64 limit = 2000000;

const QRegularExpression
    file_name_pattern(QStringLiteral("^\\d{4}_\\d{2}_\\d{2}_\\d{2}_\\d{2}_\\d{2}\\.txt$"));
const QRegularExpression stamp_pattern(QStringLiteral("^\\d{8}_\\d{2}:\\d{2}:\\d{2}:\\d{1,3}$"));

// A file of the given size without writing its bytes one by one.
void make_file(const QString& path, qint64 size) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QVERIFY(file.resize(size));
}

QStringList names_in(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct file_entry {
    QString name;
    qint64 size;
};

} // namespace

Q_DECLARE_METATYPE(QVector<file_entry>)

class test_log : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void opening_picks_first_file_below_limit_data() {
        QTest::addColumn<QVector<file_entry>>("files");
        QTest::addColumn<QString>("expected"); // empty when a new file is expected

        const QString older = QStringLiteral("2020_01_01_10_00_00.txt");
        const QString newer = QStringLiteral("2020_01_02_10_00_00.txt");
        // No files: the folder does not exist either, and init makes it.
        QTest::addRow("no folder") << QVector<file_entry>{} << QString();
        QTest::addRow("only full files")
            << QVector<file_entry>{{older, limit}, {newer, limit + 500}} << QString();
        QTest::addRow("older small, newer full")
            << QVector<file_entry>{{newer, limit}, {older, 10}} << older;
        QTest::addRow("older full, newer small")
            << QVector<file_entry>{{older, limit}, {newer, 10}} << newer;
        QTest::addRow("one byte below the limit")
            << QVector<file_entry>{{older, limit - 1}} << older;
        // Name order is plain text order: upper case sorts before lower case.
        QTest::addRow("case-sensitive order")
            << QVector<file_entry>{{QStringLiteral("a.txt"), 5}, {QStringLiteral("B.txt"), 5}}
            << QStringLiteral("B.txt");
    }

    void opening_picks_first_file_below_limit() {
        QFETCH(QVector<file_entry>, files);
        QFETCH(QString, expected);

        if (!files.isEmpty())
            QVERIFY(QDir().mkpath(folder()));
        for (const file_entry& file : files)
            make_file(folder() + file.name, file.size);

        CLog log;
        log.init(base(), QStringLiteral("Quil"));
        QVERIFY(log.is_open());
        QCOMPARE(log.folder(), folder());

        const QString current = QFileInfo(log.current_file()).fileName();
        if (expected.isEmpty()) {
            QVERIFY2(file_name_pattern.match(current).hasMatch(), qPrintable(current));
            QCOMPARE(names_in(folder()).size(), files.size() + 1);
        } else {
            QCOMPARE(current, expected);
            QCOMPARE(names_in(folder()).size(), files.size());
        }

        // Whatever was chosen, the next entry lands in it and leaves the others alone.
        log.write(QStringLiteral("probe"), false);
        QVERIFY(contents(folder() + current).endsWith("probe\n\n"));
        for (const file_entry& file : files) {
            if (file.name != current)
                QCOMPARE(QFileInfo(folder() + file.name).size(), file.size);
        }
    }

    void write_past_limit_finishes_entry_then_rolls_over() {
        const QString nearly_full = folder() + QStringLiteral("2020_01_01_10_00_00.txt");
        QVERIFY(QDir().mkpath(folder()));
        make_file(nearly_full, limit - 10);

        CLog log;
        log.init(base(), QStringLiteral("Quil"));
        QCOMPARE(log.current_file(), nearly_full);
        log.write(QStringLiteral("crosses the limit"), false);
        log.write(QStringLiteral("goes to the new file"), false);

        const QByteArray old_contents = contents(nearly_full);
        QVERIFY(old_contents.size() > limit);
        QVERIFY(old_contents.endsWith("\ncrosses the limit\n\n"));
        const QString next = QFileInfo(log.current_file()).fileName();
        QVERIFY2(file_name_pattern.match(next).hasMatch(), qPrintable(next));
        const QByteArray new_contents = contents(log.current_file());
        QVERIFY(new_contents.endsWith("\ngoes to the new file\n\n"));
        QVERIFY(!new_contents.contains("crosses the limit"));
    }

    void prune_keeps_newest_five_data() {
        QTest::addColumn<int>("count");
        for (int count : {5, 7})
            QTest::addRow("%d files", count) << count;
    }

    void prune_keeps_newest_five() {
        QFETCH(int, count);

        CLog log;
        log.init(base(), QStringLiteral("Quil"));
        // Start from exactly `count` files; created newest first so that directory order and
        // creation order both disagree with name order.
        for (const QString& name : names_in(folder()))
            QVERIFY(QFile::remove(folder() + name));
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << QStringLiteral("2021_03_0%1_08_00_00.txt").arg(i + 1);
        for (int i = count - 1; i >= 0; --i)
            make_file(folder() + names.at(i), 3);
        // Folders are not log files: never counted, never removed.
        QVERIFY(QDir().mkpath(folder() + QStringLiteral("0000_sub")));

        log.prune();

        QCOMPARE(names_in(folder()), names.mid(count - 5));
        QVERIFY(QFileInfo(folder() + QStringLiteral("0000_sub")).isDir());
    }

    void log_without_usable_folder_touches_nothing_data() {
        QTest::addColumn<bool>("pointed_below_a_file");
        QTest::addRow("never pointed") << false;
        // A folder below a regular file can be neither created nor written, even by root.
        QTest::addRow("folder below a file") << true;
    }

    void log_without_usable_folder_touches_nothing() {
        QFETCH(bool, pointed_below_a_file);

        // An unpointed log must not take the working directory for its folder.
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        for (int i = 0; i < 7; ++i)
            make_file(base() + QStringLiteral("file_%1.txt").arg(i), 1);
        const QString blocker = base() + QStringLiteral("blocker");
        make_file(blocker, 4);
        const QStringList before = names_in(base());

        CLog log;
        if (pointed_below_a_file) {
            log.init(blocker + QStringLiteral("/"), QStringLiteral("Quil"));
            log.create_file();
        }
        log.write(QStringLiteral("too early"), false);
        log.write(QStringLiteral("too early, echoed"), true);
        log.prune();
        QDir::setCurrent(previous);

        QVERIFY(!log.is_open());
        QCOMPARE(names_in(base()), before);
        QCOMPARE(QFileInfo(blocker).size(), 4);

        // Nothing of the dropped entries turns up once the log has a folder.
        log.init(base() + QStringLiteral("later/"), QStringLiteral("Quil"));
        QVERIFY(log.is_open());
        QVERIFY(!contents(log.current_file()).contains("too early"));
    }

    void stamp_has_milliseconds_without_leading_zeros_data() {
        QTest::addColumn<int>("msec");
        QTest::addColumn<QString>("expected");
        // Qt's own "z" would drop the trailing zeros instead: 260 ms would read "26".
        QTest::addRow("260 ms") << 260 << QStringLiteral("20261206_09:05:07:260");
        QTest::addRow("26 ms") << 26 << QStringLiteral("20261206_09:05:07:26");
        QTest::addRow("100 ms") << 100 << QStringLiteral("20261206_09:05:07:100");
        QTest::addRow("5 ms") << 5 << QStringLiteral("20261206_09:05:07:5");
        QTest::addRow("0 ms") << 0 << QStringLiteral("20261206_09:05:07:0");
        QTest::addRow("999 ms") << 999 << QStringLiteral("20261206_09:05:07:999");
    }

    void stamp_has_milliseconds_without_leading_zeros() {
        QFETCH(int, msec);
        QFETCH(QString, expected);
        QCOMPARE(CLog::stamp(QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7, msec))), expected);
    }

    void stress_keeps_entries_whole_across_rollovers() {
        // 10^5 entries of about 150 bytes from four threads: seven or eight roll-overs within
        // a few seconds, so several files are due within one second of each other.
        constexpr int threads = 4;
        constexpr int per_thread = 25000;
        const QString padding(100, QLatin1Char('x'));
        const QString second_line = QStringLiteral("\u00e9\u4e2d end");
        module_log().init(base(), QStringLiteral("Quil"));
        QVERIFY(module_log().is_open());

        std::atomic<int> running{threads};
        std::vector<std::unique_ptr<QThread>> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back(QThread::create([&, t] {
                for (int i = 0; i < per_thread; ++i)
                    write_log(
                        QStringLiteral("t %1 e %2 %3\n%4").arg(t).arg(i).arg(padding, second_line));
                --running;
            }));
            workers.back()->start();
        }
        // Watch the folder while they write: never more than five files at any moment.
        int most_files = 0;
        QElapsedTimer clock;
        clock.start();
        while (running.load() > 0 && clock.elapsed() < 240000) {
            most_files = qMax(most_files, int(names_in(folder()).size()));
            QThread::msleep(2);
        }
        for (auto& worker : workers)
            QVERIFY(worker->wait(30000));
        QVERIFY2(most_files <= 5, qPrintable(QString::number(most_files)));

        const QStringList files = names_in(folder());
        QCOMPARE(files.size(), 5);
        const QRegularExpression first_line(QStringLiteral("^t (\\d) e (\\d+) x{100}$"));
        std::vector<int> last(threads, -1);
        int kept = 0;
        for (int f = 0; f < files.size(); ++f) {
            const QByteArray bytes = contents(folder() + files.at(f));
            const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
            QCOMPARE(lines.size() % 4, 1); // whole entries, plus the split's empty tail
            qint64 last_entry_bytes = 0;
            for (int i = 0; i + 3 < lines.size(); i += 4) {
                QVERIFY2(stamp_pattern.match(lines.at(i)).hasMatch(), qPrintable(lines.at(i)));
                const QRegularExpressionMatch m = first_line.match(lines.at(i + 1));
                QVERIFY2(m.hasMatch(), qPrintable(lines.at(i + 1)));
                QCOMPARE(lines.at(i + 2), second_line);
                QCOMPARE(lines.at(i + 3), QString());
                // Each thread's entries follow each other without a gap: the pruned files are
                // the oldest, so what is kept is an unbroken tail of every thread's entries.
                const int t = m.captured(1).toInt();
                const int n = m.captured(2).toInt();
                QVERIFY2(last[t] < 0 || n == last[t] + 1,
                         qPrintable(
                             QStringLiteral("thread %1: %2 after %3").arg(t).arg(n).arg(last[t])));
                last[t] = n;
                ++kept;
                last_entry_bytes =
                    (lines.at(i) + lines.at(i + 1) + lines.at(i + 2)).toUtf8().size() + 4;
            }
            // Every file but the newest rolled over with the entry that took it past the limit.
            if (f + 1 < files.size()) {
                QVERIFY2(bytes.size() > limit, qPrintable(files.at(f)));
                QVERIFY2(bytes.size() - last_entry_bytes <= limit, qPrintable(files.at(f)));
            }
        }
        for (int t = 0; t < threads; ++t)
            QCOMPARE(last[t], per_thread - 1);
        QVERIFY(kept < threads * per_thread); // the oldest files were pruned on the way
    }

    void module_log_keeps_concurrent_entries_whole() {
        // The module-wide log lives until process exit, after this test's application object:
        // its destruction then is part of what this suite checks (warnings are fatal here).
        module_log().init(base(), QStringLiteral("Quil"));
        QVERIFY(module_log().is_open());

        // Two-line, non-Latin entries, half of them echoed: each must stay a time-stamp line,
        // its own two lines and an empty line, in UTF-8, whatever the other threads do.
        constexpr int threads = 4;
        constexpr int entries = 50;
        const QString entry = QStringLiteral("thread %1 entry %2\n\u00e9\u4e2d %1/%2");
        std::vector<std::unique_ptr<QThread>> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back(QThread::create([t, entry] {
                for (int i = 0; i < entries; ++i)
                    write_log(entry.arg(t).arg(i), t % 2 == 1);
            }));
            workers.back()->start();
        }
        for (auto& worker : workers)
            QVERIFY(worker->wait(30000));

        const QStringList lines =
            QString::fromUtf8(contents(module_log().current_file())).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), threads * entries * 4 + 1); // plus the split's empty tail
        QSet<QString> seen;
        for (int i = 0; i + 3 < lines.size(); i += 4) {
            QVERIFY2(stamp_pattern.match(lines.at(i)).hasMatch(), qPrintable(lines.at(i)));
            const QStringList ids = lines.at(i + 1).split(QLatin1Char(' '));
            QCOMPARE(ids.size(), 4);
            QCOMPARE(lines.at(i + 1) + QLatin1Char('\n') + lines.at(i + 2),
                     entry.arg(ids[1], ids[3]));
            QCOMPARE(lines.at(i + 3), QString());
            seen.insert(lines.at(i + 1));
        }
        QCOMPARE(seen.size(), threads * entries);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString base() const { return m_dir->path() + QStringLiteral("/"); }
    QString folder() const { return base() + QStringLiteral("log/Quil/"); }
};

QTEST_GUILESS_MAIN(test_log)
#include "test_log.moc"
