#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace lumera {

// What a reference of a page is for.
enum class ReferenceUse {
    Link,      // a click the router decides: a, area, frame, iframe
    Resource,  // a file the browser loads by itself: pictures, style sheets, scripts, sounds
    Form,      // where a form sends its fields
};

// The new value of a reference (HTML references decoded), or nothing to drop
// it: a dropped link or resource loses its attribute, a dropped form goes
// whole with its fields.
using ReferenceRewrite =
    std::function<std::optional<QString>(ReferenceUse use, const QString& value)>;

// The references of old HTML pages as a browser finds them: in tags whose
// attributes may be quoted either way or not at all, in any letter case.
namespace pagereferences {

// The page with every reference rewritten, style elements' url() too, and
// its charset declared as UTF-8 (a declaration added where it has none).
QString rewrite(const QString& html, const ReferenceRewrite& rewrite);
// A style sheet with its url() references rewritten.
QString rewriteStyleSheet(const QString& css, const ReferenceRewrite& rewrite);
// The charset a meta element declares, in lower case; empty when none does.
QString declaredCharset(const QString& html);
// The text of the title element, references decoded; empty when none.
QString title(const QString& html);

}  // namespace pagereferences
}  // namespace lumera
