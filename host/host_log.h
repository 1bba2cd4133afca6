// The stand-in host's own log category; the module keeps its own log.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lc_koral)
