#include "ui/ReaderMessageBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QRegularExpression>

namespace lumera {

ReaderMessageBox::ReaderMessageBox(Icon icon, const QString& text, StandardButtons buttons,
                                   QWidget* parent)
    : QMessageBox(icon, kTitle, QString(), buttons, parent) {
    // Word wrap would break an option such as --drive after its dashes, and
    // the user copies it to a terminal: each option is kept on one line.
    static const QRegularExpression option(
        QStringLiteral("(--[A-Za-z][\\w-]*(=\\S+| [A-Z]:=\\S+)?)"));
    QString html = text.toHtmlEscaped();
    html.replace(option, QStringLiteral("<span style=\"white-space: nowrap\">\\1</span>"));
    html.replace(u'\n', QStringLiteral("<br>"));
    setTextFormat(Qt::RichText);
    setText(html);
    // The title in the font title bars use, with room for the bar's buttons.
    const int titleWidth =
        QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(kTitle) +
        fontMetrics().averageCharWidth() * 16;
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

bool AskYesNo(QWidget* parent, const QString& text) {
    ReaderMessageBox box(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, parent);
    return box.exec() == QMessageBox::Yes;
}

void ShowWarning(QWidget* parent, const QString& text) {
    ReaderMessageBox box(QMessageBox::Warning, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace lumera
