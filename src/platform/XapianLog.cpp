#include "platform/XapianLog.h"

namespace lumera {
Q_LOGGING_CATEGORY(lcSearch, "lumera.search")
}  // namespace lumera
