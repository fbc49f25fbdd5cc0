#pragma once

#include <xapian.h>

#include <functional>

namespace lumera {

// A query as the parser gave it, with each leaf (a term, a prefix's
// expansion) replaced by what replaceLeaf makes of it. Only the operators
// that Xapian rebuilds from their subqueries alone are gone through; any
// other (a weight scale) is kept whole.
Xapian::Query rewriteLeaves(const Xapian::Query& query,
                            const std::function<Xapian::Query(const Xapian::Query&)>& replaceLeaf);

}  // namespace lumera
