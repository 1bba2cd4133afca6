#include "host/koral_app.h"

#include "host/host_catalogue.h"
#include "host/host_log.h"
#include "host/texts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPalette>
#include <QStyleFactory>

namespace koral_app {

bool choose_platform() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && !defined(Q_OS_ANDROID)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return false;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
#else
    return false;
#endif
}

namespace {

QtMessageHandler g_previous_handler = nullptr;

void drop_offscreen_notes(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (g_previous_handler)
        g_previous_handler(type, context, message);
}

} // namespace

void quiet_offscreen_notes() {
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen" || g_previous_handler)
        return;
    g_previous_handler = qInstallMessageHandler(drop_offscreen_notes);
}

void apply_theme(QApplication& app) {
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QColor window(0x18, 0x1a, 0x1e);
    const QColor base(0x12, 0x14, 0x17);
    const QColor text(0xdc, 0xdf, 0xe3);
    const QColor dim(0x5c, 0x60, 0x67);
    const QColor accent(0x3a, 0xa7, 0xc9);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, QColor(0x17, 0x1a, 0x1e));
    palette.setColor(QPalette::ToolTipBase, QColor(0x20, 0x23, 0x28));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, dim);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x22, 0x25, 0x2a));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, QColor(0x33, 0x37, 0x3e));
    palette.setColor(QPalette::Midlight, QColor(0x2a, 0x2e, 0x34));
    palette.setColor(QPalette::Mid, QColor(0x23, 0x26, 0x2b));
    palette.setColor(QPalette::Dark, QColor(0x0d, 0x0e, 0x10));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x1f, 0x5f, 0x75));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, accent);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, dim);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x2a, 0x2e, 0x34));
    app.setPalette(palette);
}

} // namespace koral_app

qt_translation_c::qt_translation_c(const host_catalogue_c* catalogue, QObject* parent)
    : QObject(parent)
    , m_catalogue(catalogue) {}

qt_translation_c::~qt_translation_c() {
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

QString qt_translation_c::locale_name(int32_t language) const {
    if (m_catalogue) {
        for (const host_catalogue_c::language_t& l : m_catalogue->languages()) {
            if (l.id == language && !l.file.isEmpty())
                return l.file;
        }
    }
    // Without a catalogue the host still knows its own two languages.
    if (language == host_texts::german)
        return QStringLiteral("de");
    return language == host_texts::english ? QStringLiteral("en") : QString();
}

bool qt_translation_c::apply(int32_t language) {
    if (m_installed) {
        QCoreApplication::removeTranslator(&m_translator);
        m_installed = false;
    }
    const QString name = locale_name(language);
    // Qt speaks English by itself.
    if (name.isEmpty() || name == QLatin1String("en"))
        return false;
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    if (!m_translator.load(QStringLiteral("qtbase_") + name, folder)) {
        qCWarning(lc_koral).noquote() << "No Qt translation qtbase_" + name << "in" << folder
                                      << "- file dialogs and standard buttons stay English";
        return false;
    }
    m_installed = QCoreApplication::installTranslator(&m_translator);
    return m_installed;
}
