#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace lumera {

// A long job on a worker thread under a progress window with Cancelar, the
// window's owner kept alive meanwhile. The job reports (stage, done, total)
// as it goes; after Cancelar its next report throws JobCancelled, which
// ends it.
class ProgressWindow {
  public:
    struct JobCancelled {};
    using Report = std::function<void(int stage, qint64 done, qint64 total)>;
    // The window's text for a report; timeLeft is said in words.
    using Describe =
        std::function<QString(int stage, qint64 done, qint64 total, const QString& timeLeft)>;

    // False when the job was cancelled.
    static bool run(QWidget* parent, const Describe& describe,
                    const std::function<void(const Report&)>& job);
};

}  // namespace lumera
