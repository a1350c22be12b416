#pragma once

// The held keys the game tests, by PC set-1 scancode.
namespace game::scancode {

inline constexpr int kEsc = 1;
inline constexpr int kP = 25;
inline constexpr int kS = 31;
inline constexpr int kF = 33;
inline constexpr int kH = 35;
inline constexpr int kSpace = 57;
inline constexpr int kF1 = 59;
inline constexpr int kF2 = 60;
inline constexpr int kLeft = 75;
inline constexpr int kRight = 77;
inline constexpr int kDown = 80;
inline constexpr int kDelete = 83;

}  // namespace game::scancode
