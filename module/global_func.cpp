#include "module/global_func.h"

#include "common/log.h"
#include "module/module.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtEndian>

#include <array>
#include <zlib.h>

namespace {

const QString settings_file_name = QStringLiteral("settings.xml");
const QString maker_name = QStringLiteral("VANTOR/");
const QString test_values_name = QStringLiteral("test_value.ini");
const QString shared_memory_head = QStringLiteral("KORAL");
constexpr int32_t host_type = 1;
constexpr int test_value_count = 10;

QString with_slash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

struct inflated_t {
    QByteArray data;
    QString problem; // empty when the stream was complete
};

// Reads qCompress's layout: a 4-byte big-endian length, then a zlib stream. The
// length is only what the writer claims, so it never sizes an allocation: the
// stream is inflated in chunks and cut at max_catalogue_bytes. Whatever inflated
// before a fault is returned, so the XML reader can keep the elements it holds.
inflated_t inflate_catalogue(const QByteArray& bytes) {
    inflated_t result;
    if (bytes.size() < 4) {
        result.problem =
            QStringLiteral("is too short for compressed data (%1 bytes)").arg(bytes.size());
        return result;
    }
    const quint32 declared = qFromBigEndian<quint32>(bytes.constData());

    z_stream stream{};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData() + 4));
    stream.avail_in = static_cast<uInt>(bytes.size() - 4);
    if (inflateInit(&stream) != Z_OK) {
        result.problem = QStringLiteral("cannot be inflated (zlib did not start)");
        return result;
    }

    std::array<char, 64 * 1024> chunk;
    for (;;) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
        stream.avail_out = static_cast<uInt>(chunk.size());
        const int rc = inflate(&stream, Z_NO_FLUSH);
        const int produced = static_cast<int>(chunk.size() - stream.avail_out);
        const int room = global_func_c::max_catalogue_bytes - result.data.size();
        result.data.append(chunk.data(), qMin(produced, room));
        if (produced > room) {
            result.problem = QStringLiteral("inflates to more than %1 bytes; the rest is ignored")
                                 .arg(global_func_c::max_catalogue_bytes);
            break;
        }
        if (rc == Z_STREAM_END)
            break;
        if (rc == Z_BUF_ERROR || (rc == Z_OK && stream.avail_in == 0 && stream.avail_out != 0)) {
            result.problem = QStringLiteral("ends before its compressed stream does");
            break;
        }
        if (rc != Z_OK) {
            result.problem = QStringLiteral("is not valid compressed data (%1)")
                                 .arg(QString::fromLatin1(stream.msg ? stream.msg : "zlib error"));
            break;
        }
    }
    inflateEnd(&stream);

    if (result.problem.isEmpty() && declared != static_cast<quint32>(result.data.size()))
        result.problem =
            QStringLiteral("declares %1 bytes but holds %2").arg(declared).arg(result.data.size());
    return result;
}

// Numbers that do not parse count as 0; a missing attribute takes `missing`.
int32_t decimal_attribute(const QXmlStreamAttributes& attributes, QLatin1String name,
                          int32_t missing) {
    if (!attributes.hasAttribute(name))
        return missing;
    return attributes.value(name).toInt();
}

uint16_t count_attribute(const QXmlStreamAttributes& attributes, QLatin1String name) {
    return attributes.value(name).toUShort();
}

uint16_t pid_attribute(const QXmlStreamAttributes& attributes, QLatin1String name) {
    return attributes.value(name).toUShort(nullptr, 16);
}

void append_once(QList<int32_t>& list, int32_t type) {
    if (!list.contains(type))
        list.append(type);
}

} // namespace

global_func_c::global_func_c(const QString& application_folder, const QString& maker_folder)
    : m_regions{QStringLiteral("US"), QStringLiteral("EU"), QStringLiteral("UK"),
                QStringLiteral("FR"), QStringLiteral("RU"), QStringLiteral("BR"),
                QStringLiteral("JP"), QStringLiteral("KR"), QStringLiteral("NO"),
                QStringLiteral("CH"), QStringLiteral("IT"), QStringLiteral("TR"),
                QStringLiteral("BE"), QStringLiteral("HU"), QStringLiteral("LC"),
                QStringLiteral("SK"), QStringLiteral("CZ"), QStringLiteral("PT"),
                QStringLiteral("ES"), QStringLiteral("TH"), QStringLiteral("AR"),
                QStringLiteral("TC")}
    , m_application_folder(with_slash(application_folder))
    , m_maker_folder(with_slash(maker_folder)) {}

global_func_c::~global_func_c() = default;

void global_func_c::set_application_folder(const QString& folder) {
    m_application_folder = with_slash(folder);
}

void global_func_c::set_maker_folder(const QString& folder) {
    m_maker_folder = with_slash(folder);
}

void global_func_c::clear_catalogue() {
    m_products.clear();
    m_macro_kinds.clear();
    m_language_names.clear();
    m_language_files.clear();
    for (auto& set : m_device_types)
        set.clear();
    m_ovra_products.clear();
    m_m_key_products.clear();
    m_t_key_products.clear();
    m_macro_key_count.clear();
    m_easy_zone_key_count.clear();
    m_extend_key_count.clear();
}

void global_func_c::load_catalogue() {
    clear_catalogue();
    const QString path = catalogue_file();
    QFile file(path);
    if (!file.exists()) {
        write_log(path + QStringLiteral(" not exist"), true);
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        write_log(path + QStringLiteral(" cannot be opened: ") + file.errorString(), true);
        return;
    }
    // Compressed bytes beyond the inflated limit cannot belong to an honest catalogue.
    const QByteArray compressed = file.read(max_catalogue_bytes);
    const inflated_t xml = inflate_catalogue(compressed);
    if (!xml.problem.isEmpty()) {
        write_log(path + QLatin1Char(' ') + xml.problem, true);
        if (xml.data.isEmpty())
            return;
    }
    read_catalogue_xml(xml.data);
}

void global_func_c::read_catalogue_xml(const QByteArray& data) {
    QXmlStreamReader xml(data);
    if (xml.readNextStartElement()) {
        while (xml.readNextStartElement()) {
            const QStringRef name = xml.name();
            if (name == QLatin1String("LANGUAGES"))
                read_languages(xml);
            else if (name == QLatin1String("PRODUCTS"))
                read_products(xml);
            else if (name == QLatin1String("MACRO_KEY_COUNT"))
                read_counts(xml, m_macro_key_count);
            else if (name == QLatin1String("EASY_ZONE_KEY_COUNT"))
                read_counts(xml, m_easy_zone_key_count);
            else if (name == QLatin1String("EXTEND_KEY_COUNT"))
                read_counts(xml, m_extend_key_count);
            else if (name == QLatin1String("OVRA_PRODUCT"))
                read_product_list(xml, m_ovra_products);
            else if (name == QLatin1String("M_KEY_PRODUCT"))
                read_product_list(xml, m_m_key_products);
            else if (name == QLatin1String("T_KEY_PRODUCT"))
                read_product_list(xml, m_t_key_products);
            else
                xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        write_log(QStringLiteral("%1:%2:%3: %4 The rest is ignored.")
                      .arg(catalogue_file())
                      .arg(xml.lineNumber())
                      .arg(xml.columnNumber())
                      .arg(xml.errorString()),
                  true);
}

void global_func_c::read_languages(QXmlStreamReader& xml) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("LANGUAGE")) {
            const QXmlStreamAttributes attributes = xml.attributes();
            const int32_t id = decimal_attribute(attributes, QLatin1String("id"), 0);
            m_language_names.insert(id, attributes.value(QLatin1String("name")).toString());
            m_language_files.insert(id, attributes.value(QLatin1String("file")).toString());
        }
        xml.skipCurrentElement();
    }
}

void global_func_c::read_products(QXmlStreamReader& xml) {
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("PRODUCT")) {
            xml.skipCurrentElement();
            continue;
        }
        const QXmlStreamAttributes a = xml.attributes();
        const int32_t type = decimal_attribute(a, QLatin1String("type"), 0);
        product_t product;
        product.pid = pid_attribute(a, QLatin1String("pid"));
        product.updating_pid = pid_attribute(a, QLatin1String("updating_pid"));
        if (product.updating_pid == 0)
            product.updating_pid = product.pid;
        product.dll_name = a.value(QLatin1String("dll_name")).toString();
        product.alias_name = a.value(QLatin1String("alias_name")).toString();
        product.disp_name = a.value(QLatin1String("disp_name")).toString();
        if (product.disp_name.isEmpty())
            product.disp_name = product.dll_name;
        const int32_t device_type = decimal_attribute(a, QLatin1String("device_type"), -1);
        const int32_t macro = decimal_attribute(a, QLatin1String("macro"), -1);
        product.auto_unplug = decimal_attribute(a, QLatin1String("auto_unplug_plugin"), 0) != 0;

        // Stored as soon as the start tag is read: a catalogue damaged further
        // on still yields every product that came before the damage.
        m_products.insert(type, product);
        if (device_type >= 0 && device_type < 4)
            m_device_types[device_type].insert(product.pid);
        if (macro != -1) {
            append_once(m_macro_kinds[0], type);
            if (macro & 1)
                append_once(m_macro_kinds[1], type);
            if (macro & 2)
                append_once(m_macro_kinds[2], type);
        }
        xml.skipCurrentElement();
    }
}

void global_func_c::read_counts(QXmlStreamReader& xml, QMap<int32_t, uint16_t>& counts) {
    const QString element = xml.name().toString();
    while (xml.readNextStartElement()) {
        if (xml.name() == element) {
            const QXmlStreamAttributes a = xml.attributes();
            counts.insert(decimal_attribute(a, QLatin1String("type"), 0),
                          count_attribute(a, QLatin1String("count")));
        }
        xml.skipCurrentElement();
    }
}

void global_func_c::read_product_list(QXmlStreamReader& xml, QList<int32_t>& list) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("PRODUCT")) {
            // The host itself is never one of the products these lists single out.
            const int32_t type = decimal_attribute(xml.attributes(), QLatin1String("type"), 0);
            if (type != host_type)
                list.append(type);
        }
        xml.skipCurrentElement();
    }
}

void global_func_c::load_test_values() {
    const QSettings ini(test_values_file(), QSettings::IniFormat);
    m_test_values.clear();
    for (int i = 0; i < test_value_count; ++i)
        m_test_values.append(ini.value(QString::number(i), QStringLiteral("0")).toInt());
}

QString global_func_c::alias_name(int32_t type) const {
    return m_products.value(type).alias_name;
}

QString global_func_c::dll_name(int32_t type) const {
    return m_products.value(type).dll_name;
}

QString global_func_c::disp_name(int32_t type) const {
    return m_products.value(type).disp_name;
}

const global_func_c::product_t* global_func_c::product(int32_t type) const {
    const auto it = m_products.constFind(type);
    return it == m_products.constEnd() ? nullptr : &it.value();
}

QList<int32_t> global_func_c::product_types() const {
    return m_products.keys();
}

QList<int32_t> global_func_c::language_ids() const {
    return m_language_files.keys();
}

QString global_func_c::language_name(int32_t id) const {
    return m_language_names.value(id);
}

QString global_func_c::translation_file(int32_t type, int32_t language) const {
    return product_data_folder(type) + QStringLiteral("language/") +
           m_language_files.value(language) + QStringLiteral(".qm");
}

QString global_func_c::application_folder() const {
    if (!m_application_folder.isEmpty())
        return m_application_folder;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString global_func_c::catalogue_file() const {
    return application_folder() + settings_file_name;
}

QString global_func_c::product_data_folder(int32_t type) const {
    return application_folder() + QStringLiteral("data/") + alias_name(type) + QLatin1Char('/');
}

QString global_func_c::graphics_file() const {
    return application_folder() + QStringLiteral("data/") +
           QString::fromLatin1(module_product_name) + QStringLiteral("/graphics.rcc");
}

QString global_func_c::maker_folder() const {
    if (!m_maker_folder.isEmpty())
        return m_maker_folder;
    const QString location = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return QFileInfo(location).path() + QLatin1Char('/') + maker_name;
}

QString global_func_c::module_data_folder() const {
    return maker_folder() + alias_name(host_type) + QLatin1Char('/');
}

QString global_func_c::log_folder() const {
    return module_data_folder() + QStringLiteral("log/") + QLatin1String(module_product_name) +
           QLatin1Char('/');
}

QString global_func_c::macro_folder() const {
    return module_data_folder() + QStringLiteral("macro/");
}

QString global_func_c::preset_macro_folder() const {
    return module_data_folder() + QStringLiteral("preset_macro/");
}

QString global_func_c::setting_folder() const {
    return module_data_folder() + QStringLiteral("setting/");
}

QString global_func_c::favourites_file(int32_t type) const {
    return setting_folder() + alias_name(type);
}

QString global_func_c::test_values_file() const {
    return module_data_folder() + test_values_name;
}

QString global_func_c::shared_memory_prefix(int32_t type) const {
    return shared_memory_head + alias_name(type);
}

QString global_func_c::region_code(int index) const {
    return m_regions.value(index);
}

int global_func_c::region_count() const {
    return m_regions.size();
}

int global_func_c::device_class(uint16_t pid) const {
    for (int type = 0; type < 4; ++type) {
        if (m_device_types[type].contains(pid))
            return type;
    }
    return -1;
}

int global_func_c::test_value(int i) const {
    return m_test_values.value(i);
}

bool global_func_c::macro_allowed(int kind, int32_t type) const {
    return m_macro_kinds.value(kind).contains(type);
}

global_func_c& global_func() {
    static global_func_c instance;
    return instance;
}

namespace {
// Built while the library loads, before init_module; the accessor above keeps
// other load-time users safe from initialisation order.
[[maybe_unused]] global_func_c& g_global_func = global_func();
} // namespace
