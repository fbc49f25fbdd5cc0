#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace lumera {

// Builds the index of the edition in the current directory in a progress
// window (articles done, time left, Cancelar). True when it was installed.
bool BuildIndexWithProgress(QWidget* parent);

// The first run: the set-up window, the set-up from what the user points
// to, the index. Returns the installed edition's folder; empty when the user
// gave up or chose the sample (sampleChosen).
QString RunFirstSetup(bool sampleInstalled, bool* sampleChosen);

inline const QString kIndexMissing = QStringLiteral(
    "O índice de pesquisa desta edição não foi encontrado ou está danificado; sem ele, a "
    "pesquisa não encontra nada.");

// Says problem and offers to build the index of the edition in the current
// directory now, in a progress window; declined, what an interrupted build
// left in installDir goes. True when the index was built.
bool OfferToBuildTheIndex(const QString& problem, const QString& installDir);

// In an edition's folder at start-up: a missing or damaged index is offered
// to be built now.
void OfferIndexIfUnusable();

// In an edition's folder at start-up: when its CD is nowhere to be found,
// says where it was and lets the user point to it again; the answer is saved
// beside lex.ini.
void OfferToFindTheCd(const QStringList& driveOptions);

// Says what is wrong with the CD of drive letter and asks where it is, until
// the user points to a folder or image that holds lex2000 (saved beside
// lex.ini) or goes on without it. What the drive is to be mapped to then.
std::optional<QString> PointToTheCd(QChar letter, QString said);

}  // namespace lumera
