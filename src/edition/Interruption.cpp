#include "edition/Interruption.h"

#include <csignal>

namespace lumera {
namespace {

std::atomic_bool stopRequested{false};
struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};

void onSignal(int signal) {
    stopRequested = true;
    // The next one is the system's: the program ends without waiting.
    std::signal(signal, SIG_DFL);
}

}  // namespace

Interruption::Interruption() {
    stopRequested = false;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInterrupt);
    sigaction(SIGTERM, &action, &previousTerminate);
}

Interruption::~Interruption() {
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
}

const std::atomic_bool& Interruption::requested() const { return stopRequested; }

}  // namespace lumera
