#include "host/profile_service.h"

#include "host/host_log.h"
#include "host/host_storage.h"

#include <QDataStream>
#include <QIODevice>
#include <QSet>

namespace {

// Services the host made and the module has not released yet.
QSet<profile_service_c*>& live_services() {
    static QSet<profile_service_c*> services;
    return services;
}

} // namespace

profile_service_c::profile_service_c() {
    live_services().insert(this);
}

profile_service_c::~profile_service_c() {
    live_services().remove(this);
}

profile_service_c* profile_service_c::of(profile_service_i* service) {
    if (!service)
        return nullptr;
    for (profile_service_c* candidate : qAsConst(live_services())) {
        if (static_cast<profile_service_i*>(candidate) == service)
            return candidate;
    }
    return nullptr;
}

int profile_service_c::live_count() {
    return live_services().size();
}

interface_i* profile_service_c::query_interface(const GUID& iid) {
    if (iid == iid_of<interface_i>::value || iid == iid_of<profile_service_i>::value)
        return static_cast<profile_service_i*>(this);
    return nullptr;
}

void profile_service_c::release() {
    delete this;
}

void profile_service_c::set_kernel(product_kernel_i* kernel, int32_t profile_class_id) {
    m_kernel = kernel;
    m_profile_class = profile_class_id;
    m_journal.append({call_t::set_kernel, profile_class_id});
}

int32_t profile_service_c::service_op_4() {
    m_journal.append({call_t::service_op_4, 0});
    return m_profile_class;
}

void profile_service_c::product_event() {
    ++m_product_events;
    m_journal.append({call_t::product_event, 0});
}

void profile_service_c::begin_read() {
    m_section_taken = false;
    m_journal.append({call_t::begin_read, 0});
}

void profile_service_c::read_section(QIODevice* device) {
    // Whatever happens below, the note stays as it was unless a whole, sound
    // section replaces it: a blob from another host simply has none.
    const auto done = [this](bool taken) {
        m_section_taken = taken;
        m_journal.append({call_t::read_section, taken ? 1 : 0});
    };
    if (!device || !device->isReadable()) {
        qCWarning(lc_koral) << "Profile service: no readable device for the host section";
        return done(false);
    }
    const QByteArray bytes = device->read(max_section_bytes + 1);
    if (bytes.isEmpty()) {
        qCInfo(lc_koral) << "Profile service: the blob has no host section; the note stays";
        return done(false);
    }
    if (bytes.size() > max_section_bytes) {
        qCWarning(lc_koral) << "Profile service: the host section is longer than"
                            << max_section_bytes << "bytes; ignored";
        return done(false);
    }
    QDataStream in(bytes);
    in.setVersion(host_storage::stream_version);
    quint32 magic = 0;
    qint32 version = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != section_magic) {
        qCWarning(lc_koral,
                  "Profile service: the host section starts with 0x%08X, not ours; "
                  "ignored",
                  magic);
        return done(false);
    }
    // A later host may append fields after the note; an older layout we do not know.
    if (version < section_version) {
        qCWarning(lc_koral) << "Profile service: unknown host section version" << version
                            << "; ignored";
        return done(false);
    }
    QString note;
    if (!host_storage::read_text(in, max_note_chars, &note)) {
        qCWarning(lc_koral) << "Profile service: the note of the host section is damaged"
                            << "(stream status" << in.status() << "); ignored";
        return done(false);
    }
    m_note = note;
    done(true);
}

QByteArray profile_service_c::section_bytes(const QString& note) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(host_storage::stream_version);
    out << section_magic << section_version << note;
    return bytes;
}

void profile_service_c::write_section(QIODevice* device) {
    if (!device || !device->isWritable()) {
        qCWarning(lc_koral) << "Profile service: no writable device for the host section";
        m_journal.append({call_t::write_section, 0});
        return;
    }
    const QByteArray bytes = section_bytes(m_note);
    const qint64 written = device->write(bytes);
    if (written != bytes.size())
        qCWarning(lc_koral).noquote()
            << "Profile service: the host section was not written:" << device->errorString();
    m_journal.append({call_t::write_section, int32_t(qMax<qint64>(written, 0))});
}
