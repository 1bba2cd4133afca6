#include "common/platform.h"

#include <QOperatingSystemVersion>
#include <QWidget>

#ifdef _WIN32

#include <windows.h>

namespace platform {

QString key_name_for_param(uint32_t param) {
    wchar_t buffer[520] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(param), buffer, 520);
    return QString::fromWCharArray(buffer, length > 0 ? length : 0);
}

void clear_class_drop_shadow(QWidget* window) {
    // The style belongs to the window class, shared by every window of the process,
    // so clearing it once is enough.
    static bool cleared = false;
    if (cleared || !window)
        return;
    const HWND handle = reinterpret_cast<HWND>(window->winId());
    const DWORD style = GetClassLongW(handle, GCL_STYLE);
    SetClassLongW(handle, GCL_STYLE, static_cast<LONG>(style & ~DWORD(0x20000)));
    cleared = true;
}

void pause_ms(int ms) {
    Sleep(ms > 0 ? DWORD(ms) : 0);
}

bool is_windows() {
    return true;
}

bool is_windows_vista_or_7() {
    // Vista is 6.0 and 7 is 6.1; every later release reports 6.2 or above.
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    return os.type() == QOperatingSystemVersion::Windows && os.majorVersion() == 6 &&
           os.minorVersion() <= 1;
}

QString translation_compiler_name() {
    return QStringLiteral("lrelease.exe");
}

leftover_segment reclaim_leftover_segment(const QString&) {
    // A named mapping ends with its last handle: a name in use is held by a live process.
    return {};
}

} // namespace platform

#else

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <iterator>
#include <thread>

#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/types.h>

namespace platform {

namespace {

struct scan_name {
    uint8_t scan_code;
    bool extended;
    const char* name;
};

// English key names by set-1 scan code, worded as the host's own operating system
// words them for a US keyboard. Covers every scan code of the key table.
constexpr scan_name g_names[] = {
    {0x01, false, "Esc"},         {0x02, false, "1"},
    {0x03, false, "2"},           {0x04, false, "3"},
    {0x05, false, "4"},           {0x06, false, "5"},
    {0x07, false, "6"},           {0x08, false, "7"},
    {0x09, false, "8"},           {0x0A, false, "9"},
    {0x0B, false, "0"},           {0x0C, false, "-"},
    {0x0D, false, "="},           {0x0E, false, "Backspace"},
    {0x0F, false, "Tab"},         {0x10, false, "Q"},
    {0x11, false, "W"},           {0x12, false, "E"},
    {0x13, false, "R"},           {0x14, false, "T"},
    {0x15, false, "Y"},           {0x16, false, "U"},
    {0x17, false, "I"},           {0x18, false, "O"},
    {0x19, false, "P"},           {0x1A, false, "["},
    {0x1B, false, "]"},           {0x1C, false, "Enter"},
    {0x1D, false, "Ctrl"},        {0x1E, false, "A"},
    {0x1F, false, "S"},           {0x20, false, "D"},
    {0x21, false, "F"},           {0x22, false, "G"},
    {0x23, false, "H"},           {0x24, false, "J"},
    {0x25, false, "K"},           {0x26, false, "L"},
    {0x27, false, ";"},           {0x28, false, "'"},
    {0x29, false, "`"},           {0x2A, false, "Shift"},
    {0x2B, false, "\\"},          {0x2C, false, "Z"},
    {0x2D, false, "X"},           {0x2E, false, "C"},
    {0x2F, false, "V"},           {0x30, false, "B"},
    {0x31, false, "N"},           {0x32, false, "M"},
    {0x33, false, ","},           {0x34, false, "."},
    {0x35, false, "/"},           {0x36, false, "Right Shift"},
    {0x37, false, "Num *"},       {0x38, false, "Alt"},
    {0x39, false, "Space"},       {0x3A, false, "Caps Lock"},
    {0x3B, false, "F1"},          {0x3C, false, "F2"},
    {0x3D, false, "F3"},          {0x3E, false, "F4"},
    {0x3F, false, "F5"},          {0x40, false, "F6"},
    {0x41, false, "F7"},          {0x42, false, "F8"},
    {0x43, false, "F9"},          {0x44, false, "F10"},
    {0x45, false, "Pause"},       {0x46, false, "Scroll Lock"},
    {0x47, false, "Num 7"},       {0x48, false, "Num 8"},
    {0x49, false, "Num 9"},       {0x4A, false, "Num -"},
    {0x4B, false, "Num 4"},       {0x4C, false, "Num 5"},
    {0x4D, false, "Num 6"},       {0x4E, false, "Num +"},
    {0x4F, false, "Num 1"},       {0x50, false, "Num 2"},
    {0x51, false, "Num 3"},       {0x52, false, "Num 0"},
    {0x53, false, "Num Del"},     {0x54, false, "Sys Req"},
    {0x56, false, "\\"},          {0x57, false, "F11"},
    {0x58, false, "F12"},         {0x59, false, "Num ="},
    {0x64, false, "F13"},         {0x65, false, "F14"},
    {0x66, false, "F15"},         {0x70, false, "Kana"},
    {0x73, false, "Ro"},          {0x76, false, "Zenkaku/Hankaku"},
    {0x77, false, "Hiragana"},    {0x78, false, "Katakana"},
    {0x79, false, "Convert"},     {0x7B, false, "Non Convert"},
    {0x7D, false, "Yen"},         {0xF1, false, "Hanja"},
    {0xF2, false, "Hangul"},      {0x1C, true, "Num Enter"},
    {0x1D, true, "Right Ctrl"},   {0x35, true, "Num /"},
    {0x37, true, "Prnt Scrn"},    {0x38, true, "Right Alt"},
    {0x45, true, "Num Lock"},     {0x46, true, "Break"},
    {0x47, true, "Home"},         {0x48, true, "Up"},
    {0x49, true, "Page Up"},      {0x4B, true, "Left"},
    {0x4D, true, "Right"},        {0x4F, true, "End"},
    {0x50, true, "Down"},         {0x51, true, "Page Down"},
    {0x52, true, "Insert"},       {0x53, true, "Delete"},
    {0x5B, true, "Left Windows"}, {0x5C, true, "Right Windows"},
    {0x5D, true, "Application"},
};

const char* find_name(uint8_t scan_code, bool extended) {
    const auto it =
        std::find_if(std::begin(g_names), std::end(g_names), [&](const scan_name& entry) {
            return entry.scan_code == scan_code && entry.extended == extended;
        });
    return it == std::end(g_names) ? nullptr : it->name;
}

} // namespace

QString key_name_for_param(uint32_t param) {
    const auto scan_code = uint8_t((param >> 16) & 0xFF);
    const bool extended = (param >> 24) & 1;
    if (scan_code == 0)
        return QString();
    const char* name = find_name(scan_code, extended);
    // A prefixed key without a name of its own is the same key as without the prefix.
    if (!name && extended)
        name = find_name(scan_code, false);
    return name ? QString::fromLatin1(name) : QString();
}

void clear_class_drop_shadow(QWidget*) {
    // Window classes and their shadow style exist only on the host's own system.
}

void pause_ms(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool is_windows() {
    return false;
}

bool is_windows_vista_or_7() {
    return false;
}

QString translation_compiler_name() {
    return QStringLiteral("lrelease");
}

namespace {

bool process_running(pid_t pid) {
    // EPERM: it runs under another user, but it runs.
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

} // namespace

leftover_segment reclaim_leftover_segment(const QString& native_key) {
    leftover_segment result;
    // Qt's System V segments are keyed by ftok() on their key file with the id 'Q'.
    const QByteArray file = QFile::encodeName(native_key);
    if (file.isEmpty())
        return result;
    const key_t key = ::ftok(file.constData(), 'Q');
    if (key == -1)
        return result;
    const int id = ::shmget(key, 0, 0);
    struct shmid_ds info {};
    if (id == -1 || ::shmctl(id, IPC_STAT, &info) != 0)
        return result;
    result.creator = qint64(info.shm_cpid);
    result.attached = int(info.shm_nattch);
    if (info.shm_nattch > 0) {
        result.state = leftover_segment::held;
    } else if (process_running(info.shm_cpid)) {
        result.state = leftover_segment::creator_running;
    } else {
        result.state = ::shmctl(id, IPC_RMID, nullptr) == 0 ? leftover_segment::reclaimed
                                                            : leftover_segment::not_removed;
    }
    return result;
}

} // namespace platform

#endif
