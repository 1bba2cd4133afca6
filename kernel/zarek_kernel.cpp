#include "kernel/zarek_kernel.h"

#include "buttons/btn_assignment.h"
#include "common/log.h"
#include "kernel/profile_stream.h"
#include "kernel/zarek_data.h"
#include "lighting/led_effect_fm.h"
#include "module/module.h"
#include "pages/advanced_ctrl.h"
#include "pages/favorites.h"
#include "pages/main_ctrl.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QtEndian>

zarek_data_c* profile_set_of(product_kernel_i* kernel) {
    // Kernels of this module are the only ones with a profile set the module can read.
    auto* own = dynamic_cast<zarek_kernel_c*>(kernel);
    return own ? own->data() : nullptr;
}

zarek_kernel_c::zarek_kernel_c(int32_t product_type)
    : m_product_type(product_type)
    , m_data(std::make_unique<zarek_data_c>(this, product_type)) {
    if (module_host_i* host = module_host()) {
        m_service = static_cast<profile_service_i*>(
            host->create_instance(class_id::profile_service, iid_profile_service_i));
    }
    if (m_service)
        m_service->set_kernel(this, class_id::profile);
    m_data->set_profile_service(m_service);
}

zarek_kernel_c::~zarek_kernel_c() {
    m_data.reset();
    if (m_service)
        m_service->release();
    m_service = nullptr;
}

bool zarek_kernel_c::in_use(uint8_t slot) const {
    return slot < m_data->count();
}

profile_led_effect_fm_i* zarek_kernel_c::create_effect_object() {
    return new led_effect_fm_c(this);
}

int32_t zarek_kernel_c::service_query() {
    return m_service ? m_service->service_op_4() : 0;
}

int32_t zarek_kernel_c::profile_count() {
    return m_data->count();
}

uint8_t zarek_kernel_c::current_profile() {
    return m_data->current_slot();
}

int32_t zarek_kernel_c::host_profile() {
    return m_data->host_profile();
}

void zarek_kernel_c::set_current_profile(uint8_t slot) {
    m_data->set_current_slot(slot);
    notify_kernel(1);
}

void zarek_kernel_c::append_profile() {
    const int old_count = m_data->count();
    if (old_count >= max_profiles())
        return;
    m_data->set_count(old_count + 1);
    reset_pages_profile(old_count);
    refresh_effect(old_count);
    notify_profile([this](product_profile_listener_i* l) { l->profile_appended(this); });
}

void zarek_kernel_c::insert_profile(uint8_t slot) {
    const int old_count = m_data->count();
    if (old_count >= max_profiles() || slot > old_count)
        return;
    m_data->set_count(old_count + 1);
    m_data->insert_gap(slot);
    reset_pages_profile(slot);
    // Every later slot moved one up: each preview starts again from its slot's bytes.
    refresh_effects();
    notify_profile(
        [this, slot](product_profile_listener_i* l) { l->profile_inserted(this, slot); });
}

void zarek_kernel_c::delete_profile(uint8_t slot) {
    const int old_count = m_data->count();
    // The mouse always keeps one profile.
    if (slot >= old_count || old_count <= 1)
        return;
    m_data->remove_slot(slot);
    m_data->reset_profile(old_count - 1);
    reset_pages_profile(old_count - 1);
    notify_profile([this, slot](product_profile_listener_i* l) { l->profile_deleted(this, slot); });
    refresh_effects();
}

void zarek_kernel_c::set_host_profile(int32_t slot) {
    if (m_data->host_profile() == slot)
        return;
    m_data->set_host_profile(slot);
    notify_profile([this](product_profile_listener_i* l) { l->host_profile_changed(this); });
}

void zarek_kernel_c::set_profile_name(uint8_t slot, const QString& name) {
    if (!in_use(slot))
        return;
    m_data->name(slot).set_name(name);
    const QString stored = m_data->name(slot).name();
    notify_profile([this, slot, stored](product_profile_listener_i* l) {
        l->name_changed(this, slot, stored);
    });
}

void zarek_kernel_c::set_profile_byte_106(uint8_t slot, uint8_t value) {
    if (!in_use(slot))
        return;
    m_data->name(slot).byte_106() = value;
    notify_profile([this, slot, value](product_profile_listener_i* l) {
        l->byte_106_changed(this, slot, value);
    });
}

void zarek_kernel_c::set_profile_path(uint8_t slot, int32_t n, const QString& path) {
    if (!in_use(slot) || n < 0 || n >= profile_paths_rec::count)
        return;
    m_data->paths(slot).set_path(n, path);
    // Without a picture of its own the profile shows one derived from its paths.
    if (!m_data->name(slot).has_picture())
        notify_profile(
            [this, slot](product_profile_listener_i* l) { l->picture_changed(this, slot); });
}

void zarek_kernel_c::set_profile_picture(uint8_t slot, const QPixmap& picture) {
    if (!in_use(slot))
        return;
    m_data->name(slot).has_picture() = 1;
    m_data->picture(slot) = profile_stream::readable_picture(picture);
    notify_profile([this, slot](product_profile_listener_i* l) { l->picture_changed(this, slot); });
}

void zarek_kernel_c::send_switch(bool on) {
    send_command(on ? kernel_command::switch_on : kernel_command::switch_off, QString());
}

void zarek_kernel_c::clear_profile_picture(uint8_t slot) {
    if (!in_use(slot))
        return;
    m_data->name(slot).has_picture() = 0;
    profile_stream::clear_picture(m_data->picture(slot));
    notify_profile([this, slot](product_profile_listener_i* l) { l->picture_changed(this, slot); });
}

QString zarek_kernel_c::profile_name(uint8_t slot) {
    return in_use(slot) ? m_data->name(slot).name() : QString();
}

uint8_t zarek_kernel_c::profile_byte_106(uint8_t slot) {
    return in_use(slot) ? m_data->name(slot).byte_106() : 0;
}

QString zarek_kernel_c::profile_path(uint8_t slot, int32_t n) {
    return in_use(slot) ? m_data->paths(slot).path(n) : QString();
}

QPixmap* zarek_kernel_c::profile_picture(uint8_t slot) {
    return in_use(slot) ? &m_data->picture(slot) : nullptr;
}

bool zarek_kernel_c::device_flag() {
    return m_data->device_flag();
}

bool zarek_kernel_c::profile_has_picture(uint8_t slot) {
    return in_use(slot) && m_data->name(slot).has_picture() != 0;
}

bool zarek_kernel_c::export_profile(QIODevice* device, uint8_t slot) {
    return m_data->write_profile(device, slot);
}

bool zarek_kernel_c::import_profile(QIODevice* device, uint8_t slot) {
    if (!m_data->read_profile(device, slot))
        return false;
    notify_kernel(0);
    notify_profile(
        [this, slot](product_profile_listener_i* l) { l->profile_replaced(this, slot); });
    refresh_effect(slot);
    return true;
}

bool zarek_kernel_c::commit() {
    m_data->clear_unfitted_buttons();
    QByteArray blob;
    m_data->write_all(&blob);
    // Nothing goes to the device before its own data has been read.
    if (m_checksum.isEmpty())
        return false;
    const QString sum =
        QString::fromLatin1(QCryptographicHash::hash(blob, QCryptographicHash::Md5).toHex());
    if (sum == m_checksum)
        return false;
    m_checksum = sum;
    send_command(kernel_command::data_changed, publish_set(blob));
    return true;
}

void zarek_kernel_c::on_host_message(const host_message_rec* record) {
    if (!record)
        return;
    const int32_t code = qFromLittleEndian<int32_t>(record->bytes + 2);
    const char* key_at = reinterpret_cast<const char*>(record->bytes + 6);
    const QString key =
        QString::fromLatin1(key_at, int(qstrnlen(key_at, sizeof record->bytes - 6)));

    if (code != host_message::data_loaded && code != host_message::device_values &&
        code != host_message::profile_settings && code != host_message::calibration_result)
        return;
    const QByteArray bytes = pool().read_key(key);
    if (bytes.isEmpty()) {
        write_log(QStringLiteral("Host message %1: segment \"%2\" is empty or missing")
                      .arg(code)
                      .arg(key));
        return;
    }

    QDataStream in(bytes);
    in.setVersion(profile_stream::stream_version);
    switch (code) {
    case host_message::data_loaded: {
        // A set that does not read leaves the profiles the kernel holds in place
        // (read_all logs which element failed and where). They do not count as
        // loaded, so a host can tell the device's data was refused, but they are
        // remembered as published: the next deliberate change, or a device
        // reset, publishes a complete set the device can read back. Either way
        // the load is over: the host leaves its busy state and listeners hear.
        const bool read = m_data->read_all(bytes);
        if (!read)
            write_log(QStringLiteral("Host message 0: the device's profile set was refused; "
                                     "the next change or a device reset writes the kept "
                                     "profiles to the device"),
                      true);
        write_and_remember();
        m_data_loaded = m_data_loaded || read;
        // Reading handed the device's macros to the library, which may have
        // gained a group or a renamed macro: the preset files follow it.
        if (read)
            write_preset_macros(host_macro_library());
        if (ctrl_center_i* center = ctrl_center()) {
            if (same_object(center->current_kernel(), static_cast<product_kernel_i*>(this)))
                center->set_busy(false, true, false);
        }
        notify_kernel(0);
        break;
    }
    case host_message::device_values: {
        byte_record<4> values;
        std::memcpy(values.data(), m_data->device().data(), values.size);
        profile_stream::read_field(in, values);
        if (!profile_stream::ok(in)) {
            write_log(QStringLiteral("Device values from the device are damaged; ignored"));
            return;
        }
        std::memcpy(m_data->device().data(), values.data(), values.size);
        notify_kernel(1);
        write_and_remember();
        break;
    }
    case host_message::profile_settings: {
        QVector<profile_settings_rec> list;
        if (!profile_stream::read_records(in, list, default_settings_rec(), max_profile_slots)) {
            write_log(QStringLiteral("Profile settings from the device are damaged; ignored"));
            return;
        }
        for (int slot = 0; slot < list.size(); ++slot)
            m_data->settings(slot) = list.at(slot);
        notify_kernel(0);
        break;
    }
    case host_message::calibration_result: {
        uint8_t outcome = 0;
        in >> outcome;
        auto* advanced = page(page_type::advanced);
        ctrl_funcs_i* ctrl = advanced ? advanced->ctrl_funcs(10) : nullptr;
        if (auto* surf = query<surf_lift_ctrl_funcs_i>(ctrl))
            surf->calibration_result(outcome);
        break;
    }
    }
}

int32_t zarek_kernel_c::favorite_item(uint8_t i) {
    const QList<int32_t>& list = m_data->favourites();
    return i < list.size() ? list.at(i) : 0;
}

void zarek_kernel_c::on_product_event(int32_t type) {
    if (type == product_type() && m_service)
        m_service->product_event();
}

QList<product_function_page_i*> zarek_kernel_c::create_pages() {
    QList<product_function_page_i*> pages;
    pages.append(new main_ctrl_c(this));
    pages.append(new advanced_ctrl_c(this));
    pages.append(new btn_assignment_c(this));
    pages.append(new favorites_c(this));
    return pages;
}

void zarek_kernel_c::reset_everything() {
    if (ctrl_center_i* center = ctrl_center())
        center->everything_reset(0);
    m_data->reset_all();
    for (int32_t type : {page_type::main, page_type::button_assignment, page_type::advanced,
                         page_type::favorites}) {
        if (product_function_page_i* p = page(type))
            p->reset_all();
    }
    QByteArray blob = write_and_remember();
    send_command(kernel_command::all_data_reset, publish_set(blob));
    refresh_effects();
    for (uint8_t slot = 0; slot < 5; ++slot) {
        const QString name = m_data->name(slot).name();
        notify_profile([this, slot, name](product_profile_listener_i* l) {
            l->name_changed(this, slot, name);
            l->picture_changed(this, slot);
        });
    }
    notify_profile([this](product_profile_listener_i* l) { l->host_profile_changed(this); });
    notify_kernel(2);
}
