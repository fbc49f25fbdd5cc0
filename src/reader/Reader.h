#pragma once

#include <QStringList>
#include <memory>

namespace lumera {

class BrowserPane;
class Form1;
class PictureWindow;
class ReadingActions;
class ReadingSession;
class ReadingTheme;
class SearchController;
class WebEngineBrowser;
struct ReaderState;

// The whole reader: the main window on the real browser, drive map, article
// database and search engine, with the router, the page builder and the
// search window wired between them.
class Reader {
  public:
    // driveOptions: the --drive mappings; LUMERA_DRIVES is read too.
    explicit Reader(const QStringList& driveOptions);
    ~Reader();

    // Start-up: lex.ini, the home page, the window shown; the last article
    // read when the reader chose to go on where it stopped.
    void start();

    Form1& window();
    WebEngineBrowser& browser();
    // The browser's view as the window shows it, with the find bar and zoom.
    BrowserPane& pane();
    SearchController& search();
    const ReaderState& state() const;
    // The picture window, once it has been asked for.
    PictureWindow* pictureWindow() const;
    // The article shown, favourites, history, dark reading, citation.
    ReadingSession& session();
    ReadingActions& reading();
    ReadingTheme& theme();

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// Runs the reader until it ends; the exit status. With screenshotFile, only
// until the home page is shown and saved there as a picture.
int RunReader(const QStringList& driveOptions, const QString& screenshotFile = {});

}  // namespace lumera
