#pragma once

#include <QString>

namespace lumera {

// Why a set-up stopped, for the user; nothing was changed by then.
struct SetupError {
    QString message;  // Portuguese
};

}  // namespace lumera
