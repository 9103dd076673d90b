// The closed set: bucket count and bucket of a cell, chains, refusal of a node
// already present, lookup then unlink without a second walk, clearing.
#include <gtest/gtest.h>

#include "runtime/pathfind/NodeHashTable.h"

namespace {

Node At(int32_t x, int32_t y) {
    Node node;
    node.x = x;
    node.y = y;
    return node;
}

TEST(NodeHashTableTest, ExponentIsCappedAndRoundedDownToEven) {
    NodeHashTable table;
    ASSERT_TRUE(table.Create(8));
    EXPECT_EQ(table.BucketCount(), 256);
    ASSERT_TRUE(table.Create(7));
    EXPECT_EQ(table.Exponent(), 6);
    ASSERT_TRUE(table.Create(-3));
    EXPECT_EQ(table.BucketCount(), 1);
    EXPECT_EQ(NodeHashTable::EffectiveExponent(24), 24);
    EXPECT_EQ(NodeHashTable::EffectiveExponent(25), 24);
    EXPECT_EQ(NodeHashTable::EffectiveExponent(31), 24);
    EXPECT_EQ(NodeHashTable::EffectiveExponent(9), 8);
}

TEST(NodeHashTableTest, BucketIsLowBitsOfXThenOfY) {
    NodeHashTable table;
    table.Create(8);
    EXPECT_EQ(table.BucketOf(0, 0), 0);
    EXPECT_EQ(table.BucketOf(5, 0), 5);
    EXPECT_EQ(table.BucketOf(0, 3), 3 << 4);
    EXPECT_EQ(table.BucketOf(0x1F, 0x2A), 0xF | (0xA << 4));
    EXPECT_EQ(table.BucketOf(16, 16), table.BucketOf(0, 0));
}

TEST(NodeHashTableTest, FindsNodesSharingABucket) {
    NodeHashTable table;
    table.Create(8);
    Node a = At(1, 2), b = At(17, 2), c = At(1, 18);  // one bucket
    EXPECT_TRUE(table.Insert(&a));
    EXPECT_TRUE(table.Insert(&b));
    EXPECT_TRUE(table.Insert(&c));
    EXPECT_EQ(table.Find(1, 2), &a);
    EXPECT_EQ(table.Find(17, 2), &b);
    EXPECT_EQ(table.Find(1, 18), &c);
    EXPECT_EQ(table.Find(17, 18), nullptr);
}

TEST(NodeHashTableTest, NodeAlreadyInItsChainIsRefused) {
    NodeHashTable table;
    table.Create(8);
    Node a = At(3, 4), b = At(19, 4);
    EXPECT_TRUE(table.Insert(&a));
    EXPECT_TRUE(table.Insert(&b));
    EXPECT_FALSE(table.Insert(&a));
    EXPECT_EQ(b.bucketNext, &a);  // the chain is as it was
    EXPECT_EQ(a.bucketNext, nullptr);
}

TEST(NodeHashTableTest, UnlinkTakesOutTheNodeLastFound) {
    NodeHashTable table;
    table.Create(8);
    Node a = At(1, 1), b = At(17, 1), c = At(33, 1);
    table.Insert(&a);
    table.Insert(&b);
    table.Insert(&c);  // chain: c, b, a
    ASSERT_EQ(table.Find(17, 1), &b);
    table.Unlink();
    EXPECT_EQ(table.Find(17, 1), nullptr);
    EXPECT_EQ(table.Find(33, 1), &c);
    EXPECT_EQ(table.Find(1, 1), &a);
    table.Unlink();
    EXPECT_EQ(table.Find(1, 1), nullptr);
    EXPECT_EQ(table.Find(33, 1), &c);
    table.Unlink();
    EXPECT_EQ(table.Find(33, 1), nullptr);
    EXPECT_TRUE(table.Insert(&b));  // unlinked nodes can come back
    EXPECT_EQ(table.Find(17, 1), &b);
}

TEST(NodeHashTableTest, ClearEmptiesEveryChain) {
    NodeHashTable table;
    table.Create(4);
    Node nodes[10];
    for (int i = 0; i < 10; ++i) {
        nodes[i] = At(i, i * 3);
        table.Insert(&nodes[i]);
    }
    table.Clear();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(table.Find(i, i * 3), nullptr);
    table.Unlink();  // nothing found: nothing to take out
}

}  // namespace
