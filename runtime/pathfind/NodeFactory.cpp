#include "runtime/pathfind/NodeFactory.h"

#include <new>

NodeFactory::~NodeFactory() {
    Release();
}

bool NodeFactory::Create(int32_t capacity) {
    Release();
    if (capacity <= 0) return capacity == 0;
    nodes_ = new (std::nothrow) Node*[capacity]();
    if (!nodes_) return false;
    for (int32_t i = 0; i < capacity; ++i) {
        nodes_[i] = new (std::nothrow) Node;
        if (!nodes_[i]) {
            capacity_ = i;
            Release();
            return false;
        }
    }
    capacity_ = capacity;
    return true;
}

Node* NodeFactory::NewNode() {
    return next_ < capacity_ ? nodes_[next_++] : nullptr;
}

void NodeFactory::Release() {
    for (int32_t i = 0; i < capacity_; ++i) delete nodes_[i];
    delete[] nodes_;
    nodes_ = nullptr;
    capacity_ = 0;
    next_ = 0;
}
