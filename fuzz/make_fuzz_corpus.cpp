// Writes the fuzzers' seed corpus: for every harness a few valid inputs and near variants of
// them (cut short, a count gone wild, a wrong head), so that fuzzing starts past the first
// fields. Run it from a fuzz build and commit what it writes:
//   build-check/tools/make_fuzz_corpus fuzz/corpus host/catalogue/settings.xml
#include "buttons/default_presets.h"
#include "host/macro_library.h"
#include "kernel/zarek_data.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTextStream>
#include <QtEndian>

#include <functional>

namespace {

QString g_root;

void seed(const QString& harness, const QString& name, const QByteArray& bytes) {
    const QString folder = g_root + QLatin1Char('/') + harness;
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
}

QByteArray cut(const QByteArray& bytes, int keep) {
    return bytes.left(keep);
}

// The big-endian 32-bit value at `at` replaced: a count or a length that lies.
QByteArray with_int(QByteArray bytes, int at, quint32 value) {
    qToBigEndian<quint32>(value, bytes.data() + at);
    return bytes;
}

QByteArray stream_of(const std::function<void(QDataStream&)>& write) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_4);
    write(out);
    return bytes;
}

QPixmap small_picture() {
    QImage image(12, 8, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 40, 255));
    QPainter(&image).fillRect(2, 2, 4, 4, QColor(20, 200, 90, 128));
    return QPixmap::fromImage(image);
}

// A set with every slot in use and every element holding something.
void fill(zarek_data_c& set) {
    set.set_count(5);
    load_default_presets(&set);
    for (int slot = 0; slot < max_profile_slots; ++slot) {
        set.name(slot).set_name(QStringLiteral("Profile %1 \u00e9").arg(slot + 1));
        btn_param_block param;
        param.b.fill(uint8_t(slot + 1));
        set.param_map(slot).insert(9, param);
        set.text_map(slot).insert(12, QStringLiteral("text %1").arg(slot));
        btn_data_block block;
        block.b.fill(0x5A);
        set.data_map(slot).insert(20, block);
        macro_rec& macro = set.macro(slot, 10);
        macro.b[78] = 3; // three keys
        for (int k = 0; k < 3; ++k) {
            macro.b[80 + 4 * k] = 1;
            macro.b[81 + 4 * k] = uint8_t(4 + k);
        }
        set.settings(slot).b[4] = uint8_t(10 + slot);
    }
    set.picture(1) = small_picture();
    set.name(1).has_picture() = 1;
}

QByteArray blob_of(const zarek_data_c& set) {
    QByteArray bytes;
    set.write_all(&bytes);
    return bytes;
}

QByteArray profile_of(const zarek_data_c& set, int slot) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    set.write_profile(&buffer, slot);
    return buffer.data();
}

void profile_sets() {
    const QString harness = QStringLiteral("fuzz_read_all");
    zarek_data_c fresh(nullptr, 8);
    zarek_data_c full(nullptr, 8);
    fill(full);
    const QByteArray blob = blob_of(full);
    seed(harness, QStringLiteral("factory"), blob_of(fresh));
    seed(harness, QStringLiteral("full"), blob);
    seed(harness, QStringLiteral("full_cut_in_third"), cut(blob, blob.size() / 3));
    seed(harness, QStringLiteral("full_names_count_wild"), with_int(blob, 0, 0x7FFFFFFF));
}

void profiles() {
    zarek_data_c full(nullptr, 8);
    fill(full);
    zarek_data_c white(nullptr, 9);
    const QByteArray profile = profile_of(full, 1);
    const QByteArray plain = profile_of(white, 0);
    for (const QString& harness :
         {QStringLiteral("fuzz_read_profile"), QStringLiteral("fuzz_profile_read")}) {
        seed(harness, QStringLiteral("with_picture"), profile);
        seed(harness, QStringLiteral("white_factory"), plain);
        seed(harness, QStringLiteral("cut_before_macros"), cut(profile, profile.size() - 30000));
        // The product type inside its 4-byte field (after the field's length).
        QByteArray wrong_type = plain;
        wrong_type[4] = 7;
        seed(harness, QStringLiteral("wrong_product_type"), wrong_type);
    }
}

void favourites() {
    const QString harness = QStringLiteral("fuzz_load_favourites");
    const auto words = [](const QList<int32_t>& list, int count) {
        return stream_of([&](QDataStream& out) {
            out << int32_t(count);
            for (int32_t w : list) {
                QByteArray field(4, 0);
                qToLittleEndian<int32_t>(w, field.data());
                out << field;
            }
        });
    };
    const QByteArray standard = words({1, 2, 13, 8, 7}, 5);
    seed(harness, QStringLiteral("value_default_list"), QByteArray(1, 0) + standard);
    seed(harness, QStringLiteral("value_count_wild"), QByteArray(1, 0) + words({1, 2}, 100000));
    seed(harness, QStringLiteral("value_short_field"),
         QByteArray(1, 0) +
             stream_of([](QDataStream& out) { out << int32_t(1) << QByteArray(2, 3); }));
    seed(harness, QStringLiteral("file_ini"),
         QByteArray(1, 1) + "[General]\nFavorite=@ByteArray("
                            "\\0\\0\\0\\x2\\0\\0\\0\\x4\\x1\\0\\0\\0\\0\\0\\0\\x4\\xd\\0\\0\\0)\n");
    seed(harness, QStringLiteral("file_garbage"), QByteArray(1, 1) + "Favorite=@ByteArray(\n[[");
}

void presets() {
    const QString harness = QStringLiteral("fuzz_default_presets");
    QFile file(QString::fromLatin1(default_presets_path));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("the compiled-in presets are missing");
    const QByteArray ini = file.readAll();
    seed(harness, QStringLiteral("compiled_in"), ini);
    seed(harness, QStringLiteral("setting_not_hex"),
         QByteArray(ini).replace("SETTING=0x230E0F", "SETTING=0xZZ"));
    seed(harness, QStringLiteral("repeated_id"), QByteArray(ini).replace("ID=2", "ID=1"));
    QByteArray many = "[LOAD%20DEFAULT]\nVALUE=1\n";
    for (int i = 0; i < 53; ++i)
        many += QStringLiteral("[Preset%201%2]\nID=%1\nSETTING=0x%3\n")
                    .arg(i)
                    .arg(QString::number(0x020F0F + i, 16))
                    .toLatin1();
    seed(harness, QStringLiteral("more_than_the_limit"), many);
    seed(harness, QStringLiteral("long_utf8_name"),
         "[%C3%A9%C3%A9%C3%A9%C3%A9%C3%A9%C3%A9%C3%A9%C3%A9%C3%A9%C3%A9%C3%A9%C3%A9]\nID="
         "4\nSETTING=0x000FFF\n");
}

void catalogue(const QString& source) {
    const QString harness = QStringLiteral("fuzz_catalogue");
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(source));
    const QByteArray xml = file.readAll();
    // First byte even: XML that the harness compresses; odd: the file's bytes as they are.
    seed(harness, QStringLiteral("xml"), QByteArray(1, 0) + xml);
    seed(harness, QStringLiteral("xml_cut"), QByteArray(1, 0) + xml.left(xml.size() / 2));
    const QByteArray compressed = qCompress(xml);
    seed(harness, QStringLiteral("compressed"), QByteArray(1, 1) + compressed);
    seed(harness, QStringLiteral("compressed_length_lies"),
         QByteArray(1, 1) + with_int(compressed, 0, 0x00FFFFFF));
    seed(harness, QStringLiteral("compressed_cut"),
         QByteArray(1, 1) + compressed.left(compressed.size() / 2));
}

void host_messages() {
    const QString harness = QStringLiteral("fuzz_host_message");
    // First byte: 0 message 8, 1 message 14, 2 message 25, 3 a code nobody handles.
    const QByteArray values =
        stream_of([](QDataStream& out) { out << QByteArray("\x01\x02\x00\x05", 4); });
    seed(harness, QStringLiteral("device_values"), QByteArray(1, 0) + values);
    seed(harness, QStringLiteral("device_values_short"),
         QByteArray(1, 0) + stream_of([](QDataStream& out) { out << QByteArray("\x07", 1); }));
    seed(harness, QStringLiteral("device_values_length_lies"),
         QByteArray(1, 0) + with_int(values, 0, 4000));
    const auto settings = [](int count, int stored) {
        return stream_of([=](QDataStream& out) {
            out << int32_t(count);
            for (int slot = 0; slot < stored; ++slot) {
                profile_settings_rec r;
                r.set_head(uint8_t(slot));
                r.b[4] = uint8_t(slot * 3);
                out << r.to_bytes();
            }
        });
    };
    seed(harness, QStringLiteral("profile_settings"), QByteArray(1, 1) + settings(5, 5));
    seed(harness, QStringLiteral("profile_settings_count_wild"),
         QByteArray(1, 1) + settings(2000, 5));
    seed(harness, QStringLiteral("profile_settings_six"), QByteArray(1, 1) + settings(6, 6));
    seed(harness, QStringLiteral("calibration_result"), QByteArray(1, 2) + QByteArray(1, 1));
    seed(harness, QStringLiteral("unknown_code"), QByteArray(1, 3) + values);
}

void macro_library() {
    const QString harness = QStringLiteral("fuzz_macro_library");
    macro_library_c::group_t group;
    group.name = QStringLiteral("My Macros");
    group.macros.append(macro_library_c::make_record(
        QStringLiteral("Hello"), macro_library_c::typed_keys(QStringLiteral("hello"))));
    group.macros.append(macro_library_c::make_record(QStringLiteral("\u00e9t\u00e9"), {}));
    macro_library_c::group_t empty_group;
    empty_group.name = QStringLiteral("Empty");
    const QByteArray file = macro_library_c::to_bytes({group, empty_group});
    seed(harness, QStringLiteral("two_groups"), file);
    seed(harness, QStringLiteral("no_groups"), macro_library_c::to_bytes({}));
    seed(harness, QStringLiteral("cut_in_a_record"), cut(file, file.size() - 9000));
    seed(harness, QStringLiteral("wrong_magic"), with_int(file, 0, 0x12345678));
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: make_fuzz_corpus CORPUS_FOLDER SETTINGS_XML\n";
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    profile_sets();
    profiles();
    favourites();
    presets();
    catalogue(QString::fromLocal8Bit(argv[2]));
    host_messages();
    macro_library();
    return 0;
}
