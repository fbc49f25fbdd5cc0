#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

namespace lumera {

// One line on a terminal, redrawn in place: articles (or the unit given)
// done, rate, time left.
class ProgressBar {
  public:
    ProgressBar(QTextStream& terminal, int total, QString unit = QStringLiteral("artigos"));
    // Redraws when the last drawing is a moment ago, so a fast run does not
    // spend its time writing to the terminal.
    void update(int done);
    // Draws the last state and ends the line.
    void finish(int done);

    static QString line(int done, int total, qint64 elapsedMs,
                        const QString& unit = QStringLiteral("artigos"));

  private:
    void draw(int done);

    QTextStream& terminal_;
    int total_;
    QString unit_;
    QElapsedTimer sinceStart_;
    qint64 lastDrawMs_ = -1;
};

}  // namespace lumera
