#pragma once

#include <QtGlobal>
#include <exception>

namespace lumera {

// Runs one step of a procedure that goes on with its next step whatever
// this one does: a failure is logged and otherwise ignored.
template <typename Step>
void SkipFailure(const char* what, Step&& step) {
    try {
        step();
    } catch (const std::exception& error) {
        qWarning("%s: %s", what, error.what());
    }
}

}  // namespace lumera
