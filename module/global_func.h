// The host's installation as the module sees it: the product catalogue
// (settings.xml), the test values and every folder and file the module uses.
#pragma once

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>

class QXmlStreamReader;

class global_func_c {
public:
    struct product_t {
        QString dll_name;
        QString alias_name;
        QString disp_name;
        uint16_t pid = 0;
        uint16_t updating_pid = 0;
        bool auto_unplug = false;
    };

    // The catalogue never needs more than a few kilobytes; a stream that inflates
    // beyond this is damaged or hostile and is cut here.
    static constexpr int max_catalogue_bytes = 16 * 1024 * 1024;

    // Empty folders mean: the host executable's folder, and the platform's
    // per-user location. Tests pass their own.
    explicit global_func_c(const QString& application_folder = QString(),
                           const QString& maker_folder = QString());
    virtual ~global_func_c();

    // Tests point the module-wide instance at an installation of their own.
    void set_application_folder(const QString& folder);
    void set_maker_folder(const QString& folder);

    void load_catalogue();
    void load_test_values();

    QString alias_name(int32_t type) const;
    QString dll_name(int32_t type) const;
    QString disp_name(int32_t type) const;
    const product_t* product(int32_t type) const;
    QList<int32_t> product_types() const;

    QList<int32_t> language_ids() const;
    QString language_name(int32_t id) const;
    QString translation_file(int32_t type, int32_t language) const;

    QString application_folder() const;
    QString catalogue_file() const;
    QString product_data_folder(int32_t type) const;
    // The module's pictures, shared by both editions: data/Quil/graphics.rcc.
    QString graphics_file() const;
    QString maker_folder() const;
    QString module_data_folder() const;
    QString log_folder() const;
    QString macro_folder() const;
    QString preset_macro_folder() const;
    QString setting_folder() const;
    QString favourites_file(int32_t type) const;
    QString test_values_file() const;
    QString shared_memory_prefix(int32_t type) const;

    QString region_code(int index) const;
    int region_count() const;

    int device_class(uint16_t pid) const;
    int test_value(int i) const;
    bool macro_allowed(int kind, int32_t type) const;

    QList<int32_t> ovra_products() const { return m_ovra_products; }
    QList<int32_t> m_key_products() const { return m_m_key_products; }
    QList<int32_t> t_key_products() const { return m_t_key_products; }
    uint16_t macro_key_count(int32_t type) const { return m_macro_key_count.value(type); }
    uint16_t easy_zone_key_count(int32_t type) const { return m_easy_zone_key_count.value(type); }
    uint16_t extend_key_count(int32_t type) const { return m_extend_key_count.value(type); }

private:
    void clear_catalogue();
    void read_catalogue_xml(const QByteArray& xml);
    void read_languages(QXmlStreamReader& xml);
    void read_products(QXmlStreamReader& xml);
    void read_counts(QXmlStreamReader& xml, QMap<int32_t, uint16_t>& counts);
    void read_product_list(QXmlStreamReader& xml, QList<int32_t>& list);

    QMap<int32_t, product_t> m_products;
    QMap<int32_t, QList<int32_t>> m_macro_kinds;
    QMap<int32_t, QString> m_language_names;
    QMap<int32_t, QString> m_language_files;
    QStringList m_regions;
    QList<int> m_test_values;
    QSet<uint16_t> m_device_types[4];
    QList<int32_t> m_ovra_products;
    QList<int32_t> m_m_key_products;
    QList<int32_t> m_t_key_products;
    QMap<int32_t, uint16_t> m_macro_key_count;
    QMap<int32_t, uint16_t> m_easy_zone_key_count;
    QMap<int32_t, uint16_t> m_extend_key_count;
    QString m_application_folder;
    QString m_maker_folder;
};

// The module-wide installation singleton, created at static initialisation.
global_func_c& global_func();
