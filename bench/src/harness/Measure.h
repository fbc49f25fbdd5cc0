#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <chrono>
#include <vector>

namespace lumera::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Timings of one kind of operation, in milliseconds.
class Samples {
  public:
    void add(double ms) { values_.push_back(ms); }
    std::size_t size() const { return values_.size(); }
    // The value at quantile q (0..1), nearest rank.
    double quantile(double q) const;
    double median() const { return quantile(0.5); }
    double p95() const { return quantile(0.95); }

  private:
    std::vector<double> values_;
};

// Figures as the tables print them.
QString ms(double value);
QString ratio(double ours, double other);
QString number(double value, int decimals = 0);

// A Markdown table written row by row.
class Table {
  public:
    Table(QTextStream& out, const QStringList& header);
    void row(const QStringList& cells);

  private:
    QTextStream& out_;
};

// key value lines that bench/run gathers into the growth table.
class Summary {
  public:
    explicit Summary(const QString& path) : path_(path) {}
    void put(const QString& key, double value) const;

  private:
    QString path_;
};

}  // namespace lumera::bench
