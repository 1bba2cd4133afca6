// Painting recipes: each paints one kind of picture into an image of the size
// the manifest gives, steered by the entry's key=value arguments.
#pragma once

#include "manifest.h"

#include <QImage>
#include <QMap>
#include <QSet>
#include <QStringList>

class QPainter;

// Arguments of one manifest entry. A recipe asks for what it needs; a missing
// or unexpected value, and any argument nobody asked for, becomes an error.
class recipe_args {
public:
    explicit recipe_args(const QMap<QString, QString>& values)
        : m_values(values) {}

    // One of the allowed words; the first allowed word when the value is bad.
    QString choice(const QString& key, const QStringList& allowed);
    // An integer in [min, max]; min when the value is bad.
    int number(const QString& key, int min, int max);

    QStringList errors() const;

private:
    QMap<QString, QString> m_values;
    QSet<QString> m_read;
    QStringList m_errors;
};

using recipe_fn = void (*)(QPainter& painter, const QSize& size, recipe_args& args);
using recipe_table = QMap<QString, recipe_fn>;

// Each group of recipes adds itself to the table.
void add_control_recipes(recipe_table& table);
void add_icon_recipes(recipe_table& table);
void add_mouse_recipes(recipe_table& table);
void add_panel_recipes(recipe_table& table);
void add_lighting_recipes(recipe_table& table);

const recipe_table& recipes();

struct painted_graphic {
    QImage image;       // null when the entry could not be painted
    QStringList errors; // what was wrong with the entry
};

// Paints one manifest entry. The image has exactly the entry's size.
painted_graphic paint_graphic(const graphic_entry& entry);

// The file bytes of a painted image: PNG, or JPEG for ".jpg" paths.
QByteArray encode_graphic(const QImage& image, const QString& path);
