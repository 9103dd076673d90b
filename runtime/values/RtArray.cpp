#include "runtime/values/RtArray.h"

#include <algorithm>
#include <new>

#include "runtime/core/Engine.h"

namespace {

// Beyond this element count the capacity (count rounded up plus a step) would
// no longer fit its 32-bit field.
constexpr double kElementLimit = 2147483520.0;

[[noreturn]] void IndexError() {
    SetRuntimeError(9);
    EndProgram();
}

[[noreturn]] void StorageError() {
    SetRuntimeError(7);
    EndProgram();
}

double CountFactor(double size) {
    return size >= 1 ? size : 1;
}

// The shape a (re)dimensioning asks for: element count and whether the
// current storage must be given up regardless of its capacity.
struct Shape {
    double a, b, c, d;
    int32_t count;
    bool forced;
};

Shape RequestedShape(double a, double b, double c, double d) {
    Shape shape{a, b, c, d, 0, false};
    if (!(a >= 1)) {
        shape.a = 0;
        shape.forced = true;
    }
    const double count = shape.a * CountFactor(b) * CountFactor(c) * CountFactor(d);
    if (!(count < kElementLimit)) StorageError();
    shape.count = static_cast<int32_t>(count);
    return shape;
}

template <typename Array>
void SetShape(Array& array, const Shape& shape) {
    array.dimensionCount = shape.d != 0   ? 4
                           : shape.c != 0 ? 3
                           : shape.b != 0 ? 2
                           : shape.a != 0 ? 1
                                          : 0;
    array.size[0] = TruncateInt32(shape.a);
    array.size[1] = TruncateInt32(shape.b);
    array.size[2] = TruncateInt32(shape.c);
    array.size[3] = TruncateInt32(shape.d);
    const int64_t size0 = array.size[0], size1 = array.size[1], size2 = array.size[2];
    array.stride1 = static_cast<int32_t>(size0);
    array.stride2 = static_cast<int32_t>(size0 * size1);
    array.stride3 = static_cast<int32_t>(size0 * size1 * size2);
}

// Checks (i, j, k, l) against the shape and gives the element's offset. An
// index into a dimension of size 0 must be 0: anything else would leave the storage.
template <typename Array>
int64_t ElementOffset(const Array& array, int32_t i, int32_t j, int32_t k, int32_t l) {
    if (!array.data || i < 0 || j < 0 || k < 0 || l < 0 || i >= array.size[0]) IndexError();
    const int32_t index[4] = {i, j, k, l};
    for (int dimension = 1; dimension < 4; ++dimension) {
        const int32_t size = array.size[dimension];
        if (size != 0 ? index[dimension] >= size : index[dimension] != 0) IndexError();
    }
    const int64_t offset = i + static_cast<int64_t>(j) * array.stride1 +
                           static_cast<int64_t>(k) * array.stride2 +
                           static_cast<int64_t>(l) * array.stride3;
    if (offset >= array.capacity) IndexError();
    return offset;
}

template <typename Array>
int64_t CountElements(const Array& array) {
    int64_t count = std::max(array.size[0], 0);
    for (int dimension = 1; dimension < 4; ++dimension) count *= std::max(array.size[dimension], 1);
    return std::min<int64_t>(count, array.capacity);
}

// The loop extent of dimension 1..3 for a size: a dimension of size 0 still
// has its index 0.
int32_t Extent(int32_t size) {
    return size == 0 ? 1 : size;
}

RtString* NewTextBlock(int32_t capacity) {
    void* block = ::operator new(
        sizeof(uint64_t) + sizeof(RtString) * static_cast<size_t>(capacity), std::nothrow);
    if (!block) return nullptr;
    *static_cast<uint64_t*>(block) = static_cast<uint64_t>(capacity);
    RtString* elements = reinterpret_cast<RtString*>(static_cast<uint64_t*>(block) + 1);
    for (int32_t i = 0; i < capacity; ++i) new (elements + i) RtString();
    return elements;
}

void DeleteTextBlock(RtString* elements) {
    if (!elements) return;
    uint64_t* block = reinterpret_cast<uint64_t*>(elements) - 1;
    for (uint64_t i = 0; i < *block; ++i) elements[i].~RtString();
    ::operator delete(block);
}

}  // namespace

double& RtArray::operator()(ArrayIndex i, ArrayIndex j, ArrayIndex k, ArrayIndex l) {
    return data[ElementOffset(*this, i.value, j.value, k.value, l.value)];
}

int64_t RtArray::ElementCount() const {
    return CountElements(*this);
}

void RtArray::Release() {
    if (data != inlineStore) delete[] data;
    data = nullptr;
    stride1 = stride2 = stride3 = 0;
    std::fill(size, size + 4, 0);
    dimensionCount = 0;
    capacity = 0;
}

RtString& RtTextArray::operator()(ArrayIndex i, ArrayIndex j, ArrayIndex k, ArrayIndex l) {
    return data[ElementOffset(*this, i.value, j.value, k.value, l.value)];
}

int64_t RtTextArray::ElementCount() const {
    return CountElements(*this);
}

void RtTextArray::Release() {
    DeleteTextBlock(data);
    data = nullptr;
    stride1 = stride2 = stride3 = 0;
    std::fill(size, size + 4, 0);
    dimensionCount = 0;
    capacity = 0;
}

void CopyElement(double& target, double& source) {
    target = source;
}

void DimArray(RtArray& array, double a, double b, double c, double d) {
    const Shape shape = RequestedShape(a, b, c, d);
    const int32_t rounded = (shape.count & ~7) + 8;
    if (array.capacity < rounded || shape.forced) {
        if (array.data != array.inlineStore) delete[] array.data;
        array.data = nullptr;
        array.capacity = 0;
        if (rounded <= RtArray::kInlineElements) {
            array.data = array.inlineStore;
        } else {
            array.data = new (std::nothrow) double[rounded];
            if (!array.data) StorageError();
        }
        array.capacity = rounded;
    }
    std::fill(array.data, array.data + array.capacity, 0.0);
    SetShape(array, shape);
}

void DimTextArray(RtTextArray& array, double a, double b, double c, double d) {
    const Shape shape = RequestedShape(a, b, c, d);
    const int32_t rounded = (shape.count & ~63) + 64;
    if (array.capacity < rounded || shape.forced) {
        DeleteTextBlock(array.data);
        array.data = nullptr;
        array.capacity = 0;
        array.data = NewTextBlock(rounded);
        if (!array.data) StorageError();
        array.capacity = rounded;
    } else {
        for (int32_t i = 0; i < rounded; ++i) array.data[i] = "";
    }
    SetShape(array, shape);
}

void RedimArray(RtArray& array, double a, double b, double c, double d) {
    RtArray resized;
    DimArray(resized, a, b, c, d);
    if (array.data) {
        const int32_t extent0 = std::max(std::min(array.size[0], resized.size[0]), 0);
        const int32_t extent1 = Extent(std::min(array.size[1], resized.size[1]));
        const int32_t extent2 = Extent(std::min(array.size[2], resized.size[2]));
        const int32_t extent3 = Extent(std::min(array.size[3], resized.size[3]));
        for (int64_t l = 0; l < extent3; ++l)
            for (int64_t k = 0; k < extent2; ++k)
                for (int64_t j = 0; j < extent1; ++j)
                    for (int64_t i = 0; i < extent0; ++i)
                        resized.data[i + j * resized.stride1 + k * resized.stride2 +
                                     l * resized.stride3] =
                            array.data[i + j * array.stride1 + k * array.stride2 +
                                       l * array.stride3];
    }
    const bool inlineStorage =
        !array.data || array.data == array.inlineStore || resized.data == resized.inlineStore;
    if (inlineStorage) {
        DimArray(array, resized.size[0], resized.size[1], resized.size[2], resized.size[3]);
        std::copy(resized.data, resized.data + resized.ElementCount(), array.data);
        array.dimensionCount = resized.dimensionCount;
        return;
    }
    std::swap(array.data, resized.data);
    std::swap(array.capacity, resized.capacity);
    std::swap(array.size, resized.size);
    array.stride1 = resized.stride1;
    array.stride2 = resized.stride2;
    array.stride3 = resized.stride3;
    array.dimensionCount = resized.dimensionCount;
}

double ArrayBound(const RtArray& array, double dimension) {
    const int32_t d = TruncateInt32(dimension);
    return d >= 0 && d < 4 ? array.size[d] : 0;
}

double TextArrayBound(const RtTextArray& array, double dimension) {
    const int32_t d = TruncateInt32(dimension);
    return d >= 0 && d < 4 ? array.size[d] : 0;
}

void FillArrayFromList(RtArray& array, double count, const double* list) {
    DimArray(array, count, 0, 0, 0);
    for (int32_t i = 0; i < array.size[0]; ++i) array(i) = list[i];
}

void FillArrayFromList(RtArray& array, std::initializer_list<double> list) {
    FillArrayFromList(array, static_cast<double>(list.size()), list.begin());
}

void FillTextArrayFromList(RtTextArray& array, double count, const RtString* list) {
    DimTextArray(array, count, 0, 0, 0);
    for (int32_t i = 0; i < array.size[0]; ++i) array(i) = list[i];
}

void FillTextArrayFromList(RtTextArray& array, std::initializer_list<RtString> list) {
    FillTextArrayFromList(array, static_cast<double>(list.size()), list.begin());
}

void CopyArrayRow(RtArray& array, double target, double source, ElementOperation operation) {
    const int32_t a = TruncateInt32(target), b = TruncateInt32(source);
    for (int32_t l = 0; l < Extent(array.size[3]); ++l)
        for (int32_t k = 0; k < Extent(array.size[2]); ++k)
            for (int32_t j = 0; j < Extent(array.size[1]); ++j)
                operation(array(a, j, k, l), array(b, j, k, l));
}

void CopyArray(RtArray& array, const RtArray& source) {
    if (&array == &source) return;
    DimArray(array, source.size[0], source.size[1], source.size[2], source.size[3]);
    if (source.data) std::copy(source.data, source.data + source.ElementCount(), array.data);
}
