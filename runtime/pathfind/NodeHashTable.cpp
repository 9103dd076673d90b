#include "runtime/pathfind/NodeHashTable.h"

#include <algorithm>
#include <new>

NodeHashTable::~NodeHashTable() {
    delete[] buckets_;
}

bool NodeHashTable::Create(int32_t exponent) {
    delete[] buckets_;
    buckets_ = nullptr;
    foundLink_ = nullptr;
    exponent_ = EffectiveExponent(exponent);
    buckets_ = new (std::nothrow) Node*[size_t{1} << exponent_]();
    return buckets_ != nullptr;
}

int32_t NodeHashTable::EffectiveExponent(int32_t requested) {
    return std::clamp(requested, 0, kLargestExponent) & ~1;
}

int32_t NodeHashTable::BucketOf(int32_t x, int32_t y) const {
    const int32_t shift = exponent_ / 2;
    const int32_t mask = (1 << shift) - 1;
    return (x & mask) | ((y & mask) << shift);
}

bool NodeHashTable::Insert(Node* node) {
    if (!buckets_) return false;
    Node** head = &buckets_[BucketOf(node->x, node->y)];
    for (Node* walk = *head; walk; walk = walk->bucketNext) {
        if (walk == node) return false;
    }
    node->bucketNext = *head;
    *head = node;
    return true;
}

Node* NodeHashTable::Find(int32_t x, int32_t y) {
    if (!buckets_) return nullptr;
    for (Node** link = &buckets_[BucketOf(x, y)]; *link; link = &(*link)->bucketNext) {
        if ((*link)->x == x && (*link)->y == y) {
            foundLink_ = link;
            return *link;
        }
    }
    return nullptr;
}

void NodeHashTable::Unlink() {
    if (!foundLink_ || !*foundLink_) return;
    Node* node = *foundLink_;
    *foundLink_ = node->bucketNext;
    node->bucketNext = nullptr;
    foundLink_ = nullptr;
}

void NodeHashTable::Clear() {
    if (buckets_) std::fill(buckets_, buckets_ + BucketCount(), nullptr);
    foundLink_ = nullptr;
}
