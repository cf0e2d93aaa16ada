// The log category of the host library ("ostrel.host").
#pragma once

#include <QLoggingCategory>

namespace ostrelhost {
Q_DECLARE_LOGGING_CATEGORY(lcHost)
} // namespace ostrelhost
