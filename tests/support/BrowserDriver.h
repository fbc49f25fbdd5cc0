#pragma once
// Drives a real Qt WebEngine page as a person does: shown in a window, pages
// loaded, scripts evaluated, elements clicked with the mouse, and waits in a
// real event loop. The one driver of every suite that uses the browser.

#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <memory>

#include "browser/WebEngineBrowser.h"

namespace lumera::testing {

// Waits in a real event loop: QTest::qWaitFor sleeps between rounds of
// events, which starves the browser's own task scheduling.
template <typename Condition>
bool waitUntil(Condition condition, int timeoutMs = 20000) {
    if (condition()) return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return condition();
}

class BrowserDriver {
  public:
    explicit BrowserDriver(QWebEngineView* view) : view_(view) {}

    // The result of a script, or an invalid value when it gives none in time.
    QVariant evaluate(const QString& script) {
        QVariant result;
        bool answered = false;
        view_->page()->runJavaScript(script, [&](const QVariant& v) {
            result = v;
            answered = true;
        });
        return waitUntil([&] { return answered; }, 10000) ? result : QVariant();
    }

    // The centre of the element, scrolled into view, in view coordinates;
    // frame: the selector of the iframe that holds it, if any. Null when the
    // element is not there.
    QPoint centerOf(const QString& selector, const QString& frame = QString()) {
        const QString doc =
            frame.isEmpty()
                ? QStringLiteral("document")
                : QStringLiteral("document.querySelector('%1').contentDocument").arg(frame);
        const QString offset =
            frame.isEmpty()
                ? QStringLiteral("{left:0,top:0}")
                : QStringLiteral("document.querySelector('%1').getBoundingClientRect()").arg(frame);
        const QVariantList xy =
            evaluate(
                QStringLiteral(
                    "(function(){var e=%1.querySelector('%2');if(!e)return null;"
                    "e.scrollIntoView({block:'center'});var r=e.getBoundingClientRect();var o=%3;"
                    "return "
                    "[Math.round(o.left+r.left+r.width/2),Math.round(o.top+r.top+r.height/2)];})()")
                    .arg(doc, selector, offset))
                .toList();
        return xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : QPoint();
    }

    // A real mouse click on the element; false when it is not there.
    bool click(const QString& selector, const QString& frame = QString()) {
        const QPoint at = centerOf(selector, frame);
        if (at.isNull() || !view_->focusProxy()) return false;
        QTest::mouseClick(view_->focusProxy(), Qt::LeftButton, {}, at);
        return true;
    }

  private:
    QWebEngineView* view_;
};

// The browser's pane in a shown top-level window of 800×600: Qt WebEngine
// paints and takes input only in an exposed window.
inline std::unique_ptr<QWidget> showInWindow(QWidget* pane) {
    auto window = std::make_unique<QWidget>();
    pane->setParent(window.get());
    pane->setGeometry(0, 0, 800, 600);
    window->resize(800, 600);
    window->show();
    return window;
}

// Navigates and waits until the document has completed.
inline bool load(WebEngineBrowser& browser, const QString& target) {
    QSignalSpy done(&browser, &WebEngineBrowser::documentCompleted);
    browser.Navigate(target);
    return done.wait(20000);
}

}  // namespace lumera::testing
