// One profile outside the profile set: what the host imports, exports and keeps
// in its own profile lists. The host creates it with class 0x0302.
#pragma once

#include "kernel/profile_stream.h"
#include "module/kernel_interfaces.h"

class zarek_profile_c final : public profile_i {
public:
    zarek_profile_c();
    zarek_profile_c(const zarek_profile_c& other) = default;
    zarek_profile_c& operator=(const zarek_profile_c&) = delete;
    ~zarek_profile_c() override;

    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    void set_host_value(int32_t value) override;
    int32_t host_value() override;
    profile_i* clone() override;
    int32_t product_type() override;
    bool has_picture() override;
    QString name() override;
    uint8_t byte_105() override;
    uint8_t byte_106() override;
    QPixmap* picture() override;
    void set_product_type(int32_t type) override;
    void set_name(const QString& name) override;
    void set_byte_105(uint8_t value) override;
    void set_byte_106(uint8_t value) override;
    void set_picture(const QPixmap& picture) override;
    void clear_picture() override;
    QString path(int n) override;
    void set_path(int n, const QString& text) override;
    void write(QIODevice* device) override;
    bool read(QIODevice* device) override;

    // The records, for the module's own use and for tests.
    const profile_stream::profile_blob& profile() const { return m_profile; }
    profile_stream::profile_blob& profile() { return m_profile; }

private:
    int32_t m_host_value = 0;
    // Product type, records, maps, the word list, macros and picture, in the
    // order the profile keeps them.
    profile_stream::profile_blob m_profile;
};
