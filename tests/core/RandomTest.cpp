#include "runtime/core/Random.h"
#include "runtime/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

// ISAAC as published by its author (rand.c): written here apart from the
// runtime's code so each can check the other.
struct TextbookIsaac {
    uint32_t randrsl[256] = {};
    uint32_t mm[256] = {};
    uint32_t aa = 0, bb = 0, cc = 0;

    static void mix(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, uint32_t& e, uint32_t& f,
                    uint32_t& g, uint32_t& h) {
        a ^= b << 11;
        d += a;
        b += c;
        b ^= c >> 2;
        e += b;
        c += d;
        c ^= d << 8;
        f += c;
        d += e;
        d ^= e >> 16;
        g += d;
        e += f;
        e ^= f << 10;
        h += e;
        f += g;
        f ^= g >> 4;
        a += f;
        g += h;
        g ^= h << 8;
        b += g;
        h += a;
        h ^= a >> 9;
        c += h;
        a += b;
    }

    uint32_t ind(uint32_t x) const {
        uint32_t word;
        std::memcpy(&word, reinterpret_cast<const unsigned char*>(mm) + (x & (255u << 2)), 4);
        return word;
    }

    void isaac() {
        cc = cc + 1;
        bb = bb + cc;
        for (uint32_t i = 0; i < 256; ++i) {
            const uint32_t x = mm[i];
            switch (i % 4) {
                case 0:
                    aa = aa ^ (aa << 13);
                    break;
                case 1:
                    aa = aa ^ (aa >> 6);
                    break;
                case 2:
                    aa = aa ^ (aa << 2);
                    break;
                case 3:
                    aa = aa ^ (aa >> 16);
                    break;
            }
            aa = mm[(i + 128) % 256] + aa;
            const uint32_t y = ind(x) + aa + bb;
            mm[i] = y;
            bb = ind(y >> 8) + x;
            randrsl[i] = bb;
        }
    }

    // randinit(TRUE), starting from the given eight words instead of the
    // golden ratio and its four scrambles when `words` is set.
    void randinit(const uint32_t* words) {
        uint32_t a, b, c, d, e, f, g, h;
        aa = bb = cc = 0;
        if (words) {
            a = words[0];
            b = words[1];
            c = words[2];
            d = words[3];
            e = words[4];
            f = words[5];
            g = words[6];
            h = words[7];
        } else {
            a = b = c = d = e = f = g = h = 0x9e3779b9;
            for (int i = 0; i < 4; ++i) mix(a, b, c, d, e, f, g, h);
        }
        for (int i = 0; i < 256; i += 8) {
            a += randrsl[i];
            b += randrsl[i + 1];
            c += randrsl[i + 2];
            d += randrsl[i + 3];
            e += randrsl[i + 4];
            f += randrsl[i + 5];
            g += randrsl[i + 6];
            h += randrsl[i + 7];
            mix(a, b, c, d, e, f, g, h);
            mm[i] = a;
            mm[i + 1] = b;
            mm[i + 2] = c;
            mm[i + 3] = d;
            mm[i + 4] = e;
            mm[i + 5] = f;
            mm[i + 6] = g;
            mm[i + 7] = h;
        }
        for (int i = 0; i < 256; i += 8) {
            a += mm[i];
            b += mm[i + 1];
            c += mm[i + 2];
            d += mm[i + 3];
            e += mm[i + 4];
            f += mm[i + 5];
            g += mm[i + 6];
            h += mm[i + 7];
            mix(a, b, c, d, e, f, g, h);
            mm[i] = a;
            mm[i + 1] = b;
            mm[i + 2] = c;
            mm[i + 3] = d;
            mm[i + 4] = e;
            mm[i + 5] = f;
            mm[i + 6] = g;
            mm[i + 7] = h;
        }
        isaac();
    }
};

// The runtime's seeding: the seed is folded into the eight words thirty-two
// times, each time mixed, then the four scrambles, then ISAAC's own set-up.
void SeedTextbook(TextbookIsaac& isaac, uint32_t seed) {
    uint32_t w[8];
    for (uint32_t& word : w) word = 0x9e3779b9;
    for (int i = 0; i < 32; ++i) {
        w[0] += seed;
        TextbookIsaac::mix(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
    }
    for (int i = 0; i < 4; ++i) TextbookIsaac::mix(w[0], w[1], w[2], w[3], w[4], w[5], w[6], w[7]);
    isaac.randinit(w);
}

class RandomTest : public ::testing::Test {
  protected:
    void SetUp() override { gRandom = RandomGenerator{}; }  // as loaded
};

TEST(TextbookIsaacTest, MatchesTheAuthorsPublishedVector) {
    TextbookIsaac isaac;
    isaac.randinit(nullptr);
    isaac.isaac();
    EXPECT_EQ(isaac.randrsl[0], 0xf650e4c8u);
    EXPECT_EQ(isaac.randrsl[1], 0xe448e96du);
    EXPECT_EQ(isaac.randrsl[2], 0x98db2fb4u);
    EXPECT_EQ(isaac.randrsl[3], 0xf5fad54fu);
}

TEST_F(RandomTest, SeedingAgreesWithTextbookIsaac) {
    for (uint32_t seed : {0u, 1u, 12345u, 0xFFFFFFFFu}) {
        gRandom = RandomGenerator{};
        TextbookIsaac isaac;
        SeedTextbook(isaac, seed);
        EXPECT_EQ(SeedRandom(seed), isaac.randrsl[0]) << seed;
        EXPECT_EQ(std::memcmp(gRandom.memory, isaac.mm, sizeof isaac.mm), 0);
        EXPECT_EQ(std::memcmp(gRandom.results, isaac.randrsl, sizeof isaac.randrsl), 0);
        EXPECT_EQ(gRandom.count, 256);
        EXPECT_EQ(gRandom.c, 1u);
    }
}

TEST_F(RandomTest, EveryWordIsOneTextbookRound) {
    TextbookIsaac isaac;
    SeedTextbook(isaac, 987654);
    SeedRandom(987654);
    for (int round = 0; round < 50; ++round) {
        isaac.isaac();
        EXPECT_EQ(NextRandomWord(), isaac.randrsl[0]) << round;
    }
    EXPECT_EQ(std::memcmp(gRandom.results, isaac.randrsl, sizeof isaac.randrsl), 0);
    EXPECT_EQ(gRandom.a, isaac.aa);
    EXPECT_EQ(gRandom.b, isaac.bb);
    EXPECT_EQ(gRandom.c, isaac.cc);
}

TEST_F(RandomTest, SameSeedSameSequence) {
    SeedRandom(4242);
    std::vector<double> first;
    for (int i = 0; i < 100; ++i) first.push_back(RandomInt(62));
    gRandom = RandomGenerator{};
    SeedRandom(4242);
    std::vector<double> second;
    for (int i = 0; i < 100; ++i) second.push_back(RandomInt(62));
    EXPECT_EQ(first, second);
    gRandom = RandomGenerator{};
    SeedRandom(4243);
    std::vector<double> other;
    for (int i = 0; i < 100; ++i) other.push_back(RandomInt(62));
    EXPECT_NE(first, other);
}

TEST_F(RandomTest, RandomIntRange) {
    SeedRandom(7);
    std::set<double> seen;
    for (int i = 0; i < 400; ++i) {
        const double value = RandomInt(3);
        ASSERT_TRUE(value == 0 || value == 1 || value == 2 || value == 3) << value;
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 4u);
}

TEST_F(RandomTest, RandomIntDrawsForPositiveLimitsOnly) {
    SeedRandom(99);
    const uint32_t rounds = gRandom.c;
    EXPECT_EQ(RandomInt(0.5), 0);
    EXPECT_EQ(gRandom.c, rounds + 1);
    EXPECT_EQ(RandomInt(-2), 0);
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(gRandom.c, rounds + 1);
    EXPECT_EQ(RandomInt(std::nan("")), 0);  // NaN passes the test and draws
    EXPECT_EQ(gRandom.c, rounds + 2);
}

TEST_F(RandomTest, RandomIntIsTheWordModuloLimitPlusOne) {
    SeedRandom(31337);
    const RandomGenerator saved = gRandom;
    const uint32_t word = NextRandomWord();
    const auto drawWith = [&](double limit) {
        gRandom = saved;
        return RandomInt(limit);
    };
    EXPECT_EQ(drawWith(62.9), word % 63);
    EXPECT_EQ(drawWith(62), word % 63);
    EXPECT_EQ(drawWith(4294967296.0 + 5), word % 6);  // the low 32 bits of the limit
    EXPECT_EQ(drawWith(4294967294.0), word % 4294967295u);
    // Low 32 bits all ones: the whole word rather than a modulus of 0.
    EXPECT_EQ(drawWith(4294967295.0), word);
    EXPECT_EQ(drawWith(8589934591.0), word);
}

}  // namespace
