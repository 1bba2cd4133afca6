#include "host/kernel_session.h"

#include "host/ctrl_center.h"
#include "host/host_catalogue.h"
#include "host/host_log.h"
#include "host/module_host.h"
#include "host/profile_names.h"
#include "host/profile_service.h"
#include "host/texts.h"
#include "host/virtual_mouse.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

// Hears the kernel's notifications on the session's behalf.
class kernel_session_c::watch_c : public listener_i,
                                  public product_kernel_listener_i,
                                  public product_profile_listener_i {
public:
    explicit watch_c(std::function<void(bool)> news)
        : m_news(std::move(news)) {}
    virtual ~watch_c() = default;

    interface_i* query_interface(const GUID& iid) override {
        if (iid == iid_of<interface_i>::value || iid == iid_of<listener_i>::value)
            return static_cast<listener_i*>(this);
        if (iid == iid_of<product_kernel_listener_i>::value)
            return static_cast<product_kernel_listener_i*>(this);
        if (iid == iid_of<product_profile_listener_i>::value)
            return static_cast<product_profile_listener_i*>(this);
        return nullptr;
    }
    // The session owns its watch.
    void release() override {}

    void manager_closing(listener_mgr_i*) override {}
    void update() override { m_news(false); }

    void current_profile_changed() override { m_news(true); }
    void data_changed() override { m_news(true); }
    void everything_reset() override { m_news(true); }

    void host_profile_changed(product_kernel_i*) override { m_news(true); }
    void name_changed(product_kernel_i*, uint8_t, const QString&) override { m_news(true); }
    void profile_appended(product_kernel_i*) override { m_news(true); }
    void profile_inserted(product_kernel_i*, uint8_t) override { m_news(true); }
    void profile_deleted(product_kernel_i*, uint8_t) override { m_news(true); }
    void byte_106_changed(product_kernel_i*, uint8_t, uint8_t) override { m_news(true); }
    void profile_replaced(product_kernel_i*, uint8_t) override { m_news(true); }
    void picture_changed(product_kernel_i*, uint8_t) override { m_news(true); }

private:
    std::function<void(bool)> m_news;
};

kernel_session_c::kernel_session_c(module_host_c* host, ctrl_center_c* centre,
                                   const host_catalogue_c* catalogue, const QString& folder,
                                   QObject* parent)
    : QObject(parent)
    , m_host(host)
    , m_centre(centre)
    , m_catalogue(catalogue)
    , m_folder(folder)
    , m_watch(std::make_unique<watch_c>([this](bool profiles) { on_kernel_news(profiles); })) {
    m_commit_timer.setSingleShot(true);
    m_commit_timer.setInterval(commit_delay_ms);
    connect(&m_commit_timer, &QTimer::timeout, this, &kernel_session_c::timed_commit);
    m_rhythm.setInterval(rhythm_ms);
    connect(&m_rhythm, &QTimer::timeout, this, &kernel_session_c::timed_commit);
}

kernel_session_c::~kernel_session_c() {
    close();
}

int32_t kernel_session_c::kernel_class(int32_t product_type) {
    switch (product_type) {
    case product_type::black:
        return class_id::black_kernel;
    case product_type::white:
        return class_id::white_kernel;
    default:
        return 0;
    }
}

QString kernel_session_c::alias(int32_t product_type) const {
    if (m_catalogue) {
        if (const host_catalogue_c::product_t* product = m_catalogue->product(product_type)) {
            if (!product->alias_name.isEmpty())
                return product->alias_name;
        }
    }
    return product_type == product_type::white ? QStringLiteral("QuilWhite")
                                               : QStringLiteral("QuilBlack");
}

profile_service_c* kernel_session_c::service() const {
    return m_kernel ? profile_service_c::of(m_kernel->profile_service()) : nullptr;
}

bool kernel_session_c::open(int32_t product_type) {
    close();
    const int32_t class_id = kernel_class(product_type);
    interface_i* object = class_id ? m_host->create_module_object(class_id) : nullptr;
    product_kernel_i* kernel = query<product_kernel_i>(object);
    if (!kernel) {
        qCWarning(lc_koral, "The module offers no kernel of class 0x%04X", class_id);
        if (object)
            object->release();
        emit kernel_changed();
        return false;
    }
    m_kernel = kernel;
    m_edition = product_type;
    // The host hears the kernel's news before the pages do: a load or a device
    // report can move the current profile, and the pages refresh from the slot
    // the centre reports, so the centre must follow first. Pages join the
    // kernel's listeners when it attaches them, so the watch joins before.
    m_kernel->add_kernel_listener(m_watch.get());
    m_kernel->attach(m_centre, m_page_area);
    // The kernel is shown before the device reports, so the load ends the busy state.
    m_centre->set_current_kernel(m_kernel);

    m_mouse =
        std::make_unique<virtual_mouse_c>(m_centre, product_type, alias(product_type), m_folder);
    connect(m_mouse.get(), &virtual_mouse_c::blob_stored, this, [this] { emit device_changed(); });
    connect(m_mouse.get(), &virtual_mouse_c::command_seen, this, [this] { emit device_changed(); });
    m_mouse->attach(m_kernel);
    sync_profile_slot();
    // What the device just reported needs no commit.
    m_commit_timer.stop();
    m_rhythm.start();
    emit kernel_changed();
    emit profiles_changed();
    emit device_changed();
    return true;
}

void kernel_session_c::close() {
    if (!m_kernel)
        return;
    m_rhythm.stop();
    m_commit_timer.stop();
    // Nothing a person set may be lost: what is pending goes to the device first.
    commit_now();
    m_mouse->detach();
    m_kernel->remove_kernel_listener(m_watch.get());
    if (m_centre->current_kernel() == m_kernel)
        m_centre->set_current_kernel(nullptr);
    product_kernel_i* kernel = m_kernel;
    m_kernel = nullptr;
    kernel->release();
    m_mouse.reset();
    m_edition = 0;
    sync_profile_slot();
    emit kernel_changed();
}

void kernel_session_c::on_kernel_news(bool profiles) {
    schedule_commit();
    if (profiles) {
        sync_profile_slot();
        emit profiles_changed();
    }
}

void kernel_session_c::sync_profile_slot() {
    const int slot = m_kernel ? m_kernel->current_profile() : -1;
    const bool in_use = slot >= 0 && slot < m_kernel->profile_count();
    m_centre->set_profile_slot(in_use ? uint8_t(slot) : uint8_t(0xFF));
}

void kernel_session_c::schedule_commit() {
    if (m_kernel)
        m_commit_timer.start();
}

void kernel_session_c::timed_commit() {
    if (m_holds > 0) {
        m_commit_held = true;
        return;
    }
    commit_now();
}

kernel_session_c::commit_hold::commit_hold(kernel_session_c* session)
    : m_session(session) {
    if (m_session)
        ++m_session->m_holds;
}

kernel_session_c::commit_hold::~commit_hold() {
    if (!m_session || --m_session->m_holds > 0)
        return;
    if (m_session->m_commit_held) {
        m_session->m_commit_held = false;
        m_session->schedule_commit();
    }
}

bool kernel_session_c::commit_now() {
    m_commit_timer.stop();
    if (!m_kernel)
        return false;
    const bool published = m_kernel->commit();
    if (published) {
        ++m_published;
        emit device_changed();
    }
    return published;
}

void kernel_session_c::select_profile(int slot) {
    if (!m_kernel || slot < 0 || slot >= m_kernel->profile_count())
        return;
    m_centre->set_profile_slot(uint8_t(slot));
    m_kernel->set_current_profile(uint8_t(slot));
    schedule_commit();
    emit profiles_changed();
}

QString kernel_session_c::text(int32_t id) const {
    return m_centre->get_text_provider()->text(id, 0);
}

QStringList kernel_session_c::profile_names(int except) const {
    QStringList names;
    for (int slot = 0; m_kernel && slot < m_kernel->profile_count(); ++slot) {
        if (slot != except)
            names.append(m_kernel->profile_name(uint8_t(slot)));
    }
    return names;
}

bool kernel_session_c::append_profile() {
    if (!m_kernel)
        return false;
    const int before = m_kernel->profile_count();
    m_kernel->append_profile();
    if (m_kernel->profile_count() <= before)
        return false;
    // A slot freed by an earlier delete comes back with whatever name it was
    // left: none at all (a blank button, and a hidden file when exported) or
    // the default of its number, which a profile moved down may carry already.
    QString name = m_kernel->profile_name(uint8_t(before)).trimmed();
    if (name.isEmpty())
        name = text(host_text::profile_default_name).arg(before + 1);
    name = profile_names::distinct(name, profile_names(before));
    if (name != m_kernel->profile_name(uint8_t(before)))
        m_kernel->set_profile_name(uint8_t(before), name);
    return true;
}

bool kernel_session_c::insert_profile(int slot) {
    if (!m_kernel || slot < 0 || slot >= profile_slots)
        return false;
    const int before = m_kernel->profile_count();
    m_kernel->insert_profile(uint8_t(slot));
    if (m_kernel->profile_count() <= before)
        return false;
    // The new profile takes the place and, at first, the name of the one it
    // was inserted before; two equal names could not be told apart.
    QString base = m_kernel->profile_name(uint8_t(slot)).trimmed();
    if (base.isEmpty())
        base = text(host_text::profile_default_name).arg(slot + 1);
    m_kernel->set_profile_name(uint8_t(slot), profile_names::distinct(base, profile_names(slot)));
    return true;
}

bool kernel_session_c::delete_profile(int slot) {
    if (!m_kernel || slot < 0 || slot >= profile_slots)
        return false;
    const int before = m_kernel->profile_count();
    m_kernel->delete_profile(uint8_t(slot));
    const int after = m_kernel->profile_count();
    // The current profile must stay one in use.
    if (after < before && m_kernel->current_profile() >= after)
        select_profile(after - 1);
    return after < before;
}

QString kernel_session_c::rename_profile(int slot, const QString& name) {
    const QString fitted = profile_names::fit(name.trimmed());
    if (!m_kernel || slot < 0 || slot >= m_kernel->profile_count() || fitted.isEmpty())
        return QString();
    m_kernel->set_profile_name(uint8_t(slot), fitted);
    return m_kernel->profile_name(uint8_t(slot));
}

bool kernel_session_c::import_profile(int slot, const QString& file, QString* error) {
    if (!m_kernel || slot < 0 || slot >= m_kernel->profile_count()) {
        *error = text(host_text::no_profile_in_slot).arg(slot + 1);
        return false;
    }
    const QString shown = QFileInfo(file).fileName();
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        qCWarning(lc_koral).noquote() << "Cannot read" << file << ":" << in.errorString();
        *error = text(host_text::file_unreadable).arg(shown);
        return false;
    }
    if (in.size() > max_profile_file_bytes) {
        qCWarning(lc_koral).noquote() << file << "holds" << in.size() << "bytes; not a profile";
        *error = text(host_text::file_too_large).arg(shown);
        return false;
    }
    QBuffer buffer;
    buffer.setData(in.read(max_profile_file_bytes));
    buffer.open(QIODevice::ReadOnly);
    if (!m_kernel->import_profile(&buffer, uint8_t(slot))) {
        *error = text(host_text::file_not_a_profile).arg(shown);
        return false;
    }
    // A profile imported beside the one it was exported from keeps them apart.
    const QString name = m_kernel->profile_name(uint8_t(slot));
    const QString apart = profile_names::distinct(name, profile_names(slot));
    if (apart != name)
        m_kernel->set_profile_name(uint8_t(slot), apart);
    schedule_commit();
    return true;
}

bool kernel_session_c::export_profile(int slot, const QString& file, QString* error) {
    if (!m_kernel || slot < 0 || slot >= m_kernel->profile_count()) {
        *error = text(host_text::no_profile_in_slot).arg(slot + 1);
        return false;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!m_kernel->export_profile(&buffer, uint8_t(slot))) {
        *error = text(host_text::profile_not_written).arg(slot + 1);
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(buffer.data()) != buffer.data().size() ||
        !out.commit()) {
        qCWarning(lc_koral).noquote() << "Cannot write" << file << ":" << out.errorString();
        *error = text(host_text::file_unwritable).arg(QDir::toNativeSeparators(file));
        return false;
    }
    return true;
}
