#include "common/log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

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
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    return names;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

struct file_spec {
    QString name;
    qint64 size;
};

} // namespace

Q_DECLARE_METATYPE(QVector<file_spec>)

class test_log : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opening_picks_first_file_below_limit_data();
    void opening_picks_first_file_below_limit();
    void init_creates_missing_folders();
    void entry_is_stamp_message_and_empty_line_data();
    void entry_is_stamp_message_and_empty_line();
    void write_past_limit_finishes_entry_then_rolls_over();
    void prune_keeps_newest_five_data();
    void prune_keeps_newest_five();
    void prune_before_init_touches_nothing();
    void writes_before_init_are_dropped();
    void unwritable_folder_is_silent();
    void module_log_keeps_concurrent_entries_whole();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString base() const { return m_dir->path() + QStringLiteral("/"); }
    QString folder() const { return base() + QStringLiteral("log/Quil/"); }
};

void test_log::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void test_log::cleanup() {
    m_dir.reset();
}

void test_log::opening_picks_first_file_below_limit_data() {
    QTest::addColumn<QVector<file_spec>>("files");
    // Empty when a new file is expected.
    QTest::addColumn<QString>("expected");

    const QString older = QStringLiteral("2020_01_01_10_00_00.txt");
    const QString newer = QStringLiteral("2020_01_02_10_00_00.txt");

    QTest::addRow("empty folder") << QVector<file_spec>{} << QString();
    QTest::addRow("only full files")
        << QVector<file_spec>{{older, limit}, {newer, limit + 500}} << QString();
    QTest::addRow("older small, newer full")
        << QVector<file_spec>{{newer, limit}, {older, 10}} << older;
    QTest::addRow("older full, newer small")
        << QVector<file_spec>{{older, limit}, {newer, 10}} << newer;
    QTest::addRow("one byte below the limit") << QVector<file_spec>{{older, limit - 1}} << older;
    QTest::addRow("two small files take the older")
        << QVector<file_spec>{{newer, 0}, {older, 0}} << older;
    // Name order is plain text order: upper case sorts before lower case.
    QTest::addRow("case-sensitive order")
        << QVector<file_spec>{{QStringLiteral("a.txt"), 5}, {QStringLiteral("B.txt"), 5}}
        << QStringLiteral("B.txt");
}

void test_log::opening_picks_first_file_below_limit() {
    QFETCH(QVector<file_spec>, files);
    QFETCH(QString, expected);

    QVERIFY(QDir().mkpath(folder()));
    for (const file_spec& file : files)
        make_file(folder() + file.name, file.size);

    CLog log;
    log.init(base(), QStringLiteral("Quil"));
    QVERIFY(log.is_open());
    QCOMPARE(log.folder(), folder());

    const QString current = QFileInfo(log.current_file()).fileName();
    if (expected.isEmpty()) {
        QVERIFY2(file_name_pattern.match(current).hasMatch(), qPrintable(current));
        QCOMPARE(names_in(folder()).size(), files.size() + 1);
        QVERIFY(names_in(folder()).contains(current));
    } else {
        QCOMPARE(current, expected);
        QCOMPARE(names_in(folder()).size(), files.size());
    }

    // Whatever was chosen, the next entry lands in it and leaves the others alone.
    log.write(QStringLiteral("probe"), false);
    QVERIFY(contents(folder() + current).endsWith("probe\n\n"));
    for (const file_spec& file : files) {
        if (file.name != current)
            QCOMPARE(QFileInfo(folder() + file.name).size(), file.size);
    }
}

void test_log::init_creates_missing_folders() {
    const QString deep = base() + QStringLiteral("a/b/");
    CLog log;
    log.init(deep, QStringLiteral("Quil"));
    QCOMPARE(log.folder(), deep + QStringLiteral("log/Quil/"));
    QVERIFY(QFileInfo(log.folder()).isDir());
    QVERIFY(log.is_open());
    QCOMPARE(names_in(log.folder()).size(), 1);
}

void test_log::entry_is_stamp_message_and_empty_line_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("echo");

    QTest::addRow("one line") << QStringLiteral("file copied") << false;
    QTest::addRow("echoed") << QStringLiteral("shared memory attached") << true;
    QTest::addRow("several lines") << QStringLiteral("first\nsecond\nthird") << false;
    QTest::addRow("empty message") << QString() << false;
    QTest::addRow("non-Latin text") << QStringLiteral("Profil \u00e9\u4e2d") << false;
}

void test_log::entry_is_stamp_message_and_empty_line() {
    QFETCH(QString, message);
    QFETCH(bool, echo);

    CLog log;
    log.init(base(), QStringLiteral("Quil"));
    log.write(QStringLiteral("earlier"), false);
    const qint64 before = QFileInfo(log.current_file()).size();
    log.write(message, echo);

    const QByteArray all = contents(log.current_file());
    const QString entry = QString::fromUtf8(all.mid(before));
    const QStringList lines = entry.split(QLatin1Char('\n'));
    const QStringList message_lines = message.split(QLatin1Char('\n'));

    // stamp, the message's lines, the empty line, and the split's empty tail
    QCOMPARE(lines.size(), message_lines.size() + 3);
    QVERIFY2(stamp_pattern.match(lines.first()).hasMatch(), qPrintable(lines.first()));
    QCOMPARE(lines.mid(1, message_lines.size()), message_lines);
    QCOMPARE(lines.at(lines.size() - 2), QString());
    QCOMPARE(lines.last(), QString());
}

void test_log::write_past_limit_finishes_entry_then_rolls_over() {
    const QString nearly_full = QStringLiteral("2020_01_01_10_00_00.txt");
    QVERIFY(QDir().mkpath(folder()));
    make_file(folder() + nearly_full, limit - 10);

    CLog log;
    log.init(base(), QStringLiteral("Quil"));
    QCOMPARE(QFileInfo(log.current_file()).fileName(), nearly_full);

    log.write(QStringLiteral("crosses the limit"), false);
    const QByteArray old_contents = contents(folder() + nearly_full);
    QVERIFY(old_contents.size() > limit);
    QVERIFY(old_contents.endsWith("\ncrosses the limit\n\n"));

    const QString next = QFileInfo(log.current_file()).fileName();
    QVERIFY(next != nearly_full);
    QVERIFY2(file_name_pattern.match(next).hasMatch(), qPrintable(next));

    log.write(QStringLiteral("goes to the new file"), false);
    QCOMPARE(contents(folder() + nearly_full), old_contents);
    const QByteArray new_contents = contents(folder() + next);
    QVERIFY(new_contents.endsWith("\ngoes to the new file\n\n"));
    QVERIFY(!new_contents.contains("crosses the limit"));
}

void test_log::prune_keeps_newest_five_data() {
    QTest::addColumn<int>("count");
    for (int count : {0, 1, 5, 6, 7, 9})
        QTest::addRow("%d files", count) << count;
}

void test_log::prune_keeps_newest_five() {
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

    const QStringList kept = names_in(folder());
    QCOMPARE(kept, names.mid(qMax(0, count - 5)));
    QVERIFY(QFileInfo(folder() + QStringLiteral("0000_sub")).isDir());
}

void test_log::prune_before_init_touches_nothing() {
    // An unpointed log must not take the working directory for its folder.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    for (int i = 0; i < 7; ++i)
        make_file(m_dir->path() + QStringLiteral("/file_%1.txt").arg(i), 1);

    CLog log;
    log.prune();
    QDir::setCurrent(previous);

    QCOMPARE(names_in(m_dir->path()).size(), 7);
}

void test_log::writes_before_init_are_dropped() {
    CLog log;
    QVERIFY(!log.is_open());
    log.write(QStringLiteral("too early"), false);
    log.write(QStringLiteral("too early, echoed"), true);
    QVERIFY(!log.is_open());
    QVERIFY(log.folder().isEmpty());

    // Nothing of the dropped entries turns up once the log has a folder.
    log.init(base(), QStringLiteral("Quil"));
    QVERIFY(!contents(log.current_file()).contains("too early"));
}

void test_log::unwritable_folder_is_silent() {
    // A folder below a regular file can be neither created nor written, even by root.
    const QString blocker = m_dir->path() + QStringLiteral("/blocker");
    make_file(blocker, 4);

    CLog log;
    log.init(blocker + QStringLiteral("/"), QStringLiteral("Quil"));
    QVERIFY(!log.is_open());
    log.write(QStringLiteral("nowhere to go"), true);
    log.create_file();
    log.prune();
    QVERIFY(!log.is_open());

    QVERIFY(QFileInfo(blocker).isFile());
    QCOMPARE(QFileInfo(blocker).size(), 4);
    QCOMPARE(names_in(m_dir->path()), QStringList{QStringLiteral("blocker")});
}

void test_log::module_log_keeps_concurrent_entries_whole() {
    // The module-wide log lives until process exit, after this test's application object:
    // its destruction then is part of what this suite checks (warnings are fatal here).
    module_log().init(base(), QStringLiteral("Quil"));
    QVERIFY(module_log().is_open());

    constexpr int threads = 4;
    constexpr int entries = 50;
    std::vector<std::unique_ptr<QThread>> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back(QThread::create([t] {
            for (int i = 0; i < entries; ++i)
                write_log(QStringLiteral("thread %1 entry %2\nsecond line %1/%2").arg(t).arg(i));
        }));
        workers.back()->start();
    }
    for (auto& worker : workers)
        QVERIFY(worker->wait(30000));

    const QStringList lines =
        QString::fromUtf8(contents(module_log().current_file())).split(QLatin1Char('\n'));
    // 4 lines an entry, plus the split's empty tail.
    QCOMPARE(lines.size(), threads * entries * 4 + 1);
    QSet<QString> seen;
    for (int i = 0; i + 3 < lines.size(); i += 4) {
        QVERIFY2(stamp_pattern.match(lines.at(i)).hasMatch(), qPrintable(lines.at(i)));
        const QRegularExpressionMatch first =
            QRegularExpression(QStringLiteral("^thread (\\d) entry (\\d+)$"))
                .match(lines.at(i + 1));
        QVERIFY2(first.hasMatch(), qPrintable(lines.at(i + 1)));
        QCOMPARE(lines.at(i + 2),
                 QStringLiteral("second line %1/%2").arg(first.captured(1), first.captured(2)));
        QCOMPARE(lines.at(i + 3), QString());
        seen.insert(lines.at(i + 1));
    }
    QCOMPARE(seen.size(), threads * entries);
}

QTEST_GUILESS_MAIN(test_log)
#include "test_log.moc"
