// The host's small value dialogs behind the function catalogue: the value of
// function 253 (class 0xC01), a web address (class 0x2501) and a value on a
// slider with labelled ticks (class 0x2601).
#pragma once

#include "host/components/dialog_frame.h"
#include "module/component_interfaces.h"

#include <QVector>
#include <QWidget>
#include <optional>

class QLineEdit;
class QSpinBox;

namespace web_address {
// The address a person typed, made whole ("example.com" becomes
// "https://example.com"), or nothing when it is not a web address.
std::optional<QString> normalised(const QString& typed);
} // namespace web_address

namespace value_text {
// A 32-bit value typed in decimal or in hexadecimal with "0x"; nothing when
// it is neither or does not fit.
std::optional<uint32_t> parse_u32(const QString& typed);
} // namespace value_text

class code_253_fm_c : public dialog_frame_c {
    Q_OBJECT
public:
    explicit code_253_fm_c(component_context_c* context, QWidget* parent = nullptr);
    QLineEdit* edit() const { return m_edit; }
    void set_value(uint32_t value);
    std::optional<uint32_t> value() const;

private:
    void retranslate();
    void check();

    QLabel* m_prompt = nullptr;
    QLineEdit* m_edit = nullptr;
    QLabel* m_other_form = nullptr;
};

class code_253_dialog_c : public dialog_component_c, public code_253_dialog_i {
    Q_OBJECT
public:
    explicit code_253_dialog_c(component_context_c* context = nullptr);
    interface_i* query_interface(const GUID& iid) override;
    void release() override { release_component(); }
    int32_t run(uint32_t* value) override;
    code_253_fm_c* dialog() const { return static_cast<code_253_fm_c*>(open_dialog()); }
};

class web_address_fm_c : public dialog_frame_c {
    Q_OBJECT
public:
    explicit web_address_fm_c(component_context_c* context, QWidget* parent = nullptr);
    QLineEdit* edit() const { return m_edit; }

private:
    void retranslate();
    void check();

    QLabel* m_prompt = nullptr;
    QLineEdit* m_edit = nullptr;
    QLabel* m_hint = nullptr;
};

class web_address_dialog_c : public dialog_component_c, public web_address_dialog_i {
    Q_OBJECT
public:
    explicit web_address_dialog_c(component_context_c* context = nullptr);
    interface_i* query_interface(const GUID& iid) override;
    void release() override { release_component(); }
    int32_t run() override;
    QString address() override { return m_address; }
    void set_address(const QString& address) override;
    web_address_fm_c* dialog() const { return static_cast<web_address_fm_c*>(open_dialog()); }

private:
    QString m_address;
};

// A slider whose ticks sit at given places: between two ticks the value runs
// evenly, so a wide range can give its low end more room.
class tick_slider_c : public QWidget {
    Q_OBJECT
public:
    struct tick_t {
        int value;
        QString label;
        int percent;
    };

    explicit tick_slider_c(QWidget* parent = nullptr);
    void set_range(int max, int min, int step);
    // Ticks out of range or out of order (by place and by value) are dropped.
    void set_ticks(const QVector<tick_t>& ticks);
    QVector<tick_t> ticks() const { return m_ticks; }
    int value() const { return m_value; }
    void set_value(int value);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    // The value at a place along the slider (0..1) and the place of a value.
    int value_at(double place) const;
    double place_of(int value) const;

    QSize sizeHint() const override;

signals:
    void value_edited(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The knots of the mapping: (place, value), from (0, min) to (1, max).
    QVector<QPair<double, double>> knots() const;
    int snapped(int value) const;
    QRectF groove() const;
    void edit(int value);

    int m_min = 0;
    int m_max = 100;
    int m_step = 1;
    int m_value = 0;
    QVector<tick_t> m_ticks;
};

class value_slider_fm_c : public dialog_frame_c {
    Q_OBJECT
public:
    explicit value_slider_fm_c(component_context_c* context, QWidget* parent = nullptr);
    tick_slider_c* slider() const { return m_slider; }
    QSpinBox* number() const { return m_number; }
    QPushButton* default_button() const { return m_default; }
    void setup(int max, int min, int step, int initial, int default_value, bool number_box);

private:
    void retranslate();

    tick_slider_c* m_slider = nullptr;
    QSpinBox* m_number = nullptr;
    QPushButton* m_default = nullptr;
    int m_default_value = -1;
};

class value_slider_dialog_c : public dialog_component_c, public value_slider_dialog_i {
    Q_OBJECT
public:
    explicit value_slider_dialog_c(component_context_c* context = nullptr);
    interface_i* query_interface(const GUID& iid) override;
    void release() override { release_component(); }
    void setup(int32_t max, int32_t min, int32_t step, int32_t initial, int32_t default_value,
               int32_t number_box) override;
    void add_tick(int32_t value, const QString& label, int32_t percent) override;
    int32_t run() override;
    int32_t value() override { return m_value; }
    void set_title(const QString& text) override;

    value_slider_fm_c* dialog() const { return static_cast<value_slider_fm_c*>(open_dialog()); }

private:
    int m_max = 100;
    int m_min = 0;
    int m_step = 1;
    int m_value = 0;
    int m_default = -1;
    bool m_number_box = true;
    QString m_title;
    QVector<tick_slider_c::tick_t> m_ticks;
};
