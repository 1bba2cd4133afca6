// The profile-set blob, the profile blob and the favourites value against bytes
// forged by hand, and every reader fed with damaged data.
#include "common/log.h"
#include "common/log_capture.h"
#include "kernel/zarek_data.h"
#include "kernel/zarek_profile.h"
#include "kernel_test_support.h"
#include "module/global_func.h"
#include "module/module.h"
#include "support/fake_host.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

namespace {

using byte_map = QMap<int, QByteArray>;
using text_map = QMap<int, QString>;

QByteArray name_image(const QString& name, int volume) {
    QByteArray r = rec(112);
    put_utf16le(r, 0, name);
    r[104] = char(volume);
    return r;
}

// A macro of group "G<button>".
QByteArray macro_image(int slot, int button, int tag) {
    QByteArray r = rec(2002, {0x0E, 0xD2, 0x07, slot, button});
    const QByteArray group = "G" + QByteArray::number(button);
    r.replace(6, group.size(), group);
    r[46] = char('A' + button % 26);
    r[2001] = char(tag);
    return r;
}

QByteArray layout_image(int slot, const QByteArray& name, int fitted, int doubles) {
    QByteArray r = rec(30, {10, 30, slot});
    r.replace(3, name.size(), name);
    r[27] = char(fitted & 0xFF); // little-endian 16-bit mask
    r[28] = char((fitted >> 8) & 0xFF);
    r[29] = char(doubles);
    return r;
}

QPixmap solid(int w, int h, Qt::GlobalColor c) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(c);
    return QPixmap::fromImage(image);
}

// One profile as a profile blob carries it, in test-made byte images.
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

// A profile set: its lists hold one element per profile (five, unless a test says
// otherwise), then the device bytes and the saved layouts.
struct set_model {
    QVector<profile_model> profiles;
    QByteArray device = QByteArray(87, 0);
    QVector<QByteArray> saved;
};

// One element of every profile of a set, as the set's list of it.
template <class T>
QVector<T> column(const set_model& m, T profile_model::*field) {
    QVector<T> out;
    for (const profile_model& p : m.profiles)
        out.append(p.*field);
    return out;
}

// What a new profile set holds.
set_model fresh_model() {
    set_model m;
    const char head[] = {5, 4, 0, 1, 1, 15, 6, 0, 0, 0, 0, 22, 16};
    m.device.replace(0, 13, QByteArray(head, 13));
    m.device.replace(35, 4, QByteArray(4, char(0xFF)));
    for (int s = 0; s < 5; ++s) {
        profile_model p;
        p.name = name_image(QStringLiteral("Default%1").arg(s + 1), 0);
        p.aux = rec(4, {s});
        p.assign = rec(123, {7, 123, s});
        p.settings = rec(33, {6, 33, s});
        p.layout = rec(30, {10, 30, s});
        p.macros = QVector<QByteArray>(40, rec(2002, {0x0E, 0xD2, 0x07, s}));
        m.profiles.append(p);
        m.saved.append(rec(30));
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
        profile_model& p = m.profiles[s];
        p.name = name_image(QStringLiteral("Name %1-%2").arg(seed).arg(s), 40 + s);
        put_utf16le(p.paths, 512 * s, QStringLiteral("C:/p%1").arg(seed));
        p.extra = rec(2, {0x1F, seed + s});
        p.aux = rec(4, {s, 9, 10 + seed, 11});
        for (int k = 0; k < 40; ++k) {
            p.assign[3 + 3 * k] = char(k == 5 ? 48 : k + seed);
            p.assign[4 + 3 * k] = char(s);
        }
        for (int i = 3; i < 33; ++i)
            p.settings[i] = char(i + s + seed);
        p.layout = layout_image(s, "Lay" + QByteArray::number(s), 0x0F0F >> s, s);
        for (int k = 0; k < 40; ++k)
            p.macros[k] = macro_image(s, k, seed + s);
    }
    m.profiles[1].params =
        byte_map{{3, QByteArray(11, 3)}, {17, QByteArray(11, 17)}, {9, QByteArray(11, 9)}};
    m.profiles[4].params = byte_map{{-2, QByteArray(11, char(0xFE))},
                                    {std::numeric_limits<int>::min(), QByteArray(11, 1)},
                                    {std::numeric_limits<int>::max(), QByteArray(11, 2)}};
    m.profiles[2].texts = text_map{{5, QStringLiteral("C:/Program Files/app.exe")},
                                   {30, QStringLiteral("https://example.invalid/\u00e9")},
                                   {-7, QString("")},
                                   {7, QString()}};
    m.profiles[4].data = byte_map{{39, QByteArray(75, 0x39)}, {0, QByteArray(75, 1)}};
    m.profiles[3].picture = solid(4, 3, Qt::red);
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
    text.isNull() ? f.be32(0xFFFFFFFF) : f.text(text);
}

void put(forge& f, const QPixmap& picture) {
    picture.isNull() ? f.null_picture() : f.picture(picture);
}

// The writer emits map entries in descending key order.
template <class T>
void put(forge& f, const QMap<int, T>& map) {
    f.be32(quint32(map.size()));
    const QList<int> ascending = map.keys();
    for (auto k = ascending.crbegin(); k != ascending.crend(); ++k)
        put(f.be32(quint32(*k)), map.value(*k));
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
    put(f.mark(), column(m, &profile_model::name));
    put(f.mark(), column(m, &profile_model::paths));
    f.mark().field(m.device.mid(27, 12));
    put(f.mark(), column(m, &profile_model::params));
    put(f.mark(), column(m, &profile_model::extra));
    f.mark().field(m.device.mid(0, 4));
    put(f.mark(), column(m, &profile_model::picture));
    put(f.mark(), column(m, &profile_model::texts));
    f.mark().u8(m.device[4] != 0 ? 1 : 0);
    put(f.mark(), column(m, &profile_model::data));
    put(f.mark(), column(m, &profile_model::aux));
    f.mark().field(m.device.mid(5, 6));
    put(f.mark(), column(m, &profile_model::assign));
    put(f.mark(), column(m, &profile_model::settings));
    put(f.mark(), m.saved);
    put(f.mark(), column(m, &profile_model::layout));
    f.mark().field(m.device.mid(39, 48));
    put(f.mark(), column(m, &profile_model::macros));
    f.mark();
    return f;
}

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

// The profile blob of slot `s` of a set, with the given favourites.
profile_model profile_of_model(const set_model& m, int s, const QList<qint32>& words, int type) {
    profile_model p = m.profiles[s];
    p.type = forge::le32(type);
    p.words = words;
    p.block_48 = m.device.mid(39, 48);
    return p;
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

// A host profile service with a section of its own; it notes each call and the position.
class journal_service : public profile_service_i {
public:
    QStringList calls;
    QByteArray section = "HOST-SECTION", read_back;

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

    // A set holding the model, taken in through the reader.
    void load(zarek_data_c& d, const set_model& m) {
        d.set_favourites_file(m_favourites);
        QVERIFY(d.read_all(forge_set(m).bytes));
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        // Everything the module writes (log, settings) stays in the temporary folder.
        global_func().set_maker_folder(m_dir.path());
        module_log().init(m_dir.path() + QStringLiteral("/"), QStringLiteral("Quil"));
    }

    void init() {
        static int n = 0;
        m_favourites = m_dir.filePath(QStringLiteral("setting/fav%1").arg(++n));
    }

    void new_set_blob_layout() {
        zarek_data_c d(nullptr, product_type::white);
        QCOMPARE(write_all_of(d), forge_set(fresh_model()).bytes);
    }

    void set_round_trip_same_bytes() {
        // Every element differs from its default; maps hold keys inserted out of order.
        const QByteArray first = forge_set(busy_model(2)).bytes;
        zarek_data_c source(nullptr, product_type::black);
        load(source, busy_model(2));
        QCOMPARE(write_all_of(source), first);

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

    void host_section_follows_the_set() {
        journal_service service;
        zarek_data_c d(nullptr, product_type::black);
        d.set_favourites_file(m_favourites);
        const QByteArray own = write_all_of(d);
        d.set_profile_service(&service);
        const QByteArray blob = write_all_of(d);
        QCOMPARE(service.calls, QStringList{QStringLiteral("write_section at %1").arg(own.size())});
        QCOMPARE(blob, own + service.section);

        service.calls.clear();
        QVERIFY(d.read_all(blob));
        QCOMPARE(service.calls,
                 (QStringList{"begin_read", QStringLiteral("read_section at %1").arg(own.size())}));
        QCOMPARE(service.read_back, service.section);

        // Damaged set data: the service is not asked to read from a lost position.
        service.calls.clear();
        QVERIFY(!d.read_all(blob.left(own.size() - 1)));
        QVERIFY(service.calls.isEmpty());
    }

    void profile_blob_layout() {
        const set_model m = busy_model(4);
        zarek_data_c d(nullptr, product_type::white);
        load(d, m);
        d.favourites() = {13, -1, 7};
        for (int s = 0; s < 5; ++s)
            QCOMPARE(profile_of(d, s), forge_profile(profile_of_model(m, s, {13, -1, 7}, 9)).bytes);

        zarek_profile_c p;
        QCOMPARE(profile_of(p), forge_profile(profile_model()).bytes);
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

    void saved_layout_list_growth_data() {
        QTest::addColumn<QByteArray>("read"); // the layout record of the profile read
        QTest::addColumn<bool>("grows");
        // Against a saved layout "Gam" with fitted mask 0x0F0F and double mask 2.
        QTest::addRow("same name and masks") << layout_image(3, "Gam", 0xF0F, 2) << false;
        QTest::addRow("first three characters match")
            << layout_image(3, "Gamut", 0xF0F, 2) << false;
        QTest::addRow("third character differs") << layout_image(3, "Gax", 0xF0F, 2) << true;
        QTest::addRow("fitted mask differs") << layout_image(3, "Gam", 0x70F, 2) << true;
        QTest::addRow("double mask differs") << layout_image(3, "Gam", 0xF0F, 3) << true;
    }

    void saved_layout_list_growth() {
        QFETCH(QByteArray, read);
        QFETCH(bool, grows);
        zarek_data_c d(nullptr, product_type::black);
        btn_layout_rec saved;
        saved.overlay(layout_image(0, "Gam", 0xF0F, 2));
        d.saved_layouts().append(saved);
        const int before = d.saved_layouts().size();

        profile_model p;
        p.layout = read;
        p.layout[25] = 0x44; // the preset identifier takes no part in the match
        QVERIFY(read_profile_bytes(d, forge_profile(p).bytes, 3));
        QCOMPARE(d.saved_layouts().size(), before + (grows ? 1 : 0));
        if (grows)
            QCOMPARE(bytes_of(d.saved_layouts().last()), bytes_of(d.layout(3)));
        // A second read of the same layout never adds it twice.
        QVERIFY(read_profile_bytes(d, forge_profile(p).bytes, 2));
        QCOMPARE(d.saved_layouts().size(), before + (grows ? 1 : 0));
    }

    void read_profile_into_a_slot() {
        // The module keeps the host pointer after exit, so the fake outlives the test.
        static fake_host host;
        fake_hub hub;
        fake_library library;
        hub.library = &library;
        host.center.hub = &hub;
        host.app = &host.center;
        quil_init_module(&host);

        // A profile from an older writer with a short name record: what it lacks keeps
        // the slot's bytes.
        profile_model p;
        p.name = name_image(QStringLiteral("Old"), 0).left(20);
        for (int k = 0; k < 40; ++k)
            p.macros.append(macro_image(0, k, 0));
        for (int k : {0, 1, 2, 17, 39})
            p.assign[3 + 3 * k] = char(48);
        p.assign[3 + 3 * 5] = char(47);
        zarek_data_c d(nullptr, product_type::black);
        d.name(1).volume() = 77;
        QVERIFY(read_profile_bytes(d, forge_profile(p).bytes, 1));
        QCOMPARE(d.name(1).name(), QStringLiteral("Old"));
        QCOMPARE(int(d.name(1).volume()), 77);
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

    void favourites_load_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QList<int32_t>>("expected");
        const QList<int32_t> defaults{1, 2, 13, 8, 7};
        forge two;
        two.be32(2).word(9).word(14);
        auto one_word = [](const QByteArray& field) {
            return forge().be32(1).field(field).bytes;
        };
        QTest::addRow("no value") << QByteArray() << defaults;
        QTest::addRow("truncated in a word") << two.bytes.left(two.bytes.size() - 2) << defaults;
        QTest::addRow("count minus one") << patch_be32(two.bytes, 0, 0xFFFFFFFF) << defaults;
        QTest::addRow("count 0x7FFFFFFF") << patch_be32(two.bytes, 0, 0x7FFFFFFF) << defaults;
        QTest::addRow("one-byte word") << one_word(QByteArray("\x0B", 1)) << QList<int32_t>{11};
        QTest::addRow("5000-byte word")
            << one_word(forge::le32(12) + QByteArray(5000, 'x')) << QList<int32_t>{12};
        QTest::addRow("null word") << forge().be32(1).be32(0xFFFFFFFF).bytes << QList<int32_t>{0};
        QTest::addRow("word length 0x7FFFFFFF")
            << patch_be32(one_word({}), 4, 0x7FFFFFFF) << defaults;
        QTest::addRow("garbage") << QByteArray("\x13\x37garbage-garbage") << defaults;
    }

    void favourites_load() {
        QFETCH(QByteArray, value);
        QFETCH(QList<int32_t>, expected);
        zarek_data_c d(nullptr, product_type::black);
        d.set_favourites_file(m_favourites);
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
        QTest::addRow("garbage") << QByteArray("garbage ").repeated(5000) << false;
        for (int e = 1; e <= 18; ++e)
            QTest::addRow("cut inside element %d", e)
                << b.left((f.marks[e - 1] + f.marks[e]) / 2) << false;
        for (int e : {1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 15, 16, 18}) {
            const int at = f.marks[e - 1];
            QTest::addRow("element %d count -1", e) << patch_be32(b, at, 0xFFFFFFFF) << false;
            QTest::addRow("element %d count 0x7FFFFFFF", e)
                << patch_be32(b, at, 0x7FFFFFFF) << false;
        }
        for (int e : {3, 6, 12, 17})
            QTest::addRow("element %d field length 0x7FFFFFFF", e)
                << patch_be32(b, f.marks[e - 1], 0x7FFFFFFF) << false;
        // Inside the lists: the first record's length.
        QTest::addRow("name field length -2") << patch_be32(b, f.marks[0] + 4, 0xFFFFFFFE) << false;
        // Text maps: the list count, two empty maps, the third map's count, its first key.
        QTest::addRow("odd text length") << patch_be32(b, f.marks[7] + 5 * 4, 3) << false;
    }

    void read_all_hostile() {
        QFETCH(QByteArray, blob);
        QFETCH(bool, accepted);
        zarek_data_c d(nullptr, product_type::black);
        load(d, busy_model(10));
        const QByteArray before = write_all_of(d);
        const log_capture log;
        QCOMPARE(d.read_all(blob), accepted);
        QCOMPARE(write_all_of(d), accepted ? blob : before);
        QCOMPARE(log.text().contains(QStringLiteral("the stored profiles are kept")), !accepted);
    }

    void read_all_lists_of_other_lengths() {
        // List readers reset every element to its default first, keep the first five and
        // default the slots without one; a 1-byte record keeps the rest of its default.
        set_model one = busy_model(11), seven = one;
        one.profiles.resize(1);
        one.profiles[0].name = one.profiles[0].name.left(1);
        seven.profiles << seven.profiles[0] << seven.profiles[1];
        zarek_data_c d(nullptr, product_type::black);
        load(d, busy_model(12));
        load(d, one);
        QCOMPARE(bytes_of(d.name(0)),
                 name_image(QString(), 50).replace(0, 1, one.profiles[0].name));
        QCOMPARE(bytes_of(d.macro(4, 0)), rec(2002, {0x0E, 0xD2, 0x07, 4}));
        load(d, seven);
        QCOMPARE(write_all_of(d), forge_set(busy_model(11)).bytes);
    }

    void read_profile_hostile_data() {
        QTest::addColumn<QByteArray>("blob");
        QTest::addColumn<bool>("accepted");
        profile_model m = profile_of_model(busy_model(15), 3, {1, 13}, 9); // with a picture
        const forge f = forge_profile(m);
        const QByteArray& b = f.bytes;
        QTest::addRow("complete") << b << true;
        QTest::addRow("product type 10") << QByteArray(b).replace(4, 4, forge::le32(10)) << false;
        QTest::addRow("garbage") << QByteArray("garbage ").repeated(2500) << false;
        for (int e = 1; e <= 15; ++e) {
            const int at = f.marks[e - 1], next = f.marks[e];
            QTest::addRow("cut inside element %d", e) << b.left(at + (next - at) / 2) << false;
            if (e != 7) // the picture's marker is only "null or not"
                QTest::addRow("element %d length or count 0x7FFFFFFF", e)
                    << patch_be32(b, at, 0x7FFFFFFF) << false;
        }
        for (int e : {5, 6, 8, 9, 15})
            QTest::addRow("element %d count -1", e)
                << patch_be32(b, f.marks[e - 1], 0xFFFFFFFF) << false;
        // The picture: too wide, or no PNG at all.
        profile_model wide = m;
        wide.picture = solid(8193, 1, Qt::red);
        QTest::addRow("picture 8193 wide") << forge_profile(wide).bytes << false;
        QTest::addRow("picture not png")
            << b.left(f.marks[6] + 4) + QByteArray("BM not a png") + b.mid(f.marks[7]) << false;
        profile_model odd_fields = m;
        odd_fields.assign = QByteArray(1, 7);
        odd_fields.block_48 = QByteArray(5000, 'b');
        odd_fields.macros += QVector<QByteArray>(3, rec(2002, {9}));
        QTest::addRow("1-byte and 5000-byte records, 43 macros")
            << forge_profile(odd_fields).bytes << true;
    }

    void read_profile_hostile() {
        QFETCH(QByteArray, blob);
        QFETCH(bool, accepted);
        zarek_data_c d(nullptr, product_type::black);
        load(d, busy_model(16));
        const QByteArray before = write_all_of(d);
        const log_capture log;
        QCOMPARE(read_profile_bytes(d, blob, 2), accepted);
        if (!accepted)
            QCOMPARE(write_all_of(d), before);
        QCOMPARE(log.text().contains(QStringLiteral("Profile import refused")), !accepted);
        // Whatever the reader took in, the set still writes a blob that reads back the same.
        const QByteArray after = write_all_of(d);
        zarek_data_c check(nullptr, product_type::black);
        load(check, busy_model(16));
        QVERIFY(check.read_all(after));
        QCOMPARE(write_all_of(check), after);

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
