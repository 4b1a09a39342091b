// A test-owned back buffer with guard bands: canary words to the left and right
// of every row and whole canary rows above and below, so that any write outside
// the visible frame shows up.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "shell/windx.h"

// Sets the engine's inclusive clip rectangle as SetClip does.
inline void SetClipFields(int left, int top, int right, int bottom) {
    Corvane.clipLeft = left;
    Corvane.clipTop = top;
    Corvane.clipRight = right;
    Corvane.clipBottom = bottom;
}

class GuardedFrame {
public:
    static constexpr std::uint16_t kCanary = 0xA5C3;
    static constexpr int kGuard = 5;

    // A width x height frame; rows are width + 2 * kGuard words apart.
    GuardedFrame(int width, int height)
        : width_(width),
          height_(height),
          pitch_(width + 2 * kGuard),
          words_(static_cast<std::size_t>(pitch_) * (height + 2 * kGuard), kCanary) {
        Clear(0);
    }

    // Points the engine at this frame, as a lock would: back buffer, row length,
    // height, row offsets and a clip rectangle covering the frame.
    void Attach() {
        Corvane.backBuffer = &words_[static_cast<std::size_t>(kGuard) * pitch_ + kGuard];
        Corvane.width = pitch_;
        Corvane.height = height_;
        Corvane.pitch = pitch_ * 2;
        Corvane.rowOffset.assign(height_ + 1, 0);
        for (int y = 0; y <= height_; ++y) Corvane.rowOffset[y] = y * pitch_ * 2;
        SetClipFields(0, 0, width_ - 1, height_ - 1);
    }

    // Every visible pixel set to one word; the guards keep their canaries.
    void Clear(std::uint16_t word) {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) At(x, y) = word;
        }
    }

    // A visible pixel; x may also reach into the row's guards (-kGuard .. width + kGuard - 1).
    std::uint16_t& At(int x, int y) {
        return words_[static_cast<std::size_t>(y + kGuard) * pitch_ + kGuard + x];
    }

    // All visible pixels, row by row.
    std::vector<std::uint16_t> Pixels() {
        std::vector<std::uint16_t> out;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) out.push_back(At(x, y));
        }
        return out;
    }

    // Succeeds when no word outside the visible frame has changed.
    ::testing::AssertionResult GuardsIntact() {
        for (int row = 0; row < height_ + 2 * kGuard; ++row) {
            for (int col = 0; col < pitch_; ++col) {
                const bool visible = row >= kGuard && row < kGuard + height_ && col >= kGuard &&
                                     col < kGuard + width_;
                const std::uint16_t word = words_[static_cast<std::size_t>(row) * pitch_ + col];
                if (!visible && word != kCanary) {
                    return ::testing::AssertionFailure()
                           << "guard word at frame column " << col - kGuard << ", row "
                           << row - kGuard << " changed to " << word;
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    // Succeeds when nothing before the back buffer or past its last row
    // (height rows of the row length) has changed: the surface's own memory
    // includes the row padding, which here is the guard words between rows.
    ::testing::AssertionResult SurfaceBoundsIntact() {
        const std::size_t first = static_cast<std::size_t>(kGuard) * pitch_ + kGuard;
        const std::size_t end = first + static_cast<std::size_t>(pitch_) * height_;
        for (std::size_t i = 0; i < words_.size(); ++i) {
            if ((i < first || i >= end) && words_[i] != kCanary) {
                return ::testing::AssertionFailure()
                       << "word " << i << " outside the surface changed";
            }
        }
        return ::testing::AssertionSuccess();
    }

    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    int pitch_;
    std::vector<std::uint16_t> words_;
};
