#include "reading/ReadingSession.h"

#include <QSettings>
#include <QTextStream>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "articles/Citation.h"
#include "browser/WebEngineBrowser.h"
#include "reading/ReadingStore.h"

namespace lumera {
namespace {

const QString kReopen = QStringLiteral("leitura/retomar");
const QString kLastKey = QStringLiteral("leitura/ultimoVerbete");
const QString kLastPosition = QStringLiteral("leitura/posicao");
// Scrolling reports many positions; the last of a pause is kept.
constexpr int kPositionPauseMs = 300;

}  // namespace

ReadingSession::ReadingSession(WebEngineBrowser& browser, ReadingStore* store,
                               const ContentPaths& paths, QObject* parent)
    : QObject(parent), browser_(browser), store_(store), paths_(paths) {
    positionTimer_.setSingleShot(true);
    positionTimer_.setInterval(kPositionPauseMs);
    connect(&positionTimer_, &QTimer::timeout, this, &ReadingSession::keepPosition);
    connect(&browser, &WebEngineBrowser::pageShown, this, [this] {
        settled_ = false;
        article_ = {};
    });
    connect(&browser, &WebEngineBrowser::documentCompleted, this,
            &ReadingSession::documentCompleted);
    connect(browser.view()->page(), &QWebEnginePage::scrollPositionChanged, this, [this] {
        if (article_.isArticle()) positionTimer_.start();
    });
}

void ReadingSession::articleBuilt(const QString& key) { builtKey_ = key; }

void ReadingSession::documentCompleted() {
    if (settled_) return;  // a frame of the page shown
    settled_ = true;
    if (!browser_.shownAddress().endsWith(QStringLiteral("vf.htm"), Qt::CaseInsensitive) ||
        builtKey_.isEmpty()) {
        return;
    }
    article_ = {builtKey_, ArticleTitleOfPage(browser_.view()->title())};
    if (article_.title.isEmpty()) article_.title = builtKey_;
    if (store_) {
        try {
            store_->addVisit(article_.key, article_.title);
        } catch (const std::exception& error) {
            QTextStream(stderr) << "lumera: " << error.what() << "\n";
        }
    }
    QSettings settings;
    if (pendingScroll_ >= 0 && settings.value(kLastKey).toString() == article_.key) {
        browser_.view()->page()->runJavaScript(
            QStringLiteral("window.scrollTo(0, %1)").arg(pendingScroll_));
    } else {
        settings.setValue(kLastKey, article_.key);
        settings.setValue(kLastPosition, 0);
    }
    pendingScroll_ = -1;
    Q_EMIT articleShown();
}

void ReadingSession::keepPosition() {
    if (!article_.isArticle()) return;
    browser_.view()->page()->runJavaScript(
        QStringLiteral("window.scrollY"), [key = article_.key](const QVariant& y) {
            QSettings settings;
            if (!y.isValid() || settings.value(kLastKey).toString() != key) return;
            settings.setValue(kLastPosition, qRound(y.toDouble()));
        });
}

void ReadingSession::open(const QString& key) {
    // An article folder of the CD: the router takes the key from the
    // address's last part and builds the article.
    browser_.Navigate(paths_.CdRomPath + QStringLiteral("\\lex2000\\tomo98a\\") + key);
}

bool ReadingSession::reopensLast() { return QSettings().value(kReopen, false).toBool(); }

void ReadingSession::setReopensLast(bool on) { QSettings().setValue(kReopen, on); }

bool ReadingSession::reopenLast() {
    QSettings settings;
    const QString key = settings.value(kLastKey).toString();
    if (!reopensLast() || key.isEmpty()) return false;
    pendingScroll_ = settings.value(kLastPosition, 0).toInt();
    open(key);
    return true;
}

}  // namespace lumera
