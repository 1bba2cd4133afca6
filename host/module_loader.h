// Loads a device module the way the host does: by file, through its two plain
// C entry points, and nothing else.
#pragma once

#include <QLibrary>
#include <QString>

class module_host_i;

class module_loader_c {
public:
    // `file` is the module's path without platform prefix or suffix
    // ("bin/quil" finds libquil.so here and quil.dll on Windows).
    explicit module_loader_c(const QString& file);
    module_loader_c(const module_loader_c&) = delete;
    module_loader_c& operator=(const module_loader_c&) = delete;
    // Leaves the module if it was entered; the library stays mapped, because
    // the module's static objects may still be torn down after this.
    ~module_loader_c();

    // The module file in `folder` for a catalogue dll_name.
    static QString module_file(const QString& folder, const QString& dll_name);

    // Loads the library and resolves both entry points; false with an
    // error_string() on any failure.
    bool load();
    bool is_loaded() const { return m_init && m_exit; }
    QString file_name() const;
    QString error_string() const { return m_error; }

    // init_module(host): once per load; false when not loaded or already entered.
    bool enter(module_host_i* host);
    // exit_module(): only after enter(); false otherwise.
    bool leave();
    bool is_entered() const { return m_entered; }

private:
    using init_fn = void (*)(module_host_i*);
    using exit_fn = void (*)();

    QLibrary m_library;
    init_fn m_init = nullptr;
    exit_fn m_exit = nullptr;
    QString m_error;
    bool m_entered = false;
};
