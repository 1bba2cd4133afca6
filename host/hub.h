// The host's settings hub: the seven bytes of pointer, scroll and double-click
// settings that the host keeps for the whole system (not per profile), the
// macro library, and a listener manager through which kernels hear of library
// changes. The host's value controls report their values to it.
#pragma once

#include "host/macro_library.h"
#include "module/interfaces.h"
#include "module/page_interfaces.h"

#include <QObject>
#include <QVector>
#include <array>

class hub_c : public QObject,
              public hub_i,
              public listener_mgr_i,
              public listener_i,
              public value_ctrl_funcs_listener_i {
    Q_OBJECT
public:
    // The hub bytes by index.
    // The hub bytes by index, as the module's interface names them.
    enum byte_t : int {
        pointer_precision = hub_byte::pointer_precision,
        pointer_snap = hub_byte::pointer_snap,
        scroll_by_page = hub_byte::scroll_by_page,
        vertical_scroll = hub_byte::vertical_scroll,
        horizontal_scroll = hub_byte::horizontal_scroll,
        double_click_speed = hub_byte::double_click,
        pointer_speed = hub_byte::pointer_speed,
    };
    static constexpr int byte_count = hub_byte::count;
    static constexpr qint64 max_settings_bytes = 64 * 1024;
    using bytes_t = std::array<uint8_t, byte_count>;

    // Control types whose settings live here.
    static constexpr int32_t pointer_type = ctrl_type::pointer_speed;
    static constexpr int32_t vertical_scroll_type = ctrl_type::v_scroll;
    static constexpr int32_t horizontal_scroll_type = ctrl_type::h_scroll;
    static constexpr int32_t double_click_type = ctrl_type::double_click;

    static bytes_t default_bytes();
    // The range of one byte's value (pointer speed signed).
    static int minimum(int index);
    static int maximum(int index);

    // `folder` holds hub.ini and the macro library; empty: nothing is kept.
    explicit hub_c(const QString& folder, QObject* parent = nullptr);
    ~hub_c() override;

    interface_i* query_interface(const GUID& iid) override;
    // The host owns its hub.
    void release() override {}

    // hub_i
    void hub_reserved_2() override {}
    macro_library_i* macro_library() override { return &m_library; }
    const uint8_t* hub_bytes() override { return m_bytes.data(); }
    void hub_reserved_5() override {}
    void hub_reserved_6() override {}
    void hub_reserved_7() override {}
    void hub_reserved_8() override {}
    void hub_reserved_9() override {}
    void hub_reserved_10() override {}
    void hub_reserved_11() override {}
    void reset_hub_setting(int32_t type) override;

    // listener_mgr_i
    void add_listener(listener_i* listener) override;
    void remove_listener(listener_i* listener) override;

    // listener_i: the hub listens to the value controls of its settings.
    void manager_closing(listener_mgr_i* /*manager*/) override {}
    void update() override {}
    // value_ctrl_funcs_listener_i: a value control of type 2..5 moved.
    void value_changed(int32_t type, int32_t value) override;

    // The host's side.
    macro_library_c* library() { return &m_library; }
    bytes_t bytes() const { return m_bytes; }
    // The value of a byte (pointer speed as signed).
    int value(int index) const;
    // Stores a value, clamped to the byte's range; false for an unknown index.
    bool set_value(int index, int value);
    void set_pointer_speed(int speed) { set_value(pointer_speed, speed); }
    void set_pointer_options(bool precision, bool snap);
    void set_vertical_scroll(int lines, bool by_page);
    void set_horizontal_scroll(int characters) { set_value(horizontal_scroll, characters); }
    void set_double_click_speed(int speed) { set_value(double_click_speed, speed); }
    QVector<listener_i*> listeners() const { return m_listeners; }
    QVector<int32_t> reset_calls() const { return m_reset_calls; }
    QString settings_file() const;

    // Tells every listener that answers macro_listener_i; returns whether any
    // reported a match.
    bool notify_macros_changed(const QList<library_item>& items);

signals:
    void bytes_changed();

private:
    void load();
    void save() const;
    static int stored(int index, int value);

    QString m_folder;
    bytes_t m_bytes;
    macro_library_c m_library;
    QVector<listener_i*> m_listeners;
    QVector<int32_t> m_reset_calls;
};
