#include "Characters.h"

#include <algorithm>
#include <cstdlib>
#include <span>

#include "MediaRandom.h"

namespace media {

namespace {

// A feature that adds `weight` to how unlike two characters look when they differ in it.
struct FeatureWeight {
    int Character::*feature;
    int weight;
};

// What shows in a crowd counts most; skin, hair and the hat's colour are weighed apart.
constexpr FeatureWeight kCrowdWeights[] = {
    {&Character::hairColour, 3},  {&Character::hat, 4},    {&Character::glasses, 3},
    {&Character::facial, 2},      {&Character::eyes, 1},   {&Character::mouth, 1},
    {&Character::nose, 1},        {&Character::cheeks, 1}, {&Character::shirt, 2},
    {&Character::shirtColour, 3}, {&Character::head, 1}};
// The badge shows the lower left part of the face and the collar; skin is weighed apart.
constexpr FeatureWeight kBadgeWeights[] = {{&Character::shirtColour, 3}, {&Character::shirt, 2},
                                           {&Character::glasses, 2},     {&Character::facial, 2},
                                           {&Character::hairColour, 1},  {&Character::eyes, 1},
                                           {&Character::mouth, 1},       {&Character::emblem, 3}};

int DifferingWeight(const Character& a, const Character& b,
                    std::span<const FeatureWeight> weights) {
    int d = 0;
    for (const FeatureWeight& w : weights) d += a.*w.feature == b.*w.feature ? 0 : w.weight;
    return d;
}

// Skins more than `near` shades apart count `far`, closer ones `close`.
int SkinDifference(const Character& a, const Character& b, int near, int far, int close) {
    return a.skin == b.skin ? 0 : (std::abs(a.skin - b.skin) > near ? far : close);
}

// How unlike two characters look in a crowd.
int Difference(const Character& a, const Character& b) {
    const bool hatA = a.hat != NoHat, hatB = b.hat != NoHat;
    int d = SkinDifference(a, b, 2, 3, 2);
    d += a.hair == b.hair ? 0 : (hatA && hatB ? 1 : 3);
    d += a.hatColour == b.hatColour || !hatA ? 0 : 1;
    return d + DifferingWeight(a, b, kCrowdWeights);
}

// How unlike two characters look in the badge.
int BadgeDifference(const Character& a, const Character& b) {
    return SkinDifference(a, b, 1, 3, 1) + DifferingWeight(a, b, kBadgeWeights);
}

Character RandomFeatures(MediaRandom& rng) {
    Character c{};
    c.skin = rng.Below(8);
    c.head = rng.Below(3);
    c.hair = rng.Below(HairStyles);
    c.hairColour = rng.Below(14);
    c.eyes = rng.Below(EyeStyles);
    c.eyeColour = rng.Below(5);
    c.mouth = rng.Below(Mouths);
    c.nose = rng.Below(8) < 5 ? rng.Below(2) : rng.Below(Noses);
    c.glasses = rng.Below(3) == 0 ? rng.Range(1, GlassesStyles - 1) : NoGlasses;
    c.glassesColour = rng.Below(14);
    c.facial = rng.Below(3) == 0 ? rng.Range(1, FacialStyles - 1) : Shaven;
    c.cheeks = rng.Below(2) == 0 ? rng.Below(CheekStyles) : Plain;
    c.hat = rng.Below(5) < 2 ? rng.Range(1, Hats - 1) : NoHat;
    c.hatColour = rng.Below(14);
    c.shirt = rng.Below(Shirts);
    c.shirtColour = rng.Below(14);
    c.accent = rng.Below(14);
    c.emblem = rng.Below(3) == 0 ? NoEmblem : rng.Range(1, Emblems - 1);
    return c;
}

void SeparateColours(Character& c) {
    if (c.accent == c.shirtColour) c.accent = (c.accent + 5) % 14;
    if (c.hatColour == c.shirtColour) c.hatColour = (c.hatColour + 3) % 14;
}

// Styles that clash with a hat or with each other.
void DropClashingStyles(Character& c, MediaRandom& rng) {
    if (c.hair == Afro || c.hair == Mohawk || c.hair == Quiff || c.hair == Bun) {
        if (c.hat != Headband && c.hat != Flower && c.hat != Bow && c.hat != Headphones)
            c.hat = NoHat;
    }
    if (c.hairColour >= 9 && rng.Below(2) == 0) c.hairColour = rng.Below(9);
    if (c.facial != Shaven && c.facial != Stubble && c.hairColour >= 9) c.hairColour = rng.Below(9);
    if (c.hair == Long || c.hair == Bob || c.hair == Pigtails || c.hair == Bun ||
        c.hair == Ponytail || c.eyes == Lashes) {
        if (c.facial != Stubble) c.facial = Shaven;
    }
}

void FitEyewear(Character& c) {
    static const int frames[7] = {0, 2, 5, 7, 8, 11, 9};  // colours that show on any skin
    c.glassesColour = frames[c.glassesColour % 7];
    if ((c.eyes == Happy || c.eyes == Wink || c.eyes == Sleepy) && c.glasses == Shades)
        c.glasses = RoundGlasses;
}

Character RandomCharacter(MediaRandom& rng) {
    Character c = RandomFeatures(rng);
    SeparateColours(c);
    DropClashingStyles(c, rng);
    FitEyewear(c);
    return c;
}

// Keeps the rarer looks rare: the greedy choice below would otherwise give
// nearly everyone glasses and a hat, since those differ most from the rest.
bool RareLooksStayRare(const std::vector<Character>& cast, const Character& c) {
    int glasses = 0, hats = 0, facial = 0;
    for (const Character& o : cast) {
        glasses += o.glasses != NoGlasses;
        hats += o.hat != NoHat;
        facial += o.facial != Shaven;
    }
    const int n = int(cast.size()) + 1;
    if (c.glasses != NoGlasses && (glasses + 1) * 100 > n * 32 + 100) return false;
    if (c.hat != NoHat && (hats + 1) * 100 > n * 45 + 100) return false;
    if (c.facial != Shaven && (facial + 1) * 100 > n * 30 + 100) return false;
    return true;
}

bool NoLookTooCommon(const std::vector<Character>& cast, const Character& c) {
    int clowns = 0, mouths = 0, eyes = 0, sameGlasses = 0, sameHat = 0, sameFacial = 0;
    for (const Character& o : cast) {
        clowns += o.nose == Clown;
        mouths += o.mouth == c.mouth;
        eyes += o.eyes == c.eyes;
        sameGlasses += o.glasses == c.glasses;
        sameHat += o.hat == c.hat;
        sameFacial += o.facial == c.facial;
    }
    const int n = int(cast.size()) + 1;
    if (c.nose == Clown && clowns >= 3) return false;
    if (mouths * Mouths > n + 6 || eyes * EyeStyles > n + 6) return false;
    if (c.glasses != NoGlasses && sameGlasses >= (c.glasses == HeartShades ? 3 : 5)) return false;
    if (c.hat != NoHat && sameHat >= 4) return false;
    if (c.facial != Shaven && sameFacial >= 5) return false;
    return true;
}

// The first 13 are the Easy board's whole cast, picked by hand to be as
// unlike each other as possible.
std::vector<Character> HandPickedCast() {
    std::vector<Character> cast = {
        // skin head hair hairCol eyes eyeCol mouth nose glasses glCol facial cheeks hat hatCol
        // shirt shirtCol accent
        {1, 0, Short, 5, Round, 1, Grin, Button, NoGlasses, 0, Shaven, Freckles, Cap, 0, Tee, 5, 9},
        {6, 2, Afro, 0, Happy, 0, Laugh, Tiny, NoGlasses, 0, Shaven, Plain, NoHat, 0, Stripes, 2,
         7},
        {3, 0, Long, 4, Lashes, 2, Smile, Tiny, RoundGlasses, 7, Shaven, Blush, NoHat, 0, Scarf, 3,
         9},
        {0, 1, Bald, 7, Dots, 0, Flat, BigNose, SquareGlasses, 11, Beard, Plain, NoHat, 0, Suit, 6,
         0},
        {4, 0, Pigtails, 10, Wide, 4, Tongue, Button, NoGlasses, 0, Shaven, Blush, Bow, 2, Overalls,
         9, 5},
        {2, 2, Bald, 1, Fierce, 0, Smirk, Tiny, Shades, 0, Goatee, Plain, TopHat, 11, Tie, 0, 6},
        {7, 0, Mohawk, 11, Round, 3, Grin, Tiny, NoGlasses, 0, Shaven, FacePaint, NoHat, 0, Jersey,
         1, 6},
        {1, 1, Bob, 0, Sleepy, 1, Oh, Tiny, NoGlasses, 0, Shaven, Plain, Beret, 0, Stripes, 11, 9},
        {5, 0, Short, 8, Dots, 0, Smile, BigNose, NoGlasses, 0, Handlebar, Plain, Cowboy, 12, Tee,
         3, 2},
        {0, 0, Curly, 3, Round, 2, Teeth, Button, RoundGlasses, 12, Shaven, Freckles, NoHat, 0,
         Hoodie, 8, 9},
        {3, 2, Spiky, 12, Wink, 0, Grin, Tiny, NoGlasses, 0, Shaven, Plain, Headphones, 5, Hoodie,
         13, 11},
        {4, 1, Receding, 7, Dots, 0, Smile, Pointy, Monocle, 0, Moustache, Plain, Crown, 0, Suit, 7,
         2},
        {2, 0, Bun, 1, Lashes, 1, Smile, Tiny, HeartShades, 0, Shaven, Plain, NoHat, 0, VNeck, 1,
         9},
    };
    static const int pins[13] = {StarPin,  NoEmblem, NoEmblem,   NoEmblem, HeartPin,
                                 NoEmblem, NoEmblem, DiamondPin, BoltPin,  RingPin,
                                 StarPin,  NoEmblem, HeartPin};
    for (size_t i = 0; i < cast.size(); ++i) cast[i].emblem = pins[i];
    return cast;
}

// How unlike everyone chosen so far a candidate looks, the badge counting twice.
int Unlikeness(const Character& candidate, const std::vector<Character>& cast) {
    int worst = 1 << 30, worstBadge = 1 << 30;
    for (const Character& other : cast) {
        worst = std::min(worst, Difference(candidate, other));
        worstBadge = std::min(worstBadge, BadgeDifference(candidate, other));
    }
    return worst + 2 * worstBadge;
}

Character MostUnlikeCandidate(const std::vector<Character>& cast, MediaRandom& rng) {
    Character best{};
    int bestScore = -1;
    for (int k = 0; k < 300; ++k) {
        const Character candidate = RandomCharacter(rng);
        if (!RareLooksStayRare(cast, candidate) || !NoLookTooCommon(cast, candidate)) continue;
        const int score = Unlikeness(candidate, cast);
        if (score > bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

}  // namespace

// The rest are drawn at random, each time the candidate most unlike everyone
// chosen so far.
std::vector<Character> CastOfCharacters() {
    std::vector<Character> cast = HandPickedCast();
    MediaRandom rng(0x51A7C0DEull);
    while (int(cast.size()) < kPortraitCount) cast.push_back(MostUnlikeCandidate(cast, rng));
    return cast;
}

}  // namespace media
