// Corvane example: Snake
//
// Shows:    a whole small game on the game maker's calls: shapes in a Colour
//           (FillRect, DrawRect, DrawLine), keys pressed this frame
//           (IsKeyPressed), the frame's time (GetFrameTime), text measured to
//           place it (MeasureText), a sound for eating and one for crashing,
//           the game's name (SetName) and ending it from run (EndGame).
// Controls: arrow keys steer, Space plays again after a crash, Escape quits.
// Assets:   Sounds/blip.wav, Sounds/drum.wav (made by tools/make-example-assets).
// Test:     keys "up:48,left:6,up:18,right:18,up:6" frame 100 sound 7a86f5d6
#include <algorithm>
#include <cstdio>
#include <deque>
#include <random>

#include "corvane.h"

namespace {

constexpr int kCell = 20;                 // pixels a side
constexpr int kColumns = 38, kRows = 22;  // the board, in cells
constexpr int kLeft = 20, kTop = 44;      // the board's top-left pixel
constexpr double kStepSeconds = 0.1;      // the snake moves one cell this often
const Colour kBoard(24, 28, 40), kSnake(90, 200, 90), kHead(170, 255, 140), kApple(230, 50, 40);

struct Cell {
    int x, y;
    bool operator==(const Cell& other) const { return x == other.x && y == other.y; }
};

SoundX eat, crash;
std::deque<Cell> snake;          // head first
Cell heading{1, 0}, turn{1, 0};  // the way it moves, and the way it turns at its next step
Cell apple{0, 0};
int score = 0, best = 0;
bool over = false;
double sinceStep = 0;  // seconds since the last step
std::mt19937 dice(1);  // seeded: the same apples every game, so the check can replay it

bool OnSnake(Cell cell) {
    return std::find(snake.begin(), snake.end(), cell) != snake.end();
}

void PlaceApple() {
    do {
        apple = {static_cast<int>(dice() % kColumns), static_cast<int>(dice() % kRows)};
    } while (OnSnake(apple));
}

void NewGame() {
    snake = {{8, 11}, {7, 11}, {6, 11}};
    heading = turn = {1, 0};
    score = 0;
    over = false;
    sinceStep = 0;
    PlaceApple();
}

// A key pressed this frame turns the snake; never straight back into its neck.
void Steer() {
    const struct {
        int key;
        Cell way;
    } keys[] = {{VK_LEFT, {-1, 0}}, {VK_RIGHT, {1, 0}}, {VK_UP, {0, -1}}, {VK_DOWN, {0, 1}}};
    for (const auto& k : keys)
        if (Corvane.IsKeyPressed(k.key) && !(k.way.x == -heading.x && k.way.y == -heading.y))
            turn = k.way;
}

void Step() {
    heading = turn;
    const Cell head{snake.front().x + heading.x, snake.front().y + heading.y};
    const Cell tail = snake.back();
    const bool eats = head == apple;
    if (!eats) snake.pop_back();  // the tail moves on unless the snake grows
    if (head.x < 0 || head.y < 0 || head.x >= kColumns || head.y >= kRows || OnSnake(head)) {
        if (!eats) snake.push_back(tail);
        over = true;
        best = std::max(best, score);
        Corvane.PlaySound(&crash, 0);
        return;
    }
    snake.push_front(head);
    if (eats) {
        ++score;
        Corvane.PlaySound(&eat, 0);
        PlaceApple();
    }
}

void FillCell(Cell cell, Colour colour) {
    Corvane.FillRect(kLeft + cell.x * kCell + 1, kTop + cell.y * kCell + 1, kCell - 2, kCell - 2,
                     colour);
}

}  // namespace

void initialize() {
    // Initialization
    Corvane.SetName("Snake");
    Corvane.Initialize(false, 800, 500);
    eat.Load("Sounds\\blip.wav");
    crash.Load("Sounds\\drum.wav");
    NewGame();
}

int run() {
    // Update: the snake steps every kStepSeconds, whatever the frame rate.
    if (Corvane.IsKeyPressed(VK_ESCAPE)) Corvane.EndGame();
    if (over && Corvane.IsKeyPressed(VK_SPACE)) NewGame();
    if (!over) {
        Steer();
        sinceStep += Corvane.GetFrameTime();
        // A little slack, so that six sixtieths of a second make a whole step.
        if (sinceStep >= kStepSeconds - 1e-9) {
            sinceStep -= kStepSeconds;
            Step();
        }
    }

    // Draw: the board and the snake into the frame, then the text over it.
    const char* note = over ? "Crashed! Space: play again" : "Eat the apples";
    const TextSize message = Corvane.MeasureText(note);
    if (Corvane.LockSurface()) {
        Corvane.FillRect(0, 0, 800, 500, COLOUR_BLACK);
        Corvane.DrawRect(kLeft - 2, kTop - 2, kColumns * kCell + 4, kRows * kCell + 4, COLOUR_GREY);
        Corvane.FillRect(kLeft, kTop, kColumns * kCell, kRows * kCell, kBoard);
        FillCell(apple, kApple);
        const int stalkX = kLeft + apple.x * kCell + kCell / 2, stalkY = kTop + apple.y * kCell;
        Corvane.DrawLine(stalkX, stalkY + 4, stalkX + 5, stalkY - 3, Colour(120, 220, 80));
        for (const Cell& part : snake) FillCell(part, part == snake.front() ? kHead : kSnake);
        if (over)
            Corvane.FillRect(400 - message.width / 2 - 12, 230, message.width + 24, 40, kApple);
        Corvane.UnlockSurface();
    }
    Corvane.SetTextColour(COLOUR_WHITE);
    Corvane.DrawText(over ? 400 - message.width / 2 : kLeft, over ? 250 - message.height / 2 : 14,
                     note);
    char line[64];
    std::snprintf(line, sizeof line, "Score %d   Best %d   Esc: quit", score, best);
    Corvane.DrawText(780 - Corvane.MeasureText(line).width, 14, line);
    return Corvane.ViewUpdate();
}
