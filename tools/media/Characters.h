// The cast of the crowd: each of the 63 characters as a list of features
// (skin, hair, eyes, mouth, eyewear, facial hair, hat, clothes), and the
// choice of the cast so that any two look clearly unlike each other.
#pragma once

#include <vector>

namespace media {

constexpr int kPortraitCount = 63;

enum Hair {
    Bald,
    Short,
    Spiky,
    Afro,
    Long,
    Bob,
    Pigtails,
    Bun,
    Mohawk,
    Curly,
    Swoop,
    Buzz,
    Receding,
    Ponytail,
    Quiff,
    HairStyles
};
enum Hat {
    NoHat,
    Cap,
    Beanie,
    TopHat,
    Cowboy,
    Crown,
    PartyHat,
    Headband,
    Bow,
    Headphones,
    Viking,
    Beret,
    Flower,
    ChefHat,
    Propeller,
    Hats
};
enum Eyes { Dots, Round, Happy, Sleepy, Wide, Wink, Lashes, Fierce, EyeStyles };
enum Mouth { Smile, Grin, Oh, Flat, Smirk, Tongue, Frown, Laugh, Teeth, Mouths };
enum Nose { Tiny, Button, BigNose, Clown, Pointy, Noses };
enum Glasses {
    NoGlasses,
    RoundGlasses,
    SquareGlasses,
    Shades,
    HeartShades,
    Monocle,
    GlassesStyles
};
enum Facial { Shaven, Moustache, Beard, Goatee, Stubble, Handlebar, FacialStyles };
enum Cheeks { Plain, Blush, Freckles, FacePaint, CheekStyles };
enum Emblem { NoEmblem, StarPin, HeartPin, DiamondPin, BoltPin, RingPin, Emblems };
enum Shirt { Tee, Stripes, Tie, Hoodie, VNeck, Scarf, Overalls, Suit, Jersey, Shirts };

struct Character {
    int skin, head, hair, hairColour, eyes, eyeColour, mouth, nose, glasses, glassesColour, facial,
        cheeks;
    int hat, hatColour, shirt, shirtColour, accent;
    int emblem = 0;  // a pin on the chest, where the badge shows it
};

// The whole cast, the same on every run.
std::vector<Character> CastOfCharacters();

}  // namespace media
