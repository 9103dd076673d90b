// The node pool of a search: a fixed number of nodes, each built separately
// up front and handed out in order. It never grows.
#pragma once

#include <cstdint>

#include "runtime/pathfind/Node.h"

class NodeFactory {
  public:
    NodeFactory() = default;
    NodeFactory(const NodeFactory&) = delete;
    NodeFactory& operator=(const NodeFactory&) = delete;
    virtual ~NodeFactory();

    // Builds `capacity` nodes, giving up any built before. False (and an
    // empty pool) when the memory cannot be had.
    bool Create(int32_t capacity);
    Node* NewNode();  // the next free node, or null once all are handed out
    int32_t Capacity() const { return capacity_; }
    int32_t Used() const { return next_; }

  private:
    void Release();

    int32_t capacity_ = 0;
    Node** nodes_ = nullptr;
    int32_t next_ = 0;
};
