#include "edition/PageReferences.h"

#include <QLatin1StringView>
#include <QList>
#include <QRegularExpression>
#include <array>

#include "searchengine/HtmlText.h"

namespace lumera::pagereferences {
namespace {

using namespace Qt::StringLiterals;

struct ReferenceRule {
    QLatin1StringView tag;
    QLatin1StringView attribute;
    ReferenceUse use;
};

constexpr std::array<ReferenceRule, 20> kRules = {{
    {"a"_L1, "href"_L1, ReferenceUse::Link},
    {"area"_L1, "href"_L1, ReferenceUse::Link},
    {"frame"_L1, "src"_L1, ReferenceUse::Link},
    {"iframe"_L1, "src"_L1, ReferenceUse::Link},
    {"form"_L1, "action"_L1, ReferenceUse::Form},
    {"img"_L1, "src"_L1, ReferenceUse::Resource},
    {"input"_L1, "src"_L1, ReferenceUse::Resource},
    {"script"_L1, "src"_L1, ReferenceUse::Resource},
    {"link"_L1, "href"_L1, ReferenceUse::Resource},
    {"embed"_L1, "src"_L1, ReferenceUse::Resource},
    {"bgsound"_L1, "src"_L1, ReferenceUse::Resource},
    {"audio"_L1, "src"_L1, ReferenceUse::Resource},
    {"video"_L1, "src"_L1, ReferenceUse::Resource},
    {"source"_L1, "src"_L1, ReferenceUse::Resource},
    {"object"_L1, "data"_L1, ReferenceUse::Resource},
    {"body"_L1, "background"_L1, ReferenceUse::Resource},
    {"table"_L1, "background"_L1, ReferenceUse::Resource},
    {"tr"_L1, "background"_L1, ReferenceUse::Resource},
    {"td"_L1, "background"_L1, ReferenceUse::Resource},
    {"th"_L1, "background"_L1, ReferenceUse::Resource},
}};

const ReferenceRule* ruleFor(const QString& tag, const QString& attribute) {
    for (const ReferenceRule& rule : kRules) {
        if (tag == rule.tag && attribute == rule.attribute) return &rule;
    }
    return nullptr;
}

struct Attribute {
    QString name;  // lower case
    qsizetype start = 0;
    qsizetype end = 0;  // past its value
    QString value;      // as written, without quotes
};

struct Tag {
    QString name;  // lower case
    bool closing = false;
    qsizetype start = 0;
    qsizetype end = 0;  // past the '>'
    QList<Attribute> attributes;
};

bool isBlank(QChar c) { return c.isSpace(); }

// The tag that starts at html[at] == '<'; nothing when no tag starts there.
std::optional<Tag> readTag(const QString& html, qsizetype at) {
    Tag tag;
    tag.start = at;
    qsizetype i = at + 1;
    const qsizetype n = html.size();
    if (i < n && html[i] == u'/') {
        tag.closing = true;
        ++i;
    }
    while (i < n && html[i].isLetterOrNumber() && html[i].unicode() < 0x80) tag.name += html[i++];
    if (tag.name.isEmpty() || !tag.name[0].isLetter()) return std::nullopt;
    tag.name = tag.name.toLower();
    while (i < n && html[i] != u'>') {
        if (isBlank(html[i]) || html[i] == u'/') {
            ++i;
            continue;
        }
        Attribute attribute;
        attribute.start = i;
        while (i < n && !isBlank(html[i]) && html[i] != u'=' && html[i] != u'>') ++i;
        attribute.name = html.mid(attribute.start, i - attribute.start).toLower();
        qsizetype next = i;
        while (next < n && isBlank(html[next])) ++next;
        if (next < n && html[next] == u'=') {
            i = next + 1;
            while (i < n && isBlank(html[i])) ++i;
            const QChar quote = i < n ? html[i] : QChar();
            if (quote == u'"' || quote == u'\'') {
                const qsizetype close = html.indexOf(quote, i + 1);
                const qsizetype valueEnd = close < 0 ? n : close;
                attribute.value = html.mid(i + 1, valueEnd - i - 1);
                i = close < 0 ? n : close + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !isBlank(html[i]) && html[i] != u'>') ++i;
                attribute.value = html.mid(valueStart, i - valueStart);
            }
        }
        attribute.end = i;
        tag.attributes.append(attribute);
    }
    tag.end = i < n ? i + 1 : n;
    return tag;
}

// Calls visit for every tag outside comments, script and style contents;
// visit returns where to go on (its tag's end, or further to skip content).
template <typename Visit>
void forEachTag(const QString& html, Visit visit) {
    qsizetype i = 0;
    while ((i = html.indexOf(u'<', i)) >= 0) {
        if (QStringView(html).mid(i, 4) == u"<!--") {
            const qsizetype close = html.indexOf("-->"_L1, i + 4);
            i = close < 0 ? html.size() : close + 3;
            continue;
        }
        const std::optional<Tag> tag = readTag(html, i);
        i = tag ? visit(*tag) : i + 1;
    }
}

// Where the element whose opening tag ends at from is closed: past its
// closing tag, or the text's end when it is never closed.
qsizetype pastClosing(const QString& html, qsizetype from, const QString& name) {
    const qsizetype close = html.indexOf(u"</"_s + name, from, Qt::CaseInsensitive);
    if (close < 0) return html.size();
    const qsizetype gt = html.indexOf(u'>', close);
    return gt < 0 ? html.size() : gt + 1;
}

QString escaped(QString value) {
    return value.replace(u'&', "&amp;"_L1).replace(u'"', "&quot;"_L1);
}

const QRegularExpression& charsetPattern() {
    static const QRegularExpression pattern(u"charset\\s*=\\s*([^;\\s\"']+)"_s,
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// The meta element's charset, from charset= or from content's "charset=".
std::optional<QString> metaCharset(const Tag& tag) {
    if (tag.name != "meta"_L1 || tag.closing) return std::nullopt;
    for (const Attribute& attribute : tag.attributes) {
        if (attribute.name == "charset"_L1) return attribute.value.trimmed().toLower();
        const auto match = charsetPattern().match(attribute.value);
        if (attribute.name == "content"_L1 && match.hasMatch()) return match.captured(1).toLower();
    }
    return std::nullopt;
}

// The tag as it will be written, or nothing when it stays as it is.
std::optional<QString> rewrittenTag(const QString& html, const Tag& tag,
                                    const ReferenceRewrite& rewrite, bool* dropForm) {
    QString text = html.mid(tag.start, tag.end - tag.start);
    bool changed = false;
    const bool meta = metaCharset(tag).has_value();
    // From the last attribute back, so that earlier positions hold.
    for (auto it = tag.attributes.crbegin(); it != tag.attributes.crend(); ++it) {
        const qsizetype start = it->start - tag.start;
        const qsizetype length = it->end - it->start;
        if (meta && it->name == "charset"_L1) {
            text.replace(start, length, u"charset=\"utf-8\""_s);
            changed = true;
            continue;
        }
        if (meta && it->name == "content"_L1) {
            const QString value =
                HtmlText::plainText(it->value).replace(charsetPattern(), u"charset=utf-8"_s);
            text.replace(start, length, u"content=\""_s + escaped(value) + u'"');
            changed = true;
            continue;
        }
        const ReferenceRule* rule = tag.closing ? nullptr : ruleFor(tag.name, it->name);
        if (!rule) continue;
        const std::optional<QString> value = rewrite(rule->use, HtmlText::plainText(it->value));
        if (!value && rule->use == ReferenceUse::Form) {
            *dropForm = true;
            return QString();
        }
        if (value) {
            text.replace(start, length, it->name + u"=\""_s + escaped(*value) + u'"');
        } else {
            qsizetype from = start;
            while (from > 0 && isBlank(text[from - 1])) --from;
            text.remove(from, start + length - from);
        }
        changed = true;
    }
    return changed ? std::optional<QString>(text) : std::nullopt;
}

}  // namespace

QString rewrite(const QString& html, const ReferenceRewrite& rewrite) {
    QString out;
    qsizetype copied = 0;
    bool declared = false;
    forEachTag(html, [&](const Tag& tag) {
        out += QStringView(html).mid(copied, tag.start - copied);
        copied = tag.end;
        declared = declared || metaCharset(tag).has_value();
        bool dropForm = false;
        const std::optional<QString> text = rewrittenTag(html, tag, rewrite, &dropForm);
        if (dropForm) {
            copied = pastClosing(html, tag.end, tag.name);
            return copied;
        }
        out += text ? *text : QStringView(html).mid(tag.start, tag.end - tag.start).toString();
        if (tag.closing || (tag.name != "script"_L1 && tag.name != "style"_L1)) return tag.end;
        // Their content holds no tags; a style's may hold url() references.
        const qsizetype close = html.indexOf(u"</"_s + tag.name, tag.end, Qt::CaseInsensitive);
        const qsizetype contentEnd = close < 0 ? html.size() : close;
        const QString content = html.mid(tag.end, contentEnd - tag.end);
        out += tag.name == "style"_L1 ? rewriteStyleSheet(content, rewrite) : content;
        copied = contentEnd;
        return contentEnd;
    });
    out += QStringView(html).mid(copied);
    if (!declared) {
        const qsizetype head = out.indexOf("<head"_L1, 0, Qt::CaseInsensitive);
        const qsizetype at = head < 0 ? 0 : out.indexOf(u'>', head) + 1;
        out.insert(at, "<meta charset=\"utf-8\">"_L1);
    }
    return out;
}

QString rewriteStyleSheet(const QString& css, const ReferenceRewrite& rewrite) {
    static const QRegularExpression url(u"url\\(\\s*(['\"]?)([^'\")]*)\\1\\s*\\)"_s,
                                        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype copied = 0;
    for (const QRegularExpressionMatch& match : url.globalMatch(css)) {
        const std::optional<QString> value = rewrite(ReferenceUse::Resource, match.captured(2));
        out += QStringView(css).mid(copied, match.capturedStart() - copied);
        out += value ? u"url(\""_s + *value + u"\")"_s : u"none"_s;
        copied = match.capturedEnd();
    }
    return out + css.mid(copied);
}

QString declaredCharset(const QString& html) {
    QString charset;
    forEachTag(html, [&](const Tag& tag) {
        if (const auto found = metaCharset(tag); found && charset.isEmpty()) charset = *found;
        return tag.end;
    });
    return charset;
}

QString title(const QString& html) {
    const qsizetype open = html.indexOf("<title"_L1, 0, Qt::CaseInsensitive);
    if (open < 0) return QString();
    const qsizetype end = pastClosing(html, open, u"title"_s);
    return HtmlText::titleText(QStringView(html).mid(open, end - open)).trimmed();
}

}  // namespace lumera::pagereferences
