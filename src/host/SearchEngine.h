#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <memory>

namespace lumera {

// What one run looks for, and where the indexes are.
struct SearchRequest {
    QString text;  // as the reader typed it
    // InstallPath as the program holds it, perhaps a Windows path like "C:\lex\".
    QString indexFolder;
    // The file in indexFolder that names the indexes; empty: the engine's own name.
    QString indexListFile;
};

// The object the engine calls back during a run, on the caller's thread.
class SearchCallbacks {
  public:
    virtual ~SearchCallbacks() = default;
    virtual void ReceiveSearching(const QString& what) = 0;
    // what lives only for the call (it may point into the index's own
    // storage): a receiver that keeps it copies it with toString().
    virtual void ReceiveFound(QStringView what, std::int32_t hitCount) = 0;
    // Non-zero asks the engine to stop with the results found so far.
    virtual std::int32_t CheckForAbort() = 0;
};

// Documents found by a job. Readable for as long as someone holds it, also
// after the engine that made it is gone.
class ResultList {
  public:
    virtual ~ResultList() = default;
    virtual int Count() const = 0;
    // Makes document i (0 .. Count()-1) the current one.
    virtual void GetNthDoc(int i) = 0;
    // "_shortname": the title; "_filename": the path as indexed.
    virtual QString DocDetailItem(const QString& name) const = 0;
};

class SearchJob {
  public:
    virtual ~SearchJob() = default;
    // Searches and returns when the run is complete; the callbacks arrive
    // during the call.
    virtual void run(const SearchRequest& request, SearchCallbacks& callbacks) = 0;
    // The result list of the last run (an empty list before any run).
    virtual std::shared_ptr<ResultList> Results() = 0;
    // Why the last run could not search (no usable index, say), in words for
    // the reader; empty when it searched, whether or not it found anything.
    virtual QString failure() const = 0;
    // Spellings the last run searched besides the typed ones (the index did
    // not hold a typed word, and held it so written), for the reader to be told.
    virtual QStringList otherSpellings() const { return {}; }
};

class SearchEngine {
  public:
    virtual ~SearchEngine() = default;
    virtual void Initialize() = 0;
    virtual std::shared_ptr<SearchJob> NewSearchJob() = 0;
};

// Creates engine objects; an empty pointer means the engine cannot be created.
class SearchEngineFactory {
  public:
    virtual ~SearchEngineFactory() = default;
    virtual std::shared_ptr<SearchEngine> create() = 0;
};

}  // namespace lumera
