#include "rangecache.h"

#include <QSet>

namespace vok {

int RangeCache::compare(const QVariantList& a, const QVariantList& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (const int c = compareStored(a[i], b[i]); c != 0)
            return c;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

QByteArray RangeCache::keyOf(const QVariantList& key) {
    QByteArray out;
    for (const QVariant& v : key) {
        if (v.isNull()) {
            out += 'n';
        } else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
            const qlonglong n = v.toLongLong();
            out += 'i';
            out.append(reinterpret_cast<const char*>(&n), sizeof n);
        } else {
            out += 's';
            out += v.toString().toUtf8();
            out += '\0';
        }
    }
    return out;
}

void RangeCache::stash(const QVariantList& key, std::vector<TableRow>&& rows) {
    if (rows.size() > MaxRows / 4) {
        forget(key);
        return;
    }
    const QByteArray k = keyOf(key);
    auto it = ranges_.find(k);
    if (it != ranges_.end()) {
        rows_ -= it->size();
        *it = std::move(rows);
    } else {
        it = ranges_.emplace(k, std::move(rows)); // insert() would copy the rows
    }
    rows_ += it->size();
    order_.push_back(k);
    while (rows_ > MaxRows && !order_.empty()) {
        const QByteArray oldest = order_.front();
        order_.pop_front();
        if (oldest == k)
            continue;
        if (auto old = ranges_.find(oldest); old != ranges_.end()) {
            rows_ -= old->size();
            ranges_.erase(old);
            // What was read ahead is no longer all there.
            coveredFrom_.clear();
            coveredTo_.clear();
        }
    }
    if (order_.size() > 2 * static_cast<size_t>(ranges_.size()) + 64) {
        // Keys taken out again leave stale places in the order; rebuild it now and then.
        std::deque<QByteArray> order;
        QSet<QByteArray> seen;
        for (auto o = order_.rbegin(); o != order_.rend(); ++o) {
            // The latest place of a key counts.
            if (ranges_.contains(*o) && !seen.contains(*o)) {
                seen.insert(*o);
                order.push_front(*o);
            }
        }
        order_ = std::move(order);
    }
}

bool RangeCache::take(const QVariantList& key, std::vector<TableRow>& rows) {
    const auto it = ranges_.find(keyOf(key));
    if (it == ranges_.end())
        return false;
    rows = std::move(*it);
    rows_ -= rows.size();
    ranges_.erase(it);
    return true;
}

const std::vector<TableRow>* RangeCache::find(const QVariantList& key) const {
    const auto it = ranges_.constFind(keyOf(key));
    return it == ranges_.constEnd() ? nullptr : &*it;
}

void RangeCache::cover(const QVariantList& from, const QVariantList& to) {
    coveredFrom_ = from;
    coveredTo_ = to;
}

bool RangeCache::covers(const QVariantList& key) const {
    return !coveredFrom_.isEmpty() && compare(coveredFrom_, key) <= 0 &&
           (coveredTo_.isEmpty() || compare(key, coveredTo_) <= 0);
}

void RangeCache::forget(const QVariantList& key) {
    if (covers(key)) {
        coveredFrom_.clear();
        coveredTo_.clear();
    }
}

void RangeCache::pass(const QVariantList& left, const QVariantList& next) {
    if (covers(left) && covers(next))
        coveredFrom_ = next;
    else
        forget(left);
}

void RangeCache::clear() {
    ranges_.clear();
    order_.clear();
    rows_ = 0;
    coveredFrom_.clear();
    coveredTo_.clear();
}

} // namespace vok
