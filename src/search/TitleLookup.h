#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace lumera {

struct ReaderState;
class SearchDriver;
class SearchWindowModel;
class SearchWindowSlot;
class WindowSystem;

inline const QString kLookupMessageTitle = QStringLiteral("Lumera Edição 2002");
// The first entry of Combo1, which stands for every folder.
inline const QString kAllFolders = QStringLiteral("*.*");
inline const QString kNotFoundMessage = QStringLiteral("Verbete não encontrado!");
inline const QString kSearchUnavailableMessage = QStringLiteral(
    "A pesquisa não está disponível: o programa de pesquisa não pôde ser iniciado. "
    "Verifique a instalação da enciclopédia.");

// " 12 verbetes encontrados": the count with a blank in its sign position.
QString CountCaption(int count);
// "também procurado: ação, direção": the other spellings a search looked for.
QString OtherSpellingsNote(const QStringList& spellings);
// The request with the other spellings it was searched in, for the article's
// own spelling to be marked: a compound as one phrase.
QString RequestWithSpellings(const QString& request, const QStringList& spellings);

// Looks a text up: runs a search job, fills the search window with the titles
// found and tells how many were found, or that none was. Callers keep two
// lookups from overlapping (see SearchController).
class TitleLookup {
  public:
    // indexUnusable, when given, is told why the engine could not search in
    // place of the message that says it.
    TitleLookup(const ReaderState& state, SearchDriver& driver, SearchWindowSlot& window,
                WindowSystem& windows,
                std::function<void(const QString& reason)> indexUnusable = {});

    void LookUpArticleTitle(const QString& text);

  private:
    // False when there is no engine to run on.
    bool runSearch(const QString& text, SearchWindowModel& window);
    static void fillCombo1(SearchWindowModel& window);
    void showCount(SearchWindowModel& window, bool searched);

    const ReaderState& state_;
    std::function<void(const QString&)> indexUnusable_;
    SearchDriver& driver_;
    SearchWindowSlot& window_;
    WindowSystem& windows_;
};

}  // namespace lumera
