#pragma once

#include <QLoggingCategory>

namespace lumera {
// Why a search found nothing: a missing index, a bad list, a rejected query.
Q_DECLARE_LOGGING_CATEGORY(lcSearch)
}  // namespace lumera
