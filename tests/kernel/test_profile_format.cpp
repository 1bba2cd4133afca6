// The byte formats of the profile data: the profile-set blob, the profile blob
// and the favourites value, checked against bytes forged by hand, and every
// reader fed with damaged data.
#include "common/log.h"
#include "fake_host.h"
#include "kernel/profile_stream.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_profile.h"
#include "kernel_test_support.h"
#include "module/global_func.h"
#include "module/module.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

using byte_map = QMap<int, QByteArray>;
using text_map = QMap<int, QString>;

// Everything a profile-set blob carries, as test-made byte images.
struct set_model {
    QVector<QByteArray> names, paths, extras, aux, assign, settings, saved, layouts;
    QByteArray device = QByteArray(87, 0);
    QVector<byte_map> params, data;
    QVector<text_map> texts;
    QVector<QPixmap> pictures;
    QVector<QVector<QByteArray>> macros;
};

QByteArray name_image(const QString& name, int volume) {
    QByteArray r = rec(112);
    put_utf16le(r, 0, name);
    r[104] = char(volume);
    return r;
}

QByteArray macro_image(int slot, int button, int tag) {
    QByteArray r = rec(2002, {0x0E, 0xD2, 0x07, slot, button});
    r[46] = char('A' + button % 26);
    r[2001] = char(tag);
    return r;
}

QByteArray layout_image(int slot, const QByteArray& name, int fitted, int doubles) {
    QByteArray r = rec(30, {10, 30, slot});
    r.replace(3, name.size(), name);
    r[27] = char(fitted & 0xFF);
    r[28] = char(fitted >> 8);
    r[29] = char(doubles);
    return r;
}

QPixmap solid(int w, int h, Qt::GlobalColor c) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(c);
    return QPixmap::fromImage(image);
}

// What a new profile set holds.
set_model fresh_model() {
    set_model m;
    const char head[] = {5, 4, 0, 1, 1, 15, 6, 0, 0, 0, 0, 22, 16};
    m.device.replace(0, 13, QByteArray(head, 13));
    m.device.replace(35, 4, QByteArray(4, char(0xFF)));
    for (int s = 0; s < 5; ++s) {
        m.names.append(name_image(QStringLiteral("Default%1").arg(s + 1), 0));
        m.paths.append(rec(2560));
        m.extras.append(rec(2));
        m.aux.append(rec(4, {s}));
        m.assign.append(rec(123, {7, 123, s}));
        m.settings.append(rec(33, {6, 33, s}));
        m.saved.append(rec(30));
        m.layouts.append(rec(30, {10, 30, s}));
        m.params.append(byte_map());
        m.data.append(byte_map());
        m.texts.append(text_map());
        m.pictures.append(QPixmap());
        QVector<QByteArray> macros;
        for (int k = 0; k < 40; ++k)
            macros.append(rec(2002, {0x0E, 0xD2, 0x07, s}));
        m.macros.append(macros);
    }
    return m;
}

// A set in which every element differs from the defaults; `seed` varies the bytes.
set_model busy_model(int seed) {
    set_model m = fresh_model();
    for (int i = 0; i < 87; ++i)
        m.device[i] = char(seed * 7 + i * 3 + 1);
    m.device[3] = 3; // slots in use
    m.device[2] = 1; // current slot
    m.device[4] = 1; // travels as a bool
    for (int s = 0; s < 5; ++s) {
        m.names[s] = name_image(QStringLiteral("Name %1-%2").arg(seed).arg(s), 40 + s);
        m.names[s][100] = char(seed);
        m.names[s][106] = char(s + 1);
        put_utf16le(m.paths[s], 512 * s, QStringLiteral("C:/p%1").arg(seed));
        m.extras[s] = QByteArray("\x1F\x80", 2);
        m.extras[s][1] = char(seed + s);
        m.aux[s] = rec(4, {s, 9, 10 + seed, 11});
        for (int k = 0; k < 40; ++k) {
            m.assign[s][3 + 3 * k] = char(k == 5 ? 48 : k + seed);
            m.assign[s][4 + 3 * k] = char(s);
        }
        for (int i = 3; i < 33; ++i)
            m.settings[s][i] = char(i + s + seed);
        m.layouts[s] = layout_image(s, "Lay" + QByteArray::number(s), 0x0F0F >> s, s);
        for (int k = 0; k < 40; ++k)
            m.macros[s][k] = macro_image(s, k, seed + s);
    }
    m.params[1] =
        byte_map{{3, QByteArray(11, 3)}, {17, QByteArray(11, 17)}, {9, QByteArray(11, 9)}};
    m.params[4] = byte_map{{-2, QByteArray(11, char(0xFE))}};
    m.texts[2] = text_map{{5, QStringLiteral("C:/Program Files/app.exe")},
                          {30, QStringLiteral("https://example.invalid/\u00e9")},
                          {-7, QString("")},
                          {7, QString()}};
    m.data[4] = byte_map{{39, QByteArray(75, 0x39)}, {0, QByteArray(75, 1)}};
    m.pictures[3] = solid(4, 3, Qt::red);
    m.saved.append(layout_image(0, "Preset " + QByteArray::number(seed), 0x0FFF, 0));
    return m;
}

void forge_byte_map(forge& f, const byte_map& map) {
    f.be32(quint32(map.size()));
    QList<int> keys = map.keys();
    std::sort(keys.begin(), keys.end(), std::greater<int>());
    for (int k : keys)
        f.be32(quint32(k)).field(map.value(k));
}

void forge_text_map(forge& f, const text_map& map) {
    f.be32(quint32(map.size()));
    QList<int> keys = map.keys();
    std::sort(keys.begin(), keys.end(), std::greater<int>());
    for (int k : keys) {
        f.be32(quint32(k));
        if (map.value(k).isNull())
            f.be32(0xFFFFFFFF);
        else
            f.text(map.value(k));
    }
}

void forge_list(forge& f, const QVector<QByteArray>& records) {
    f.be32(quint32(records.size()));
    for (const QByteArray& r : records)
        f.field(r);
}

void forge_picture(forge& f, const QPixmap& p) {
    if (p.isNull())
        f.null_picture();
    else
        f.picture(p);
}

// The profile-set blob, with a mark before each of the 18 elements and one at the end.
forge forge_set(const set_model& m) {
    forge f;
    f.mark();
    forge_list(f, m.names);
    f.mark();
    forge_list(f, m.paths);
    f.mark().field(m.device.mid(27, 12));
    f.mark().be32(quint32(m.params.size()));
    for (const byte_map& map : m.params)
        forge_byte_map(f, map);
    f.mark();
    forge_list(f, m.extras);
    f.mark().field(m.device.mid(0, 4));
    f.mark().be32(quint32(m.pictures.size()));
    for (const QPixmap& p : m.pictures)
        forge_picture(f, p);
    f.mark().be32(quint32(m.texts.size()));
    for (const text_map& map : m.texts)
        forge_text_map(f, map);
    f.mark().u8(m.device[4] != 0 ? 1 : 0);
    f.mark().be32(quint32(m.data.size()));
    for (const byte_map& map : m.data)
        forge_byte_map(f, map);
    f.mark();
    forge_list(f, m.aux);
    f.mark().field(m.device.mid(5, 6));
    f.mark();
    forge_list(f, m.assign);
    f.mark();
    forge_list(f, m.settings);
    f.mark();
    forge_list(f, m.saved);
    f.mark();
    forge_list(f, m.layouts);
    f.mark().field(m.device.mid(39, 48));
    f.mark().be32(quint32(m.macros.size()));
    for (const QVector<QByteArray>& list : m.macros)
        forge_list(f, list);
    f.mark();
    return f;
}

// Puts a model into a profile set through the record images.
void apply(const set_model& m, zarek_data_c& d) {
    d.device().overlay(m.device);
    d.saved_layouts().clear();
    for (const QByteArray& r : m.saved) {
        btn_layout_rec l;
        l.overlay(r);
        d.saved_layouts().append(l);
    }
    for (int s = 0; s < 5; ++s) {
        d.name(s).overlay(m.names[s]);
        d.paths(s).overlay(m.paths[s]);
        d.extra_word(s).overlay(m.extras[s]);
        d.aux(s).overlay(m.aux[s]);
        d.btn_assign(s).overlay(m.assign[s]);
        d.settings(s).overlay(m.settings[s]);
        d.layout(s).overlay(m.layouts[s]);
        d.param_map(s).clear();
        for (auto it = m.params[s].begin(); it != m.params[s].end(); ++it)
            d.param_map(s)[it.key()].overlay(it.value());
        d.data_map(s).clear();
        for (auto it = m.data[s].begin(); it != m.data[s].end(); ++it)
            d.data_map(s)[it.key()].overlay(it.value());
        d.text_map(s).clear();
        for (auto it = m.texts[s].begin(); it != m.texts[s].end(); ++it)
            d.text_map(s).insert(it.key(), it.value());
        d.picture(s) = m.pictures[s];
        for (int k = 0; k < 40; ++k)
            d.macro(s, k).overlay(m.macros[s][k]);
    }
}

struct profile_model {
    QByteArray type = forge::le32(8);
    QByteArray name = name_image(QString(), 50), paths = rec(2560), extra = rec(2);
    byte_map params, data;
    text_map texts;
    QList<qint32> words;
    QPixmap picture;
    QByteArray aux = rec(4, {0, 6, 6, 6}), assign = rec(123, {7, 123, 0}),
               settings = rec(33, {6, 33, 0}), layout = rec(30, {10, 30, 0}), block_48 = rec(48);
    QVector<QByteArray> macros;
};

// A profile blob, with a mark before each of the 15 elements and one at the end.
forge forge_profile(const profile_model& p) {
    forge f;
    f.mark().field(p.type);
    f.mark().field(p.name);
    f.mark().field(p.paths);
    f.mark().field(p.extra);
    f.mark();
    forge_byte_map(f, p.params);
    f.mark().be32(quint32(p.words.size()));
    for (qint32 w : p.words)
        f.word(w);
    f.mark();
    forge_picture(f, p.picture);
    f.mark();
    forge_text_map(f, p.texts);
    f.mark();
    forge_byte_map(f, p.data);
    f.mark().field(p.aux);
    f.mark().field(p.assign);
    f.mark().field(p.settings);
    f.mark().field(p.layout);
    f.mark().field(p.block_48);
    f.mark();
    forge_list(f, p.macros);
    f.mark();
    return f;
}

// The profile blob of slot `s` of a model, with the given favourites.
profile_model profile_of_model(const set_model& m, int s, const QList<qint32>& words, int type) {
    profile_model p;
    p.type = forge::le32(type);
    p.name = m.names[s];
    p.paths = m.paths[s];
    p.extra = m.extras[s];
    p.params = m.params[s];
    p.words = words;
    p.picture = m.pictures[s];
    p.texts = m.texts[s];
    p.data = m.data[s];
    p.aux = m.aux[s];
    p.assign = m.assign[s];
    p.settings = m.settings[s];
    p.layout = m.layouts[s];
    p.block_48 = m.device.mid(39, 48);
    p.macros = m.macros[s];
    return p;
}

// A PNG whose header claims another size, with the header's CRC made right so
// that only the size can make a reader refuse it.
QByteArray with_png_size(QByteArray png, quint32 width, quint32 height) {
    qToBigEndian<quint32>(width, png.data() + 16);
    qToBigEndian<quint32>(height, png.data() + 20);
    quint32 crc = 0xFFFFFFFF;
    for (int i = 12; i < 29; ++i) {
        crc ^= quint8(png[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    qToBigEndian<quint32>(~crc, png.data() + 29);
    return png;
}

QByteArray patch_be32(QByteArray b, int at, quint32 v) {
    qToBigEndian<quint32>(v, b.data() + at);
    return b;
}

bool read_profile_bytes(zarek_data_c& d, const QByteArray& bytes, int slot) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return d.read_profile(&buffer, slot);
}

bool read_profile_bytes(zarek_profile_c& p, const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return p.read(&buffer);
}

// A host profile service that writes and reads a section of its own and keeps
// a journal of the calls and of where the device stood.
class journal_service : public profile_service_i {
public:
    QStringList calls;
    QByteArray section = "HOST-SECTION";
    QByteArray read_back;

    interface_i* query_interface(const GUID& iid) override {
        return iid == iid_interface_i || iid == iid_profile_service_i ? this : nullptr;
    }
    void release() override {}
    void set_kernel(product_kernel_i*, int32_t) override {}
    void service_reserved_3() override {}
    int32_t service_op_4() override { return 0; }
    void product_event() override {}
    void service_reserved_6() override {}
    void service_reserved_7() override {}
    void service_reserved_8() override {}
    void begin_read() override { calls.append("begin_read"); }
    void service_reserved_10() override {}
    void service_reserved_11() override {}
    void read_section(QIODevice* device) override {
        calls.append(QStringLiteral("read_section at %1").arg(device->pos()));
        read_back = device->readAll();
    }
    void write_section(QIODevice* device) override {
        calls.append(QStringLiteral("write_section at %1").arg(device->pos()));
        device->write(section);
    }
};

} // namespace

class test_profile_format : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void new_set_blob_layout();
    void busy_set_blob_layout();
    void set_round_trip_same_bytes();
    void host_section_follows_the_set();
    void profile_blob_layout();
    void profile_object_blob_layout();
    void profile_round_trip_same_bytes();
    void map_keys_descending_data();
    void map_keys_descending();
    void other_edition_profile_reads_unchanged();
    void wrong_product_type_changes_nothing_data();
    void wrong_product_type_changes_nothing();
    void read_profile_keeps_unread_record_bytes();
    void saved_layout_list_growth_data();
    void saved_layout_list_growth();
    void pictures_round_trip();
    void imported_macros_go_to_the_library();

    void favourites_value_layout();
    void favourites_defaults_and_load_data();
    void favourites_defaults_and_load();
    void favourites_file_stays_readable();

    void read_all_hostile_data();
    void read_all_hostile();
    void read_all_list_lengths_data();
    void read_all_list_lengths();
    void read_all_field_sizes_data();
    void read_all_field_sizes();
    void read_all_random_garbage_data();
    void read_all_random_garbage();
    void read_profile_hostile_data();
    void read_profile_hostile();
    void picture_hostile_data();
    void picture_hostile();

private:
    // What the module log received since the last call.
    QString new_log_text();

    QTemporaryDir m_dir;
    QString m_favourites;
    QString m_log_file;
    qint64 m_log_seen = 0;
};

QString test_profile_format::new_log_text() {
    QFile file(module_log().current_file());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    if (file.fileName() != m_log_file) {
        m_log_file = file.fileName();
        m_log_seen = 0;
    }
    file.seek(m_log_seen);
    const QString text = QString::fromUtf8(file.readAll());
    m_log_seen = file.pos();
    return text;
}

void test_profile_format::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    // Everything the module writes (log, settings) stays in the temporary folder.
    global_func().set_maker_folder(m_dir.path());
    module_log().init(m_dir.path() + QStringLiteral("/"), QStringLiteral("Quil"));
    QVERIFY(module_log().is_open());
}

void test_profile_format::init() {
    static int n = 0;
    m_favourites = m_dir.filePath(QStringLiteral("setting/fav%1").arg(++n));
}

void test_profile_format::new_set_blob_layout() {
    zarek_data_c d(nullptr, product_type::black);
    const QByteArray blob = write_all_of(d);
    const QByteArray expected = forge_set(fresh_model()).bytes;
    QCOMPARE(blob.size(), expected.size());
    QCOMPARE(blob, expected);
}

void test_profile_format::busy_set_blob_layout() {
    const set_model m = busy_model(1);
    zarek_data_c d(nullptr, product_type::white);
    apply(m, d);
    const forge expected = forge_set(m);
    const QByteArray blob = write_all_of(d);
    // Report the first element that differs, not just "not equal".
    for (int e = 0; e + 1 < expected.marks.size(); ++e) {
        const int from = expected.marks[e], to = expected.marks[e + 1];
        QVERIFY2(blob.mid(from, to - from) == expected.bytes.mid(from, to - from),
                 qPrintable(QStringLiteral("element %1").arg(e + 1)));
    }
    QCOMPARE(blob, expected.bytes);
}

void test_profile_format::set_round_trip_same_bytes() {
    zarek_data_c source(nullptr, product_type::black);
    apply(busy_model(2), source);
    const QByteArray first = write_all_of(source);

    zarek_data_c target(nullptr, product_type::black);
    target.set_favourites_file(m_favourites);
    QVERIFY(target.read_all(first));
    QCOMPARE(write_all_of(target), first);
    // The bytes that do not travel stay as they were in the target.
    QCOMPARE(int(target.device().b[11]), 22);
    QCOMPARE(int(target.device().b[12]), 16);
    // Reading the set loads the favourites (defaults without a file).
    QCOMPARE(target.favourites(), (QList<int32_t>{1, 2, 13, 8, 7}));
}

void test_profile_format::host_section_follows_the_set() {
    journal_service service;
    zarek_data_c d(nullptr, product_type::black);
    apply(busy_model(3), d);
    const QByteArray own = write_all_of(d);
    d.set_profile_service(&service);
    const QByteArray blob = write_all_of(d);
    QCOMPARE(service.calls, QStringList{QStringLiteral("write_section at %1").arg(own.size())});
    QCOMPARE(blob, own + service.section);

    service.calls.clear();
    zarek_data_c target(nullptr, product_type::black);
    target.set_favourites_file(m_favourites);
    target.set_profile_service(&service);
    QVERIFY(target.read_all(blob));
    QCOMPARE(service.calls,
             (QStringList{"begin_read", QStringLiteral("read_section at %1").arg(own.size())}));
    QCOMPARE(service.read_back, service.section);

    // Damaged set data: the service is not asked to read from a lost position.
    service.calls.clear();
    QVERIFY(!target.read_all(blob.left(own.size() - 1)));
    QVERIFY(service.calls.isEmpty());
}

void test_profile_format::profile_blob_layout() {
    const set_model m = busy_model(4);
    zarek_data_c d(nullptr, product_type::white);
    apply(m, d);
    d.favourites() = {13, -1, 7};
    for (int s = 0; s < 5; ++s) {
        const forge expected = forge_profile(profile_of_model(m, s, {13, -1, 7}, 9));
        QCOMPARE(profile_of(d, s), expected.bytes);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(!d.write_profile(&buffer, 5));
    QVERIFY(!d.write_profile(nullptr, 0));
    QCOMPARE(buffer.size(), 0);
}

void test_profile_format::profile_object_blob_layout() {
    zarek_profile_c p;
    QCOMPARE(profile_of(p), forge_profile(profile_model()).bytes);

    profile_model m;
    m.type = forge::le32(9);
    m.name = name_image(QStringLiteral("Mine"), 50);
    m.name[105] = 5;
    m.words = {4, 8};
    m.texts = {{2, QStringLiteral("x")}};
    p.set_product_type(9);
    p.set_name(QStringLiteral("Mine"));
    p.set_byte_105(5);
    p.profile().words = {4, 8};
    p.profile().texts.insert(2, QStringLiteral("x"));
    QCOMPARE(profile_of(p), forge_profile(m).bytes);
}

void test_profile_format::profile_round_trip_same_bytes() {
    zarek_data_c d(nullptr, product_type::black);
    apply(busy_model(5), d);
    d.favourites() = {1, 2};
    const QByteArray first = profile_of(d, 3);

    zarek_profile_c p;
    QVERIFY(read_profile_bytes(p, first));
    QCOMPARE(profile_of(p), first);
    QCOMPARE(p.profile().words, (QList<int32_t>{1, 2}));
    QCOMPARE(p.profile().macros.size(), 40);

    zarek_data_c other(nullptr, product_type::black);
    other.favourites() = {1, 2};
    QVERIFY(read_profile_bytes(other, first, 3));
    QCOMPARE(profile_of(other, 3), first);
}

void test_profile_format::map_keys_descending_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addRow("ascending inserts") << QList<int>{0, 1, 2, 39};
    QTest::addRow("negative and extreme") << QList<int>{-5, 2147483647, 0, -2147483647 - 1};
    QTest::addRow("single") << QList<int>{20};
}

void test_profile_format::map_keys_descending() {
    QFETCH(QList<int>, keys);
    zarek_data_c d(nullptr, product_type::black);
    for (int k : keys)
        d.param_map(0).insert(k, btn_param_block());
    const QByteArray blob = profile_of(d, 0);
    // The parameter map follows type, name, paths and extra word.
    int at = (4 + 4) + (4 + 112) + (4 + 2560) + (4 + 2);
    QCOMPARE(qFromBigEndian<qint32>(blob.constData() + at), qint32(keys.size()));
    at += 4;
    QList<int> seen;
    for (int i = 0; i < keys.size(); ++i, at += 4 + 4 + 11)
        seen.append(qFromBigEndian<qint32>(blob.constData() + at));
    QList<int> expected = keys;
    std::sort(expected.begin(), expected.end(), std::greater<int>());
    QCOMPARE(seen, expected);
}

void test_profile_format::other_edition_profile_reads_unchanged() {
    const set_model m = busy_model(6);
    profile_model white = profile_of_model(m, 2, {9, 9}, 9);
    zarek_data_c black(nullptr, product_type::black);
    QVERIFY(read_profile_bytes(black, forge_profile(white).bytes, 1));
    // Everything arrives as it was; only the slot bytes are the new slot's.
    profile_model expected = profile_of_model(m, 2, {}, 8);
    expected.aux[0] = 1;
    expected.assign[2] = 1;
    expected.settings[2] = 1;
    expected.layout[2] = 1;
    for (QByteArray& r : expected.macros)
        r[3] = 1;
    QCOMPARE(profile_of(black, 1), forge_profile(expected).bytes);
}

void test_profile_format::wrong_product_type_changes_nothing_data() {
    QTest::addColumn<int>("type");
    QTest::addRow("host") << 1;
    QTest::addRow("zero") << 0;
    QTest::addRow("seven") << 7;
    QTest::addRow("ten") << 10;
    QTest::addRow("minus one") << -1;
    QTest::addRow("high byte set") << 0x108;
}

void test_profile_format::wrong_product_type_changes_nothing() {
    QFETCH(int, type);
    profile_model foreign = profile_of_model(busy_model(7), 0, {1}, 8);
    foreign.type = forge::le32(type);
    const QByteArray bytes = forge_profile(foreign).bytes;

    zarek_data_c d(nullptr, product_type::black);
    apply(busy_model(8), d);
    const QByteArray before = write_all_of(d);
    const int saved = d.saved_layouts().size();
    QVERIFY(!read_profile_bytes(d, bytes, 0));
    QCOMPARE(write_all_of(d), before);
    QCOMPARE(d.saved_layouts().size(), saved);

    zarek_profile_c p;
    p.set_name(QStringLiteral("keep"));
    const QByteArray object_before = profile_of(p);
    QVERIFY(!read_profile_bytes(p, bytes));
    QCOMPARE(profile_of(p), object_before);
}

void test_profile_format::read_profile_keeps_unread_record_bytes() {
    // A profile from an older writer with short records: what it lacks keeps
    // the slot's bytes.
    profile_model shorter;
    shorter.name = name_image(QStringLiteral("Old"), 0).left(20);
    shorter.settings = QByteArray("\x06\x21\x00\x05", 4);
    zarek_data_c d(nullptr, product_type::black);
    d.name(2).volume() = 77;
    d.settings(2).b[30] = 0x5A;
    QVERIFY(read_profile_bytes(d, forge_profile(shorter).bytes, 2));
    QCOMPARE(d.name(2).name(), QStringLiteral("Old"));
    QCOMPARE(int(d.name(2).volume()), 77);
    QCOMPARE(int(d.settings(2).b[3]), 5);
    QCOMPARE(int(d.settings(2).b[30]), 0x5A);
    // An empty macro list still leaves forty default records, numbered for the slot.
    for (int k = 0; k < 40; ++k)
        QCOMPARE(bytes_of(d.macro(2, k)), rec(2002, {0x0E, 0xD2, 0x07, 2}));
}

void test_profile_format::saved_layout_list_growth_data() {
    QTest::addColumn<QByteArray>("saved_name");
    QTest::addColumn<int>("saved_fitted");
    QTest::addColumn<int>("saved_doubles");
    QTest::addColumn<QByteArray>("read_name");
    QTest::addColumn<int>("read_fitted");
    QTest::addColumn<int>("read_doubles");
    QTest::addColumn<bool>("grows");
    QTest::addRow("same name and masks")
        << QByteArray("Gamer") << 0xFFF << 0 << QByteArray("Gamer") << 0xFFF << 0 << false;
    QTest::addRow("first three characters match")
        << QByteArray("Gamer") << 0xF0F << 2 << QByteArray("Gamut") << 0xF0F << 2 << false;
    QTest::addRow("fourth character ignored")
        << QByteArray("Abc") << 0x00F << 0 << QByteArray("AbcX") << 0x00F << 0 << false;
    QTest::addRow("short names compare whole")
        << QByteArray("Ab") << 0x00F << 0 << QByteArray("Ab") << 0x00F << 0 << false;
    QTest::addRow("short against longer")
        << QByteArray("Ab") << 0x00F << 0 << QByteArray("Abc") << 0x00F << 0 << true;
    QTest::addRow("third character differs")
        << QByteArray("Gamer") << 0xFFF << 0 << QByteArray("Gaxer") << 0xFFF << 0 << true;
    QTest::addRow("fitted low byte differs")
        << QByteArray("Gamer") << 0xFFF << 0 << QByteArray("Gamer") << 0xFFE << 0 << true;
    QTest::addRow("fitted high byte differs")
        << QByteArray("Gamer") << 0xFFF << 0 << QByteArray("Gamer") << 0x7FF << 0 << true;
    QTest::addRow("double mask differs")
        << QByteArray("Gamer") << 0xFFF << 0 << QByteArray("Gamer") << 0xFFF << 1 << true;
    QTest::addRow("multibyte characters")
        << QByteArray("\xc3\xa9\xc3\xa9\xc3\xa9x") << 0xFFF << 0
        << QByteArray("\xc3\xa9\xc3\xa9\xc3\xa9y") << 0xFFF << 0 << false;
    QTest::addRow("empty matches zeroed")
        << QByteArray() << 0 << 0 << QByteArray() << 0 << 0 << false;
}

void test_profile_format::saved_layout_list_growth() {
    QFETCH(QByteArray, saved_name);
    QFETCH(int, saved_fitted);
    QFETCH(int, saved_doubles);
    QFETCH(QByteArray, read_name);
    QFETCH(int, read_fitted);
    QFETCH(int, read_doubles);
    QFETCH(bool, grows);
    zarek_data_c d(nullptr, product_type::black);
    btn_layout_rec saved;
    saved.overlay(layout_image(0, saved_name, saved_fitted, saved_doubles));
    if (!saved_name.isEmpty())
        d.saved_layouts().append(saved);
    const int before = d.saved_layouts().size();

    profile_model p;
    p.layout = layout_image(3, read_name, read_fitted, read_doubles);
    p.layout[25] = 0x44; // the preset identifier takes no part in the match
    QVERIFY(read_profile_bytes(d, forge_profile(p).bytes, 3));
    QCOMPARE(d.saved_layouts().size(), before + (grows ? 1 : 0));
    if (grows)
        QCOMPARE(bytes_of(d.saved_layouts().last()), bytes_of(d.layout(3)));
    // A second read of the same layout never adds it twice.
    QVERIFY(read_profile_bytes(d, forge_profile(p).bytes, 2));
    QCOMPARE(d.saved_layouts().size(), before + (grows ? 1 : 0));
}

void test_profile_format::pictures_round_trip() {
    zarek_data_c d(nullptr, product_type::black);
    QImage image(5, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixelColor(x, y, QColor(x * 50, y * 60, 200));
    d.picture(0) = QPixmap::fromImage(image);
    d.picture(4) = solid(1, 1, Qt::black);
    const QByteArray blob = write_all_of(d);
    zarek_data_c target(nullptr, product_type::black);
    target.set_favourites_file(m_favourites);
    QVERIFY(target.read_all(blob));
    QCOMPARE(target.picture(0).toImage().convertToFormat(QImage::Format_ARGB32), image);
    QCOMPARE(target.picture(4).size(), QSize(1, 1));
    QVERIFY(target.picture(1).isNull());
    QCOMPARE(write_all_of(target), blob);
}

void test_profile_format::imported_macros_go_to_the_library() {
    // The module keeps the host pointer after exit, so the fake outlives the test.
    static fake_host host;
    fake_center center;
    fake_hub hub;
    fake_library library;
    hub.library = &library;
    center.hub = &hub;
    host.center = &center;
    quil_init_module(&host);

    profile_model p;
    const int macro_buttons[] = {0, 1, 2, 17, 39};
    for (int k = 0; k < 40; ++k) {
        QByteArray m = macro_image(0, k, 0);
        const QByteArray group = "G" + QByteArray::number(k);
        m.replace(6, group.size(), group);
        p.macros.append(m);
    }
    for (int k : macro_buttons)
        p.assign[3 + 3 * k] = char(48);
    p.assign[3 + 3 * 5] = char(47);
    zarek_data_c d(nullptr, product_type::black);
    QVERIFY(read_profile_bytes(d, forge_profile(p).bytes, 1));
    // Buttons 0 and 1 never carry macros to the library; the others go in
    // button order, each to its own group.
    QCOMPARE(library.added_groups, (QStringList{"G2", "G17", "G39"}));

    quil_exit_module();
    host.center = nullptr;
}

void test_profile_format::favourites_value_layout() {
    zarek_data_c d(nullptr, product_type::black);
    d.set_favourites_file(m_favourites);
    d.favourites() = {4, 13, -3};
    d.save_favourites();
    forge expected;
    expected.be32(3).word(4).word(13).word(-3);
    QCOMPARE(QSettings(m_favourites, QSettings::IniFormat).value("Favorite").toByteArray(),
             expected.bytes);

    zarek_data_c other(nullptr, product_type::black);
    other.set_favourites_file(m_favourites);
    other.load_favourites();
    QCOMPARE(other.favourites(), (QList<int32_t>{4, 13, -3}));
}

void test_profile_format::favourites_defaults_and_load_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QList<int32_t>>("expected");
    const QList<int32_t> defaults{1, 2, 13, 8, 7};
    forge two;
    two.be32(2).word(9).word(14);
    forge none;
    none.be32(0);
    QTest::addRow("stored list") << two.bytes << QList<int32_t>{9, 14};
    QTest::addRow("stored empty list") << none.bytes << QList<int32_t>{};
    QTest::addRow("no value") << QByteArray() << defaults;
    QTest::addRow("truncated in a word") << two.bytes.left(two.bytes.size() - 2) << defaults;
    QTest::addRow("truncated count") << two.bytes.left(3) << defaults;
    QTest::addRow("count minus one") << patch_be32(two.bytes, 0, 0xFFFFFFFF) << defaults;
    QTest::addRow("count 0x7FFFFFFF") << patch_be32(two.bytes, 0, 0x7FFFFFFF) << defaults;
    QTest::addRow("count above stored") << patch_be32(two.bytes, 0, 3) << defaults;
    forge short_word;
    short_word.be32(1).field(QByteArray("\x0B", 1));
    QTest::addRow("one-byte word") << short_word.bytes << QList<int32_t>{11};
    forge long_word;
    long_word.be32(1).field(forge::le32(12) + QByteArray(5000, 'x'));
    QTest::addRow("5000-byte word") << long_word.bytes << QList<int32_t>{12};
    forge huge_word;
    huge_word.be32(1).be32(0x7FFFFFFF);
    QTest::addRow("word length 0x7FFFFFFF") << huge_word.bytes << defaults;
    QTest::addRow("garbage") << QByteArray("\x13\x37garbage-garbage") << defaults;
}

void test_profile_format::favourites_defaults_and_load() {
    QFETCH(QByteArray, value);
    QFETCH(QList<int32_t>, expected);
    zarek_data_c d(nullptr, product_type::black);
    d.set_favourites_file(m_favourites);
    d.favourites() = {99};
    d.load_favourites();
    QCOMPARE(d.favourites(), (QList<int32_t>{1, 2, 13, 8, 7}));
    {
        QSettings s(m_favourites, QSettings::IniFormat);
        s.setValue("Favorite", value);
    }
    d.favourites() = {99};
    new_log_text();
    d.load_favourites();
    QCOMPARE(d.favourites(), expected);
    // Damage is reported; a missing value is not damage.
    const bool damaged = expected == QList<int32_t>{1, 2, 13, 8, 7} && !value.isEmpty();
    QCOMPARE(new_log_text().contains(QStringLiteral("favourites")), damaged);
}

void test_profile_format::favourites_file_stays_readable() {
    zarek_data_c d(nullptr, product_type::black);
    d.set_favourites_file(m_favourites);
    d.favourites() = {7};
    d.save_favourites();
    d.favourites() = {8, 9};
    d.save_favourites(); // the file exists now: its permissions are set
    const QFile::Permissions p = QFile::permissions(m_favourites);
    QVERIFY(p & QFile::ReadUser);
    QVERIFY(p & QFile::WriteUser);
    QVERIFY(!(p & (QFile::ReadOther | QFile::WriteOther)));
    d.favourites().clear();
    d.load_favourites();
    QCOMPARE(d.favourites(), (QList<int32_t>{8, 9}));
}

void test_profile_format::read_all_hostile_data() {
    QTest::addColumn<QByteArray>("blob");
    QTest::addColumn<bool>("accepted");
    const forge f = forge_set(busy_model(9));
    const QByteArray& b = f.bytes;
    QTest::addRow("complete") << b << true;
    QTest::addRow("empty") << QByteArray() << false;
    QTest::addRow("one byte short") << b.left(b.size() - 1) << false;
    const int counted[] = {1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 15, 16, 18};
    const int fields[] = {3, 6, 12, 17};
    for (int e = 1; e <= 18; ++e) {
        const int at = f.marks[e - 1], next = f.marks[e];
        if (e > 1)
            QTest::addRow("cut before element %d", e) << b.left(at) << false;
        QTest::addRow("cut inside element %d", e) << b.left(at + (next - at) / 2) << false;
    }
    for (int e : counted) {
        const int at = f.marks[e - 1];
        QTest::addRow("element %d count -1", e) << patch_be32(b, at, 0xFFFFFFFF) << false;
        QTest::addRow("element %d count 0x7FFFFFFF", e) << patch_be32(b, at, 0x7FFFFFFF) << false;
        QTest::addRow("element %d count 1025", e) << patch_be32(b, at, 1025) << false;
    }
    for (int e : fields) {
        QTest::addRow("element %d field length 0x7FFFFFFF", e)
            << patch_be32(b, f.marks[e - 1], 0x7FFFFFFF) << false;
    }
    // Inside the lists: the first record's length and the first macro list's count.
    QTest::addRow("name field length 0x7FFFFFFF")
        << patch_be32(b, f.marks[0] + 4, 0x7FFFFFFF) << false;
    QTest::addRow("name field length -2") << patch_be32(b, f.marks[0] + 4, 0xFFFFFFFE) << false;
    QTest::addRow("macro list count -1") << patch_be32(b, f.marks[17] + 4, 0xFFFFFFFF) << false;
    QTest::addRow("macro list count 0x7FFFFFFF")
        << patch_be32(b, f.marks[17] + 4, 0x7FFFFFFF) << false;
    QTest::addRow("map entry count 0x7FFFFFFF")
        << patch_be32(b, f.marks[3] + 4, 0x7FFFFFFF) << false;
    // The picture of slot 3 sits after the null pictures of slots 0..2.
    const int picture = f.marks[6] + 4 + 3 * 4;
    QByteArray broken_png = b;
    broken_png[picture + 4 + 1] = 'X'; // PNG signature
    QTest::addRow("picture signature broken") << broken_png << false;
    // Text maps: the list count, two empty maps, the third map's count, its first key.
    QTest::addRow("odd text length") << patch_be32(b, f.marks[7] + 5 * 4, 3) << false;
}

void test_profile_format::read_all_hostile() {
    QFETCH(QByteArray, blob);
    QFETCH(bool, accepted);
    zarek_data_c d(nullptr, product_type::black);
    d.set_favourites_file(m_favourites);
    apply(busy_model(10), d);
    const QByteArray before = write_all_of(d);
    new_log_text();
    QCOMPARE(d.read_all(blob), accepted);
    const QByteArray after = write_all_of(d);
    if (accepted)
        QCOMPARE(after, blob);
    else
        QCOMPARE(after, before);
    QCOMPARE(shape_walker(after).check(), QString());
    QCOMPARE(new_log_text().contains(QStringLiteral("the stored profiles are kept")), !accepted);
}

void test_profile_format::read_all_list_lengths_data() {
    QTest::addColumn<int>("length");
    QTest::addRow("none") << 0;
    QTest::addRow("three") << 3;
    QTest::addRow("seven") << 7;
    QTest::addRow("one hundred") << 100;
}

void test_profile_format::read_all_list_lengths() {
    QFETCH(int, length);
    const set_model source = busy_model(11);
    set_model m = source;
    auto resize_records = [&](QVector<QByteArray>& v, const QByteArray& extra) {
        v.resize(qMin(length, v.size()));
        while (v.size() < length)
            v.append(extra);
    };
    resize_records(m.names, name_image(QStringLiteral("extra"), 1));
    resize_records(m.paths, rec(2560, {1}));
    resize_records(m.extras, rec(2, {1}));
    resize_records(m.aux, rec(4, {1}));
    resize_records(m.assign, rec(123, {1}));
    resize_records(m.settings, rec(33, {1}));
    resize_records(m.layouts, rec(30, {1}));
    m.saved.clear();
    for (int i = 0; i < length; ++i)
        m.saved.append(layout_image(0, QByteArray::number(i), i, 0));
    m.params.resize(length);
    m.data.resize(length);
    m.texts.resize(length);
    m.pictures.resize(length);
    m.macros.resize(qMin(length, 5));
    while (m.macros.size() < length)
        m.macros.append(QVector<QByteArray>(41, rec(2002, {1})));

    zarek_data_c d(nullptr, product_type::black);
    d.set_favourites_file(m_favourites);
    QVERIFY(d.read_all(forge_set(m).bytes));

    // The first five elements are kept; slots without one get the defaults.
    set_model expected = source;
    for (int s = qMin(length, 5); s < 5; ++s) {
        expected.names[s] = name_image(QString(), 50);
        expected.paths[s] = rec(2560);
        expected.extras[s] = rec(2);
        expected.aux[s] = rec(4, {0, 6, 6, 6});
        expected.assign[s] = rec(123, {7, 123, 0});
        expected.settings[s] = rec(33, {6, 33, 0});
        expected.layouts[s] = rec(30, {10, 30, 0});
        expected.params[s].clear();
        expected.data[s].clear();
        expected.texts[s].clear();
        expected.pictures[s] = QPixmap();
        expected.macros[s] = QVector<QByteArray>(40, rec(2002, {0x0E, 0xD2, 0x07, s}));
    }
    expected.saved = m.saved;
    QCOMPARE(write_all_of(d), forge_set(expected).bytes);
}

void test_profile_format::read_all_field_sizes_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("name0");
    QTest::addColumn<QByteArray>("device_27");
    const QByteArray busy_name = busy_model(12).names[0];
    QByteArray one = name_image(QString(), 50);
    one[0] = busy_name[0];
    QTest::addRow("one byte") << 1 << one << QByteArray("\x2B", 1);
    QTest::addRow("empty") << 0 << name_image(QString(), 50) << QByteArray();
    QTest::addRow("5000 bytes") << 5000 << busy_name << QByteArray(12, 'z');
}

void test_profile_format::read_all_field_sizes() {
    QFETCH(int, size);
    QFETCH(QByteArray, name0);
    QFETCH(QByteArray, device_27);
    set_model m = busy_model(12);
    // A record field of any length: the record takes what fits over its default.
    m.names[0] = size <= 112 ? m.names[0].left(size) : m.names[0] + QByteArray(size - 112, 'q');
    forge f = forge_set(m);
    // Element 3 (device block 27..38) with a field of the same kind of length.
    const int at = f.marks[2];
    QByteArray blob = f.bytes.left(at);
    forge part;
    part.field(size <= 12 ? device_27 : QByteArray(size, 'z'));
    blob += part.bytes + f.bytes.mid(f.marks[3]);

    zarek_data_c d(nullptr, product_type::black);
    d.set_favourites_file(m_favourites);
    const QByteArray stored_27 = bytes_of(d.device().data() + 27, 12);
    QVERIFY(d.read_all(blob));
    QCOMPARE(bytes_of(d.name(0)), name0);
    QByteArray expected_27 = stored_27;
    expected_27.replace(0, qMin(12, device_27.size()), device_27.left(12));
    QCOMPARE(bytes_of(d.device().data() + 27, 12), expected_27);
    QCOMPARE(shape_walker(write_all_of(d)).check(), QString());
}

void test_profile_format::read_all_random_garbage_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<bool>("from_valid");
    for (quint32 seed = 1; seed <= 12; ++seed) {
        QTest::addRow("noise seed %u", seed) << seed << false;
        QTest::addRow("flipped bytes seed %u", seed) << seed << true;
    }
}

void test_profile_format::read_all_random_garbage() {
    QFETCH(quint32, seed);
    QFETCH(bool, from_valid);
    QRandomGenerator random(seed);
    QByteArray blob;
    if (from_valid) {
        blob = forge_set(busy_model(13)).bytes;
        for (int i = 0; i < 8; ++i)
            blob[random.bounded(blob.size())] = char(random.bounded(256));
    } else {
        blob.resize(random.bounded(1, 40000));
        for (char& c : blob)
            c = char(random.bounded(256));
    }
    zarek_data_c d(nullptr, product_type::black);
    d.set_favourites_file(m_favourites);
    apply(busy_model(14), d);
    const QByteArray before = write_all_of(d);
    const bool accepted = d.read_all(blob);
    const QByteArray after = write_all_of(d);
    if (!from_valid)
        QVERIFY(!accepted);
    if (!accepted)
        QCOMPARE(after, before);
    QCOMPARE(shape_walker(after).check(), QString());

    // The same bytes as a profile blob and as a profile object.
    const QByteArray slot_before = profile_of(d, 1);
    if (!read_profile_bytes(d, blob, 1))
        QCOMPARE(profile_of(d, 1), slot_before);
    zarek_profile_c p;
    const QByteArray object_before = profile_of(p);
    if (!read_profile_bytes(p, blob))
        QCOMPARE(profile_of(p), object_before);
    QVERIFY(p.profile().macros.size() <= 40);
}

void test_profile_format::read_profile_hostile_data() {
    QTest::addColumn<QByteArray>("blob");
    QTest::addColumn<bool>("accepted");
    profile_model m = profile_of_model(busy_model(15), 2, {1, 13}, 9);
    const forge f = forge_profile(m);
    const QByteArray& b = f.bytes;
    QTest::addRow("complete") << b << true;
    QTest::addRow("empty") << QByteArray() << false;
    for (int e = 1; e <= 15; ++e) {
        const int at = f.marks[e - 1], next = f.marks[e];
        if (e > 1)
            QTest::addRow("cut before element %d", e) << b.left(at) << false;
        QTest::addRow("cut inside element %d", e) << b.left(at + (next - at) / 2) << false;
        QTest::addRow("element %d length or count 0x7FFFFFFF", e)
            << patch_be32(b, at, 0x7FFFFFFF) << false;
    }
    for (int e : {5, 6, 8, 9, 15})
        QTest::addRow("element %d count -1", e)
            << patch_be32(b, f.marks[e - 1], 0xFFFFFFFF) << false;
    profile_model many = m;
    many.macros += QVector<QByteArray>(3, rec(2002, {9}));
    QTest::addRow("43 macros") << forge_profile(many).bytes << true;
    profile_model short_fields = m;
    short_fields.assign = QByteArray(1, 7);
    short_fields.block_48 = QByteArray(5000, 'b');
    QTest::addRow("1-byte and 5000-byte records") << forge_profile(short_fields).bytes << true;
}

void test_profile_format::read_profile_hostile() {
    QFETCH(QByteArray, blob);
    QFETCH(bool, accepted);
    zarek_data_c d(nullptr, product_type::black);
    apply(busy_model(16), d);
    const QByteArray before = write_all_of(d);
    new_log_text();
    QCOMPARE(read_profile_bytes(d, blob, 2), accepted);
    const QByteArray after = write_all_of(d);
    if (!accepted)
        QCOMPARE(after, before);
    QCOMPARE(new_log_text().contains(QStringLiteral("Profile import refused")), !accepted);
    QCOMPARE(shape_walker(after).check(), QString());

    zarek_profile_c p;
    p.set_name(QStringLiteral("before"));
    const QByteArray object_before = profile_of(p);
    QCOMPARE(read_profile_bytes(p, blob), accepted);
    if (!accepted)
        QCOMPARE(profile_of(p), object_before);
    QVERIFY(p.profile().macros.size() <= 40);
}

void test_profile_format::picture_hostile_data() {
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<bool>("accepted");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(solid(2, 2, Qt::green).toImage());
    const QByteArray png = buffer.data();
    QTest::addRow("valid") << png << true;
    QTest::addRow("truncated") << png.left(png.size() / 2) << false;
    QTest::addRow("same size, header rewritten") << with_png_size(png, 2, 2) << true;
    QTest::addRow("100000 x 100000") << with_png_size(png, 100000, 100000) << false;
    QTest::addRow("8193 wide") << with_png_size(png, 8193, 2) << false;
    QTest::addRow("4097 x 4097") << with_png_size(png, 4097, 4097) << false;
    QTest::addRow("header within limits, rows missing") << with_png_size(png, 300, 300) << false;
    QByteArray bmp;
    {
        QBuffer b(&bmp);
        b.open(QIODevice::WriteOnly);
        QImageWriter(&b, "bmp").write(solid(2, 2, Qt::green).toImage());
    }
    QTest::addRow("not png") << bmp << false;
}

void test_profile_format::picture_hostile() {
    QFETCH(QByteArray, png);
    QFETCH(bool, accepted);
    profile_model m;
    m.picture = solid(1, 1, Qt::blue);
    forge f = forge_profile(m);
    // Replace the PNG of element 7 (after its marker) by the row's bytes.
    const int at = f.marks[6] + 4, end = f.marks[7];
    const QByteArray blob = f.bytes.left(at) + png + f.bytes.mid(end);
    zarek_profile_c p;
    QCOMPARE(read_profile_bytes(p, blob), accepted);
    if (accepted)
        QCOMPARE(p.picture()->size(), QSize(2, 2));
    else
        QVERIFY(p.picture()->isNull());
}

QTEST_MAIN(test_profile_format)
#include "test_profile_format.moc"
