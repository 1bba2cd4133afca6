// The byte formats of the profile data: the profile-set blob, the profile blob
// and the favourites value, checked against bytes forged by hand, and every
// reader fed with damaged data.
#include "common/log.h"
#include "common/log_capture.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_profile.h"
#include "kernel_test_support.h"
#include "module/global_func.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <limits>

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
    m.params[4] = byte_map{{-2, QByteArray(11, char(0xFE))},
                           {std::numeric_limits<int>::min(), QByteArray(11, 1)},
                           {std::numeric_limits<int>::max(), QByteArray(11, 2)}};
    m.texts[2] = text_map{{5, QStringLiteral("C:/Program Files/app.exe")},
                          {30, QStringLiteral("https://example.invalid/\u00e9")},
                          {-7, QString("")},
                          {7, QString()}};
    m.data[4] = byte_map{{39, QByteArray(75, 0x39)}, {0, QByteArray(75, 1)}};
    m.pictures[3] = solid(4, 3, Qt::red);
    m.saved.append(layout_image(0, "Preset " + QByteArray::number(seed), 0x0FFF, 0));
    return m;
}

// Stream forms: a record field, a text, a picture; a map and a counted list of any of them.
template <class T>
void put(forge& f, const QMap<int, T>& map);
template <class T>
void put(forge& f, const QVector<T>& items);

void put(forge& f, const QByteArray& record) {
    f.field(record);
}

void put(forge& f, const QString& text) {
    if (text.isNull())
        f.be32(0xFFFFFFFF);
    else
        f.text(text);
}

void put(forge& f, const QPixmap& picture) {
    if (picture.isNull())
        f.null_picture();
    else
        f.picture(picture);
}

// The writer emits map entries in descending key order.
template <class T>
void put(forge& f, const QMap<int, T>& map) {
    f.be32(quint32(map.size()));
    QList<int> keys = map.keys();
    std::sort(keys.begin(), keys.end(), std::greater<int>());
    for (int k : keys) {
        f.be32(quint32(k));
        put(f, map.value(k));
    }
}

template <class T>
void put(forge& f, const QVector<T>& items) {
    f.be32(quint32(items.size()));
    for (const T& item : items)
        put(f, item);
}

// The profile-set blob, with a mark before each of the 18 elements and one at the end.
forge forge_set(const set_model& m) {
    forge f;
    put(f.mark(), m.names);
    put(f.mark(), m.paths);
    f.mark().field(m.device.mid(27, 12));
    put(f.mark(), m.params);
    put(f.mark(), m.extras);
    f.mark().field(m.device.mid(0, 4));
    put(f.mark(), m.pictures);
    put(f.mark(), m.texts);
    f.mark().u8(m.device[4] != 0 ? 1 : 0);
    put(f.mark(), m.data);
    put(f.mark(), m.aux);
    f.mark().field(m.device.mid(5, 6));
    put(f.mark(), m.assign);
    put(f.mark(), m.settings);
    put(f.mark(), m.saved);
    put(f.mark(), m.layouts);
    f.mark().field(m.device.mid(39, 48));
    put(f.mark(), m.macros);
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
    for (const QByteArray* field : {&p.type, &p.name, &p.paths, &p.extra})
        f.mark().field(*field);
    put(f.mark(), p.params);
    f.mark().be32(quint32(p.words.size()));
    for (qint32 w : p.words)
        f.word(w);
    put(f.mark(), p.picture);
    put(f.mark(), p.texts);
    put(f.mark(), p.data);
    for (const QByteArray* field : {&p.aux, &p.assign, &p.settings, &p.layout, &p.block_48})
        f.mark().field(*field);
    put(f.mark(), p.macros);
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

// Random bytes from a fixed seed; the fuzz harnesses go much further.
QByteArray noise(int size) {
    QRandomGenerator random(size);
    QByteArray bytes(size, 0);
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

QByteArray patch_be32(QByteArray b, int at, quint32 v) {
    qToBigEndian<quint32>(v, b.data() + at);
    return b;
}

// Reads a profile blob into a slot of a set, or into a profile object.
template <class Target, class... Slot>
bool read_profile_bytes(Target& target, const QByteArray& bytes, Slot... slot) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    if constexpr (sizeof...(Slot) == 1)
        return target.read_profile(&buffer, slot...);
    else
        return target.read(&buffer);
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

private:
    QTemporaryDir m_dir;
    QString m_favourites;

    // Whatever a reader took in, the set still writes a blob that a fresh set reads
    // back to the same bytes.
    void expect_consistent(const zarek_data_c& d) {
        const QByteArray blob = write_all_of(d);
        zarek_data_c check(nullptr, product_type::black);
        check.set_favourites_file(m_favourites);
        QVERIFY(check.read_all(blob));
        QCOMPARE(write_all_of(check), blob);
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        // Everything the module writes (log, settings) stays in the temporary folder.
        global_func().set_maker_folder(m_dir.path());
        module_log().init(m_dir.path() + QStringLiteral("/"), QStringLiteral("Quil"));
        QVERIFY(module_log().is_open());
    }

    void init() {
        static int n = 0;
        m_favourites = m_dir.filePath(QStringLiteral("setting/fav%1").arg(++n));
    }

    void set_blob_layout_data() {
        QTest::addColumn<bool>("busy");
        QTest::addRow("new set") << false;
        // Every element differs from its default; maps hold keys inserted out of order.
        QTest::addRow("busy set") << true;
    }

    void set_blob_layout() {
        QFETCH(bool, busy);
        const set_model m = busy ? busy_model(1) : fresh_model();
        zarek_data_c d(nullptr, product_type::white);
        if (busy)
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

    void set_round_trip_same_bytes() {
        zarek_data_c source(nullptr, product_type::black);
        apply(busy_model(2), source);
        QImage image(5, 4, QImage::Format_ARGB32);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                image.setPixelColor(x, y, QColor(x * 50, y * 60, 200));
        source.picture(0) = QPixmap::fromImage(image);
        const QByteArray first = write_all_of(source);

        zarek_data_c target(nullptr, product_type::black);
        target.set_favourites_file(m_favourites);
        QVERIFY(target.read_all(first));
        QCOMPARE(write_all_of(target), first);
        QCOMPARE(target.picture(0).toImage().convertToFormat(QImage::Format_ARGB32), image);
        // The bytes that do not travel stay as they were in the target.
        QCOMPARE(int(target.device().b[11]), 22);
        QCOMPARE(int(target.device().b[12]), 16);
        // Reading the set loads the favourites (defaults without a file).
        QCOMPARE(target.favourites(), (QList<int32_t>{1, 2, 13, 8, 7}));
    }

    void host_section_follows_the_set() {
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

    void profile_blob_layout() {
        const set_model m = busy_model(4);
        zarek_data_c d(nullptr, product_type::white);
        apply(m, d);
        d.favourites() = {13, -1, 7};
        for (int s = 0; s < 5; ++s)
            QCOMPARE(profile_of(d, s), forge_profile(profile_of_model(m, s, {13, -1, 7}, 9)).bytes);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(!d.write_profile(&buffer, 5));
        QVERIFY(!d.write_profile(nullptr, 0));
        QCOMPARE(buffer.size(), 0);

        // A new profile object, then one with its own values.
        zarek_profile_c p;
        QCOMPARE(profile_of(p), forge_profile(profile_model()).bytes);
        profile_model own;
        own.type = forge::le32(9);
        own.name = name_image(QStringLiteral("Mine"), 50);
        own.name[105] = 5;
        own.words = {4, 8};
        own.texts = {{2, QStringLiteral("x")}};
        p.set_product_type(9);
        p.set_name(QStringLiteral("Mine"));
        p.set_byte_105(5);
        p.profile().words = {4, 8};
        p.profile().texts.insert(2, QStringLiteral("x"));
        QCOMPARE(profile_of(p), forge_profile(own).bytes);
    }

    void other_edition_profile_reads_unchanged() {
        const set_model m = busy_model(6);
        const QByteArray white = forge_profile(profile_of_model(m, 2, {9, 9}, 9)).bytes;
        zarek_data_c black(nullptr, product_type::black);
        QVERIFY(read_profile_bytes(black, white, 1));
        // Everything arrives as it was; only the slot bytes are the new slot's.
        profile_model expected = profile_of_model(m, 2, {}, 8);
        expected.aux[0] = expected.assign[2] = expected.settings[2] = expected.layout[2] = 1;
        for (QByteArray& r : expected.macros)
            r[3] = 1;
        QCOMPARE(profile_of(black, 1), forge_profile(expected).bytes);

        // A profile object keeps all of it, its favourites and its type included.
        zarek_profile_c p;
        QVERIFY(read_profile_bytes(p, white));
        QCOMPARE(profile_of(p), white);
    }

    void read_profile_keeps_unread_record_bytes() {
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

    void saved_layout_list_growth_data() {
        QTest::addColumn<QByteArray>("read_name");
        QTest::addColumn<int>("read_fitted");
        QTest::addColumn<int>("read_doubles");
        QTest::addColumn<bool>("grows");
        // Against a saved layout "Gam" with fitted mask 0x0F0F and double mask 2.
        QTest::addRow("same name and masks") << QByteArray("Gam") << 0xF0F << 2 << false;
        QTest::addRow("first three characters match") << QByteArray("Gamut") << 0xF0F << 2 << false;
        QTest::addRow("third character differs") << QByteArray("Gax") << 0xF0F << 2 << true;
        QTest::addRow("short name counts whole") << QByteArray("Ga") << 0xF0F << 2 << true;
        QTest::addRow("fitted low byte differs") << QByteArray("Gam") << 0xF0E << 2 << true;
        QTest::addRow("fitted high byte differs") << QByteArray("Gam") << 0x70F << 2 << true;
        QTest::addRow("double mask differs") << QByteArray("Gam") << 0xF0F << 3 << true;
    }

    void saved_layout_list_growth() {
        QFETCH(QByteArray, read_name);
        QFETCH(int, read_fitted);
        QFETCH(int, read_doubles);
        QFETCH(bool, grows);
        zarek_data_c d(nullptr, product_type::black);
        btn_layout_rec saved;
        saved.overlay(layout_image(0, "Gam", 0xF0F, 2));
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

    void imported_macros_go_to_the_library() {
        // The module keeps the host pointer after exit, so the fake outlives the test.
        static fake_host host;
        fake_hub hub;
        fake_library library;
        hub.library = &library;
        host.center.hub = &hub;
        host.app = &host.center;
        quil_init_module(&host);

        profile_model p;
        for (int k = 0; k < 40; ++k) {
            QByteArray m = macro_image(0, k, 0);
            const QByteArray group = "G" + QByteArray::number(k);
            m.replace(6, group.size(), group);
            p.macros.append(m);
        }
        for (int k : {0, 1, 2, 17, 39})
            p.assign[3 + 3 * k] = char(48);
        p.assign[3 + 3 * 5] = char(47);
        zarek_data_c d(nullptr, product_type::black);
        QVERIFY(read_profile_bytes(d, forge_profile(p).bytes, 1));
        // Buttons 0 and 1 never carry macros to the library; the others go in
        // button order, each to its own group.
        QCOMPARE(library.added_groups, (QStringList{"G2", "G17", "G39"}));

        quil_exit_module();
        host.center.hub = nullptr;
        host.app = nullptr;
    }

    void favourites_value_layout() {
        zarek_data_c d(nullptr, product_type::black);
        d.set_favourites_file(m_favourites);
        d.favourites() = {7};
        d.save_favourites();
        d.favourites() = {4, 13, -3};
        d.save_favourites(); // the file exists now: its permissions are set
        forge expected;
        expected.be32(3).word(4).word(13).word(-3);
        QCOMPARE(QSettings(m_favourites, QSettings::IniFormat).value("Favorite").toByteArray(),
                 expected.bytes);
        // "Writable for its user" must not make the file unreadable here.
        const QFile::Permissions p = QFile::permissions(m_favourites);
        QVERIFY((p & QFile::ReadUser) && (p & QFile::WriteUser));
        QVERIFY(!(p & (QFile::ReadOther | QFile::WriteOther)));

        zarek_data_c other(nullptr, product_type::black);
        other.set_favourites_file(m_favourites);
        other.load_favourites();
        QCOMPARE(other.favourites(), (QList<int32_t>{4, 13, -3}));
    }

    void favourites_load_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QList<int32_t>>("expected");
        const QList<int32_t> defaults{1, 2, 13, 8, 7};
        forge two;
        two.be32(2).word(9).word(14);
        forge short_word;
        short_word.be32(1).field(QByteArray("\x0B", 1));
        forge long_word;
        long_word.be32(1).field(forge::le32(12) + QByteArray(5000, 'x'));
        forge huge_word;
        huge_word.be32(1).be32(0x7FFFFFFF);
        QTest::addRow("stored list") << two.bytes << QList<int32_t>{9, 14};
        QTest::addRow("stored empty list") << QByteArray(4, 0) << QList<int32_t>{};
        QTest::addRow("no value") << QByteArray() << defaults;
        QTest::addRow("truncated in a word") << two.bytes.left(two.bytes.size() - 2) << defaults;
        QTest::addRow("count minus one") << patch_be32(two.bytes, 0, 0xFFFFFFFF) << defaults;
        QTest::addRow("count 0x7FFFFFFF") << patch_be32(two.bytes, 0, 0x7FFFFFFF) << defaults;
        QTest::addRow("one-byte word") << short_word.bytes << QList<int32_t>{11};
        QTest::addRow("5000-byte word") << long_word.bytes << QList<int32_t>{12};
        QTest::addRow("word length 0x7FFFFFFF") << huge_word.bytes << defaults;
        QTest::addRow("garbage") << QByteArray("\x13\x37garbage-garbage") << defaults;
    }

    void favourites_load() {
        QFETCH(QByteArray, value);
        QFETCH(QList<int32_t>, expected);
        zarek_data_c d(nullptr, product_type::black);
        d.set_favourites_file(m_favourites);
        d.favourites() = {99};
        d.load_favourites();
        QCOMPARE(d.favourites(), (QList<int32_t>{1, 2, 13, 8, 7}));
        QSettings(m_favourites, QSettings::IniFormat).setValue("Favorite", value);
        d.favourites() = {99};
        const log_capture log;
        d.load_favourites();
        QCOMPARE(d.favourites(), expected);
        // Damage is reported; a missing value is not damage.
        const bool damaged = expected == QList<int32_t>{1, 2, 13, 8, 7} && !value.isEmpty();
        QCOMPARE(log.text().contains(QStringLiteral("favourites")), damaged);
    }

    void read_all_hostile_data() {
        QTest::addColumn<QByteArray>("blob");
        QTest::addColumn<bool>("accepted");
        const forge f = forge_set(busy_model(9));
        const QByteArray& b = f.bytes;
        QTest::addRow("complete") << b << true;
        QTest::addRow("empty") << QByteArray() << false;
        QTest::addRow("one byte short") << b.left(b.size() - 1) << false;
        QTest::addRow("noise") << noise(40000) << false;
        for (int e = 1; e <= 18; ++e) {
            const int at = f.marks[e - 1], next = f.marks[e];
            if (e > 1)
                QTest::addRow("cut before element %d", e) << b.left(at) << false;
            QTest::addRow("cut inside element %d", e) << b.left(at + (next - at) / 2) << false;
        }
        for (int e : {1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 15, 16, 18}) {
            const int at = f.marks[e - 1];
            QTest::addRow("element %d count -1", e) << patch_be32(b, at, 0xFFFFFFFF) << false;
            QTest::addRow("element %d count 1025", e) << patch_be32(b, at, 1025) << false;
            QTest::addRow("element %d count 0x7FFFFFFF", e)
                << patch_be32(b, at, 0x7FFFFFFF) << false;
        }
        for (int e : {3, 6, 12, 17})
            QTest::addRow("element %d field length 0x7FFFFFFF", e)
                << patch_be32(b, f.marks[e - 1], 0x7FFFFFFF) << false;
        // Inside the lists: the first record's length and the first macro list's count.
        QTest::addRow("name field length -2") << patch_be32(b, f.marks[0] + 4, 0xFFFFFFFE) << false;
        QTest::addRow("macro list count 0x7FFFFFFF")
            << patch_be32(b, f.marks[17] + 4, 0x7FFFFFFF) << false;
        QTest::addRow("map entry count 0x7FFFFFFF")
            << patch_be32(b, f.marks[3] + 4, 0x7FFFFFFF) << false;
        // The picture of slot 3 sits after the null pictures of slots 0..2.
        QByteArray broken_png = b;
        broken_png[f.marks[6] + 4 + 3 * 4 + 4 + 1] = 'X'; // PNG signature
        QTest::addRow("picture signature broken") << broken_png << false;
        // Text maps: the list count, two empty maps, the third map's count, its first key.
        QTest::addRow("odd text length") << patch_be32(b, f.marks[7] + 5 * 4, 3) << false;
    }

    void read_all_hostile() {
        QFETCH(QByteArray, blob);
        QFETCH(bool, accepted);
        zarek_data_c d(nullptr, product_type::black);
        d.set_favourites_file(m_favourites);
        apply(busy_model(10), d);
        const QByteArray before = write_all_of(d);
        const log_capture log;
        QCOMPARE(d.read_all(blob), accepted);
        QCOMPARE(write_all_of(d), accepted ? blob : before);
        QCOMPARE(log.text().contains(QStringLiteral("the stored profiles are kept")), !accepted);
    }

    void read_all_list_lengths_data() {
        QTest::addColumn<int>("length");
        QTest::addRow("none") << 0;
        QTest::addRow("three") << 3;
        QTest::addRow("seven") << 7;
    }

    void read_all_list_lengths() {
        QFETCH(int, length);
        const set_model source = busy_model(11);
        set_model m = source;
        // Record fields of any length: a record takes what fits over its default.
        m.names[0] = m.names[0].left(1);
        m.names[1] += QByteArray(5000, 'q');
        for (QVector<QByteArray>* v :
             {&m.names, &m.paths, &m.extras, &m.aux, &m.assign, &m.settings, &m.layouts}) {
            const QByteArray extra = rec(v->last().size(), {1});
            v->resize(qMin(length, 5));
            while (v->size() < length)
                v->append(extra);
        }
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
        expected.names[0] = name_image(QString(), 50).replace(0, 1, source.names[0].left(1));
        const profile_model defaults;
        for (int s = qMin(length, 5); s < 5; ++s) {
            expected.names[s] = defaults.name;
            expected.paths[s] = defaults.paths;
            expected.extras[s] = defaults.extra;
            expected.aux[s] = defaults.aux;
            expected.assign[s] = defaults.assign;
            expected.settings[s] = defaults.settings;
            expected.layouts[s] = defaults.layout;
            expected.params[s].clear();
            expected.data[s].clear();
            expected.texts[s].clear();
            expected.pictures[s] = QPixmap();
            expected.macros[s] = QVector<QByteArray>(40, rec(2002, {0x0E, 0xD2, 0x07, s}));
        }
        expected.saved = m.saved;
        QCOMPARE(write_all_of(d), forge_set(expected).bytes);
    }

    void read_profile_hostile_data() {
        QTest::addColumn<QByteArray>("blob");
        QTest::addColumn<bool>("accepted");
        profile_model m = profile_of_model(busy_model(15), 3, {1, 13}, 9); // with a picture
        const forge f = forge_profile(m);
        const QByteArray& b = f.bytes;
        QTest::addRow("complete") << b << true;
        QTest::addRow("empty") << QByteArray() << false;
        for (int type : {1, 10, 0x108}) {
            QTest::addRow("product type %d", type)
                << QByteArray(b).replace(4, 4, forge::le32(type)) << false;
        }
        QTest::addRow("noise") << noise(20000) << false;
        for (int e = 1; e <= 15; ++e) {
            const int at = f.marks[e - 1], next = f.marks[e];
            if (e > 1)
                QTest::addRow("cut before element %d", e) << b.left(at) << false;
            QTest::addRow("cut inside element %d", e) << b.left(at + (next - at) / 2) << false;
            if (e != 7) // the picture's marker is only "null or not"
                QTest::addRow("element %d length or count 0x7FFFFFFF", e)
                    << patch_be32(b, at, 0x7FFFFFFF) << false;
        }
        for (int e : {5, 6, 8, 9, 15})
            QTest::addRow("element %d count -1", e)
                << patch_be32(b, f.marks[e - 1], 0xFFFFFFFF) << false;
        // The picture: its PNG (after the marker) replaced, or its header made to claim
        // another size with a valid checksum.
        const int png_at = f.marks[6] + 4;
        const QByteArray png = b.mid(png_at, f.marks[7] - png_at);
        auto with_png = [&](const QByteArray& other) {
            return b.left(png_at) + other + b.mid(f.marks[7]);
        };
        // A null marker before PNG bytes: the signature becomes the next element's count.
        QTest::addRow("picture marker cleared") << patch_be32(b, png_at - 4, 0) << false;
        QTest::addRow("picture header rewritten, same size")
            << with_png(with_png_size(png, 4, 3)) << true;
        QTest::addRow("picture 8193 wide") << with_png(with_png_size(png, 8193, 3)) << false;
        QTest::addRow("picture 4097 x 4097") << with_png(with_png_size(png, 4097, 4097)) << false;
        QTest::addRow("picture rows missing") << with_png(with_png_size(png, 300, 300)) << false;
        QBuffer bmp;
        bmp.open(QIODevice::WriteOnly);
        QImageWriter(&bmp, "bmp").write(m.picture.toImage());
        QTest::addRow("picture not png") << with_png(bmp.data()) << false;
        profile_model many = m;
        many.macros += QVector<QByteArray>(3, rec(2002, {9}));
        QTest::addRow("43 macros") << forge_profile(many).bytes << true;
        profile_model odd_fields = m;
        odd_fields.assign = QByteArray(1, 7);
        odd_fields.block_48 = QByteArray(5000, 'b');
        QTest::addRow("1-byte and 5000-byte records") << forge_profile(odd_fields).bytes << true;
    }

    void read_profile_hostile() {
        QFETCH(QByteArray, blob);
        QFETCH(bool, accepted);
        zarek_data_c d(nullptr, product_type::black);
        d.set_favourites_file(m_favourites);
        apply(busy_model(16), d);
        const QByteArray before = write_all_of(d);
        const log_capture log;
        QCOMPARE(read_profile_bytes(d, blob, 2), accepted);
        if (!accepted)
            QCOMPARE(write_all_of(d), before);
        QCOMPARE(log.text().contains(QStringLiteral("Profile import refused")), !accepted);
        expect_consistent(d);

        zarek_profile_c p;
        p.set_name(QStringLiteral("before"));
        const QByteArray object_before = profile_of(p);
        QCOMPARE(read_profile_bytes(p, blob), accepted);
        if (!accepted)
            QCOMPARE(profile_of(p), object_before);
        QVERIFY(p.profile().macros.size() <= 40);
    }
};

QTEST_MAIN(test_profile_format)
#include "test_profile_format.moc"
