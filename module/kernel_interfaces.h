// Interfaces of the profile data: the profile object the host creates with
// class 0x0302 and the notification of side-panel layout changes.
#pragma once

#include "module/interfaces.h"

#include <cstdint>

class QIODevice;
class QPixmap;
class QString;
struct btn_layout_rec;

// One profile, moved between the host and the module as a profile blob.
class profile_i : public interface_i {
public:
    // 2, 3: a value that belongs to the host.
    virtual void set_host_value(int32_t value) = 0;
    virtual int32_t host_value() = 0;
    // 4: a new profile object with a copy of every member.
    virtual profile_i* clone() = 0;
    // 5: 8 or 9.
    virtual int32_t product_type() = 0;
    // 6: the profile has a picture of its own.
    virtual bool has_picture() = 0;
    // 7..9
    virtual QString name() = 0;
    virtual uint8_t byte_105() = 0;
    virtual uint8_t byte_106() = 0;
    // 10: the profile's picture; never null.
    virtual QPixmap* picture() = 0;
    // 11..14
    virtual void set_product_type(int32_t type) = 0;
    virtual void set_name(const QString& name) = 0;
    virtual void set_byte_105(uint8_t value) = 0;
    virtual void set_byte_106(uint8_t value) = 0;
    // 15: keeps a copy of the image and marks the profile as having one.
    virtual void set_picture(const QPixmap& picture) = 0;
    // 16: no picture of its own; the image becomes transparent.
    virtual void clear_picture() = 0;
    // 17, 18: text n (0..4); other n give an empty text or are ignored.
    virtual QString path(int n) = 0;
    virtual void set_path(int n, const QString& text) = 0;
    // 19, 20: the profile blob.
    virtual void write(QIODevice* device) = 0;
    virtual bool read(QIODevice* device) = 0;

protected:
    // The two destructor slots come last; release() is the way to destroy.
    virtual ~profile_i() = default;
};

// Told when a profile's side-panel layout record is replaced.
class btn_assignment_listener_i : public interface_i {
public:
    // 2: the new 30-byte layout record.
    virtual void on_layout_record(const btn_layout_rec& record) = 0;

protected:
    ~btn_assignment_listener_i() = default;
};
