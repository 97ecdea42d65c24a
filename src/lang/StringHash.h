// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

// One key/value pair of a TStringHash chain; allocated one by one and owned by the table.
struct THashItem {
    THashItem* Next = nullptr;
    QString Key;
    QString Value;
};

// A wide-text hash table with a fixed number of chains. Adding never replaces: an item added later
// hides an earlier one with the same key. Keys compare exactly (letter case counts).
class TStringHash {
public:
    explicit TStringHash(int bucketCount);
    virtual ~TStringHash();
    TStringHash(const TStringHash&) = delete;
    TStringHash& operator=(const TStringHash&) = delete;

    void Clear();
    void Add(const QString& key, const QString& value);
    // The link (a chain head or an item's Next) that refers to the first item with key, or the null
    // link at the end of its chain.
    THashItem** Find(QStringView key);
    QString LookupValue(QStringView key);
    // Same lookup for a key given as Latin-1 text, without widening it first.
    QString LookupValue(QLatin1String key);

    // Starting from 0, per UTF-16 code unit: rotate left by 2 bits, then XOR the code unit.
    virtual uint32_t KeyHash(QStringView key) const;

    int BucketCount() const { return int(Buckets.size()); }
    uint32_t BucketOf(QStringView key) const { return KeyHash(key) % uint32_t(Buckets.size()); }

private:
    std::vector<THashItem*> Buckets;
};
