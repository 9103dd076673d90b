// Grid search planners: the abstract Planner holds the cost grid, the node
// pool, the open list and the closed set; AStarPlanner is its weighted A*.
// Calling order: construct, SetUp, StartSearch, Search, read the result
// chain, ClearSearch, destroy.
#pragma once

#include <cstdint>

#include "runtime/pathfind/FixedDeque.h"
#include "runtime/pathfind/Node.h"
#include "runtime/pathfind/NodeFactory.h"
#include "runtime/pathfind/NodeHashTable.h"

struct SearchParameters {
    int32_t startX = 0;
    int32_t startY = 0;
    int32_t goalX = 0;
    int32_t goalY = 0;
    uint8_t trueDiagonalCost = 1;  // a diagonal step costs the entered cell times 1.4142137
    uint8_t diagonalMoves = 0;     // clear: the four diagonal neighbours are never considered
    int32_t poolCapacity = 0;      // 0: width * height
    int32_t openCapacity = 0;      // 0: width * height
    int32_t closedExponent = 8;    // 2^8 closed-set buckets
    float weight = 0.5f;           // 0: cost so far alone; 1: distance to go alone
    int32_t width = 0;
    int32_t height = 0;
    const double* sourceCells = nullptr;  // cell (x, y) at x + width * y; 0 or less is a wall
};

// A search weight limited to 0..1 (NaN passes through, as it always has).
float ClampWeight(double weight);

class Planner {
  public:
    static constexpr float kWall = -1.0f;

    Planner() = default;
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;
    virtual ~Planner();

    // Builds the cost grid and the lists. False, with the planner untouched,
    // when start or goal lies outside the grid, they are the same cell or no
    // cell is open; also false when the memory cannot be had.
    bool SetUp(const SearchParameters& parameters);
    virtual void StartSearch();
    virtual bool Search() = 0;  // true when a route to the goal was found
    virtual void ClearSearch();

    const Node* Result() const { return result_; }
    bool Idle() const { return idle_; }
    uint32_t SearchCount() const { return searchCount_; }
    const SearchParameters& Parameters() const { return parameters_; }
    // The converted cost of entering (x, y): -1 for a wall, else in (1, 2].
    float CellCost(int32_t x, int32_t y) const { return costs_[x + parameters_.width * y]; }

  protected:
    bool idle_ = true;
    NodeFactory pool_;
    SearchParameters parameters_;
    float* costs_ = nullptr;
    uint32_t searchCount_ = 0;
    FixedDeque<Node*> open_;
    NodeHashTable closed_;
    Node* result_ = nullptr;
};

class AStarPlanner : public Planner {
  public:
    static constexpr float kDiagonalFactor = 1.4142137f;

    AStarPlanner() = default;
    ~AStarPlanner() override;

    void StartSearch() override;
    bool Search() override;

  private:
    void Expand(Node* node);
    void Visit(Node* from, int32_t x, int32_t y, bool diagonal);
    void Reopen(Node* node, Node* parent, int32_t x, int32_t y, float g, float f);
    void InsertOpen(Node* node);
    int32_t FindOpen(int32_t x, int32_t y) const;
};
