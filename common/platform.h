// The one place that knows which operating system the module runs on.
// Nothing else in the module includes a Windows header.
#pragma once

#include <QString>
#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <guiddef.h>
#else
// Same layout as the Windows GUID, so interface ids are the same 16 bytes everywhere.
struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

inline bool operator==(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
inline bool operator!=(const GUID& a, const GUID& b) {
    return !(a == b);
}
#endif

static_assert(sizeof(GUID) == 16, "interface ids are 16 bytes");

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
