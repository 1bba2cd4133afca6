#include "host/virtual_mouse.h"

#include "host/ctrl_center.h"
#include "host/device_memory.h"
#include "host/host_log.h"
#include "host/host_storage.h"
#include "host/profile_service.h"
#include "host/texts.h"
#include "module/page_interfaces.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSharedMemory>
#include <QtEndian>

#include <cstring>
#include <memory>

namespace {

// Holds a segment's lock for a scope.
class segment_lock {
public:
    explicit segment_lock(QSharedMemory& segment)
        : m_segment(segment)
        , m_locked(segment.lock()) {}
    ~segment_lock() {
        if (m_locked)
            m_segment.unlock();
    }
    segment_lock(const segment_lock&) = delete;
    segment_lock& operator=(const segment_lock&) = delete;
    bool locked() const { return m_locked; }

private:
    QSharedMemory& m_segment;
    bool m_locked;
};

// How many numbers a message tries before it gives up on finding a free key.
constexpr unsigned max_key_attempts = 64;
constexpr int key_bytes = int(sizeof(host_message_rec::bytes)) - 6 - 1;

QString md5_of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

} // namespace

virtual_mouse_c::virtual_mouse_c(ctrl_center_c* centre, int32_t product_type, const QString& alias,
                                 const QString& folder, QObject* parent)
    : QObject(parent)
    , m_centre(centre)
    , m_product_type(product_type)
    , m_alias(alias)
    , m_file(memory_file(folder.isEmpty() ? host_storage::data_folder() : folder, product_type)) {
    m_calibration.setSingleShot(true);
    m_calibration.setInterval(default_calibration_delay_ms);
    connect(&m_calibration, &QTimer::timeout, this,
            [this] { send_calibration_result(m_calibration_ok); });
    if (m_centre)
        connect(m_centre, &ctrl_center_c::kernel_command_received, this,
                &virtual_mouse_c::on_kernel_command);
    load();
}

virtual_mouse_c::~virtual_mouse_c() = default;

QString virtual_mouse_c::memory_file(const QString& folder, int32_t product_type) {
    const QString edition = product_type == product_type::white   ? QStringLiteral("white")
                            : product_type == product_type::black ? QStringLiteral("black")
                                                                  : QString::number(product_type);
    return QDir(folder).filePath(QStringLiteral("virtual_mouse_%1.bin").arg(edition));
}

host_message_rec virtual_mouse_c::message_record(int32_t code, const QString& key) {
    host_message_rec record;
    std::memset(record.bytes, 0, sizeof record.bytes);
    qToLittleEndian<int32_t>(code, record.bytes + 2);
    const QByteArray latin = key.toLatin1().left(key_bytes);
    std::memcpy(record.bytes + 6, latin.constData(), std::size_t(latin.size()));
    return record;
}

QString virtual_mouse_c::blob_md5() const {
    return m_blob.isEmpty() ? QString() : md5_of(m_blob);
}

// ------------------------------------------------------------------- the memory file

QByteArray virtual_mouse_c::file_bytes(const QByteArray& blob) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(host_storage::stream_version);
    out << file_magic << file_version << QCryptographicHash::hash(blob, QCryptographicHash::Md5)
        << blob;
    return bytes;
}

bool virtual_mouse_c::blob_from_file_bytes(const QByteArray& bytes, QByteArray* blob,
                                           QString* error) {
    QDataStream in(bytes);
    in.setVersion(host_storage::stream_version);
    quint32 magic = 0;
    qint32 version = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != file_magic) {
        *error = QStringLiteral("not a device memory file");
        return false;
    }
    if (version != file_version) {
        *error = QStringLiteral("unknown version %1").arg(version);
        return false;
    }
    QByteArray sum;
    QByteArray stored;
    if (!host_storage::read_bytes(in, 16, &sum) ||
        !host_storage::read_bytes(in, max_blob_bytes, &stored)) {
        *error = QStringLiteral("cut short or oversized (stream status %1)").arg(in.status());
        return false;
    }
    if (!in.atEnd()) {
        *error = QStringLiteral("bytes follow the blob");
        return false;
    }
    if (stored.isEmpty() || sum != QCryptographicHash::hash(stored, QCryptographicHash::Md5)) {
        *error = QStringLiteral("the blob does not match its checksum");
        return false;
    }
    *blob = stored;
    return true;
}

void virtual_mouse_c::load() {
    m_blob.clear();
    bool ok = false;
    const QByteArray bytes = host_storage::load_file(m_file, max_blob_bytes + 1024, &ok);
    if (!ok) {
        keep_memory_aside();
        return;
    }
    if (bytes.isEmpty())
        return; // factory-fresh
    QString error;
    if (!blob_from_file_bytes(bytes, &m_blob, &error)) {
        qCWarning(lc_koral).noquote()
            << "Virtual mouse: the memory file" << m_file << "is damaged:" << error
            << "- the mouse starts from the factory state";
        keep_memory_aside();
        m_blob.clear();
    }
}

void virtual_mouse_c::keep_memory_aside() {
    m_set_aside = host_storage::keep_aside(m_file);
    m_aside_failed = m_set_aside.isEmpty();
    if (m_aside_failed)
        m_set_aside = m_file;
}

bool virtual_mouse_c::store(const QByteArray& blob) {
    m_blob = blob;
    return host_storage::save_file(m_file, file_bytes(blob));
}

namespace {
const QString k_initialised = QStringLiteral("koral initialised ");
// What koral wrote before its note held the fact alone.
const QString k_initialised_sentence = QStringLiteral("Memory initialised by koral on ");
} // namespace

QString virtual_mouse_c::initialised_note(const QDateTime& when) {
    return k_initialised + when.toUTC().toString(Qt::ISODate);
}

QDateTime virtual_mouse_c::initialised_at(const QString& note) {
    for (const QString& lead : {k_initialised, k_initialised_sentence}) {
        if (note.startsWith(lead)) {
            const QDateTime when = QDateTime::fromString(note.mid(lead.size()), Qt::ISODate);
            if (when.isValid())
                return when.toUTC();
        }
    }
    return {};
}

QString virtual_mouse_c::note_text(const QString& note, int32_t language) {
    if (note.isEmpty())
        return QStringLiteral("—");
    const QDateTime when = initialised_at(note);
    if (!when.isValid())
        return note;
    return host_texts::text(host_text::memory_initialised_on, language)
        .arg(when.toString(host_texts::text(host_text::memory_note_time, language)));
}

void virtual_mouse_c::factory_reset() {
    m_blob.clear();
    // A file left behind would bring the old memory back on the next start.
    QFile file(m_file);
    if (file.exists() && !file.remove())
        qCWarning(lc_koral).noquote()
            << "Virtual mouse: cannot remove" << m_file << ":" << file.errorString();
}

// ------------------------------------------------------------------------ segments

QByteArray virtual_mouse_c::read_segment(const QString& key) {
    if (key.isEmpty()) {
        qCWarning(lc_koral) << "Virtual mouse: a command without a segment key";
        return {};
    }
    QSharedMemory segment(key);
    if (!segment.attach(QSharedMemory::ReadOnly)) {
        qCWarning(lc_koral).noquote()
            << "Virtual mouse: cannot attach segment" << key << ":" << segment.errorString();
        return {};
    }
    QByteArray bytes;
    if (segment.size() <= 0 || segment.size() > max_blob_bytes) {
        qCWarning(lc_koral).noquote()
            << "Virtual mouse: segment" << key << "holds" << segment.size() << "bytes; ignored";
    } else {
        segment_lock lock(segment);
        if (lock.locked())
            bytes = QByteArray(static_cast<const char*>(segment.constData()), segment.size());
        else
            qCWarning(lc_koral).noquote() << "Virtual mouse: cannot lock segment" << key;
    }
    segment.detach();
    return bytes;
}

bool virtual_mouse_c::send(int32_t code, const QByteArray& payload) {
    if (!m_kernel) {
        qCWarning(lc_koral) << "Virtual mouse: no kernel for message" << code;
        return false;
    }
    // The host's own keys carry its process id: a second host (or a test beside
    // it) never meets these names, and so never their key files either.
    const QString prefix =
        QStringLiteral("KORAL%1_host_%2_").arg(m_alias).arg(QCoreApplication::applicationPid());
    std::unique_ptr<QSharedMemory> segment;
    for (unsigned attempt = 0; attempt < max_key_attempts && !segment; ++attempt) {
        auto candidate = std::make_unique<QSharedMemory>(prefix + QString::number(m_counter++));
        if (candidate->create(qMax(1, payload.size()), QSharedMemory::ReadWrite))
            segment = std::move(candidate);
        else
            qCDebug(lc_koral).noquote() << "Virtual mouse: key" << candidate->key()
                                        << "not free:" << candidate->errorString();
    }
    if (!segment) {
        qCWarning(lc_koral) << "Virtual mouse: no segment for message" << code;
        return false;
    }
    {
        segment_lock lock(*segment);
        if (!lock.locked()) {
            qCWarning(lc_koral).noquote() << "Virtual mouse: cannot lock" << segment->key();
            return false;
        }
        std::memcpy(segment->data(), payload.constData(), std::size_t(payload.size()));
    }
    const host_message_rec record = message_record(code, segment->key());
    m_messages.append(code);
    // The kernel reads the segment before it returns; the segment ends with this scope.
    m_kernel->on_host_message(&record);
    emit message_sent(code);
    return true;
}

bool virtual_mouse_c::send_stored_blob() {
    if (m_blob.isEmpty()) {
        qCWarning(lc_koral) << "Virtual mouse: the memory holds no profile set to send";
        return false;
    }
    return send(host_message::data_loaded, m_blob);
}

bool virtual_mouse_c::send_device_values(const QByteArray& four_bytes) {
    if (four_bytes.size() != 4) {
        qCWarning(lc_koral) << "Virtual mouse: device values are 4 bytes, not" << four_bytes.size();
        return false;
    }
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(host_storage::stream_version);
    out << four_bytes;
    return send(host_message::device_values, payload);
}

bool virtual_mouse_c::send_profile_settings(const QList<QByteArray>& records) {
    constexpr int record_size = 33;
    constexpr int slot_count = 5;
    if (records.size() > slot_count) {
        qCWarning(lc_koral) << "Virtual mouse: the device has" << slot_count << "profiles, not"
                            << records.size();
        return false;
    }
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(host_storage::stream_version);
    out << qint32(records.size());
    for (const QByteArray& record : records) {
        if (record.size() != record_size) {
            qCWarning(lc_koral) << "Virtual mouse: a profile settings record is" << record_size
                                << "bytes, not" << record.size();
            return false;
        }
        out << record;
    }
    return send(host_message::profile_settings, payload);
}

bool virtual_mouse_c::send_calibration_result(bool success) {
    return send(host_message::calibration_result, QByteArray(1, success ? 1 : 0));
}

bool virtual_mouse_c::read_memory(device_memory_t* memory) const {
    if (m_blob.isEmpty()) {
        qCWarning(lc_koral) << "Virtual mouse: the memory holds no profile set yet";
        return false;
    }
    QString error;
    if (!device_memory_t::read(m_blob, memory, &error)) {
        qCWarning(lc_koral).noquote() << "Virtual mouse: the memory cannot be read:" << error;
        return false;
    }
    return true;
}

bool virtual_mouse_c::report_device_values() {
    device_memory_t memory;
    return read_memory(&memory) && send_device_values(memory.device_values);
}

bool virtual_mouse_c::press_dpi_button(dpi_press_t* press) {
    device_memory_t memory;
    if (!read_memory(&memory))
        return false;
    const int slot = memory.current_slot();
    if (slot >= memory.settings.size()) {
        qCWarning(lc_koral) << "Virtual mouse: the current profile" << slot
                            << "has no settings in the memory";
        return false;
    }
    QByteArray& settings = memory.settings[slot];
    const int step = device_memory_t::next_dpi_step(settings);
    if (step < 0) {
        qCWarning(lc_koral) << "Virtual mouse: profile" << slot << "has no DPI step switched on";
        return false;
    }
    settings[device_memory_t::active_step_at] = char(step);
    *press = {slot, step, device_memory_t::dpi_of(settings, step)};
    return send_profile_settings(memory.settings);
}

// ------------------------------------------------------------------ kernel and commands

void virtual_mouse_c::attach(product_kernel_i* kernel) {
    if (kernel == m_kernel)
        return;
    m_calibration.stop();
    m_kernel = kernel;
    emit attached_changed(kernel != nullptr);
    if (!kernel)
        return;
    if (has_blob()) {
        send_stored_blob();
        if (m_kernel->data_loaded())
            return;
        // The module cannot read what the memory holds (written by something
        // else, or damaged on the way): keep the file for a person to look at
        // and start again from the factory state rather than never saving.
        qCWarning(lc_koral).noquote()
            << "Virtual mouse: the kernel refused the stored profile set; the file is kept"
            << "aside and the memory starts from the factory state";
        keep_memory_aside();
        m_blob.clear();
    }
    initialise_memory();
}

// A device fresh from the factory holds no profile set yet. Its defaults are the
// module's own and only the module can write them, but a kernel publishes
// nothing before it has heard from its device. So the device first reports its
// values (message 8), which the kernel takes as the state of the device. The
// host then marks the memory as initialised in its own section of the blob (the
// profile service's note): the next commit differs from that state and carries
// the kernel's whole default set to the device, which keeps it and reports it
// back as loaded (message 0), as it does on every later start. Before that
// commit every page resets its settings: the profile set alone leaves the
// sensitivities and DPI steps at zero, and a mouse ships with its pages' defaults.
bool virtual_mouse_c::initialise_memory() {
    if (!m_kernel)
        return false;
    const QByteArray values(reinterpret_cast<const char*>(factory_device_values.data()),
                            int(factory_device_values.size()));
    if (!send_device_values(values))
        return false;
    profile_service_c* service = profile_service_c::of(m_kernel->profile_service());
    if (!service) {
        qCWarning(lc_koral) << "Virtual mouse: the kernel has no profile service of this host;"
                            << "the memory cannot be initialised";
        return false;
    }
    service->set_note(initialised_note(QDateTime::currentDateTimeUtc()));
    for (int32_t i = 0; i < m_kernel->page_count(); ++i) {
        if (product_function_page_i* page = m_kernel->page_at(i))
            page->reset_all();
    }
    if (!m_kernel->commit() || !has_blob()) {
        qCWarning(lc_koral) << "Virtual mouse: the kernel did not hand over its factory state;"
                            << "is it attached to the control centre?";
        return false;
    }
    return send_stored_blob();
}

void virtual_mouse_c::on_kernel_command(product_kernel_i* kernel, int32_t code,
                                        const QString& text) {
    if (!m_kernel || !same_object(kernel, m_kernel))
        return;
    m_commands.append({code, text});
    emit command_seen(code, text);
    switch (code) {
    case kernel_command::all_data_reset:
    case kernel_command::data_changed:
        take_blob(code, text);
        break;
    case kernel_command::switch_on:
    case kernel_command::switch_off:
        m_switch_on = code == kernel_command::switch_on;
        emit switch_changed(m_switch_on);
        break;
    case kernel_command::sensor_tuning:
        take_tuning(text);
        break;
    default:
        qCInfo(lc_koral) << "Virtual mouse: command" << code << "means nothing to the device";
        break;
    }
}

void virtual_mouse_c::take_blob(int32_t code, const QString& key) {
    const QByteArray bytes = read_segment(key);
    if (bytes.isEmpty()) {
        qCWarning(lc_koral) << "Virtual mouse: command" << code
                            << "brought no profile set; the memory is unchanged";
        return;
    }
    store(bytes);
    emit blob_stored(code, bytes.size(), md5_of(bytes));
}

void virtual_mouse_c::take_tuning(const QString& key) {
    const QByteArray bytes = read_segment(key);
    QDataStream in(bytes);
    in.setVersion(host_storage::stream_version);
    qint32 command = -1;
    in >> command;
    if (bytes.isEmpty() || in.status() != QDataStream::Ok) {
        qCWarning(lc_koral) << "Virtual mouse: a tuning command of" << bytes.size()
                            << "bytes is not a command; ignored";
        return;
    }
    m_tuning.append(command);
    emit tuning_seen(command);
    using namespace tuning_command;
    if (command == start_calibration) {
        m_calibration.start();
    } else if (command == accept_calibration) {
        m_surface_on = true;
    } else if (command == discard_calibration) {
        // The calibration is dropped; surface tuning stays as it was.
    } else if (command == surface_off) {
        m_surface_on = false;
        m_calibration.stop();
    } else if (command >= lift_off && command <= lift_extra_low) {
        // 5 is off; the distances run the other way: 6 normal, 7 low, 8 extra low.
        for (int32_t level = 0; level < lift_level::count; ++level) {
            if (for_lift_level(level) == command)
                m_lift_level = level;
        }
    } else {
        qCInfo(lc_koral) << "Virtual mouse: tuning command" << command << "is unknown";
    }
}
