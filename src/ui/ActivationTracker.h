#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;
class QWindow;

namespace lumera {

// Decides when the main window counts as activated: the first time it becomes
// active, and each time it becomes active again coming from another window of
// the program that says it hands activation back (the search window, the
// picture window). Coming back from another application, a message box or a
// file dialog does not count.
class ActivationTracker : public QObject {
    Q_OBJECT
  public:
    // Windows that set this property to true hand activation back to the main window.
    static constexpr const char* kReturnsActivation = "lumeraReturnsActivation";

    ActivationTracker(QWidget* mainWindow, std::function<void()> onActivate,
                      QObject* parent = nullptr);

    // The rule itself: called with each new focus window (nullptr when the
    // program loses focus to another application).
    void focusMovedTo(QWindow* window);

  private:
    bool returnsActivation(QWindow* window) const;

    QWidget* mainWindow_;
    std::function<void()> onActivate_;
    bool activatedOnce_ = false;
    QPointer<QWindow> lastProgramWindow_;
};

}  // namespace lumera
