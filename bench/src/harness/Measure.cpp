#include "Measure.h"

#include <QFile>
#include <algorithm>
#include <cmath>

namespace lumera::bench {

double Samples::quantile(double q) const {
    if (values_.empty()) return 0;
    std::vector<double> sorted = values_;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = std::size_t(std::ceil(q * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

QString ms(double value) {
    return QString::number(value, 'f', value < 10 ? 2 : (value < 100 ? 1 : 0));
}

QString ratio(double ours, double other) {
    if (other <= 0) return QStringLiteral("–");
    return QString::number(ours / other, 'f', 2) + QStringLiteral("×");
}

QString number(double value, int decimals) { return QString::number(value, 'f', decimals); }

Table::Table(QTextStream& out, const QStringList& header) : out_(out) {
    row(header);
    QStringList rule;
    for (qsizetype i = 0; i < header.size(); ++i) rule.append(QStringLiteral("---"));
    row(rule);
}

void Table::row(const QStringList& cells) {
    out_ << "| " << cells.join(QStringLiteral(" | ")) << " |\n";
    out_.flush();
}

void Summary::put(const QString& key, double value) const {
    if (path_.isEmpty()) return;
    QFile file(path_);
    if (file.open(QIODevice::Append)) {
        file.write((key + u' ' + QString::number(value, 'f', 4) + u'\n').toUtf8());
    }
}

}  // namespace lumera::bench
