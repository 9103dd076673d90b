// The closed set of a search: 2^b chains of nodes, the bucket of a cell made
// of the low b/2 bits of x and of y. Nodes are linked through their own
// `bucketNext`, so the table allocates nothing beyond its bucket array.
#pragma once

#include <cstdint>

#include "runtime/pathfind/Node.h"

class NodeHashTable {
  public:
    static constexpr int32_t kLargestExponent = 24;

    NodeHashTable() = default;
    NodeHashTable(const NodeHashTable&) = delete;
    NodeHashTable& operator=(const NodeHashTable&) = delete;
    virtual ~NodeHashTable();

    // 2^b empty buckets, b = EffectiveExponent(requested).
    bool Create(int32_t exponent);
    // Capped at 24 and rounded down to an even value (0 at the least).
    static int32_t EffectiveExponent(int32_t requested);
    // Puts the node at the head of its chain; false when it is already there.
    bool Insert(Node* node);
    // The node of cell (x, y), or null. Remembers where it was found for Unlink.
    Node* Find(int32_t x, int32_t y);
    // Takes out the node the last successful Find returned.
    void Unlink();
    void Clear();
    int32_t Exponent() const { return exponent_; }
    int32_t BucketCount() const { return buckets_ ? 1 << exponent_ : 0; }
    int32_t BucketOf(int32_t x, int32_t y) const;

  private:
    Node** buckets_ = nullptr;
    int32_t exponent_ = 0;
    Node** foundLink_ = nullptr;  // the link that points at the last found node
};
