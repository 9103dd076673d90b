// One searched cell of a grid search.
#pragma once

#include <cstdint>

struct Node {
    Node* parent = nullptr;  // the node it was reached from; none for the start cell
    int32_t x = 0;
    int32_t y = 0;
    float f = 0;                 // ordering key of the open list
    float g = 0;                 // cost of the route from the start to this cell
    Node* bucketNext = nullptr;  // next node in the same closed-set chain
};
