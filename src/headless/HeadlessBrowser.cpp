#include "headless/HeadlessBrowser.h"

namespace lumera {

void HeadlessBrowser::Navigate(const QString& target) {
    calls << QStringLiteral("Navigate ") + target;
}

void HeadlessBrowser::GoBack() {
    calls << QStringLiteral("GoBack");
    if (history) history->step(-1);
}

std::optional<QString> HeadlessBrowser::ElementValue(const QString& name) const {
    return name == u"request" ? request : std::nullopt;
}

void HeadlessBrowser::SaveAs() { calls << QStringLiteral("SaveAs"); }
void HeadlessBrowser::Copy() { calls << QStringLiteral("Copy"); }
void HeadlessBrowser::Print() { calls << QStringLiteral("Print"); }
void HeadlessBrowser::Find() { calls << QStringLiteral("Find"); }

}  // namespace lumera
