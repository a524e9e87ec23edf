#include "mergereport.h"

void MergeReport::add(const MergeReport& other) {
    lines += other.lines;
    sources += other.sources;
    withoutFile << other.withoutFile;
    skipped << other.skipped;
    for (const NotFound& n : other.notFound)
        addNotFound(n.what, n.lines);
    cancelled = cancelled || other.cancelled;
}

void MergeReport::addNotFound(const QString& what, int count) {
    // Many lines may name what is missing: found through an index, not by walking the list.
    if (notFoundAt_.size() != notFound.size()) {
        notFoundAt_.clear();
        for (qsizetype i = 0; i < notFound.size(); ++i)
            notFoundAt_.insert(notFound[i].what, i);
    }
    const auto it = notFoundAt_.constFind(what);
    if (it == notFoundAt_.constEnd()) {
        notFoundAt_.insert(what, notFound.size());
        notFound << NotFound{what, count};
    } else {
        notFound[*it].lines += count;
    }
}

int MergeReport::linesNotFound() const {
    int n = 0;
    for (const NotFound& f : notFound)
        n += f.lines;
    return n;
}

namespace {

QString linesText(int n) {
    return n == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(n);
}

} // namespace

QString MergeReport::skippedText(const QString& kind) const {
    if (skipped.isEmpty())
        return {};
    QString text = skipped.size() == 1
                       ? QStringLiteral("1 of the %1 was not merged; it and the totals are "
                                        "unchanged:")
                             .arg(kind)
                       : QStringLiteral("%1 of the %2 were not merged; they and the totals are "
                                        "unchanged:")
                             .arg(skipped.size())
                             .arg(kind);
    for (const Skipped& s : skipped) {
        // Most reasons name their source already ("Site Crew.db, line 2, ...").
        text +=
            QStringLiteral("\n  ") +
            (s.reason.startsWith(s.source) ? s.reason : s.source + QStringLiteral(": ") + s.reason);
    }
    return text;
}

QString MergeReport::notFoundText() const {
    if (notFound.isEmpty())
        return {};
    const int n = linesNotFound();
    QString text =
        QStringLiteral("%1 named what was not found; %2 booked with number 0 from "
                       "that level down:")
            .arg(linesText(n), n == 1 ? QStringLiteral("it was") : QStringLiteral("they were"));
    for (const NotFound& f : notFound)
        text += QStringLiteral("\n  %1 (%2)").arg(f.what, linesText(f.lines));
    return text;
}
