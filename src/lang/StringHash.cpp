// SPDX-License-Identifier: MIT
#include "lang/StringHash.h"

#include <iterator>

TStringHash::TStringHash(int bucketCount) : Buckets(size_t(bucketCount > 0 ? bucketCount : 1), nullptr) {}

TStringHash::~TStringHash() {
    Clear();
}

void TStringHash::Clear() {
    for (THashItem*& head : Buckets) {
        while (head) {
            THashItem* item = head;
            head = item->Next;
            delete item;
        }
    }
}

void TStringHash::Add(const QString& key, const QString& value) {
    THashItem*& head = Buckets[BucketOf(key)];
    head = new THashItem{head, key, value};
}

THashItem** TStringHash::Find(QStringView key) {
    THashItem** link = &Buckets[BucketOf(key)];
    while (*link && QStringView((*link)->Key) != key)
        link = &(*link)->Next;
    return link;
}

QString TStringHash::LookupValue(QStringView key) {
    THashItem* item = *Find(key);
    return item ? item->Value : QString();
}

QString TStringHash::LookupValue(QLatin1String key) {
    // Message keys are short literals: widen them on the stack rather than on the heap.
    char16_t wide[64];
    if (key.size() > qsizetype(std::size(wide)))
        return LookupValue(QStringView(QString(key)));
    for (qsizetype i = 0; i < key.size(); ++i)
        wide[i] = uchar(key[i].toLatin1());
    return LookupValue(QStringView(wide, key.size()));
}

uint32_t TStringHash::KeyHash(QStringView key) const {
    uint32_t hash = 0;
    for (QChar c : key)
        hash = ((hash << 2) | (hash >> 30)) ^ c.unicode();
    return hash;
}
