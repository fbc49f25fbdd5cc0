#include "reading/ReadingTheme.h"

#include <QApplication>
#include <QSettings>
#include <QStyle>

#include "browser/DarkPageStyle.h"

namespace lumera {
namespace {

const QString kSetting = QStringLiteral("leitura/modoEscuro");
const QStringList kNames = {QStringLiteral("sistema"), QStringLiteral("claro"),
                            QStringLiteral("escuro")};

bool isDarkPalette(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

QPalette darkPalette() {
    QPalette palette;
    const QColor text(0xe4, 0xe4, 0xe4);
    palette.setColor(QPalette::Window, QColor(0x2b, 0x2c, 0x30));
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(0x1c, 0x1d, 0x20));
    palette.setColor(QPalette::AlternateBase, QColor(0x26, 0x27, 0x2b));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x33, 0x34, 0x39));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipBase, QColor(0x33, 0x34, 0x39));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a));
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x6f, 0xb4));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x8f, 0xb8, 0xff));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return palette;
}

}  // namespace

ReadingTheme::ReadingTheme(DarkPageStyle& pages, QObject* parent)
    : QObject(parent),
      pages_(pages),
      desktopPalette_(QApplication::palette()),
      choice_(keptChoice()) {
    apply();
}

ReadingTheme::Choice ReadingTheme::keptChoice() {
    const qsizetype at = kNames.indexOf(QSettings().value(kSetting).toString());
    return at < 0 ? Choice::Desktop : static_cast<Choice>(at);
}

bool ReadingTheme::isDark() const {
    if (choice_ == Choice::Desktop) return isDarkPalette(desktopPalette_);
    return choice_ == Choice::Dark;
}

void ReadingTheme::setChoice(Choice choice) {
    choice_ = choice;
    QSettings().setValue(kSetting, kNames.value(static_cast<int>(choice)));
    apply();
}

void ReadingTheme::toggle() { setChoice(isDark() ? Choice::Light : Choice::Dark); }

void ReadingTheme::apply() {
    const bool dark = isDark();
    pages_.setOn(dark);
    // The desktop's own palette where it agrees; else the reader's.
    if (dark == isDarkPalette(desktopPalette_)) {
        QApplication::setPalette(desktopPalette_);
    } else {
        QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    }
    Q_EMIT changed(dark);
}

}  // namespace lumera
