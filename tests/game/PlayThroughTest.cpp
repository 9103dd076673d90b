// A whole game, played headless through the real program: the game entry
// runs as the executable runs it, and a harness called from the message pump
// plays by pushing key and mouse events into the event queue. It reads the
// game's state to find the triplets and to check the bookkeeping, and never
// calls game functions or writes game state.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/Game.h"
#include "runtime/core/EngineState.h"
#include "runtime/gfx2d/OpenGLRainbows.h"
#include "runtime/platform/Platform.h"
#include "runtime/platform/PlatformTesting.h"
#include "runtime/runtime.h"

namespace {

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "play-through failed: %s\n", why.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

void Check(bool ok, const std::string& why) {
    if (!ok) Fail(why);
}

// With QUORBEL_SCREENSHOTS naming a file, the harness appends to it the
// moments worth a picture; tools/screenshots.sh takes them under Xvfb.
void Moment(const char* name) {
    const char* path = std::getenv("QUORBEL_SCREENSHOTS");
    if (!path) return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "screenshot: %s\n", name);
        std::fclose(file);
    }
}

// Steps run one after another, each when its time has come.
struct Step {
    double at;
    std::function<void()> action;
};

class Harness {
  public:
    static Harness& Get() {
        static Harness harness;
        return harness;
    }
    static void Pump() { Get().Run(); }

    void Start() {
        double t = 2500;  // the menu's first cross-fade
        // Players: from "2" down to "3".
        t = Key(t, kKeyDown, 80);
        steps_.push_back({t + 300, [] { Moment("menu"); }});
        t = Key(t + 700, kKeyA, 250) + 2300;
        for (int p = 0; p < 3; ++p) {
            t = Key(t, kKeyA, 250) + 2300;  // the first portrait on offer
            for (int d = 0; d < p; ++d) t = Key(t, kKeyDown, 80) + 200;
            t = Key(t, kKeyA, 250) + 2300;  // Easy, Normal, Hard
        }
        for (int d = 0; d < 3; ++d) t = Key(t, kKeyDown, 80) + 200;
        t = Key(t, kKeyA, 250);  // four rounds
        steps_.push_back({t + 500, [this] { phase_ = Phase::Game; }});
    }

  private:
    enum class Phase { Menu, Game, Results, MenuAgain, Done };

    double Now() const { return EngineNow(); }

    double Key(double at, int code, double holdMs) {
        steps_.push_back({at, [code] { platform::InjectKeyCode(code, true); }});
        steps_.push_back({at + holdMs, [code] { platform::InjectKeyCode(code, false); }});
        return at + holdMs;
    }

    void Click(double at, int x, int y) {
        platform::ScreenToWindowPosition(&x, &y);
        steps_.push_back({at, [x, y] {
                              platform::InjectMouseMotion(x, y, 0, 0);
                              platform::InjectMouseButton(1, true, x, y);
                          }});
        steps_.push_back({at + 90, [x, y] { platform::InjectMouseButton(1, false, x, y); }});
    }

    void Run() {
        if (busy_) return;
        // The script starts when the menu's first cross-fade does: right
        // after the last portrait has been loaded.
        if (origin_ == 0) {
            if (!gEngine.device || gEngine.device->Sprite(62)->width == 0) return;
            origin_ = Now();
        }
        busy_ = true;
        while (!steps_.empty() && steps_.front().at <= Now() - origin_) {
            auto action = std::move(steps_.front().action);
            steps_.pop_front();
            action();
        }
        if (steps_.empty()) Watch();
        busy_ = false;
    }

    // Cells of the portrait that is in the crowd three times, and one decoy.
    void FindTriplet(std::vector<std::pair<int, int>>* triplet, std::pair<int, int>* decoy) {
        RtArray& board = Game.Board;
        std::map<double, std::vector<std::pair<int, int>>> cells;
        for (double c = 0; c < ArrayBound(board, 0); ++c)
            for (double r = 0; r < ArrayBound(board, 1); ++r)
                if (board(c, r) >= 0) cells[board(c, r)].push_back({int(c), int(r)});
        for (auto& [portrait, where] : cells) {
            if (where.size() == 3) *triplet = where;
            if (where.size() == 1) *decoy = where.front();
        }
        Check(triplet->size() == 3, "no triplet on the board");
    }

    void PlanTurn() {
        std::vector<std::pair<int, int>> triplet;
        std::pair<int, int> decoy{-1, -1};
        FindTriplet(&triplet, &decoy);
        auto centre = [](std::pair<int, int> cell) {
            const int x = static_cast<int>(CellX(Game.Board, cell.first, cell.second)) + 32;
            const int y = cell.second * 30 + 110;
            return std::pair<int, int>{x, y};
        };
        double t = Now() - origin_ + 300;
        if (Game.PlayerLevel(Game.CurrentPlayer) == 1 && !hovered_ && decoy.first >= 0) {
            // Rest the pointer on a face of a Normal board for a picture.
            hovered_ = true;
            std::pair<int, int> at = centre(decoy);
            platform::ScreenToWindowPosition(&at.first, &at.second);
            steps_.push_back({t, [at] { platform::InjectMouseMotion(at.first, at.second, 0, 0); }});
            steps_.push_back({t + 400, [] { Moment("board"); }});
            t += 900;
        }
        if (turns_ == 0 && decoy.first >= 0) {
            // A wrong mark first, then taken back.
            auto [dx, dy] = centre(decoy);
            Click(t, dx, dy);
            Click(t + 250, dx, dy);
            t += 500;
            steps_.push_back({t, [this, decoy] {
                                  Check(Game.Marks(decoy.first, decoy.second) == 0,
                                        "a second click did not unmark the decoy");
                                  sawDecoyUnmarked_ = true;
                              }});
        }
        for (auto cell : triplet) {
            auto [x, y] = centre(cell);
            Click(t, x, y);
            t += 250;
        }
        if (turns_ == 1) steps_.push_back({t + 400, [] { Moment("celebration"); }});
    }

    void Watch() {
        switch (phase_) {
            case Phase::Menu:
                break;
            case Phase::Game:
                WatchGame();
                break;
            case Phase::Results:
                // The results screen waits for a typed key, then the menu comes back.
                steps_.push_back({Now() - origin_ + 800, [] { Moment("results"); }});
                Key(Now() - origin_ + 1500, kKeyX, 150);
                phase_ = Phase::MenuAgain;
                MenuAgain();
                break;
            case Phase::MenuAgain:
                if (ArrayBound(Game.PlayerPortrait, 0) == 1 && RoundNumber == 1) {
                    std::fprintf(stderr, "play-through complete: %d turns\n", turns_);
                    std::fflush(stderr);
                    phase_ = Phase::Done;
                    platform::InjectCloseRequest();
                }
                break;
            case Phase::Done:
                break;
        }
    }

    void MenuAgain() {
        double t = Now() - origin_ + 1500 + 3000;
        for (int d = 0; d < 3; ++d) t = Key(t + 100, 200, 80);  // Up to one player
        t = Key(t + 200, kKeyA, 250) + 2300;
        t = Key(t, kKeyA, 250) + 2300;
        t = Key(t, kKeyA, 250) + 2300;
        Key(t, kKeyA, 250);
    }

    void WatchGame() {
        if (RoundNumber < 1 || Game.RoundCount == 0) return;  // still in the menu
        if (!started_) {
            Check(ArrayBound(Game.PlayerPortrait, 0) == 3, "the menu did not give three players");
            Check(Game.RoundCount == 4, "the menu did not give four rounds");
            for (double p = 0; p < 3; ++p)
                Check(Game.PlayerLevel(p) == p, "difficulties are not Easy, Normal, Hard");
            Check(Game.PlayerPortrait(0) == 0 && Game.PlayerPortrait(1) == 2 &&
                      Game.PlayerPortrait(2) == 4,
                  "each player took the first portrait left");
            startBackground_ = Game.BackgroundIndex;
            started_ = true;
        }
        if (RoundNumber > Game.RoundCount) {
            EndOfGame();
            return;
        }
        const double player = Game.CurrentPlayer;
        if (Game.TurnDeadline == 0 && player * 100 + RoundNumber != lastTurnKey_) {
            // A new turn is being searched.
            lastTurnKey_ = player * 100 + RoundNumber;
            if (turns_ > 0) {
                const double booked = Game.PlayerTime(previousPlayer_);
                Check(booked > previousTime_, "a turn booked no time");
                // The background changes for every turn that starts in round 4.
                const double expected = RoundNumber == 4
                                            ? static_cast<int>(startBackground_ + player + 1) % 4
                                            : startBackground_;
                Check(Game.BackgroundIndex == expected, "the background changed at the wrong turn");
            }
            previousPlayer_ = player;
            previousTime_ = Game.PlayerTime(player);
            Check(ArrayBound(Game.Board, 0) == (Game.PlayerLevel(player) == 0 ? 5 : 9),
                  "the board does not fit the player's difficulty");
            PlanTurn();
            ++turns_;
        }
    }

    void EndOfGame() {
        Check(turns_ == 12, "three players over four rounds play twelve turns");
        Check(sawDecoyUnmarked_, "the decoy was never unmarked");
        Check(Game.BackgroundIndex == static_cast<int>(startBackground_ + 3) % 4,
              "the background did not change three times");
        for (double p = 0; p < 3; ++p)
            Check(Game.PlayerTime(p) > 4 * 2000, "a player's time is short");
        phase_ = Phase::Results;
    }

    std::deque<Step> steps_;
    Phase phase_ = Phase::Menu;
    double origin_ = 0;
    bool busy_ = false;
    bool started_ = false;
    bool sawDecoyUnmarked_ = false;
    bool hovered_ = false;
    int turns_ = 0;
    double lastTurnKey_ = -1;
    double previousPlayer_ = 0;
    double previousTime_ = 0;
    double startBackground_ = 0;
};

TEST(PlayThrough, ThreePlayersFourRoundsThenBackToTheMenu) {
    EXPECT_EXIT(
        {
            Harness::Get().Start();
            platform::SetPumpHook(Harness::Pump);
            GameEntry(nullptr, nullptr, "", 10);
            Fail("the window could not be created");
        },
        testing::ExitedWithCode(0), "play-through complete: 12 turns");
}

}  // namespace
