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

} // namespace platform
