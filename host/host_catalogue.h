// The host's own reading of its catalogue (settings.xml beside the program):
// the products and languages it offers in its window.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

class QXmlStreamReader;

class host_catalogue_c {
public:
    struct product_t {
        int32_t type = 0;
        QString dll_name;
        QString alias_name;
        QString disp_name;
        uint16_t pid = 0;
        uint16_t updating_pid = 0;
        int32_t device_type = -1;
    };
    struct language_t {
        int32_t id = 0;
        QString name;
        QString file;
    };

    // Limits that keep a damaged file cheap: a real catalogue is a few kilobytes.
    static constexpr qint64 max_file_size = 256 * 1024;
    static constexpr quint32 max_xml_size = 4 * 1024 * 1024;
    static constexpr int max_entries = 1024;

    // settings.xml beside the running program.
    static QString default_file();

    // Reads a compressed catalogue file. What was read before an error stays;
    // false (with error_string()) when the file is missing or damaged.
    bool load(const QString& file);
    // The same for the file's bytes.
    bool read(const QByteArray& compressed);

    QList<product_t> products() const { return m_products; }
    QList<language_t> languages() const { return m_languages; }
    // The product of a type, or null.
    const product_t* product(int32_t type) const;
    QString language_name(int32_t id) const;
    bool is_empty() const { return m_products.isEmpty() && m_languages.isEmpty(); }
    QString file() const { return m_file; }
    QString error_string() const { return m_error; }

private:
    bool fail(const QString& message);
    void read_languages(QXmlStreamReader& xml);
    void read_products(QXmlStreamReader& xml);
    void store_product(const product_t& product);
    void store_language(const language_t& language);

    QList<product_t> m_products;
    QList<language_t> m_languages;
    QString m_file;
    QString m_error;
    int m_dropped = 0;
};
