#pragma once

#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>

namespace lumera {

class DriveMap;

// Serves the drive schemes from the drive map; an address that names no
// file gets the reader's own page saying so.
class ContentSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
  public:
    explicit ContentSchemeHandler(const DriveMap& drives, QObject* parent = nullptr);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

  private:
    void replyMissing(QWebEngineUrlRequestJob* job, bool unreadable) const;

    const DriveMap& drives_;
};

// The reader works offline by design: only the drive schemes, local files
// the drive map allows, and inline data may load.
class OfflineGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
  public:
    explicit OfflineGuard(const DriveMap& drives, QObject* parent = nullptr);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
    static bool allows(const QUrl& url, const DriveMap& drives);

  private:
    const DriveMap& drives_;
};

}  // namespace lumera
