#include "host/host_log.h"

Q_LOGGING_CATEGORY(lc_koral, "koral", QtInfoMsg)
