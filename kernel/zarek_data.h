// The profile set of one product kernel: all five profile slots of the mouse,
// the device-wide settings, the favourites and the saved side-panel layouts.
#pragma once

#include "kernel/records.h"
#include "module/kernel_interfaces.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <array>
#include <memory>

class QIODevice;
class QDataStream;
class profile_service_i;

// Everything that belongs to one profile slot.
struct profile_slot {
    profile_name_rec name;
    profile_extra_word extra;
    btn_assign_rec assign;
    btn_param_map params;
    btn_text_map texts;
    btn_data_map data;
    macro_list macros;
    profile_settings_rec settings;
    btn_layout_rec layout;
    profile_aux_rec aux;
    profile_paths_rec paths;
    QPixmap picture;
};

class zarek_data_c final : public listener_mgr_i {
public:
    // `owner` is the kernel that holds the set (not owned, may be null); the
    // product type names the favourites file and heads exported profiles.
    zarek_data_c(product_kernel_i* owner, int32_t product_type);
    ~zarek_data_c();
    zarek_data_c(const zarek_data_c&) = delete;
    zarek_data_c& operator=(const zarek_data_c&) = delete;

    // interface_i, listener_mgr_i
    interface_i* query_interface(const GUID& iid) override;
    void release() override;
    void add_listener(listener_i* listener) override;
    void remove_listener(listener_i* listener) override;

    product_kernel_i* owner() const { return m_owner; }
    int32_t product_type() const { return m_product_type; }
    const QList<listener_i*>& listeners() const { return m_listeners; }

    // The host's section of the profile-set blob is written and read by this
    // service; null skips the section.
    void set_profile_service(profile_service_i* service) { m_service = service; }

    // --- Device-wide values ---
    device_settings_block& device() { return m_device; }
    const device_settings_block& device() const { return m_device; }
    // Slots in use, always within 1..5 whatever the stored byte says.
    int count() const;
    void set_count(int count);
    uint8_t current_slot() const { return m_device.b[2]; }
    void set_current_slot(uint8_t slot) { m_device.current_slot() = slot; }
    int32_t host_profile() const { return m_device.host_profile(); }
    void set_host_profile(int32_t slot) { m_device.set_host_profile(slot); }
    bool device_flag() const { return m_device.b[4] != 0; }
    uint8_t* block_48() { return m_device.block_48(); }

    // --- Per-slot records. A slot outside 0..4 gets a scratch element that is
    // reset on every such access: reads see defaults, writes go nowhere. ---
    static bool valid_slot(int slot) { return slot >= 0 && slot < max_profile_slots; }
    profile_slot& slot(int slot);
    const profile_slot& slot(int slot) const;
    profile_name_rec& name(int s) { return slot(s).name; }
    profile_extra_word& extra_word(int s) { return slot(s).extra; }
    btn_assign_rec& btn_assign(int s) { return slot(s).assign; }
    btn_param_map& param_map(int s) { return slot(s).params; }
    btn_text_map& text_map(int s) { return slot(s).texts; }
    btn_data_map& data_map(int s) { return slot(s).data; }
    macro_list& macros(int s) { return slot(s).macros; }
    // Record k of the slot; k outside 0..39 gets a scratch record.
    macro_rec& macro(int s, int k);
    profile_settings_rec& settings(int s) { return slot(s).settings; }
    btn_layout_rec& layout(int s) { return slot(s).layout; }
    profile_aux_rec& aux(int s) { return slot(s).aux; }
    profile_paths_rec& paths(int s) { return slot(s).paths; }
    QPixmap& picture(int s) { return slot(s).picture; }

    // --- Favourites and saved layouts ---
    QList<int32_t>& favourites() { return m_favourites; }
    const QList<int32_t>& favourites() const { return m_favourites; }
    QList<btn_layout_rec>& saved_layouts() { return m_saved_layouts; }
    const QList<btn_layout_rec>& saved_layouts() const { return m_saved_layouts; }

    // --- Default buttons ---
    const QMap<int, btn_entry>& default_buttons() const { return m_default_buttons; }
    // Copies the default for `button` into the 3-byte entry; unknown buttons and
    // a null entry change nothing.
    void restore_default_entry(int button, uint8_t* entry) const;

    // --- Slot maintenance ---
    void reset_profile(int slot);
    void reset_all();
    void renumber();
    void insert_gap(int slot);
    void remove_slot(int slot);
    void set_layout(const btn_layout_rec& record);
    void clear_unfitted_buttons();

    // --- Blobs ---
    bool write_profile(QIODevice* device, int slot) const;
    bool read_profile(QIODevice* device, int slot);
    void write_all(QByteArray* bytes) const;
    // Where a profile-set blob stopped reading: the element (by name) and the
    // byte at which it starts; -1 offsets when the stream has no position.
    struct read_failure {
        QString field;
        qint64 offset = -1;
        qint64 stopped_at = -1;
    };
    // Nothing is replaced unless the whole profile-set part reads cleanly; a
    // failure is logged with its element and offset and, given `failure`, told.
    bool read_all(const QByteArray& bytes, read_failure* failure = nullptr);

    // --- Favourites setting ---
    void load_favourites();
    void save_favourites();
    // Defaults to the product's favourites file of the installation.
    QString favourites_file() const;
    void set_favourites_file(const QString& path) { m_favourites_file = path; }

private:
    struct stored_set;
    // The set a blob is read into: the device block and saved layouts as they
    // are (parts of them stay), and the spare slot array, which the blob
    // overwrites whole.
    stored_set read_target();
    void write_set(QDataStream& s) const;
    static bool read_set(QDataStream& s, stored_set& set, read_failure* failure);
    void hand_macros_to_library(int slot);
    void remember_layout(const btn_layout_rec& layout);

    product_kernel_i* m_owner;
    QList<listener_i*> m_listeners;
    QMap<int, btn_entry> m_default_buttons;
    device_settings_block m_device;
    QList<int32_t> m_favourites;
    std::unique_ptr<std::array<profile_slot, max_profile_slots>> m_slots;
    // The slot array read_all last replaced or could not fill, kept for the next read.
    std::unique_ptr<std::array<profile_slot, max_profile_slots>> m_spare_slots;
    QList<btn_layout_rec> m_saved_layouts;

    int32_t m_product_type;
    profile_service_i* m_service = nullptr;
    QString m_favourites_file;
    mutable std::unique_ptr<profile_slot> m_scratch;
    mutable macro_rec m_scratch_macro;
    // The pictures' stream forms (marker and PNG) from the last write_all, by
    // QPixmap::cacheKey(). Encoding is most of a commit's cost, and a picture
    // that is replaced, painted on or refilled gets a new key, so an entry
    // never outlives the picture it was made from.
    mutable QHash<qint64, QByteArray> m_picture_codes;
    mutable int m_last_blob_size = 0;
};
