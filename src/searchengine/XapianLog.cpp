#include "searchengine/XapianLog.h"

namespace lumera {
// Details for whoever asks (QT_LOGGING_RULES); warnings always.
Q_LOGGING_CATEGORY(lcSearch, "lumera.search", QtWarningMsg)
}  // namespace lumera
