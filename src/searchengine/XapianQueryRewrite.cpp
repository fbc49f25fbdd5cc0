#include "searchengine/XapianQueryRewrite.h"

#include <vector>

namespace lumera {
namespace {

bool isRebuiltFromSubqueries(Xapian::Query::op op) {
    switch (op) {
        case Xapian::Query::OP_AND:
        case Xapian::Query::OP_OR:
        case Xapian::Query::OP_AND_NOT:
        case Xapian::Query::OP_XOR:
        case Xapian::Query::OP_AND_MAYBE:
        case Xapian::Query::OP_FILTER:
        case Xapian::Query::OP_SYNONYM:
        case Xapian::Query::OP_PHRASE:  // its window is its number of words
            return true;
        default:
            return false;
    }
}

}  // namespace

Xapian::Query rewriteLeaves(const Xapian::Query& query,
                            const std::function<Xapian::Query(const Xapian::Query&)>& replaceLeaf) {
    const Xapian::Query::op op = query.get_type();
    if (op == Xapian::Query::LEAF_TERM || op == Xapian::Query::OP_WILDCARD) {
        return replaceLeaf(query);
    }
    if (!isRebuiltFromSubqueries(op)) return query;
    std::vector<Xapian::Query> subqueries;
    subqueries.reserve(query.get_num_subqueries());
    for (std::size_t i = 0; i < query.get_num_subqueries(); ++i) {
        subqueries.push_back(rewriteLeaves(query.get_subquery(i), replaceLeaf));
    }
    return Xapian::Query(op, subqueries.begin(), subqueries.end());
}

}  // namespace lumera
