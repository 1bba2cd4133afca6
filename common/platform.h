// The one place that knows which operating system the module runs on.
// Nothing else in the module includes a Windows header.
#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace platform {

// Name of the key described by a packed keyboard message parameter
// (scan code in bits 16..23, extended flag in bit 24).
QString key_name_for_param(uint32_t param);

// Clears the drop-shadow class style of the widget's window class, once per process.
void clear_class_drop_shadow(QWidget* window);

// Blocks the calling thread.
void pause_ms(int ms);

// True on the host's own operating system family.
bool is_windows();

// True on Windows Vista and Windows 7 only: the one function that depends on the system
// version is offered there alone.
bool is_windows_vista_or_7();

// File name of the translation compiler in the application folder.
QString translation_compiler_name();

// A shared-memory segment already named by a key that was to be created. Where the
// system keeps segments after their processes end (System V), one that nobody is
// attached to and whose creator is gone was left by a killed run: it is removed.
struct leftover_segment {
    enum state_t {
        // No such segment can be looked at here (or it vanished meanwhile).
        not_found,
        // Some process is attached to it.
        held,
        // Nobody is attached, but its creator still runs and may attach again.
        creator_running,
        // Left behind and removed now: its key is free.
        reclaimed,
        // Left behind, but the system refused to remove it.
        not_removed,
    };
    state_t state = not_found;
    // The creator's process id and the number of attached processes, when found.
    qint64 creator = 0;
    int attached = 0;
};
// `native_key` is the segment's native key (QSharedMemory::nativeKey()).
leftover_segment reclaim_leftover_segment(const QString& native_key);

} // namespace platform
