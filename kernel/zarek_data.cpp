#include "kernel/zarek_data.h"

#include "buttons/macro_store.h"
#include "common/log.h"
#include "kernel/profile_stream.h"
#include "module/global_func.h"
#include "module/module.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

using namespace profile_stream;

using slot_array = std::array<profile_slot, max_profile_slots>;

// The parts of the set that a profile-set blob replaces; read_all fills a copy
// and swaps it in only when the whole blob has been read.
struct zarek_data_c::stored_set {
    device_settings_block device;
    std::unique_ptr<slot_array> slot_set;
    QList<btn_layout_rec> saved_layouts;
};

namespace {

const char* const favourites_key = "Favorite";

QList<int32_t> default_favourites() {
    return {1, 2, 13, 8, 7};
}

// Slot byte set in the heads of a slot's report records and macros.
void number_slot(profile_slot& p, uint8_t slot) {
    p.aux.slot() = slot;
    p.assign.b[2] = slot;
    p.layout.b[2] = slot;
    p.settings.b[2] = slot;
    for (macro_rec& m : p.macros)
        m.slot() = slot;
}

void fill_default_slot(profile_slot& p, uint8_t slot) {
    p = profile_slot();
    p.assign.set_head(slot);
    p.settings.set_head(slot);
    p.layout.set_head(slot);
    p.aux.slot() = slot;
    for (macro_rec& m : p.macros) {
        m.set_kind();
        m.slot() = slot;
    }
}

macro_list default_macros(uint8_t slot) {
    macro_list macros;
    for (macro_rec& m : macros) {
        m = default_macro_rec();
        m.slot() = slot;
    }
    return macros;
}

// Copies the bytes at [at, at + N) of `block` into a record and back, so a
// record field can be read over part of the device block.
template <std::size_t N>
void read_block_part(QDataStream& s, device_settings_block& block, std::size_t at) {
    byte_record<N> part;
    std::memcpy(part.data(), block.data() + at, N);
    read_field(s, part);
    std::memcpy(block.data() + at, part.data(), N);
}

template <std::size_t N>
void write_block_part(QDataStream& s, const device_settings_block& block, std::size_t at) {
    byte_record<N> part;
    std::memcpy(part.data(), block.data() + at, N);
    write_field(s, part);
}

// A per-slot list of records: the first five stored elements go to the slot_set,
// slot_set without a stored element get `initial`.
template <class T>
bool read_slot_records(QDataStream& s, slot_array& slot_set, T profile_slot::*member,
                       const T& initial) {
    QVector<T> read;
    if (!read_records(s, read, initial, max_profile_slots))
        return false;
    for (int i = 0; i < max_profile_slots; ++i)
        slot_set[i].*member = i < read.size() ? read[i] : initial;
    return true;
}

template <class T>
void write_slot_records(QDataStream& s, const slot_array& slot_set, T profile_slot::*member) {
    s << int32_t(max_profile_slots);
    for (const profile_slot& p : slot_set)
        write_field(s, p.*member);
}

// A per-slot list of values with their own readers (maps, pictures, macro lists).
template <class T, class Reader, class Missing>
bool read_slot_values(QDataStream& s, slot_array& slot_set, T profile_slot::*member,
                      Reader read_one, Missing missing) {
    const int32_t count = read_count(s, max_list_count);
    QVector<T> read;
    for (int32_t i = 0; i < count && ok(s); ++i) {
        T value = missing(0);
        if (read_one(s, value) && read.size() < max_profile_slots)
            read.append(value);
    }
    if (!ok(s))
        return false;
    for (int i = 0; i < max_profile_slots; ++i)
        slot_set[i].*member = i < read.size() ? read[i] : missing(uint8_t(i));
    return true;
}

template <class T, class Writer>
void write_slot_values(QDataStream& s, const slot_array& slot_set, T profile_slot::*member,
                       Writer write_one) {
    s << int32_t(max_profile_slots);
    for (const profile_slot& p : slot_set)
        write_one(s, p.*member);
}

template <class T>
T empty_value(uint8_t) {
    return T();
}

void write_macro_list(QDataStream& s, const macro_list& macros) {
    write_macros(s, macros.data(), int(macros.size()));
}

const auto read_map_value = [](QDataStream& s, auto& map) {
    return read_map(s, map);
};
const auto write_map_value = [](QDataStream& s, const auto& map) {
    write_map(s, map);
};

} // namespace

zarek_data_c::zarek_data_c(product_kernel_i* owner, int32_t product_type)
    : m_owner(owner)
    , m_device(device_settings_block::defaults())
    , m_slots(std::make_unique<slot_array>())
    , m_product_type(product_type)
    , m_scratch(std::make_unique<profile_slot>()) {
    const btn_entry top[] = {{1, 0, 0},  {2, 0, 0},  {3, 0, 0}, {13, 0, 0},
                             {14, 0, 0}, {65, 0, 0}, {9, 0, 0}, {10, 0, 0}};
    const btn_entry alter_top[] = {{0, 0, 0},  {0, 0, 0}, {37, 0, 0}, {38, 0, 0},
                                   {39, 0, 0}, {0, 0, 0}, {99, 0, 0}, {98, 0, 0}};
    for (int i = 0; i < 8; ++i) {
        m_default_buttons.insert(i, top[i]);
        m_default_buttons.insert(20 + i, alter_top[i]);
    }
    // The side panel defaults to key codes 30..39, 45 and 46; Shift on the
    // Alter-Key layer.
    for (int i = 0; i < 12; ++i) {
        const uint8_t key = uint8_t(i < 10 ? 30 + i : 45 + (i - 10));
        m_default_buttons.insert(8 + i, {5, 0, key});
        m_default_buttons.insert(28 + i, {5, 2, key});
    }

    for (int i = 0; i < max_profile_slots; ++i) {
        fill_default_slot((*m_slots)[i], uint8_t(i));
        reset_profile(i);
    }
    for (int i = 0; i < 5; ++i)
        m_saved_layouts.append(btn_layout_rec());
}

zarek_data_c::~zarek_data_c() {
    const QList<listener_i*> listeners = m_listeners;
    m_listeners.clear();
    for (listener_i* l : listeners)
        l->manager_closing(this);
}

interface_i* zarek_data_c::query_interface(const GUID& iid) {
    if (iid == iid_interface_i || iid == iid_listener_mgr_i)
        return this;
    return nullptr;
}

void zarek_data_c::release() {
    delete this;
}

void zarek_data_c::add_listener(listener_i* listener) {
    if (listener && !m_listeners.contains(listener))
        m_listeners.append(listener);
}

void zarek_data_c::remove_listener(listener_i* listener) {
    m_listeners.removeOne(listener);
}

int zarek_data_c::count() const {
    return qBound(1, int(m_device.b[3]), max_profile_slots);
}

void zarek_data_c::set_count(int count) {
    m_device.slot_count() = uint8_t(qBound(1, count, max_profile_slots));
}

profile_slot& zarek_data_c::slot(int s) {
    if (valid_slot(s))
        return (*m_slots)[s];
    *m_scratch = profile_slot();
    return *m_scratch;
}

const profile_slot& zarek_data_c::slot(int s) const {
    if (valid_slot(s))
        return (*m_slots)[s];
    *m_scratch = profile_slot();
    return *m_scratch;
}

macro_rec& zarek_data_c::macro(int s, int k) {
    if (valid_slot(s) && k >= 0 && k < macros_per_slot)
        return (*m_slots)[s].macros[k];
    m_scratch_macro = macro_rec();
    return m_scratch_macro;
}

void zarek_data_c::restore_default_entry(int button, uint8_t* entry) const {
    const auto it = m_default_buttons.constFind(button);
    if (!entry || it == m_default_buttons.constEnd())
        return;
    entry[0] = it->code;
    entry[1] = it->param1;
    entry[2] = it->param2;
}

void zarek_data_c::reset_profile(int s) {
    if (!valid_slot(s))
        return;
    profile_slot& p = (*m_slots)[s];
    // Bytes 100..104 belong to the device and the volume; they survive a reset.
    std::memset(p.name.data(), 0, 100);
    std::memset(p.name.data() + 105, 0, 7);
    p.name.set_name(QStringLiteral("Default%1").arg(s + 1));
    p.paths.clear();
    p.picture = QPixmap();
}

void zarek_data_c::reset_all() {
    m_device.set_host_profile(-1);
    for (int i = 0; i < max_profile_slots; ++i)
        reset_profile(i);
}

void zarek_data_c::renumber() {
    for (int i = 0; i < max_profile_slots; ++i)
        number_slot((*m_slots)[i], uint8_t(i));
}

void zarek_data_c::insert_gap(int s) {
    const int used = m_device.b[3];
    if (s < 0 || s >= max_profile_slots - 1 || s >= used - 1)
        return;
    for (int i = qMin(used - 2, max_profile_slots - 2); i >= s; --i)
        (*m_slots)[i + 1] = (*m_slots)[i];
}

void zarek_data_c::remove_slot(int s) {
    if (!valid_slot(s))
        return;
    slot_array& slot_set = *m_slots;
    for (int i = s; i < max_profile_slots - 1; ++i)
        slot_set[i] = std::move(slot_set[i + 1]);
    // The freed last slot is all zeros, macros included; renumber() then gives
    // every record its slot byte.
    slot_set[max_profile_slots - 1] = profile_slot();
    renumber();
    m_device.slot_count() = uint8_t(qMax(0, int(m_device.b[3]) - 1));
}

void zarek_data_c::set_layout(const btn_layout_rec& record) {
    const int s = m_device.b[2];
    if (!valid_slot(s))
        return;
    btn_layout_rec& layout = (*m_slots)[s].layout;
    layout = record;
    layout.b[2] = uint8_t(s);
    const btn_layout_rec announced = layout;
    const QList<listener_i*> listeners = m_listeners;
    for (listener_i* l : listeners) {
        if (auto* target = query<btn_assignment_listener_i>(l))
            target->on_layout_record(announced);
    }
}

void zarek_data_c::clear_unfitted_buttons() {
    for (profile_slot& p : *m_slots) {
        const uint16_t fitted = p.layout.fitted_mask();
        for (int i = 0; i < 12; ++i) {
            if (fitted & (1u << i))
                continue;
            p.assign.entry(8 + i)[0] = 0;
            p.assign.entry(28 + i)[0] = 0;
        }
    }
}

// ---------------------------------------------------------------- profile blob

bool zarek_data_c::write_profile(QIODevice* device, int s) const {
    if (!device || !valid_slot(s))
        return false;
    const profile_slot& p = (*m_slots)[s];
    profile_blob blob;
    blob.product_type = m_product_type;
    blob.name = p.name;
    blob.paths = p.paths;
    blob.extra = p.extra;
    blob.params = p.params;
    blob.texts = p.texts;
    blob.data = p.data;
    blob.words = m_favourites;
    blob.aux = p.aux;
    blob.assign = p.assign;
    blob.settings = p.settings;
    blob.layout = p.layout;
    std::memcpy(blob.block_48.data(), m_device.block_48(), device_block_48::size);
    blob.macros = QVector<macro_rec>(p.macros.begin(), p.macros.end());
    blob.picture = p.picture;

    QDataStream stream(device);
    stream.setVersion(stream_version);
    write_profile_blob(stream, blob);
    return stream.status() == QDataStream::Ok;
}

bool zarek_data_c::read_profile(QIODevice* device, int s) {
    if (!device || !valid_slot(s))
        return false;
    profile_slot& p = (*m_slots)[s];
    profile_blob blob;
    blob.name = p.name;
    blob.paths = p.paths;
    blob.extra = p.extra;
    blob.aux = p.aux;
    blob.assign = p.assign;
    blob.settings = p.settings;
    blob.layout = p.layout;
    std::memcpy(blob.block_48.data(), m_device.block_48(), device_block_48::size);

    QDataStream stream(device);
    stream.setVersion(stream_version);
    const read_result result = read_profile_blob(stream, blob);
    if (result == read_result::wrong_type) {
        write_log(
            QStringLiteral("Profile import refused: the data is not a profile of this mouse."));
        return false;
    }
    if (result == read_result::broken) {
        write_log(QStringLiteral("Profile import refused: the profile data is damaged or "
                                 "incomplete (stream status %1); slot %2 is unchanged.")
                      .arg(int(stream.status()))
                      .arg(s + 1));
        return false;
    }

    p.name = blob.name;
    p.paths = blob.paths;
    p.extra = blob.extra;
    p.params = blob.params;
    p.picture = blob.picture;
    p.texts = blob.texts;
    p.data = blob.data;
    p.aux = blob.aux;
    p.assign = blob.assign;
    p.settings = blob.settings;
    p.layout = blob.layout;
    std::memcpy(m_device.block_48(), blob.block_48.data(), device_block_48::size);
    for (int k = 0; k < macros_per_slot; ++k)
        p.macros[k] = k < blob.macros.size() ? blob.macros[k] : default_macro_rec();

    renumber();
    hand_macros_to_library(s);
    remember_layout(p.layout);
    return true;
}

void zarek_data_c::hand_macros_to_library(int s) {
    ctrl_center_i* center = module_ctrl_center();
    hub_i* hub = center ? center->get_hub() : nullptr;
    macro_library_i* library = hub ? hub->macro_library() : nullptr;
    if (!library)
        return;
    profile_slot& p = (*m_slots)[s];
    for (int k = 2; k < macros_per_slot; ++k) {
        if (p.assign.entry(k)[0] != macro_button_code)
            continue;
        macro_rec& record = p.macros[k];
        synchronise_to_library(library, record, record.group_name());
    }
}

void zarek_data_c::remember_layout(const btn_layout_rec& layout) {
    for (const btn_layout_rec& saved : qAsConst(m_saved_layouts)) {
        if (saved.matches(layout))
            return;
    }
    m_saved_layouts.append(layout);
}

// ------------------------------------------------------------ profile-set blob

zarek_data_c::stored_set zarek_data_c::read_target() {
    std::unique_ptr<slot_array> slot_set = std::move(m_spare_slots);
    if (!slot_set)
        slot_set = std::make_unique<slot_array>();
    return {m_device, std::move(slot_set), m_saved_layouts};
}

void zarek_data_c::write_set(QDataStream& s) const {
    const slot_array& slot_set = *m_slots;
    QHash<qint64, QByteArray> written;
    const auto write_cached_picture = [this, &written](QDataStream& st, const QPixmap& picture) {
        if (picture.isNull()) {
            write_picture(st, picture);
            return;
        }
        const qint64 key = picture.cacheKey();
        QByteArray code = m_picture_codes.value(key);
        if (code.isEmpty()) {
            QDataStream encoder(&code, QIODevice::WriteOnly);
            encoder.setVersion(st.version());
            encoder.setByteOrder(st.byteOrder());
            write_picture(encoder, picture);
        }
        written.insert(key, code);
        st.writeRawData(code.constData(), code.size());
    };
    write_slot_records(s, slot_set, &profile_slot::name);
    write_slot_records(s, slot_set, &profile_slot::paths);
    write_block_part<12>(s, m_device, 27);
    write_slot_values(s, slot_set, &profile_slot::params, write_map_value);
    write_slot_records(s, slot_set, &profile_slot::extra);
    write_block_part<4>(s, m_device, 0);
    write_slot_values(s, slot_set, &profile_slot::picture, write_cached_picture);
    write_slot_values(s, slot_set, &profile_slot::texts, write_map_value);
    s << bool(m_device.b[4] != 0);
    write_slot_values(s, slot_set, &profile_slot::data, write_map_value);
    write_slot_records(s, slot_set, &profile_slot::aux);
    write_block_part<6>(s, m_device, 5);
    write_slot_records(s, slot_set, &profile_slot::assign);
    write_slot_records(s, slot_set, &profile_slot::settings);
    s << int32_t(m_saved_layouts.size());
    for (const btn_layout_rec& r : m_saved_layouts)
        write_field(s, r);
    write_slot_records(s, slot_set, &profile_slot::layout);
    write_block_part<48>(s, m_device, 39);
    write_slot_values(s, slot_set, &profile_slot::macros, write_macro_list);
    // Only the pictures the set still holds keep their encodings.
    m_picture_codes.swap(written);
}

bool zarek_data_c::read_set(QDataStream& s, stored_set& set, read_failure* failure) {
    slot_array& slot_set = *set.slot_set;
    QIODevice* device = s.device();
    // Each element in blob order; the first that does not read is named with
    // the byte where it starts, so a log line says what to look at.
    const auto element = [&](const char* field, const auto& read) {
        if (!ok(s))
            return;
        const qint64 at = device ? device->pos() : -1;
        read();
        if (!ok(s) && failure && failure->field.isEmpty()) {
            failure->field = QLatin1String(field);
            failure->offset = at;
            failure->stopped_at = device ? device->pos() : -1;
        }
    };
    element("names",
            [&] { read_slot_records(s, slot_set, &profile_slot::name, default_name_rec()); });
    element("paths",
            [&] { read_slot_records(s, slot_set, &profile_slot::paths, profile_paths_rec()); });
    element("device bytes 27..38", [&] { read_block_part<12>(s, set.device, 27); });
    element("button parameter maps", [&] {
        read_slot_values(s, slot_set, &profile_slot::params, read_map_value,
                         empty_value<btn_param_map>);
    });
    element("extra words",
            [&] { read_slot_records(s, slot_set, &profile_slot::extra, profile_extra_word()); });
    element("device bytes 0..3", [&] { read_block_part<4>(s, set.device, 0); });
    element("pictures", [&] {
        read_slot_values(s, slot_set, &profile_slot::picture, read_picture, empty_value<QPixmap>);
    });
    element("button text maps", [&] {
        read_slot_values(s, slot_set, &profile_slot::texts, read_map_value,
                         empty_value<btn_text_map>);
    });
    element("device flag", [&] {
        bool flag = false;
        s >> flag;
        if (ok(s))
            set.device.device_flag() = flag ? 1 : 0;
    });
    element("button data maps", [&] {
        read_slot_values(s, slot_set, &profile_slot::data, read_map_value,
                         empty_value<btn_data_map>);
    });
    element("aux records",
            [&] { read_slot_records(s, slot_set, &profile_slot::aux, default_aux_rec()); });
    element("device bytes 5..10", [&] { read_block_part<6>(s, set.device, 5); });
    element("button assignments", [&] {
        read_slot_records(s, slot_set, &profile_slot::assign, default_btn_assign_rec());
    });
    element("profile settings", [&] {
        read_slot_records(s, slot_set, &profile_slot::settings, default_settings_rec());
    });
    element("saved layouts", [&] {
        QVector<btn_layout_rec> saved;
        if (read_records(s, saved, default_layout_rec(), max_list_count))
            set.saved_layouts = QList<btn_layout_rec>(saved.begin(), saved.end());
    });
    element("layouts",
            [&] { read_slot_records(s, slot_set, &profile_slot::layout, default_layout_rec()); });
    element("device block 48", [&] { read_block_part<48>(s, set.device, 39); });
    element("macro lists", [&] {
        // Forty records a slot: read where they go rather than through copies.
        const int32_t count = read_count(s, max_list_count);
        std::unique_ptr<macro_list> dropped;
        for (int32_t i = 0; i < count && ok(s); ++i) {
            if (i >= max_profile_slots && !dropped)
                dropped = std::make_unique<macro_list>();
            read_macros_over(s, i < max_profile_slots ? slot_set[i].macros : *dropped);
        }
        if (ok(s)) {
            for (int i = count; i < max_profile_slots; ++i)
                slot_set[i].macros = default_macros(uint8_t(i));
        }
    });
    return ok(s);
}

void zarek_data_c::write_all(QByteArray* bytes) const {
    if (!bytes)
        return;
    // The blob keeps its size from one write to the next: one allocation, no
    // regrowth, and an array written into before keeps its memory.
    bytes->truncate(0);
    bytes->reserve(m_last_blob_size);
    QBuffer buffer(bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream stream(&buffer);
    stream.setVersion(stream_version);
    write_set(stream);
    if (m_service)
        m_service->write_section(&buffer);
    m_last_blob_size = bytes->size();
}

bool zarek_data_c::read_all(const QByteArray& bytes, read_failure* last_failure) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream stream(&buffer);
    stream.setVersion(stream_version);

    // A blob that ends early or carries impossible counts would otherwise leave
    // half a profile set behind: what the device sent is taken whole or not at
    // all, and a short blob counts as damaged rather than as zeros.
    stored_set set = read_target();
    read_failure failure;
    if (!read_set(stream, set, &failure)) {
        m_spare_slots = std::move(set.slot_set);
        write_log(QStringLiteral("Profile data from the device does not read: the %1 starting "
                                 "at byte %2 (reading stopped at byte %3 of %4, stream status "
                                 "%5); the stored profiles are kept.")
                      .arg(failure.field)
                      .arg(failure.offset)
                      .arg(failure.stopped_at)
                      .arg(bytes.size())
                      .arg(int(stream.status())),
                  true);
        if (last_failure)
            *last_failure = failure;
        return false;
    }
    m_device = set.device;
    m_spare_slots = std::move(m_slots);
    m_slots = std::move(set.slot_set);
    m_saved_layouts = set.saved_layouts;
    // The replaced slots' pictures and maps are not kept alive by the spare.
    for (profile_slot& p : *m_spare_slots) {
        p.picture = QPixmap();
        p.params.clear();
        p.texts.clear();
        p.data.clear();
    }

    load_favourites();
    if (m_service) {
        m_service->begin_read();
        m_service->read_section(&buffer);
    }
    return true;
}

// ---------------------------------------------------------------- favourites

QString zarek_data_c::favourites_file() const {
    return m_favourites_file.isEmpty() ? global_func().favourites_file(m_product_type)
                                       : m_favourites_file;
}

void zarek_data_c::load_favourites() {
    m_favourites = default_favourites();
    const QString path = favourites_file();
    const QFileInfo info(path);
    if (path.endsWith(QLatin1Char('/')) || !info.isFile())
        return;
    const QByteArray value =
        QSettings(path, QSettings::IniFormat).value(favourites_key).toByteArray();
    if (value.isEmpty())
        return;
    QDataStream stream(value);
    stream.setVersion(stream_version);
    QList<int32_t> stored;
    if (!read_words(stream, stored)) {
        write_log(QStringLiteral("The favourites in %1 are damaged (stream status %2); the "
                                 "default favourites are used.")
                      .arg(path)
                      .arg(int(stream.status())));
        return;
    }
    m_favourites = stored;
}

void zarek_data_c::save_favourites() {
    const QString path = favourites_file();
    if (path.isEmpty() || path.endsWith(QLatin1Char('/'))) {
        write_log(QStringLiteral("No favourites file for product type %1; favourites not saved.")
                      .arg(m_product_type));
        return;
    }
    QByteArray value;
    {
        QDataStream stream(&value, QIODevice::WriteOnly);
        stream.setVersion(stream_version);
        write_words(stream, m_favourites);
    }
    // The file is meant to be writable by its user only. On POSIX, WriteUser
    // alone would also take away reading, and the favourites could never be
    // loaded again, so the user keeps both.
    if (QFile::exists(path))
        QFile::setPermissions(path, QFileDevice::ReadUser | QFileDevice::WriteUser);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(favourites_key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        write_log(QStringLiteral("Cannot save the favourites to %1.").arg(path));
}
