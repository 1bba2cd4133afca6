#include "kernel/profile_stream.h"

#include "common/log.h"

#include <QBitmap>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace profile_stream {

int32_t read_count(QDataStream& s, int32_t max) {
    int32_t count = 0;
    s >> count;
    if (!ok(s))
        return -1;
    if (count < 0 || count > max) {
        s.setStatus(QDataStream::ReadCorruptData);
        return -1;
    }
    return count;
}

bool skip_bytes(QDataStream& s, quint32 count) {
    while (count > 0 && ok(s)) {
        const int step = int(std::min<quint32>(count, 1u << 30));
        if (s.skipRawData(step) != step) {
            s.setStatus(QDataStream::ReadPastEnd);
            return false;
        }
        count -= quint32(step);
    }
    return ok(s);
}

void write_word(QDataStream& s, int32_t value) {
    byte_record<4> r;
    r.set_i32(0, value);
    write_field(s, r);
}

int32_t read_word(QDataStream& s) {
    byte_record<4> r;
    read_field(s, r);
    return r.i32(0);
}

void write_words(QDataStream& s, const QList<int32_t>& words) {
    s << int32_t(words.size());
    for (int32_t w : words)
        write_word(s, w);
}

bool read_words(QDataStream& s, QList<int32_t>& words) {
    const int32_t count = read_count(s, max_word_count);
    QList<int32_t> read;
    for (int32_t i = 0; i < count && ok(s); ++i)
        read.append(read_word(s));
    if (!ok(s))
        return false;
    words = read;
    return true;
}

namespace {

void write_value(QDataStream& s, const QString& v) {
    s << v;
}
template <std::size_t N>
void write_value(QDataStream& s, const byte_record<N>& v) {
    write_field(s, v);
}

void read_value(QDataStream& s, QString& v) {
    s >> v;
}
template <std::size_t N>
void read_value(QDataStream& s, byte_record<N>& v) {
    read_field(s, v);
}

template <class Map>
void write_any_map(QDataStream& s, const Map& map) {
    s << int32_t(map.size());
    for (auto it = map.end(); it != map.begin();) {
        --it;
        s << int32_t(it.key());
        write_value(s, it.value());
    }
}

template <class Map>
bool read_any_map(QDataStream& s, Map& map) {
    const int32_t count = read_count(s, max_map_count);
    Map read;
    for (int32_t i = 0; i < count && ok(s); ++i) {
        int32_t key = 0;
        typename Map::mapped_type value{};
        s >> key;
        read_value(s, value);
        if (ok(s))
            read.insert(key, value);
    }
    if (!ok(s))
        return false;
    map = read;
    return true;
}

} // namespace

void write_map(QDataStream& s, const btn_param_map& map) {
    write_any_map(s, map);
}
void write_map(QDataStream& s, const btn_text_map& map) {
    write_any_map(s, map);
}
void write_map(QDataStream& s, const btn_data_map& map) {
    write_any_map(s, map);
}
bool read_map(QDataStream& s, btn_param_map& map) {
    return read_any_map(s, map);
}
bool read_map(QDataStream& s, btn_text_map& map) {
    return read_any_map(s, map);
}
bool read_map(QDataStream& s, btn_data_map& map) {
    return read_any_map(s, map);
}

void write_macros(QDataStream& s, const macro_rec* first, int count) {
    write_records(s, first, count);
}

bool read_macros(QDataStream& s, QVector<macro_rec>& macros) {
    return read_records(s, macros, default_macro_rec(), macros_per_slot);
}

bool read_macros_over(QDataStream& s, macro_list& macros) {
    static const macro_rec initial = default_macro_rec();
    const int32_t count = read_count(s, max_list_count);
    macro_rec dropped;
    for (int32_t i = 0; i < count && ok(s); ++i) {
        macro_rec& r = i < macros_per_slot ? macros[size_t(i)] : dropped;
        r = initial;
        read_field(s, r);
    }
    if (!ok(s))
        return false;
    for (int k = count; k < macros_per_slot; ++k)
        macros[size_t(k)] = initial;
    return true;
}

void write_picture(QDataStream& s, const QPixmap& picture) {
    // Qt's own form: a null marker, then a PNG image.
    s << picture;
}

bool read_picture(QDataStream& s, QPixmap& picture) {
    // Qt's reader would take any image format the plugins know and allocate
    // whatever size a forged header claims; this one reads only PNG and checks
    // the size before the pixels are allocated.
    int32_t marker = 0;
    s >> marker;
    if (!ok(s))
        return false;
    if (marker == 0) {
        picture = QPixmap();
        return true;
    }
    QImageReader reader(s.device(), "png");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > max_picture_side || size.height() > max_picture_side ||
        qint64(size.width()) * size.height() > max_picture_pixels) {
        s.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        s.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    picture = image.depth() == 1 ? QBitmap::fromImage(image) : QPixmap::fromImage(image);
    return true;
}

QPixmap readable_picture(const QPixmap& picture) {
    const QSize size = picture.size();
    const auto within = [](const QSize& s) {
        return s.width() <= max_picture_side && s.height() <= max_picture_side &&
               qint64(s.width()) * s.height() <= max_picture_pixels;
    };
    if (picture.isNull() || within(size))
        return picture.copy();
    const double pixels = double(size.width()) * size.height();
    const double scale =
        std::min({double(max_picture_side) / size.width(), double(max_picture_side) / size.height(),
                  std::sqrt(max_picture_pixels / pixels)});
    const auto side = [scale](int length) {
        return qBound(1, qRound(length * scale), max_picture_side);
    };
    QSize fitted(side(size.width()), side(size.height()));
    // Rounding may leave a few pixels over the area limit: trim the longer side.
    while (!within(fitted)) {
        if (fitted.width() >= fitted.height())
            fitted.rwidth() -= 1;
        else
            fitted.rheight() -= 1;
    }
    write_log(QStringLiteral("A picture of %1 x %2 pixels is more than a profile can keep; it is "
                             "kept at %3 x %4.")
                  .arg(size.width())
                  .arg(size.height())
                  .arg(fitted.width())
                  .arg(fitted.height()));
    return picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void clear_picture(QPixmap& picture) {
    // Filling a null pixmap leaves it null, which is what a cleared profile
    // without a picture must stay.
    picture.fill(Qt::transparent);
}

bool is_product_type(int32_t type) {
    return type == product_type::black || type == product_type::white;
}

void write_profile_blob(QDataStream& s, const profile_blob& blob) {
    write_word(s, blob.product_type);
    write_field(s, blob.name);
    write_field(s, blob.paths);
    write_field(s, blob.extra);
    write_map(s, blob.params);
    write_words(s, blob.words);
    write_picture(s, blob.picture);
    write_map(s, blob.texts);
    write_map(s, blob.data);
    write_field(s, blob.aux);
    write_field(s, blob.assign);
    write_field(s, blob.settings);
    write_field(s, blob.layout);
    write_field(s, blob.block_48);
    write_macros(s, blob.macros.constData(), blob.macros.size());
}

read_result read_profile_blob(QDataStream& s, profile_blob& blob) {
    const int32_t type = read_word(s);
    if (!ok(s))
        return read_result::broken;
    if (!is_product_type(type))
        return read_result::wrong_type;

    profile_blob read = blob;
    read.product_type = type;
    read_field(s, read.name);
    read_field(s, read.paths);
    read_field(s, read.extra);
    read_map(s, read.params);
    read_words(s, read.words);
    read_picture(s, read.picture);
    read_map(s, read.texts);
    read_map(s, read.data);
    read_field(s, read.aux);
    read_field(s, read.assign);
    read_field(s, read.settings);
    read_field(s, read.layout);
    read_field(s, read.block_48);
    read_macros(s, read.macros);
    if (!ok(s))
        return read_result::broken;
    blob = std::move(read);
    return read_result::done;
}

} // namespace profile_stream
