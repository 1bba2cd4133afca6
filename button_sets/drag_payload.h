// The data of the editor's drags. It remembers the object the drag came from, so a drop
// target finds the carried block (jigsaw_i) or tile from the data it is handed, whether
// the window system runs the drag or the drop arrives some other way.
#pragma once

#include <QMimeData>
#include <QPointer>

class QDropEvent;
class jigsaw_i;

class drag_payload : public QMimeData {
    Q_OBJECT

public:
    explicit drag_payload(QObject* source)
        : m_source(source) {}
    QObject* source() const { return m_source; }

    // The object a drop comes from: the payload's source, else the running drag's source.
    static QObject* source_of(const QDropEvent* event);
    // The carried block of a drop; null when the drop carries none.
    static jigsaw_i* block_of(const QDropEvent* event);

private:
    QPointer<QObject> m_source;
};
