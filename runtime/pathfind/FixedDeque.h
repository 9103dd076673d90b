// A circular buffer of fixed capacity, allocated at creation and never grown.
// Both a full and an empty deque have head == tail, so emptiness is a flag of
// its own. Positions count from the head (the front).
#pragma once

#include <cstdint>
#include <new>

template <typename T>
class FixedDeque {
  public:
    explicit FixedDeque(int32_t capacity = 0) { Allocate(capacity); }
    FixedDeque(const FixedDeque&) = delete;
    FixedDeque& operator=(const FixedDeque&) = delete;
    ~FixedDeque() { Release(); }

    // Gives up the arrays and takes new ones of the given capacity, empty.
    // False (and capacity 0) when the memory cannot be had.
    bool Allocate(int32_t capacity) {
        Release();
        if (capacity <= 0) return capacity == 0;
        slots_ = new (std::nothrow) T[capacity];
        scratch_ = new (std::nothrow) T[capacity];
        if (!slots_ || !scratch_) {
            Release();
            return false;
        }
        capacity_ = capacity;
        return true;
    }

    bool PushBack(const T& value) {
        if (Full()) return false;
        slots_[tail_] = value;
        tail_ = Wrap(tail_ + 1);
        empty_ = false;
        return true;
    }

    bool PushFront(const T& value) {
        if (Full()) return false;
        head_ = Wrap(head_ - 1 + capacity_);
        slots_[head_] = value;
        empty_ = false;
        return true;
    }

    // Puts value at `position`. Whichever side of it is shorter moves one slot
    // outward through the scratch array.
    bool Insert(int32_t position, const T& value) {
        const int32_t size = Size();
        if (Full() || position < 0 || position > size) return false;
        if (position < size - position) {
            CopyOut(0, position);
            head_ = Wrap(head_ - 1 + capacity_);
            CopyIn(0, position);
        } else {
            const int32_t behind = size - position;
            CopyOut(position, behind);
            tail_ = Wrap(tail_ + 1);
            CopyIn(position + 1, behind);
        }
        slots_[Slot(position)] = value;
        empty_ = false;
        return true;
    }

    // Removes the element at `position`; the shorter side closes the gap.
    bool Erase(int32_t position) {
        const int32_t size = Size();
        if (position < 0 || position >= size) return false;
        const int32_t behind = size - position - 1;
        if (position < behind) {
            CopyOut(0, position);
            head_ = Wrap(head_ + 1);
            CopyIn(0, position);
        } else {
            CopyOut(position + 1, behind);
            CopyIn(position, behind);
            tail_ = Wrap(tail_ - 1 + capacity_);
        }
        empty_ = head_ == tail_;
        return true;
    }

    bool PopBack() {
        if (empty_) return false;
        tail_ = Wrap(tail_ - 1 + capacity_);
        empty_ = head_ == tail_;
        return true;
    }

    bool PopFront() {
        if (empty_) return false;
        head_ = Wrap(head_ + 1);
        empty_ = head_ == tail_;
        return true;
    }

    const T& Back() const { return slots_[Wrap(tail_ - 1 + capacity_)]; }  // only when not empty
    const T& At(int32_t position) const {
        return slots_[Slot(position)];
    }  // 0 <= position < Size()
    int32_t Size() const {
        if (empty_) return 0;
        const int32_t span = tail_ - head_;
        return span > 0 ? span : span + capacity_;
    }
    bool Empty() const { return empty_; }
    bool Full() const { return capacity_ == 0 || (!empty_ && head_ == tail_); }
    int32_t Capacity() const { return capacity_; }
    void Clear() {
        head_ = tail_ = 0;
        empty_ = true;
    }

  private:
    int32_t Wrap(int32_t index) const { return index >= capacity_ ? index - capacity_ : index; }
    int32_t Slot(int32_t position) const { return Wrap(head_ + position); }

    // The run of `count` elements from `position` to the scratch array, and back.
    void CopyOut(int32_t position, int32_t count) {
        for (int32_t i = 0, slot = Slot(position); i < count; ++i, slot = Wrap(slot + 1))
            scratch_[i] = slots_[slot];
    }
    void CopyIn(int32_t position, int32_t count) {
        for (int32_t i = 0, slot = Slot(position); i < count; ++i, slot = Wrap(slot + 1))
            slots_[slot] = scratch_[i];
    }

    void Release() {
        delete[] slots_;
        delete[] scratch_;
        slots_ = scratch_ = nullptr;
        capacity_ = 0;
        Clear();
    }

    T* slots_ = nullptr;
    T* scratch_ = nullptr;
    int32_t capacity_ = 0;
    int32_t head_ = 0;
    int32_t tail_ = 0;
    bool empty_ = true;
};
