#include "recipes.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

QString recipe_args::choice(const QString& key, const QStringList& allowed) {
    m_read.insert(key);
    const QString value = m_values.value(key);
    if (!allowed.contains(value)) {
        m_errors << QStringLiteral("%1=%2 is not one of %3")
                        .arg(key, value.isEmpty() ? QStringLiteral("(missing)") : value,
                             allowed.join(QLatin1Char('|')));
        return allowed.value(0);
    }
    return value;
}

int recipe_args::number(const QString& key, int min, int max) {
    m_read.insert(key);
    bool ok = false;
    const int value = m_values.value(key).toInt(&ok);
    if (!ok || value < min || value > max) {
        m_errors << QStringLiteral("%1=%2 is not a number in %3..%4")
                        .arg(key, m_values.value(key, QStringLiteral("(missing)")))
                        .arg(min)
                        .arg(max);
        return min;
    }
    return value;
}

QStringList recipe_args::errors() const {
    QStringList all = m_errors;
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        if (!m_read.contains(it.key()))
            all << QStringLiteral("argument %1 is not used by this recipe").arg(it.key());
    }
    return all;
}

const recipe_table& recipes() {
    static const recipe_table table = [] {
        recipe_table t;
        add_control_recipes(t);
        add_icon_recipes(t);
        add_mouse_recipes(t);
        add_panel_recipes(t);
        add_lighting_recipes(t);
        return t;
    }();
    return table;
}

painted_graphic paint_graphic(const graphic_entry& entry) {
    painted_graphic result;
    const recipe_fn recipe = recipes().value(entry.recipe);
    if (!recipe) {
        result.errors << QStringLiteral("unknown recipe %1").arg(entry.recipe);
        return result;
    }
    QImage image(entry.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    recipe_args args(entry.args);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        recipe(painter, entry.size, args);
    }
    result.errors = args.errors();
    if (result.errors.isEmpty())
        result.image = image.convertToFormat(QImage::Format_ARGB32);
    return result;
}

QByteArray encode_graphic(const QImage& image, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool jpeg = path.endsWith(QLatin1String(".jpg"));
    QImageWriter writer(&buffer, jpeg ? "jpg" : "png");
    if (jpeg) {
        // JPEG has no alpha: the picture is laid on opaque black first.
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::black);
        QPainter(&opaque).drawImage(0, 0, image);
        writer.setQuality(95);
        if (!writer.write(opaque))
            return {};
    } else {
        writer.setQuality(0); // PNG: strongest compression (still lossless)
        if (!writer.write(image))
            return {};
    }
    return bytes;
}
