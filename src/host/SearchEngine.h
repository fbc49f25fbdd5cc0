#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <variant>

namespace lumera {

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

// A job setting as the automation interface carried it: no value at all
// (Empty), text, a 16-bit integer, a boolean, or the callback object.
struct EmptyValue {
    bool operator==(const EmptyValue&) const = default;
};
using SettingValue = std::variant<EmptyValue, QString, std::int16_t, bool, SearchCallbacks*>;

// Dispatch ids of the job. The reserved ones are put with fixed values (no
// value, 0 or true) that the engine expects; their meaning is the engine's own.
namespace JobId {
inline constexpr int kReserved3 = 3;
inline constexpr int kReserved5 = 5;
inline constexpr int kIndexFolder = 6;
inline constexpr int kReserved7 = 7;
inline constexpr int kReserved8 = 8;
inline constexpr int kReserved9 = 9;
inline constexpr int kIndexListFile = 10;
inline constexpr int kReserved11 = 11;
inline constexpr int kRequest = 12;
inline constexpr int kReserved13 = 13;
inline constexpr int kReserved14 = 14;
inline constexpr int kReserved15 = 15;
inline constexpr int kReserved16 = 16;
inline constexpr int kReserved17 = 17;
inline constexpr int kReserved18 = 18;
inline constexpr int kCallbacks = 21;
inline constexpr int kExecute = 23;
inline constexpr int kReserved26 = 26;
}  // namespace JobId

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
    virtual void Put(int id, const SettingValue& value) = 0;
    // Id 23 runs the search and returns when it is complete.
    virtual void Invoke(int id) = 0;
    // Id 22: the result list of the last run (an empty list before any run).
    virtual std::shared_ptr<ResultList> Results() = 0;
    // Why the last run could not search (no usable index, say), in words for
    // the reader; empty when it searched, whether or not it found anything.
    virtual QString failure() const { return {}; }
};

class SearchEngine {
  public:
    virtual ~SearchEngine() = default;
    virtual void setHomeDir(const QString& dir) = 0;
    virtual void setPrivateDir(const QString& dir) = 0;
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
