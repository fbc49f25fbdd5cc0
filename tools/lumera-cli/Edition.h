#pragma once

#include <QStringList>
#include <QTextStream>

#include "ReaderCore.h"
#include "host/Browser.h"
#include "host/ReaderState.h"
#include "host/WindowSystem.h"
#include "platform/DriveMap.h"
#include "searchengine/XapianSearchEngine.h"

namespace lumera::cli {

// Writes one "Navigate <target>" line per navigation; the rest is not used
// without a screen.
class PrintingBrowser : public Browser {
  public:
    explicit PrintingBrowser(QTextStream& out) : out_(out) {}
    void Navigate(const QString& target) override { out_ << "Navigate " << target << "\n"; }
    void GoBack() override { out_ << "GoBack\n"; }
    std::optional<QString> ElementValue(const QString&) const override { return std::nullopt; }
    void SaveAs() override {}
    void Copy() override {}
    void Print() override {}
    void Find() override {}

  private:
    QTextStream& out_;
};

// Message boxes become lines on stderr.
class ConsoleWindowSystem : public WindowSystem {
  public:
    explicit ConsoleWindowSystem(QTextStream& err) : err_(err) {}
    void MessageBox(const QString& text, const QString& title, int) override {
        err_ << "lumera-cli: " << title << ": " << text << "\n";
    }
    void SetBusyPointer(bool) override {}
    void ProcessPendingEvents() override {}

  private:
    QTextStream& err_;
};

// An edition as every command sees it: started as the reader starts, with
// lex.ini read from the current directory and the drives mapped; the home
// page the start-up asks for is not shown. Problems go to err.
class Edition {
  public:
    Edition(const QStringList& driveMappings, QTextStream& err);

    // The search engine, as the reader makes it at its first activation.
    void startSearchEngine() { controller_.InitSearchEngine(); }
    bool installFolderExists() const { return !drives.existingFile(state.InstallPath).isEmpty(); }

    ReaderState state;
    DriveMap drives;

  private:
    // The start-up's one navigation, to the home page, goes nowhere here.
    class NoBrowser : public Browser {
        void Navigate(const QString&) override {}
        void GoBack() override {}
        std::optional<QString> ElementValue(const QString&) const override { return {}; }
        void SaveAs() override {}
        void Copy() override {}
        void Print() override {}
        void Find() override {}
    };

    ConsoleWindowSystem windows_;
    XapianSearchEngineFactory engines_{drives};
    NoBrowser noBrowser_;
    Form1Controller controller_;
};

}  // namespace lumera::cli
