#include "host/host_catalogue.h"

#include "host/host_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <QtEndian>

#include <algorithm>

namespace {

// Numbers that do not parse count as 0, as in the module's own reader.
int32_t decimal(const QXmlStreamAttributes& a, const char* name, int32_t missing) {
    const QStringRef value = a.value(QLatin1String(name));
    return value.isNull() ? missing : value.toInt();
}

uint16_t hex16(const QXmlStreamAttributes& a, const char* name) {
    return static_cast<uint16_t>(a.value(QLatin1String(name)).toUInt(nullptr, 16));
}

QString text(const QXmlStreamAttributes& a, const char* name) {
    return a.value(QLatin1String(name)).toString();
}

} // namespace

QString host_catalogue_c::default_file() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("settings.xml"));
}

bool host_catalogue_c::fail(const QString& message) {
    m_error = message;
    qCWarning(lc_koral).noquote() << "Catalogue"
                                  << (m_file.isEmpty() ? QStringLiteral("data") : m_file) << "-"
                                  << message;
    return false;
}

bool host_catalogue_c::load(const QString& file) {
    m_file = file;
    m_products.clear();
    m_languages.clear();
    QFile f(file);
    if (!f.exists())
        return fail(QStringLiteral("does not exist"));
    if (!f.open(QIODevice::ReadOnly))
        return fail(f.errorString());
    if (f.size() > max_file_size)
        return fail(QStringLiteral("is %1 bytes, more than a catalogue can be").arg(f.size()));
    return read(f.read(max_file_size));
}

bool host_catalogue_c::read(const QByteArray& compressed) {
    m_products.clear();
    m_languages.clear();
    m_error.clear();
    m_dropped = 0;
    if (compressed.size() < 5)
        return fail(QStringLiteral("too short for compressed data"));
    if (compressed.size() > max_file_size)
        return fail(QStringLiteral("larger than a catalogue can be"));
    // qUncompress allocates what the header announces; refuse absurd announcements.
    const quint32 announced = qFromBigEndian<quint32>(compressed.constData());
    if (announced == 0 || announced > max_xml_size)
        return fail(QStringLiteral("announces %1 bytes of XML").arg(announced));
    const QByteArray xml = qUncompress(compressed);
    if (xml.isEmpty())
        return fail(QStringLiteral("is not valid compressed data"));

    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement())
        return fail(QStringLiteral("has no root element"));
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("LANGUAGES"))
            read_languages(reader);
        else if (reader.name() == QLatin1String("PRODUCTS"))
            read_products(reader);
        else
            reader.skipCurrentElement();
    }
    if (m_dropped > 0) {
        qCWarning(lc_koral) << "Catalogue: ignored" << m_dropped << "entries beyond" << max_entries
                            << "of a kind";
    }
    if (reader.hasError()) {
        return fail(QStringLiteral("XML error at line %1: %2")
                        .arg(reader.lineNumber())
                        .arg(reader.errorString()));
    }
    return true;
}

void host_catalogue_c::read_languages(QXmlStreamReader& xml) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("LANGUAGE")) {
            const QXmlStreamAttributes a = xml.attributes();
            store_language({decimal(a, "id", 0), text(a, "name"), text(a, "file")});
        }
        xml.skipCurrentElement();
    }
}

void host_catalogue_c::read_products(QXmlStreamReader& xml) {
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("PRODUCT")) {
            const QXmlStreamAttributes a = xml.attributes();
            product_t p;
            p.type = decimal(a, "type", 0);
            p.dll_name = text(a, "dll_name");
            p.alias_name = text(a, "alias_name");
            p.disp_name = text(a, "disp_name");
            if (p.disp_name.isEmpty())
                p.disp_name = p.dll_name;
            p.pid = hex16(a, "pid");
            p.updating_pid = hex16(a, "updating_pid");
            if (p.updating_pid == 0)
                p.updating_pid = p.pid;
            p.device_type = decimal(a, "device_type", -1);
            store_product(p);
        }
        xml.skipCurrentElement();
    }
}

void host_catalogue_c::store_product(const product_t& product) {
    // One entry per type, in ascending order; a later entry of a type replaces it.
    auto at = std::lower_bound(m_products.begin(), m_products.end(), product.type,
                               [](const product_t& p, int32_t type) { return p.type < type; });
    if (at != m_products.end() && at->type == product.type)
        *at = product;
    else if (m_products.size() < max_entries)
        m_products.insert(at, product);
    else
        ++m_dropped;
}

void host_catalogue_c::store_language(const language_t& language) {
    auto at = std::lower_bound(m_languages.begin(), m_languages.end(), language.id,
                               [](const language_t& l, int32_t id) { return l.id < id; });
    if (at != m_languages.end() && at->id == language.id)
        *at = language;
    else if (m_languages.size() < max_entries)
        m_languages.insert(at, language);
    else
        ++m_dropped;
}

const host_catalogue_c::product_t* host_catalogue_c::product(int32_t type) const {
    for (const product_t& p : m_products) {
        if (p.type == type)
            return &p;
    }
    return nullptr;
}

QString host_catalogue_c::language_name(int32_t id) const {
    for (const language_t& l : m_languages) {
        if (l.id == id)
            return l.name;
    }
    return QString();
}
