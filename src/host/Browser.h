#pragma once

#include <QString>
#include <optional>

namespace lumera {

// What the program handles of the browser's events. The router implements it.
class BrowserEvents {
  public:
    virtual ~BrowserEvents() = default;
    // Raised before every navigation: link, form, frame, back/forward and every
    // Navigate() call. Setting cancel keeps the navigation from happening.
    virtual void BeforeNavigate2(const QString& url, bool& cancel) = 0;
    // Raised when the page or one of its frames has finished loading.
    virtual void DocumentComplete() = 0;
};

// The embedded browser of the main window, as the program navigates it; what
// the menu does to the page shown is PageCommands.
class Browser {
  public:
    virtual ~Browser() = default;

    // target: a full path, Windows style (drive, colon, either slash) or POSIX.
    virtual void Navigate(const QString& target) = 0;
    virtual void GoBack() = 0;
    // Value of the single element of that name in the document shown now;
    // nothing when there is no such element or there are several.
    virtual std::optional<QString> ElementValue(const QString& name) const = 0;

    void setEventSink(BrowserEvents* sink) { sink_ = sink; }
    BrowserEvents* eventSink() const { return sink_; }

  private:
    BrowserEvents* sink_ = nullptr;
};

}  // namespace lumera
