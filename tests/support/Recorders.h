#pragma once
// Test doubles that record what the logic asks of the outside world.

#include <QStringList>
#include <functional>
#include <optional>

#include "host/Browser.h"
#include "host/SearchEngine.h"
#include "host/WindowSystem.h"

namespace lumera::testing {

// Records every call; navigations are not followed.
class RecordingBrowser : public Browser {
  public:
    QStringList calls;
    std::optional<QString> request;

    void Navigate(const QString& target) override { calls << QStringLiteral("Navigate ") + target; }
    void GoBack() override { calls << QStringLiteral("GoBack"); }
    std::optional<QString> ElementValue(const QString& name) const override {
        return name == u"request" ? request : std::nullopt;
    }
    void SaveAs() override { calls << QStringLiteral("SaveAs"); }
    void Copy() override { calls << QStringLiteral("Copy"); }
    void Print() override { calls << QStringLiteral("Print"); }
    void Find() override { calls << QStringLiteral("Find"); }
};

struct ShownMessage {
    QString text;
    QString title;
    int style;
};

class RecordingWindowSystem : public WindowSystem {
  public:
    QList<ShownMessage> messages;
    QList<bool> busy;
    int pendingEventRounds = 0;
    std::function<void()> onProcessEvents;

    void MessageBox(const QString& text, const QString& title, int style) override {
        messages.append({text, title, style});
    }
    void SetBusyPointer(bool on) override { busy.append(on); }
    void ProcessPendingEvents() override {
        ++pendingEventRounds;
        if (onProcessEvents) onProcessEvents();
    }
};

}  // namespace lumera::testing
