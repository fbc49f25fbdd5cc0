#pragma once
// A search engine whose results and callbacks a test writes in advance, and
// which records what the program asks of it.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "host/SearchEngine.h"

namespace lumera::testing {

struct ScriptedDocument {
    QString title;
    QString path;
};

class ScriptedResultList : public ResultList {
  public:
    explicit ScriptedResultList(std::vector<ScriptedDocument> documents)
        : documents_(std::move(documents)) {}
    int Count() const override { return static_cast<int>(documents_.size()); }
    void GetNthDoc(int i) override { current_ = i; }
    QString DocDetailItem(const QString& name) const override {
        if (current_ < 0 || current_ >= Count()) return {};
        const ScriptedDocument& document = documents_.at(static_cast<std::size_t>(current_));
        if (name == u"_shortname") return document.title;
        if (name == u"_filename") return document.path;
        return {};
    }

  private:
    std::vector<ScriptedDocument> documents_;
    int current_ = -1;
};

// What a run does: the documents it finds for the request, and whatever it
// tells the callbacks meanwhile.
struct RunScript {
    std::function<std::vector<ScriptedDocument>(const QString& request)> find;
    std::function<void(SearchCallbacks&)> duringRun;
    bool failRun = false;
    // Non-empty: the run cannot search; it answers with no documents and this.
    QString failure;
    QStringList requests;        // of every run, in order
    QStringList otherSpellings;  // that every run says it searched
};

class ScriptedSearchJob : public SearchJob {
  public:
    explicit ScriptedSearchJob(std::shared_ptr<RunScript> script) : script_(std::move(script)) {}

    void run(const SearchRequest& request, SearchCallbacks& callbacks) override {
        script_->requests << request.text;
        if (script_->failRun) throw std::runtime_error("the engine failed");
        if (script_->duringRun) script_->duringRun(callbacks);
        failure_ = script_->failure;
        results_ = std::make_shared<ScriptedResultList>(script_->find && failure_.isEmpty()
                                                            ? script_->find(request.text)
                                                            : std::vector<ScriptedDocument>{});
    }
    std::shared_ptr<ResultList> Results() override { return results_; }
    QString failure() const override { return failure_; }
    QStringList otherSpellings() const override { return script_->otherSpellings; }

  private:
    std::shared_ptr<RunScript> script_;
    QString failure_;
    std::shared_ptr<ScriptedResultList> results_ =
        std::make_shared<ScriptedResultList>(std::vector<ScriptedDocument>{});
};

class ScriptedSearchEngine : public SearchEngine {
  public:
    explicit ScriptedSearchEngine(std::shared_ptr<RunScript> script = std::make_shared<RunScript>())
        : script_(std::move(script)) {}

    std::shared_ptr<RunScript> script() const { return script_; }
    // Every job made, in order; the jobs live on as long as the program holds them.
    std::vector<std::weak_ptr<ScriptedSearchJob>> jobs;

    void Initialize() override {}
    std::shared_ptr<SearchJob> NewSearchJob() override {
        auto job = std::make_shared<ScriptedSearchJob>(script_);
        jobs.push_back(job);
        return job;
    }

  private:
    std::shared_ptr<RunScript> script_;
};

// A script that finds the same documents for any request.
inline std::shared_ptr<RunScript> FindAlways(std::vector<ScriptedDocument> documents) {
    auto script = std::make_shared<RunScript>();
    script->find = [documents = std::move(documents)](const QString&) { return documents; };
    return script;
}

}  // namespace lumera::testing
