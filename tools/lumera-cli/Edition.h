#pragma once

#include <QStringList>
#include <QTextStream>

#include "app/LexIni.h"
#include "app/ReaderState.h"
#include "host/Browser.h"
#include "host/WindowSystem.h"
#include "platform/DriveMap.h"

namespace lumera::cli {

// An edition as every command sees it: lex.ini read from the current
// directory as start-up reads it, and the drives mapped.
struct Edition {
    ReaderState state;
    DriveMap drives;
    bool iniFound = false;

    // Problems (a missing lex.ini, unmapped drives) go to err.
    void open(const QStringList& driveMappings, QTextStream& err);
    bool installFolderExists() const { return !drives.existingFile(state.InstallPath).isEmpty(); }
};

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

}  // namespace lumera::cli
