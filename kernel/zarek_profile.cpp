#include "kernel/zarek_profile.h"

#include "common/log.h"

#include <QDataStream>
#include <QIODevice>

using namespace profile_stream;

zarek_profile_c::zarek_profile_c() {
    m_profile.product_type = product_type::black;
    m_profile.name.volume() = 50;
    m_profile.aux = default_aux_rec();
    m_profile.assign.set_head(0);
    m_profile.settings.set_head(0);
    m_profile.layout.set_head(0);
}

zarek_profile_c::~zarek_profile_c() = default;

interface_i* zarek_profile_c::query_interface(const GUID& iid) {
    if (iid == iid_interface_i || iid == iid_profile_i)
        return this;
    return nullptr;
}

void zarek_profile_c::release() {
    delete this;
}

void zarek_profile_c::set_host_value(int32_t value) {
    m_host_value = value;
}

int32_t zarek_profile_c::host_value() {
    return m_host_value;
}

profile_i* zarek_profile_c::clone() {
    return new zarek_profile_c(*this);
}

int32_t zarek_profile_c::product_type() {
    return m_profile.product_type;
}

bool zarek_profile_c::has_picture() {
    return m_profile.name.has_picture() != 0;
}

QString zarek_profile_c::name() {
    return m_profile.name.name();
}

uint8_t zarek_profile_c::byte_105() {
    return m_profile.name.byte_105();
}

uint8_t zarek_profile_c::byte_106() {
    return m_profile.name.byte_106();
}

QPixmap* zarek_profile_c::picture() {
    return &m_profile.picture;
}

void zarek_profile_c::set_product_type(int32_t type) {
    m_profile.product_type = type;
}

void zarek_profile_c::set_name(const QString& name) {
    m_profile.name.set_name(name);
}

void zarek_profile_c::set_byte_105(uint8_t value) {
    m_profile.name.byte_105() = value;
}

void zarek_profile_c::set_byte_106(uint8_t value) {
    m_profile.name.byte_106() = value;
}

void zarek_profile_c::set_picture(const QPixmap& picture) {
    m_profile.picture = profile_stream::readable_picture(picture);
    m_profile.name.has_picture() = 1;
}

void zarek_profile_c::clear_picture() {
    m_profile.name.has_picture() = 0;
    profile_stream::clear_picture(m_profile.picture);
}

QString zarek_profile_c::path(int n) {
    return m_profile.paths.path(n);
}

void zarek_profile_c::set_path(int n, const QString& text) {
    m_profile.paths.set_path(n, text);
}

void zarek_profile_c::write(QIODevice* device) {
    if (!device)
        return;
    QDataStream stream(device);
    stream.setVersion(stream_version);
    write_profile_blob(stream, m_profile);
    if (stream.status() != QDataStream::Ok)
        write_log(QStringLiteral("Writing a profile failed: %1").arg(device->errorString()));
}

bool zarek_profile_c::read(QIODevice* device) {
    if (!device)
        return false;
    QDataStream stream(device);
    stream.setVersion(stream_version);
    switch (read_profile_blob(stream, m_profile)) {
    case read_result::done:
        return true;
    case read_result::wrong_type:
        write_log(QStringLiteral("Profile refused: the data is not a profile of this mouse."));
        return false;
    case read_result::broken:
        break;
    }
    write_log(QStringLiteral("Profile refused: the profile data is damaged or incomplete "
                             "(stream status %1); the profile is unchanged.")
                  .arg(int(stream.status())));
    return false;
}
